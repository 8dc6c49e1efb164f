// The controller object's own rules: request ids and time-outs, bounded loops, the stop, the
// flag bounds, the steady clock, the clock check, capabilities, compatibility and the links
// that cannot be built.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "link/QuillexRig.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing::FakeMaintenanceOutcomes;
using testing::FakeNode;
using testing::QuillexRig;

constexpr int kHello = 36, kChangeQuery = 38, kDateAndTime = 37, kSetDateTime = 17,
              kCompatibility = 73, kExclusiveControl = 25, kSetTrunkMode = 39, kCrosspoints = 40,
              kCommStatus = 18, kActivationStatus = 23, kGetMaintenancePort = 52,
              kSetMaintenancePort = 44;

TEST(QuillexMaintenanceRequestTest,
     AStatusStillInProgressAt16SecondsTimesOutAndTheRequestNeverRuns) {
    QuillexRig rig;
    EXPECT_EQ(rig.quillex->GetRequestStatus(), requeststatus::kTimedOut);  // nothing queued
    rig.quillex->RestoreTrunkToNormal(5);
    EXPECT_EQ(rig.quillex->GetRequestStatus(), requeststatus::kInProgress);
    rig.clock.Advance(15s);
    EXPECT_EQ(rig.quillex->GetRequestStatus(), requeststatus::kInProgress);
    rig.clock.Advance(1s);
    EXPECT_EQ(rig.quillex->GetRequestStatus(), requeststatus::kTimedOut);
    EXPECT_TRUE(rig.logs.Has("Quillex", "Request Timeout Occurred!"));

    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.clock.Advance(60s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kCompatibility) == 2; }));
    EXPECT_EQ(rig.CountOf(kExclusiveControl), 0u);
    EXPECT_EQ(rig.quillex->GetRequestStatus(), requeststatus::kTimedOut);
}

TEST(QuillexMaintenanceRequestTest, ASequenceThatEndsLateCannotSetTheStatusOfTheNextRequest) {
    QuillexRig rig;
    FakeMaintenanceOutcomes never;
    never.exclusiveControlRefusals = -1;
    rig.model.SetOutcomes(never);
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.quillex->PutTrunkInMaintenance(3, false);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kExclusiveControl) >= 2; }));
    rig.quillex->LoopBackTrunkPort(1, 3);  // overwrites the block while the first runs
    int status = 0;
    ASSERT_TRUE(rig.WaitUntil([&] { return (status = rig.quillex->GetRequestStatus()) != 0; }));
    EXPECT_EQ(status, requeststatus::kSucceeded);  // the crosspoint's, never the refusal's
    EXPECT_EQ(rig.CountOf(kCrosspoints), 1u);
    // The replaced request asks for exclusive control no more.
    const size_t asked = rig.CountOf(kExclusiveControl);
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kHello) >= 2; }));
    EXPECT_EQ(rig.CountOf(kExclusiveControl), asked);
}

// Exclusive control never granted, or an activation that never completes: the request is
// asked again until its own time-out, which the caller sees.
class QuillexMaintenanceWaitTest : public ::testing::TestWithParam<FakeMaintenanceOutcomes> {};

TEST_P(QuillexMaintenanceWaitTest, LastsUntilTheRequestsTimeOut) {
    QuillexRig rig;
    rig.model.SetOutcomes(GetParam());
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.fake.ClearRequests();
    rig.quillex->PutTrunkInMaintenance(3, false);
    // Far more asks than a bound of its own would allow.
    ASSERT_TRUE(rig.WaitUntil(
        [&] { return rig.CountOf(kExclusiveControl) + rig.CountOf(kActivationStatus) >= 150; }));
    rig.clock.Advance(15s);
    EXPECT_EQ(rig.quillex->GetRequestStatus(), requeststatus::kInProgress);
    rig.clock.Advance(1s);
    EXPECT_EQ(rig.quillex->GetRequestStatus(), requeststatus::kTimedOut);
}

FakeMaintenanceOutcomes NeverGranted() {
    FakeMaintenanceOutcomes o;
    o.exclusiveControlRefusals = -1;
    return o;
}

FakeMaintenanceOutcomes NeverActivated() {
    FakeMaintenanceOutcomes o;
    o.activationInProgressReplies = 1000000;
    return o;
}

INSTANTIATE_TEST_SUITE_P(Waits, QuillexMaintenanceWaitTest,
                         ::testing::Values(NeverGranted(), NeverActivated()), [](const auto& info) {
                             return info.param.exclusiveControlRefusals < 0 ? "NeverGranted"
                                                                            : "NeverActivated";
                         });

TEST(QuillexMaintenanceRequestTest, ASetMaintenancePortThatGivesUpSaysSoAndAsksForThePort) {
    QuillexRig rig;
    rig.model.SetOutcomes(NeverGranted());
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.fake.ClearRequests();
    rig.quillex->SetMaintenancePortRequest(3, 8);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kExclusiveControl) >= 50; }));
    EXPECT_EQ(rig.CountOf(kGetMaintenancePort), 0u);
    rig.clock.Advance(16s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kGetMaintenancePort) == 1; }));
    EXPECT_TRUE(rig.logs.Has("Quillex", "Set Maintenance Port Given Up: No Exclusive Control!"));
    EXPECT_EQ(rig.CountOf(kSetMaintenancePort), 0u);
    // Marked before the port is read again, so the reader of the port knows it was kept.
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.quillex->IsMaintenancePortReported(); }));
    EXPECT_TRUE(rig.quillex->IsMaintenancePortGivenUp());
    EXPECT_FALSE(rig.quillex->IsMaintenancePortSet());
}

TEST(QuillexMaintenanceRequestTest, ARequestFailedByALostLinkNeverRunsAfterTheLinkIsBack) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.fake.SetSilent(FakeNode::kMain, true);
    rig.fake.SetSilent(FakeNode::kPartner, true);
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return !rig.quillex->IsCommunicating(); }));
    rig.quillex->RestoreTrunkToNormal(5);
    int status = 0;
    ASSERT_TRUE(rig.WaitUntil([&] { return (status = rig.quillex->GetRequestStatus()) != 0; }));
    EXPECT_EQ(status, requeststatus::kLinkLost);

    rig.fake.SetSilent(FakeNode::kMain, false);
    rig.fake.SetSilent(FakeNode::kPartner, false);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.quillex->IsCommunicating(); }, 1s));
    rig.fake.ClearRequests();
    rig.clock.Advance(60s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kCompatibility) == 1; }));
    EXPECT_EQ(rig.CountOf(kExclusiveControl), 0u);
    EXPECT_EQ(rig.CountOf(kSetTrunkMode), 0u);
}

TEST(QuillexMaintenanceRequestTest, WithoutAMaintenancePortNoCrosspointGoesOutForIt) {
    testing::FakeNetwork network = testing::BuildFakeNetwork(6, 40);
    network.maintenanceMatrix = 255;
    network.maintenancePort = 0xFFFF;
    QuillexRig rig(network);
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    EXPECT_FALSE(rig.quillex->HasMaintenancePort());
    rig.fake.ClearRequests();
    for (const auto& queue :
         std::vector<std::function<void()>>{[&] { rig.quillex->CloseMaintenanceTrunkXpnt(3); },
                                            [&] { rig.quillex->ClearMaintenanceTrunkXpnt(3); },
                                            [&] { rig.quillex->LoopBackMaintenancePort(); },
                                            [&] { rig.quillex->ClearMaintenancePortLoop(); }}) {
        queue();
        int status = 0;
        ASSERT_TRUE(rig.WaitUntil([&] { return (status = rig.quillex->GetRequestStatus()) != 0; }));
        EXPECT_EQ(status, requeststatus::kFailed);
    }
    EXPECT_EQ(rig.CountOf(kCrosspoints), 0u);
}

TEST(QuillexMaintenanceRequestTest, ALoopBackQueuedBeforeThePortIsKnownEndsWithTheDiscrepancy) {
    QuillexRig rig;
    rig.quillex->LoopBackMaintenancePort();  // carries no matrix
    rig.StartUdp();
    int status = 0;
    ASSERT_TRUE(rig.WaitUntil([&] { return (status = rig.quillex->GetRequestStatus()) != 0; }));
    EXPECT_EQ(status, requeststatus::kFailed);
    EXPECT_TRUE(
        rig.logs.Has("Quillex", "Maintenance Port Discrepancy Detected During Loopback Test!"));
    EXPECT_EQ(rig.CountOf(kCrosspoints), 0u);
}

TEST(QuillexStopTest, StopEndsAnExclusiveControlLoopThatIsNeverGranted) {
    QuillexRig rig(testing::BuildFakeNetwork(6, 40),
                   [](QuillexOptions& o) { o.exclusiveControlRetry = 250ms; });
    FakeMaintenanceOutcomes never;
    never.exclusiveControlRefusals = -1;
    rig.model.SetOutcomes(never);
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.quillex->PutTrunkInMaintenance(3, false);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kExclusiveControl) >= 1; }));
    rig.quillex->Stop();
    EXPECT_TRUE(rig.quillex->IsStopped());
    EXPECT_EQ(rig.quillex->GetRequestStatus(), requeststatus::kFailed);
}

TEST(QuillexStopTest, StopDuringAnUnansweredTransactionEndsThePollThread) {
    QuillexRig rig;
    EXPECT_TRUE(rig.quillex->IsStopped());  // not started
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    EXPECT_FALSE(rig.quillex->IsStopped());
    rig.fake.SetSilent(FakeNode::kMain, true);
    rig.fake.ClearRequests();
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kHello) >= 1; }));
    rig.quillex->Stop();
    EXPECT_TRUE(rig.quillex->IsStopped());
    EXPECT_FALSE(rig.quillex->HasConnection());
    EXPECT_LT(rig.CountOf(kHello), 6u);  // the retries were cut short
}

TEST(QuillexFlagTest, FlagsOutsideTheControllersRangeAreIgnored) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.fake.ClearRequests();
    CQuillex& q = *rig.quillex;
    for (const int matrix : {-1, 255, 256, 100000}) {
        q.FlagMatrixAlphasQuery(matrix, 0);
        q.FlagMatrixCommStatQuery(matrix);
        q.FlagMatrixOosPortsQuery(matrix);
    }
    for (const int kind : {-1, 7, 9, 16}) {
        q.FlagMatrixAlphasQuery(3, kind);
    }
    for (const int trunk : {-1, 10000, 65535}) {
        q.FlagTrunkDefinitionsQuery(trunk);
        q.FlagInspectTrunk(trunk);
    }
    rig.clock.Advance(60s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kCompatibility) == 1; }));
    EXPECT_EQ(rig.CountOf(kChangeQuery), 0u);

    q.FlagMatrixCommStatQuery(3);
    rig.clock.Advance(60s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kCompatibility) == 2; }));
    ASSERT_EQ(rig.CountOf(kCommStatus), 1u);
    for (const auto& r : rig.fake.Requests()) {
        if (r.code == kCommStatus) {
            EXPECT_EQ(r.payload, (std::vector<uint8_t>{1, 3, 1}));
        }
    }
}

TEST(QuillexClockTest, SettingTheWallClockBackKeepsTheHellosGoing) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.fake.ClearRequests();
    rig.clock.SetWall(rig.clock.Now() - 1h);
    for (int second = 1; second <= 3; ++second) {
        rig.clock.Advance(1s);
        ASSERT_TRUE(
            rig.WaitUntil([&] { return rig.CountOf(kHello) == static_cast<size_t>(second); }));
    }
}

TEST(QuillexClockTest, AControllerClockOffByMoreThanTwoSecondsIsSetEvery900Seconds) {
    testing::FakeNetwork network = testing::BuildFakeNetwork(6, 40);
    network.dateTime = {1, 1, 1, 0, 0, 0};  // 1 January 2001
    QuillexRig rig(network);
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.model.SetDateTimeCount() == 1; }));
    const LocalTime now = ToLocalTime(rig.clock.Now());
    const auto set = rig.model.LastSetDateTime();
    EXPECT_EQ(set[0], now.year % 2000 + 100);
    EXPECT_EQ(set[1], now.month);
    EXPECT_EQ(set[2], now.day);

    rig.fake.ClearRequests();
    rig.clock.Advance(899s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kCompatibility) == 1; }));
    EXPECT_EQ(rig.CountOf(kDateAndTime), 0u);
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.model.SetDateTimeCount() == 2; }));
    EXPECT_EQ(rig.CountOf(kDateAndTime), 1u);
}

TEST(QuillexClockTest, AClockInStepIsLeftAloneAndTheSettingCanTurnTheCheckOff) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    EXPECT_EQ(rig.CountOf(kDateAndTime), 1u);
    EXPECT_EQ(rig.CountOf(kSetDateTime), 0u);
    rig.settings.Modify([](AppSettings& s) { s.SyncQuillexClock = false; });
    rig.fake.ClearRequests();
    rig.clock.Advance(900s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kCompatibility) == 1; }));
    EXPECT_EQ(rig.CountOf(kDateAndTime), 0u);
}

TEST(QuillexCapabilitiesTest, AChangeOfTheOutOfServiceBitPostsTheViewHint) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    EXPECT_TRUE(rig.quillex->HasOutOfServiceCapability());
    EXPECT_TRUE(rig.quillex->HasNetworkInfoCapability());
    EXPECT_TRUE(rig.quillex->HasExtendedIntercomCapability());
    EXPECT_EQ(rig.ui.Hints(), std::vector<uint32_t>{0x800000});

    rig.model.SetCapabilities(0x0B);  // no out-of-service reporting
    rig.model.Restart();              // the next Hello asks for everything again
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return !rig.quillex->HasOutOfServiceCapability(); }));
    EXPECT_EQ(rig.ui.Hints(), (std::vector<uint32_t>{0x800000, 0x800000}));
}

TEST(QuillexCapabilitiesTest, TheMaintenancePortIsOutOfServiceByItsBitInTheMap) {
    testing::FakeNetwork network = testing::BuildFakeNetwork(6, 40);
    network.matrices[0].oosPorts[0] = 0x20;  // port 5 of matrix 0, the maintenance port
    QuillexRig rig(network);
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.quillex->IsMaintenancePortOutOfService(); }));
    rig.model.SetOosPort(0, 5, false);
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return !rig.quillex->IsMaintenancePortOutOfService(); }));
}

TEST(QuillexCompatibilityTest, ChangesArePostedOnceAndFlagsSurviveAConcurrentClear) {
    QuillexRig rig;
    rig.model.SetCompatibility(2, {2, 0, 0, 90});
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.ui.CompatibilityChanges() == 1; }));
    CAuthStat* stat = rig.quillex->GetAuthStat(2);
    ASSERT_NE(stat, nullptr);
    EXPECT_EQ(stat->State(), 2);
    EXPECT_EQ(stat->WordValue2(), 90);
    EXPECT_EQ(rig.quillex->GetAuthStat(255), nullptr);
    EXPECT_EQ(rig.quillex->GetAuthStat(-1), nullptr);

    // The dialog clears flags on its thread while the poll thread writes the records.
    std::atomic<bool> done{false};
    std::atomic<int> seenRises{stat->ClearChangeFlags() & CAuthStat::kRoseToTwo ? 1 : 0};
    std::thread dialog([&] {
        while (!done) {
            for (int i = 0; i < kQuillexMatrices; ++i) {
                if (rig.quillex->GetAuthStat(i)->ClearChangeFlags() & CAuthStat::kRoseToTwo) {
                    ++seenRises;
                }
            }
        }
    });
    rig.clock.Advance(60s);  // the same rows: nothing to post
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kCompatibility) == 2; }));
    rig.model.SetCompatibility(3, {2, 0, 0, 30});
    rig.clock.Advance(60s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.ui.CompatibilityChanges() == 2; }));
    done = true;
    dialog.join();
    seenRises += rig.quillex->GetAuthStat(3)->ClearChangeFlags() & CAuthStat::kRoseToTwo ? 1 : 0;
    EXPECT_EQ(seenRises, 2);  // matrix 2 and matrix 3, each seen once
}

TEST(QuillexLinkTest, LinksThatCannotBeBuiltPostTheirBoxesAndLeaveNoLink) {
    QuillexRig rig;
    rig.quillex->SetSerialPort("/nonexistent/ttyQX");
    rig.quillex->StartPolling();
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.ui.Boxes().size() == 1; }));
    rig.quillex->SetNetworkAddresses("", "0.0.0.0");
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.ui.Boxes().size() == 2; }));
    const auto boxes = rig.ui.Boxes();
    EXPECT_TRUE(boxes[0].posted);
    EXPECT_EQ(boxes[0].text.rfind("Failed to open the Quillex COM port!", 0), 0u);
    EXPECT_NE(boxes[0].text.find("(/nonexistent/ttyQX)"), std::string::npos);
    EXPECT_TRUE(boxes[1].posted);
    EXPECT_EQ(boxes[1].text.rfind("Unable to establish a Quillex network connection!", 0), 0u);
    EXPECT_FALSE(rig.quillex->HasConnection());
    EXPECT_TRUE(rig.quillex->IsDisconnected());
}

TEST(QuillexLinkTest, ADisconnectDropsTheLinkAndANewAddressBuildsIt) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.quillex->RequestDisconnect();
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.quillex->IsDisconnected(); }));
    EXPECT_FALSE(rig.quillex->IsCommunicating());
    rig.quillex->SetNetworkAddresses("127.0.0.2", "");
    // The regained contact's alarm follows the state.
    EXPECT_TRUE(rig.WaitUntil(
        [&] { return rig.quillex->IsCommunicating() && rig.QuillexAlarms().size() == 4u; }, 1s));
}

TEST(QuillexLinkTest, ThreeNotReadyHellosOnTheSerialLineLoseContact) {
    QuillexRig rig;
    rig.StartSerial();
    ASSERT_TRUE(rig.WaitForSync());
    rig.model.SetReady(false);
    rig.fake.ClearRequests();
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return !rig.quillex->IsCommunicating(); }));
    EXPECT_EQ(rig.CountOf(kHello), 3u);
    EXPECT_TRUE(rig.logs.Has("Quillex", "Invalid response was received a number of times!"));
}

TEST(QuillexLinkTest, ReconnectingToTheSameSerialDeviceClosesTheOldLinkFirst) {
    QuillexRig rig;
    rig.StartSerial();
    ASSERT_TRUE(rig.WaitForSync());
    rig.quillex->SetSerialPort(rig.fake.SerialPortName());
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.QuillexAlarms().size() >= 3u; }));
    // Lost by the reconnect, then regained; the alarm follows the state.
    ASSERT_TRUE(rig.WaitUntil(
        [&] { return rig.quillex->IsCommunicating() && rig.QuillexAlarms().size() == 4u; }, 1s));
    EXPECT_TRUE(rig.ui.Boxes().empty());
    EXPECT_TRUE(rig.quillex->HasConnection());
}

TEST(QuillexLinkTest, AMaintenancePortNoIntercomHasIsNoPortAndKeepsTheSerialLinkUp) {
    testing::FakeNetwork network = testing::BuildFakeNetwork(6, 40);
    network.maintenanceMatrix = 0;
    network.maintenancePort = 1024;
    QuillexRig rig(network);
    rig.StartSerial();
    ASSERT_TRUE(rig.WaitForSync()) << ::testing::PrintToString(rig.Differences());
    EXPECT_FALSE(rig.quillex->HasMaintenancePort());
    EXPECT_TRUE(rig.quillex->IsMaintenancePortReported());
    EXPECT_TRUE(rig.logs.Has("Quillex",
                             "Get Maintenance Port Reply: Port 1024 out of range, no maintenance "
                             "port"));
    EXPECT_EQ(rig.QuillexAlarms().size(), 2u);  // lost at the first connect, then regained
    EXPECT_GT(rig.CountOf(kChangeQuery), 0u);
}

TEST(QuillexAlphaSizeTest, AnAlphaSizeSettingOfZeroReadsAlphasOfFour) {
    QuillexRig rig;
    rig.settings.Modify([](AppSettings& s) { s.AlphaSize = 0; });
    rig.model.SetHelloExtras(true, true, true);
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync()) << ::testing::PrintToString(rig.Differences());
    EXPECT_TRUE(rig.logs.Has("Quillex", "AlphaSize 0 is not 4, 6 or 8: alphas of 4 are read"));
}

}  // namespace
}  // namespace corvane
