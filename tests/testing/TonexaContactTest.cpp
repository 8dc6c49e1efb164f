#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testing/TonexaRig.h"

namespace corvane::testing {
namespace {

using Fault = FakeTestSet::Fault;

class TonexaContactTest : public TonexaRig {};

TEST_F(TonexaContactTest, StoppedUntilStartedAndAfterJoin) {
    Make();
    EXPECT_TRUE(tonexa->IsStopped());
    EXPECT_FALSE(tonexa->IsConnected());
    EXPECT_EQ(tonexa->ContactState(), CTonexa::kContactUnknown);
    tonexa->Start();
    EXPECT_FALSE(tonexa->IsStopped());
    tonexa->Stop();
    tonexa->Join();
    EXPECT_TRUE(tonexa->IsStopped());
    EXPECT_EQ(tonexa->ContactState(), CTonexa::kContactLost);
    EXPECT_EQ(CountAlarms(alarmresolve::kRaise), 0);  // stopping is not a lost contact
}

TEST_F(TonexaContactTest, FirstContactSendsTheSettingsInOrder) {
    settings.Modify([](AppSettings& s) {
        s.TonexaTxLevel = -3;
        s.TonexaTxFrequency = 2804;
        s.TonexaImpedance = 0;
    });
    Make();
    tonexa->Start();
    ASSERT_TRUE(testSet.WaitForCount("CI A\r", 1));
    ASSERT_TRUE(WaitUntil([&] { return tonexa->IsConnected(); }));
    const std::vector<std::string> expected{"\r", "CF 2804\r", "CL -3\r", "CI A\r"};
    EXPECT_EQ(testSet.Commands(), expected);
    // The first valid reply resolves any open alarm of the test set.
    EXPECT_EQ(CountAlarms(alarmresolve::kResolve), 1);
    EXPECT_EQ(CountAlarms(alarmresolve::kRaise), 0);
}

TEST_F(TonexaContactTest, ChangedSettingsAreSentAgain) {
    StartInContact();
    settings.Modify([](AppSettings& s) { s.TonexaTxFrequency = 404; });
    tonexa->SetResendFrequency();
    ASSERT_TRUE(testSet.WaitForCount("CF 404\r", 1));
    settings.Modify([](AppSettings& s) { s.TonexaTxLevel = 0; });
    tonexa->SetResendLevel();
    ASSERT_TRUE(testSet.WaitForCount("CL 0\r", 1));
    tonexa->SetResendImpedance();
    ASSERT_TRUE(testSet.WaitForCount("CI B\r", 2));
}

TEST_F(TonexaContactTest, SilenceLosesContactOnceAndItComesBack) {
    TonexaOptions options = FastTonexaOptions();
    options.keepAliveInterval = 20ms;
    StartInContact(options);
    testSet.SetSilent(true);
    ASSERT_TRUE(WaitUntil([&] { return tonexa->ContactState() == CTonexa::kContactLost; }));
    // The keep-alive goes on trying through two more rounds of three tries.
    const int sent = testSet.CountOf("\r");
    ASSERT_TRUE(testSet.WaitForCount("\r", sent + 6));
    EXPECT_FALSE(tonexa->IsConnected());
    EXPECT_EQ(CountAlarms(alarmresolve::kRaise), 1);
    ASSERT_FALSE(TonexaAlarms().empty());
    EXPECT_EQ(TonexaAlarms().back().description, "Lost contact with Tonexa");
    EXPECT_GE(loopbackDue.load(), 1);

    testSet.SetSilent(false);
    ASSERT_TRUE(WaitUntil([&] { return tonexa->IsConnected(); }));
    // Settings go again after the loss; one more resolve follows the first contact's.
    ASSERT_TRUE(testSet.WaitForCount("CI B\r", 2));
    EXPECT_EQ(CountAlarms(alarmresolve::kResolve), 2);
    EXPECT_EQ(CountAlarms(alarmresolve::kRaise), 1);
}

// A fault once is mended by sending the command again; three in a row lose the contact.
TEST_F(TonexaContactTest, ThreeBadRepliesInARowLoseTheContact) {
    const Fault faults[] = {Fault::WrongEcho, Fault::NoLineFeed, Fault::BadDigits, Fault::Silence,
                            Fault::Overlong};
    for (const Fault fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault));
        FakeTestSet set;
        settings.Modify([&](AppSettings& s) { s.TonexaSerialPort = set.DeviceName(); });
        set.QueueFault(fault, "CF 1004\r");
        set.QueueFault(fault, "CL 10\r");
        set.QueueFault(fault, "CL 10\r");
        set.QueueFault(fault, "CL 10\r");
        int lost = 0;
        {
            TonexaOptions options = FastTonexaOptions();
            options.loopbackDue = [&] { ++lost; };
            options.profile = &profile;
            CTonexa driver(doc, settings, options);
            driver.Start();
            ASSERT_TRUE(WaitUntil([&] { return driver.ContactState() == CTonexa::kContactLost; }));
            driver.Stop();
            driver.Join();
        }
        EXPECT_EQ(set.CountOf("CF 1004\r"), 2);
        EXPECT_EQ(set.CountOf("CL 10\r"), 3);
        EXPECT_EQ(lost, 1);
    }
}

TEST_F(TonexaContactTest, MissingPromptLosesTheContactAtOnce) {
    testSet.QueueFault(Fault::NoPrompt, "CF 1004\r");
    Make();
    tonexa->Start();
    ASSERT_TRUE(WaitUntil([&] { return tonexa->ContactState() == CTonexa::kContactLost; }));
    // The alarm is raised just after the state changes.
    EXPECT_TRUE(WaitUntil([&] { return CountAlarms(alarmresolve::kRaise) == 1; }));
    EXPECT_EQ(testSet.CountOf("CF 1004\r"), 1);
}

TEST_F(TonexaContactTest, TheReplyDeadlineIsTheTonexaTimeoutSetting) {
    profile.WriteProfileInt("Settings\\Configuration", "TonexaTimeout", 2);
    testSet.QueueFault(Fault::NoPrompt, "CF 1004\r");
    Make();
    const auto start = std::chrono::steady_clock::now();
    tonexa->Start();
    ASSERT_TRUE(WaitUntil([&] { return tonexa->ContactState() == CTonexa::kContactLost; }));
    // Not sooner than the setting's two seconds.
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(testSet.CountOf("CF 1004\r"), 1);
}

TEST_F(TonexaContactTest, AStopIsSeenWhileAReplyIsAwaited) {
    profile.WriteProfileInt("Settings\\Configuration", "TonexaTimeout", 60);
    testSet.QueueFault(Fault::NoPrompt, "CF 1004\r");
    Make();
    tonexa->Start();
    // The reply came without its prompt: the driver now waits for the rest.
    ASSERT_TRUE(testSet.WaitUntilAnswerRead("CF 1004\r"));
    const auto start = std::chrono::steady_clock::now();
    tonexa->Stop();
    tonexa->Join();
    // Long before the reply's deadline, and not taken for a lost contact.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
    EXPECT_EQ(CountAlarms(alarmresolve::kRaise), 0);
}

TEST_F(TonexaContactTest, DisconnectClosesThePortWithoutAlarmAndReinitOpensIt) {
    StartInContact();
    tonexa->SetDisconnectRequested(true);
    ASSERT_TRUE(WaitUntil([&] { return !tonexa->IsDisconnectRequested(); }));
    EXPECT_FALSE(tonexa->IsConnected());
    EXPECT_EQ(CountAlarms(alarmresolve::kRaise), 0);

    tonexa->SetReinitRequested(true);
    ASSERT_TRUE(testSet.WaitForCount("CI B\r", 2));
    ASSERT_TRUE(WaitUntil([&] { return tonexa->IsConnected(); }));
    EXPECT_EQ(testSet.CountOf("\r"), 2);
}

TEST_F(TonexaContactTest, PortThatDoesNotOpenShowsTheBoxAndRaisesNoAlarm) {
    settings.Modify([](AppSettings& s) { s.TonexaSerialPort = "/dev/no-such-tonexa-port"; });
    Make();
    tonexa->Start();
    ASSERT_TRUE(WaitUntil([&] { return !ui.Boxes().empty(); }));
    const auto boxes = ui.Boxes();
    EXPECT_TRUE(boxes[0].posted);
    EXPECT_EQ(boxes[0].text.rfind("Failed to open the Tonexa COM port!", 0), 0u) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("(/dev/no-such-tonexa-port)"), std::string::npos);
    TrunkTestMeasurement m;
    int timeOut = 0;
    tonexa->StartTest(3, 50, 5, timeOut);
    EXPECT_EQ(tonexa->GetTestResult(m), TestResultState::NoResult);
    EXPECT_FALSE(tonexa->IsConnected());
    EXPECT_TRUE(TonexaAlarms().empty());
}

}  // namespace
}  // namespace corvane::testing
