#include <gtest/gtest.h>

#include "testing/TonexaRig.h"

namespace corvane::testing {
namespace {

using Fault = FakeTestSet::Fault;
using Reading = FakeTestSet::Reading;

class TonexaRequestTest : public TonexaRig {
protected:
    // A stable reading with more loss than any tolerance below: the test runs every repetition.
    static constexpr Reading kLossy{-30, 1004};
};

TEST_F(TonexaRequestTest, NoResultBeforeAnyRequest) {
    Make();
    TrunkTestMeasurement m;
    m.receivedLevel = 4;
    EXPECT_EQ(tonexa->GetTestResult(m), TestResultState::NoResult);
    tonexa->Start();
    EXPECT_EQ(tonexa->GetTestResult(m), TestResultState::NoResult);
}

TEST_F(TonexaRequestTest, OutOfContactAnswersAtOnceWithoutTestingOrTrunkAlarm) {
    testSet.SetSilent(true);
    Make();
    // Not yet known counts as out of contact too.
    int timeOut = 0;
    TrunkTestMeasurement m;
    tonexa->StartTest(9, 50, 5, timeOut);
    EXPECT_EQ(tonexa->GetTestResult(m), TestResultState::NoResult);

    tonexa->Start();
    ASSERT_TRUE(WaitUntil([&] { return tonexa->ContactState() == CTonexa::kContactLost; }));
    tonexa->StartTest(9, 50, 5, timeOut);
    EXPECT_EQ(timeOut, 20);
    EXPECT_EQ(tonexa->GetTestResult(m), TestResultState::NoResult);
    EXPECT_EQ(m.transmittedLevel, 100);
    EXPECT_EQ(m.receivedLevel, 0);
    EXPECT_EQ(testSet.CountOf("CLO A\r"), 0);
    EXPECT_FALSE(OtherAlarms());
}

TEST_F(TonexaRequestTest, ARequestGivenUpOnNeverAnswersTheNext) {
    StartInContact();
    // The first test's first measurement goes unanswered once, so it is still running when
    // the caller asks again.
    testSet.QueueReadings({{0, 1004}, {50, 1004}});
    testSet.QueueFault(Fault::Silence, "CLO\r");
    int timeOut = 0;
    tonexa->StartTest(1, 50, 0, timeOut);
    ASSERT_TRUE(testSet.WaitForCount("CLO\r", 1));
    testSet.ClearReadings();
    testSet.QueueReadings({{90, 1004}});
    tonexa->StartTest(2, 50, 0, timeOut);

    TrunkTestMeasurement m;
    TestResultState state = TestResultState::Running;
    ASSERT_TRUE(WaitUntil([&] {
        state = tonexa->GetTestResult(m);
        return state != TestResultState::Running;
    }));
    // The first answer seen is the second test's, after both tests have ended.
    EXPECT_EQ(testSet.CountOf("CLO A\r"), 2);
    EXPECT_EQ(testSet.CountOf("CLO B\r"), 2);
    EXPECT_EQ(state, TestResultState::Measured);
    EXPECT_EQ(m.receivedLevel, 90);
}

TEST_F(TonexaRequestTest, AnAbandonedRequestDoesNotCutShortTheNextTest) {
    TonexaOptions options = FastTonexaOptions();
    options.keepAliveInterval = 20ms;
    StartInContact(options);
    testSet.SetSilent(true);
    ASSERT_TRUE(WaitUntil([&] { return !tonexa->IsConnected(); }));
    int timeOut = 0;
    tonexa->StartTest(1, 50, 0, timeOut);
    testSet.SetSilent(false);
    ASSERT_TRUE(WaitUntil([&] { return tonexa->IsConnected(); }));
    ASSERT_TRUE(testSet.WaitForCount("CI B\r", 2));

    tonexa->SetDisconnectRequested(true);
    ASSERT_TRUE(WaitUntil([&] { return !tonexa->IsDisconnectRequested(); }));
    tonexa->SetReinitRequested(true);
    ASSERT_TRUE(testSet.WaitForCount("CI B\r", 3));
    ASSERT_TRUE(WaitUntil([&] { return tonexa->IsConnected(); }));

    testSet.QueueReadings({kLossy});
    TrunkTestMeasurement m;
    EXPECT_EQ(RunTest(50, 0, m), TestResultState::Measured);
    EXPECT_EQ(testSet.CountOf("CLO\r"), 11);
    EXPECT_EQ(m.receivedLevel, -30);
}

TEST_F(TonexaRequestTest, StopDuringATestEndsItWithNoResult) {
    StartInContact();
    testSet.QueueFault(Fault::Silence, "CLO\r");
    int timeOut = 0;
    tonexa->StartTest(1, 50, 0, timeOut);
    ASSERT_TRUE(testSet.WaitForCount("CLO\r", 1));
    tonexa->Stop();
    tonexa->Join();
    TrunkTestMeasurement m;
    EXPECT_EQ(tonexa->GetTestResult(m), TestResultState::NoResult);
    EXPECT_TRUE(tonexa->IsStopped());
    EXPECT_FALSE(OtherAlarms());
}

}  // namespace
}  // namespace corvane::testing
