#include <gtest/gtest.h>

#include "testing/TrunkTester.h"

namespace corvane {
namespace {

TEST(DummyTesterTest, NeverAnswers) {
    CDummyTester tester;
    tester.Start();
    EXPECT_FALSE(tester.IsConnected());
    TrunkTestMeasurement m;
    m.receivedLevel = 77;
    EXPECT_EQ(tester.GetTestResult(m), TestResultState::NoResult);
    EXPECT_EQ(m.receivedLevel, 77);  // the record is left alone
    int timeout = -1;
    tester.StartTest(5, 50, 10, timeout);
    EXPECT_EQ(timeout, -1);
    EXPECT_EQ(tester.GetTestResult(m), TestResultState::NoResult);
    tester.SetDisconnectRequested(true);
    EXPECT_FALSE(tester.IsDisconnectRequested());
    tester.Stop();
    tester.Join();
}

}  // namespace
}  // namespace corvane
