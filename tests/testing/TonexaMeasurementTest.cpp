#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/TonexaRig.h"

namespace corvane::testing {
namespace {

using Fault = FakeTestSet::Fault;
using Reading = FakeTestSet::Reading;

class TonexaMeasurementTest : public TonexaRig {};

// The transmitted level is 10 dB (100 tenths) throughout.
TEST_F(TonexaMeasurementTest, RepeatsUntilTwoReadingsAgreeWithinTheTolerance) {
    struct Case {
        const char* name;
        std::vector<Reading> readings;
        int tolerance;
        TestResultState state;
        int measurements;
        Reading last;
    };
    const std::vector<Reading> wandering{{0, 1004}, {50, 1004}, {0, 1004}, {50, 1004},
                                         {0, 1004}, {50, 1004}, {0, 1004}, {50, 1004},
                                         {0, 1004}, {50, 1004}, {0, 1004}, {50, 1004}};
    const Case cases[] = {
        {"agree at once", {{90, 1004}, {95, 1010}}, 50, TestResultState::Measured, 2, {95, 1010}},
        {"settles",
         {{0, 1004}, {50, 1004}, {55, 1004}},
         50,
         TestResultState::Measured,
         3,
         {55, 1004}},
        {"frequency settles",
         {{90, 1004}, {90, 1200}, {90, 1250}},
         50,
         TestResultState::Measured,
         3,
         {90, 1250}},
        {"level 10 tenths apart agrees",
         {{60, 1004}, {50, 1104}},
         50,
         TestResultState::Measured,
         2,
         {50, 1104}},
        {"loss equal to the tolerance",
         {{50, 1004}, {50, 1004}},
         50,
         TestResultState::Measured,
         2,
         {50, 1004}},
        {"stable but lossy", {{-30, 1004}}, 50, TestResultState::Measured, 11, {-30, 1004}},
        {"never agrees", wandering, 500, TestResultState::Failed, 11, {0, 1004}},
    };
    StartInContact();
    int measured = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testSet.QueueReadings(c.readings);
        TrunkTestMeasurement m;
        EXPECT_EQ(RunTest(c.tolerance - 5, 5, m), c.state);
        const int now = testSet.CountOf("CLO\r");
        EXPECT_EQ(now - measured, c.measurements);
        measured = now;
        EXPECT_EQ(m.receivedLevel, c.last.level);
        EXPECT_EQ(m.receivedFrequency, c.last.frequency);
        EXPECT_EQ(m.transmittedLevel, 100);
        EXPECT_EQ(m.transmittedFrequency, 1004);
        EXPECT_EQ(m.flag, 0);
        // Whatever is left of the script is not for the next case.
        testSet.ClearReadings();
    }
    EXPECT_EQ(testSet.CountOf("CLO A\r"), static_cast<int>(std::size(cases)));
    EXPECT_EQ(testSet.CountOf("CLO B\r"), static_cast<int>(std::size(cases)));
    EXPECT_FALSE(OtherAlarms());
}

TEST_F(TonexaMeasurementTest, ReadsMinusThreeDecibelsAsMinusThirtyTenths) {
    StartInContact();
    testSet.QueueReadings({{-30, 1004}});
    TrunkTestMeasurement m;
    EXPECT_EQ(RunTest(200, 0, m), TestResultState::Measured);
    EXPECT_EQ(m.receivedLevel, -30);
    EXPECT_EQ(m.receivedFrequency, 1004);
}

TEST_F(TonexaMeasurementTest, LowFrequencyRangeUsesItsOwnCommands) {
    settings.Modify([](AppSettings& s) { s.UseLowFrequencyTestRange = true; });
    StartInContact();
    testSet.QueueReadings({{90, 300}});
    TrunkTestMeasurement m;
    EXPECT_EQ(RunTest(50, 0, m), TestResultState::Measured);
    const std::vector<std::string> commands = testSet.Commands();
    const std::vector<std::string> tail(commands.end() - 4, commands.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"CLN A\r", "CLN\r", "CLN\r", "CLN B\r"}));
    EXPECT_EQ(testSet.CountOf("CLO\r"), 0);
}

TEST_F(TonexaMeasurementTest, ABadReplyIsAskedForAgain) {
    const Fault faults[] = {Fault::WrongEcho, Fault::NoLineFeed, Fault::BadDigits, Fault::Silence,
                            Fault::Overlong};
    StartInContact();
    int sent = 0;
    for (const Fault fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault));
        testSet.QueueReadings({{90, 1004}});
        testSet.QueueFault(fault, "CLO\r");
        testSet.QueueFault(fault, "CLO\r");
        TrunkTestMeasurement m;
        EXPECT_EQ(RunTest(50, 0, m), TestResultState::Measured);
        EXPECT_EQ(m.receivedLevel, 90);
        EXPECT_EQ(testSet.CountOf("CLO\r") - sent, 4);
        sent = testSet.CountOf("CLO\r");
        EXPECT_TRUE(tonexa->IsConnected());
    }
    EXPECT_EQ(CountAlarms(alarmresolve::kRaise), 0);
}

TEST_F(TonexaMeasurementTest, AWrongEchoThreeTimesEndsTheTestWithNoResult) {
    StartInContact();
    for (int i = 0; i < 3; ++i) {
        testSet.QueueFault(Fault::WrongEcho, "CLO\r");
    }
    TrunkTestMeasurement m;
    EXPECT_EQ(RunTest(50, 0, m), TestResultState::NoResult);
    EXPECT_EQ(testSet.CountOf("CLO\r"), 3);
    EXPECT_EQ(testSet.CountOf("CLO B\r"), 0);
    EXPECT_FALSE(tonexa->IsConnected());
    EXPECT_EQ(CountAlarms(alarmresolve::kRaise), 1);
    // The loop-back is marked due after the result is given.
    EXPECT_TRUE(WaitUntil([&] { return loopbackDue.load() == 1; }));
    EXPECT_FALSE(OtherAlarms());
}

TEST_F(TonexaMeasurementTest, ARecordIsZeroWhileTheTestRuns) {
    StartInContact();
    // The start command goes unanswered once, so the test cannot be over yet.
    testSet.QueueFault(Fault::Silence, "CLO A\r");
    int timeOut = 0;
    tonexa->StartTest(1, 50, 0, timeOut);
    TrunkTestMeasurement m;
    m.transmittedLevel = 5;
    m.receivedLevel = 5;
    EXPECT_EQ(tonexa->GetTestResult(m), TestResultState::Running);
    EXPECT_EQ(m.transmittedLevel, 0);
    EXPECT_EQ(m.receivedLevel, 0);
    ASSERT_TRUE(WaitUntil([&] { return tonexa->GetTestResult(m) != TestResultState::Running; }));
    EXPECT_EQ(tonexa->GetTestResult(m), TestResultState::Measured);
}

}  // namespace
}  // namespace corvane::testing
