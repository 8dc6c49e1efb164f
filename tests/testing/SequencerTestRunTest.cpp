#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "testing/SequencerFixture.h"

namespace corvane::testing {
namespace {

using Kinds = std::vector<std::string>;

TEST_F(SequencerTest, PassingTestMeasuresLoopbackThenTrunkAndTearsDown) {
    tester.answers = {FakeTrunkTester::Measured(100, 90), FakeTrunkTester::Measured(100, 60)};
    QueueTest(1);
    RunOneJob();
    EXPECT_EQ(Result(1), "Pass");
    EXPECT_EQ(Data(1),
              "Loss=3.0, AllowedLoss=5.0, RxLevel=6.0, RxFreq=1004, TxLevel=10.0, TxFreq=1004, "
              "TonexaLoopLoss=1.0");
    EXPECT_EQ(controller.RequestKinds(),
              (Kinds{"LoopBackMaintenancePort", "ClearMaintenancePortLoop", "PutTrunkInMaintenance",
                     "CloseMaintenanceTrunkXpnt", "LoopBackTrunkPort", "ClearTrunkPortLoop",
                     "ClearMaintenanceTrunkXpnt", "RestoreTrunkToNormal"}));
    EXPECT_TRUE(controller.SetUp().empty());
    ASSERT_EQ(tester.StartedTests().size(), 2u);
    EXPECT_EQ(tester.StartedTests()[1].loopLoss, 10);
    EXPECT_EQ(tester.StartedTests()[1].allowedLoss, 50);
    EXPECT_TRUE(Raised(TakeAlarms()).empty());
    EXPECT_FALSE(sequencer.IsLoopbackDue());
    EXPECT_NE(hints, 0u);
}

// Loss = tx - rx - loop loss (10); the limit is 50 tenths.
TEST_F(SequencerTest, LossEqualToLimitPassesOneTenthMoreFails) {
    struct Case {
        int received;
        const char* result;
        bool alarm;
    };
    for (const Case c : {Case{40, "Pass", false}, Case{39, "Fail", true}}) {
        SCOPED_TRACE(c.received);
        sequencer.SetLoopbackDue(true);
        tester.answers = {FakeTrunkTester::Measured(100, 90),
                          FakeTrunkTester::Measured(100, c.received)};
        QueueTest(1);
        RunOneJob();
        EXPECT_EQ(Result(1), c.result);
        const auto raised = Raised(TakeAlarms());
        EXPECT_EQ(!raised.empty(), c.alarm);
        if (c.alarm) {
            EXPECT_EQ(raised[0].deviceType, devicetype::kTrunk);
            EXPECT_EQ(raised[0].category, alarmcat::kTestFailure);
            EXPECT_EQ(raised[0].description, "Loss = 5.1dB");
            EXPECT_TRUE(sequencer.IsLoopbackDue());
        }
        EXPECT_TRUE(controller.SetUp().empty());
        clock.Advance(std::chrono::seconds(2));
    }
}

TEST_F(SequencerTest, FailedTrunkStaysInMaintenanceWhenOptionSet) {
    settings.Modify([](AppSettings& s) { s.LeaveFailedTrunksInMaintenanceMode = true; });
    tester.answers = {FakeTrunkTester::Measured(100, 90), FakeTrunkTester::Measured(100, 10)};
    QueueTest(1);
    RunOneJob();
    EXPECT_EQ(Result(1), "Fail");
    EXPECT_EQ(controller.SetUp(), (std::multiset<std::string>{"maint:0"}));
}

TEST_F(SequencerTest, CascadeTrunkReachesTrunkWithoutEndAtTestIntercom) {
    tester.answers = {FakeTrunkTester::Measured(100, 90), FakeTrunkTester::Measured(100, 70),
                      FakeTrunkTester::Measured(100, 50)};
    QueueTest(2);
    RunOneJob();
    EXPECT_EQ(Result(2), "Pass");
    EXPECT_EQ(Data(2),
              "Loss=2.0, AllowedLoss=5.0, RxLevel=5.0, RxFreq=1004, TxLevel=10.0, TxFreq=1004, "
              "TonexaLoopLoss=1.0, CascadeTrunk=1, CascadeLoss=2.0");
    std::vector<std::string> requests;
    for (const auto& r : controller.Requests()) {
        requests.push_back(r.ToString());
    }
    EXPECT_EQ(requests,
              (Kinds{"LoopBackMaintenancePort(-1,-1,-1)", "ClearMaintenancePortLoop(-1,-1,-1)",
                     "PutTrunkInMaintenance(-1,0,-1)", "PutTrunkInMaintenance(-1,1,-1,force)",
                     "CloseMaintenanceTrunkXpnt(-1,0,-1)", "LoopBackTrunkPort(1,0,-1)",
                     "ClearTrunkPortLoop(1,0,-1)", "CloseTrunkTrunkXpnt(1,0,1)",
                     "LoopBackTrunkPort(2,1,-1)", "ClearTrunkPortLoop(2,1,-1)",
                     "ClearMaintenanceTrunkXpnt(-1,0,-1)", "ClearTrunkTrunkXpnt(1,0,1)",
                     "RestoreTrunkToNormal(-1,0,-1)", "RestoreTrunkToNormal(-1,1,-1)"}));
    EXPECT_TRUE(controller.SetUp().empty());
    ASSERT_EQ(tester.StartedTests().size(), 3u);
    EXPECT_EQ(tester.StartedTests()[2].loopLoss, 30);
}

TEST_F(SequencerTest, CascadeOverLimitFailsCascadeTrunkAndAbortsTest) {
    tester.answers = {FakeTrunkTester::Measured(100, 90), FakeTrunkTester::Measured(100, 50)};
    QueueTest(2);
    RunOneJob();
    EXPECT_EQ(Result(2), "Error");
    EXPECT_EQ(Data(2),
              "CascadeTrunk=1, CascadeLoss=4.0, AllowedLoss=3.0, RxLevel=5.0, RxFreq=1004, "
              "TxLevel=10.0, TxFreq=1004, TonexaLoopLoss=1.0, test aborted");
    EXPECT_EQ(Result(1), "Fail");
    const auto raised = Raised(TakeAlarms());
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].index, 1);
    EXPECT_EQ(raised[0].description, "Loss = 4.0dB (Cascade)");
    EXPECT_TRUE(controller.SetUp().empty());
    EXPECT_EQ(tester.StartedTests().size(), 2u);
}

TEST_F(SequencerTest, NoUsableCascadeIsRecordedOnceAndTriedAgainOnTheNextScan) {
    doc->SetTrunkState(1, CTrunkData::kInUse, true);
    doc->SetTrunkState(3, CTrunkData::kInUse, true);
    QueueTest(2);
    for (int i = 0; i < 5; ++i) {
        TickOnce();
    }
    EXPECT_EQ(sequencer.State(), trunkteststate::kIdle);
    EXPECT_EQ(Result(2), "Skipped");
    EXPECT_EQ(Data(2), "Cascade needed but no cascade trunk available");
    EXPECT_EQ(doc->TrunkAt(2)->PendingOps().testWanted, 1);
    EXPECT_TRUE(controller.SetUp().empty());
    const size_t requests = controller.Requests().size();
    // Nothing is written again while it waits.
    hints = 0;
    for (int i = 0; i < 20; ++i) {
        TickOnce();
    }
    EXPECT_EQ(hints & hint::kTrunksEdited, 0u);
    EXPECT_EQ(controller.Requests().size(), requests);
    // A cascade trunk free again: the test runs.
    tester.answers = {FakeTrunkTester::Measured(100, 70), FakeTrunkTester::Measured(100, 50)};
    doc->SetTrunkState(1, CTrunkData::kIdle, true);
    RunOneJob();
    EXPECT_EQ(Result(2), "Pass");
}

// Trunks 2, 4 and 5 run between intercoms 2 and 3, so each needs trunk 1 or 3 as its cascade
// trunk, and both are in use. The parameter is how many of them wait.
class SequencerCascadeWaitTest : public SequencerTest, public ::testing::WithParamInterface<int> {
protected:
    static std::vector<int> Waiting(int count) {
        const std::vector<int> all{2, 4, 5};
        return {all.begin(), all.begin() + count};
    }
    const std::vector<int> waiting = Waiting(GetParam());
};

TEST_P(SequencerCascadeWaitTest, EachWaitingTrunkIsRecordedOnceUntilACascadeTrunkIsFree) {
    doc->SetTrunkDefinition(testing::TrunkBetween(4, 2, 4, 3, 4), true);
    doc->SetTrunkDefinition(testing::TrunkBetween(5, 2, 5, 3, 5), true);
    doc->SetTrunkState(1, CTrunkData::kInUse, true);
    doc->SetTrunkState(3, CTrunkData::kInUse, true);
    WriteModel();
    for (const int t : waiting) {
        QueueTest(t);
    }
    const auto allWaiting = [&] {
        for (const int t : waiting) {
            if (Data(t) != "Cascade needed but no cascade trunk available") {
                return false;
            }
        }
        return true;
    };
    for (int i = 0; i < 100 && !allWaiting(); ++i) {
        TickOnce();
    }
    ASSERT_TRUE(allWaiting());
    for (const int t : waiting) {
        EXPECT_EQ(Result(t), "Skipped");
        EXPECT_EQ(doc->TrunkAt(t)->PendingOps().testWanted, 1);
    }
    // While they wait nothing is written or asked of the controller, however many they are.
    const size_t requests = controller.Requests().size();
    const size_t measurements = tester.StartedTests().size();
    hints = 0;
    for (int i = 0; i < 30; ++i) {
        TickOnce();
    }
    EXPECT_EQ(hints & hint::kTrunksEdited, 0u);
    EXPECT_EQ(controller.Requests().size(), requests);
    EXPECT_EQ(tester.StartedTests().size(), measurements);
    EXPECT_TRUE(controller.SetUp().empty());

    doc->SetTrunkState(1, CTrunkData::kIdle, true);
    RunUntilIdle();
    for (const int t : waiting) {
        EXPECT_EQ(Result(t), "Pass") << t;
    }
    EXPECT_TRUE(controller.SetUp().empty());
}

INSTANTIATE_TEST_SUITE_P(Waiting, SequencerCascadeWaitTest, ::testing::Values(2, 3));

// Trunk 2 needs a cascade trunk; trunk 3 is in use, so only trunk 1 (or a new trunk 4) could
// serve, and each case makes it unusable.
struct CascadeCase {
    friend void PrintTo(const CascadeCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    std::function<void(CVorlinDoc&)> change;  // just before the tick that chooses
    const char* data;
};

class SequencerCascadeTest : public SequencerTest,
                             public ::testing::WithParamInterface<CascadeCase> {};

TEST_P(SequencerCascadeTest, TakesOnlyADefinedWrittenIdleTrunk) {
    doc->SetTrunkState(3, CTrunkData::kInUse, true);
    WriteModel();
    sequencer.SetLoopbackDue(false);
    GetParam().change(*doc);
    QueueTest(2);
    TickOnce();
    EXPECT_EQ(Data(2), std::string(GetParam().data));
    for (const auto& r : controller.Requests()) {
        EXPECT_NE(r.kind, "PutTrunkInMaintenance") << r.ToString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, SequencerCascadeTest,
    ::testing::Values(
        CascadeCase{"UndefinedMeanwhile", [](CVorlinDoc& d) { d.UndefineTrunk(0); },  // trunk 1
                    "Cascade needed but no cascade trunk available"},
        CascadeCase{"DefinedButNotYetWritten",
                    [](CVorlinDoc& d) {
                        d.SetTrunkState(1, CTrunkData::kInUse, true);
                        d.SetTrunkDefinition(testing::TrunkBetween(4, 1, 4, 2, 4), true);
                    },
                    "Cascade needed but no cascade trunk available"},
        CascadeCase{"Allocated",
                    [](CVorlinDoc& d) { d.SetTrunkState(1, CTrunkData::kAlloc, true); },
                    "Cascade needed but no cascade trunk available"},
        CascadeCase{"UndefinedAndNoOtherCandidate",
                    [](CVorlinDoc& d) {
                        d.UndefineTrunk(0);
                        d.UndefineTrunk(2);  // trunk 3
                    },
                    "Cascade needed but no cascade trunk exists"}),
    [](const auto& info) { return info.param.name; });

TEST_F(SequencerTest, LoopbackOverLimitAbortsWithoutTouchingTrunkAndNextTestRuns) {
    tester.answers = {FakeTrunkTester::Measured(100, 79)};
    QueueTest(1);
    RunOneJob();
    EXPECT_EQ(Result(1), "Error");
    EXPECT_EQ(Data(1), "TonexaLoopLoss=2.1 is greater than limit=2.0, test aborted");
    EXPECT_EQ(controller.RequestKinds(),
              (Kinds{"LoopBackMaintenancePort", "ClearMaintenancePortLoop"}));
    const auto raised = Raised(TakeAlarms());
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].deviceType, devicetype::kTonexa);
    EXPECT_EQ(raised[0].category, alarmcat::kLoopback);
    EXPECT_TRUE(sequencer.IsLoopbackDue());
    // The abort of that test must not reach the next one.
    tester.answers = {FakeTrunkTester::Measured(100, 80), FakeTrunkTester::Measured(100, 60)};
    clock.Advance(std::chrono::seconds(1));
    QueueTest(1);
    RunOneJob();
    EXPECT_EQ(Result(1), "Pass");
}

TEST_F(SequencerTest, RecentLoopbackIsAssumedAndStaleOneMeasuredAgain) {
    tester.answers = {FakeTrunkTester::Measured(100, 90), FakeTrunkTester::Measured(100, 60),
                      FakeTrunkTester::Measured(100, 60)};
    QueueTest(1);
    RunOneJob();
    QueueTest(1);
    RunOneJob();
    EXPECT_EQ(tester.StartedTests().size(), 3u);
    EXPECT_NE(Data(1).find("TonexaLoopLoss=1.0 (assumed)"), std::string::npos);
    clock.Advance(std::chrono::seconds(301));
    QueueTest(1);
    RunOneJob();
    EXPECT_EQ(tester.StartedTests().size(), 5u);
}

TEST_F(SequencerTest, InstrumentOutOfContactIsAnErrorWithoutTrunkAlarm) {
    struct Case {
        const char* name;
        FakeTrunkTester::Answer trunkAnswer;
    };
    FakeTrunkTester::Answer lost = FakeTrunkTester::Result(TestResultState::Failed);
    lost.loseContact = true;
    FakeTrunkTester::Answer lostWhileRunning = FakeTrunkTester::Result(TestResultState::Running);
    lostWhileRunning.pollsRunning = 3;
    lostWhileRunning.result = TestResultState::NoResult;
    for (const Case& c :
         {Case{"failed as contact was lost", lost}, Case{"no result", lostWhileRunning}}) {
        SCOPED_TRACE(c.name);
        tester.connected = true;
        sequencer.SetLoopbackDue(true);
        tester.answers = {FakeTrunkTester::Measured(100, 90), c.trunkAnswer};
        QueueTest(1);
        RunOneJob();
        EXPECT_EQ(Result(1), "Error");
        EXPECT_EQ(Data(1), "Not communicating with Tonexa");
        for (const auto& a : Raised(TakeAlarms())) {
            EXPECT_NE(a.deviceType, devicetype::kTrunk);
        }
        EXPECT_TRUE(controller.SetUp().empty());
        clock.Advance(std::chrono::seconds(2));
    }
}

TEST_F(SequencerTest, InstrumentLostBeforeTrunkMeasurementStartsNothingOnIt) {
    tester.answers = {FakeTrunkTester::Measured(100, 90)};
    controller.onCarriedOut = [this](const FakeMaintenanceRequest& r) {
        if (r.kind == "LoopBackTrunkPort") {
            tester.connected = false;
        }
    };
    QueueTest(1);
    RunOneJob();
    EXPECT_EQ(Result(1), "Error");
    EXPECT_EQ(tester.StartedTests().size(), 1u);
    EXPECT_TRUE(Raised(TakeAlarms()).empty());
    EXPECT_EQ(tester.ResultsTakenWithoutStart(), 0);
}

TEST_F(SequencerTest, UnmeasurableTrunkFailsWithAlarm) {
    struct Case {
        FakeTrunkTester::Answer answer;
        const char* text;
        const char* alarm;
    };
    for (const Case& c : {Case{FakeTrunkTester::Result(TestResultState::Failed),
                               "Loss=???, Trunk test failed", "Loss unmeasureable"},
                          Case{FakeTrunkTester::Result(TestResultState::Running, -1),
                               "Loss=???, Trunk test timed out", "Trunk test timed out"}}) {
        SCOPED_TRACE(c.text);
        sequencer.SetLoopbackDue(true);
        tester.answers = {FakeTrunkTester::Measured(100, 90), c.answer};
        QueueTest(1);
        RunOneJob();
        EXPECT_EQ(Result(1), "Fail");
        EXPECT_EQ(Data(1), c.text);
        const auto raised = Raised(TakeAlarms());
        ASSERT_EQ(raised.size(), 1u);
        EXPECT_EQ(raised[0].description, c.alarm);
        EXPECT_TRUE(controller.SetUp().empty());
        clock.Advance(std::chrono::seconds(2));
    }
}

TEST_F(SequencerTest, AbandonedMeasurementIsNeverAskedAgain) {
    tester.answers = {FakeTrunkTester::Measured(100, 90),
                      FakeTrunkTester::Result(TestResultState::Running, -1)};
    QueueTest(1);
    for (int i = 0; i < 2000 && Data(1) != "Loss=???, Trunk test timed out"; ++i) {
        TickOnce();
    }
    const int polls = tester.Polls();
    RunUntilIdle();
    EXPECT_EQ(tester.Polls(), polls);
    // The next test starts a measurement of its own before asking for a result.
    tester.answers = {FakeTrunkTester::Measured(100, 90), FakeTrunkTester::Measured(100, 60)};
    clock.Advance(std::chrono::seconds(2));
    QueueTest(1);
    RunOneJob();
    EXPECT_EQ(Result(1), "Pass");
    EXPECT_EQ(tester.ResultsTakenWithoutStart(), 0);
}

TEST_F(SequencerTest, ReplacedInstrumentGivesNoResultForTheOldMeasurement) {
    FakeTrunkTester other;
    tester.answers = {FakeTrunkTester::Measured(100, 90),
                      FakeTrunkTester::Result(TestResultState::Running, -1)};
    QueueTest(1);
    for (int i = 0; i < 500 && sequencer.State() != trunkteststate::kMeasureTrunk; ++i) {
        TickOnce();
    }
    ASSERT_EQ(sequencer.State(), trunkteststate::kMeasureTrunk);
    sequencer.SetTester(&other);
    RunUntilIdle();
    EXPECT_EQ(Result(1), "Error");
    EXPECT_EQ(other.Polls(), 0);
    EXPECT_TRUE(controller.SetUp().empty());
}

TEST_F(SequencerTest, SetUpFailureGoesToTearDown) {
    struct Case {
        const char* kind;
        const char* text;
        bool timesOut;
    };
    for (const Case& c :
         {Case{"PutTrunkInMaintenance", "Set maintenance mode target trunk failed", false},
          Case{"CloseMaintenanceTrunkXpnt", "Set xpnt Tonexa port to trunk failed", false},
          Case{"LoopBackTrunkPort", "Set xpnt loopback end failed", true}}) {
        SCOPED_TRACE(c.kind);
        sequencer.SetLoopbackDue(true);
        const std::string kind = c.kind;
        const bool timesOut = c.timesOut;
        controller.script = [kind, timesOut](const FakeMaintenanceRequest& r) {
            FakeMaintenanceController::Outcome o;
            if (r.kind == kind) {
                o.status = requeststatus::kFailed;
                o.pollsInProgress = timesOut ? -1 : 0;
                o.carriedOut = true;  // done, though the answer says otherwise
            }
            return o;
        };
        tester.answers = {FakeTrunkTester::Measured(100, 90)};
        QueueTest(1);
        RunOneJob(1000);
        EXPECT_EQ(Result(1), "Error");
        EXPECT_EQ(Data(1), c.text);
        EXPECT_TRUE(controller.SetUp().empty());
        EXPECT_TRUE(Raised(TakeAlarms()).empty());
        clock.Advance(std::chrono::seconds(2));
    }
}

TEST_F(SequencerTest, TearDownFailureIsLoggedAndTearDownGoesOn) {
    controller.script = [](const FakeMaintenanceRequest& r) {
        FakeMaintenanceController::Outcome o;
        if (r.kind == "ClearTrunkPortLoop") {
            o.status = requeststatus::kFailed;
        }
        return o;
    };
    tester.answers = {FakeTrunkTester::Measured(100, 90), FakeTrunkTester::Measured(100, 60)};
    QueueTest(1);
    RunOneJob();
    EXPECT_EQ(Result(1), "Pass");
    EXPECT_EQ(controller.SetUp(), (std::multiset<std::string>{"loop:1:0"}));
    const Kinds kinds = controller.RequestKinds();
    ASSERT_GE(kinds.size(), 2u);
    EXPECT_EQ(kinds[kinds.size() - 2], "ClearMaintenanceTrunkXpnt");
    EXPECT_EQ(kinds.back(), "RestoreTrunkToNormal");
}

TEST_F(SequencerTest, ControllerLosingContactEndsTestWithinTimeouts) {
    controller.onCarriedOut = [this](const FakeMaintenanceRequest& r) {
        if (r.kind == "PutTrunkInMaintenance") {
            doc->SetTrunkState(r.trunk, CTrunkData::kMaint, false);
            controller.communicating = false;
        }
    };
    tester.answers = {FakeTrunkTester::Measured(100, 90)};
    QueueTest(1);
    RunOneJob(3000);
    EXPECT_EQ(Result(1), "Error");
    EXPECT_EQ(Data(1), "Set xpnt Tonexa port to trunk failed");
    EXPECT_EQ(controller.RequestKinds().back(), "RestoreTrunkToNormal");
}

TEST_F(SequencerTest, OperatorMaintenanceRequests) {
    ASSERT_TRUE(doc->RequestSetMaintenance(1, true));
    RunUntilIdle();
    EXPECT_EQ(controller.Requests().back().ToString(), "PutTrunkInMaintenance(-1,0,-1,force)");
    EXPECT_EQ(doc->TrunkAt(1)->State(), CTrunkData::kMaint);
    EXPECT_FALSE(sequencer.IsTestInProgress());
    // Already in maintenance: nothing to ask.
    ASSERT_TRUE(doc->RequestSetMaintenance(1, false));
    RunUntilIdle();
    EXPECT_EQ(controller.Requests().size(), 1u);
    ASSERT_TRUE(doc->RequestClearMaintenance(1));
    RunUntilIdle();
    EXPECT_EQ(controller.Requests().back().ToString(), "RestoreTrunkToNormal(-1,0,-1)");
    EXPECT_EQ(doc->TrunkAt(1)->State(), CTrunkData::kIdle);
    EXPECT_EQ(Result(1), " ");
}

TEST_F(SequencerTest, RefusedUnforcedMaintenanceRequestEnds) {
    doc->SetTrunkState(1, CTrunkData::kInUse, true);
    controller.script = [](const FakeMaintenanceRequest&) {
        FakeMaintenanceController::Outcome o;
        o.status = requeststatus::kMaintenanceRefused;
        return o;
    };
    ASSERT_TRUE(doc->RequestSetMaintenance(1, false));
    RunUntilIdle();
    EXPECT_EQ(controller.RequestKinds(), (Kinds{"PutTrunkInMaintenance"}));
    EXPECT_EQ(doc->TrunkAt(1)->PendingOps().testWanted, 0);
    EXPECT_EQ(Result(1), " ");
}

TEST_F(SequencerTest, SkippedTrunksKeepTheirTest) {
    struct Case {
        const char* text;
        std::function<void()> arrange;
    };
    const std::vector<Case> cases = {
        {"Intercom (MX02) not communicating, test still pending...",
         [this] { doc->SetIntercomCommStatus(2, "Lost", true); }},
        {"Trunk was in use, test still pending...",
         [this] { doc->SetTrunkState(1, CTrunkData::kInUse, true); }},
        {"Trunk was in maintenance mode, test still pending...",
         [this] { doc->SetTrunkState(1, CTrunkData::kMaint, true); }},
        {"Trunk is out-of-service, test still pending...",
         [this] {
             controller.outOfServiceCapability = true;
             doc->SetTrunkOutOfService(1, 1, true);
         }},
        {"Maintenance port undefined, test still pending...",
         [this] { controller.hasPort = false; }},
        {"Maintenance port is out-of-service, test still pending...",
         [this] { controller.portOutOfService = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        doc->SetIntercomCommStatus(2, "OK", true);
        doc->SetTrunkState(1, CTrunkData::kIdle, true);
        doc->SetTrunkOutOfService(1, 0, true);
        controller.hasPort = true;
        controller.portOutOfService = false;
        c.arrange();
        WriteModel();
        QueueTest(1);
        TickOnce();
        TickOnce();
        EXPECT_EQ(Result(1), "Skipped");
        EXPECT_EQ(Data(1), c.text);
        EXPECT_EQ(doc->TrunkAt(1)->PendingOps().testWanted, 1);
        EXPECT_TRUE(controller.Requests().empty());
        doc->QueueTrunkTest(false, 1, false, false);
        TickOnce();
    }
}

TEST_F(SequencerTest, PauseEndsTheScanAtTheFirstHeldTest) {
    doc->SetTestingPaused(true);
    QueueTest(1);
    ASSERT_TRUE(doc->RequestSetMaintenance(3, true));
    for (int i = 0; i < 5; ++i) {
        TickOnce();
    }
    EXPECT_EQ(Result(1), "Pending");
    EXPECT_EQ(Data(1), "Testing paused (choose resume to continue)...");
    // The request beyond the held trunk waits for the resume.
    EXPECT_TRUE(controller.Requests().empty());
    doc->SetTestingPaused(false);
    tester.answers = {FakeTrunkTester::Measured(100, 90), FakeTrunkTester::Measured(100, 60)};
    RunUntilIdle();
    EXPECT_EQ(Result(1), "Pass");
    ASSERT_FALSE(controller.Requests().empty());
    EXPECT_EQ(controller.Requests().back().ToString(), "PutTrunkInMaintenance(-1,2,-1,force)");
}

TEST_F(SequencerTest, AManualTestIgnoresThePause) {
    doc->SetTestingPaused(true);
    tester.answers = {FakeTrunkTester::Measured(100, 90), FakeTrunkTester::Measured(100, 60)};
    QueueTest(1, true);
    RunOneJob();
    EXPECT_EQ(Result(1), "Pass");
}

TEST_F(SequencerTest, AManualTestBeyondAHeldOneWaitsWhilePaused) {
    doc->SetTestingPaused(true);
    QueueTest(1);
    ASSERT_TRUE(doc->QueueTrunkTest(true, 3, true, false));
    for (int i = 0; i < 5; ++i) {
        TickOnce();
    }
    EXPECT_EQ(Result(3), "Pending");
    EXPECT_TRUE(controller.Requests().empty());
}

TEST_F(SequencerTest, ResumedTestRunsAndDelayPausesBetweenTests) {
    settings.Modify([](AppSettings& s) { s.InterTestDelay = 5; });
    doc->SetTestingPaused(true);
    QueueTest(1);
    TickOnce();
    EXPECT_EQ(Result(1), "Pending");
    doc->SetTestingPaused(false);
    clock.Advance(std::chrono::seconds(6));
    RunOneJob();
    EXPECT_EQ(Result(1), "Pass");
    QueueTest(3);
    TickOnce();
    TickOnce();
    EXPECT_EQ(Data(3), "Pausing between trunk tests...");
    RunOneJob(200);
    EXPECT_EQ(Result(3), "Pass");
}

TEST_F(SequencerTest, ControllerOrInstrumentDownDropsTheTest) {
    controller.communicating = false;
    QueueTest(1);
    RunUntilIdle();
    EXPECT_EQ(Data(1), "Not communicating with Quillex");
    controller.communicating = true;
    tester.connected = false;
    clock.Advance(std::chrono::seconds(1));
    QueueTest(1);
    RunUntilIdle();
    EXPECT_EQ(Result(1), "Error");
    EXPECT_EQ(Data(1), "Not communicating with Tonexa");
    EXPECT_TRUE(controller.Requests().empty());
}

TEST_F(SequencerTest, ATestCancelledBeforeTheNextTickIsNotLeftPending) {
    ASSERT_TRUE(doc->QueueTrunkTest(true, 1, false, false));
    ASSERT_TRUE(doc->QueueTrunkTest(false, 1, false, false));
    RunUntilIdle();
    EXPECT_EQ(Result(1), " ");
    EXPECT_TRUE(controller.Requests().empty());
}

TEST_F(SequencerTest, QueueChangesWriteResults) {
    ASSERT_TRUE(doc->QueueTrunkTest(true, 1, false, false));
    doc->SetTestingPaused(true);
    TickOnce();
    EXPECT_EQ(Data(1), "Testing paused (choose resume to continue)...");
    ASSERT_TRUE(doc->QueueTrunkTest(false, 1, false, false));
    TickOnce();
    EXPECT_EQ(Result(1), " ");
}

TEST_F(SequencerTest, NothingRunsWithoutPeersOrWhenReentered) {
    sequencer.SetController(nullptr);
    QueueTest(1);
    TickOnce();
    EXPECT_TRUE(doc->TrunkOperationsPending());
    sequencer.SetController(&controller);
    int nested = 0;
    controller.script = [&](const FakeMaintenanceRequest&) {
        ViewUpdateHint h = 0;
        const size_t before = controller.Requests().size();
        sequencer.RunTrunkTests(h);
        nested += controller.Requests().size() == before ? 1 : 100;
        return FakeMaintenanceController::Outcome{};
    };
    RunOneJob();
    EXPECT_GT(nested, 0);
    EXPECT_LT(nested, 100);
    EXPECT_EQ(Result(1), "Pass");
}

}  // namespace
}  // namespace corvane::testing
