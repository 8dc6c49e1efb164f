#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "fakes/LogCapture.h"
#include "fakes/TempDir.h"
#include "testing/RT2MParameters.h"
#include "testing/RT2MRig.h"

namespace corvane::testing {
namespace {

using namespace std::chrono_literals;

class RT2MDriverTest : public RT2MRig {};

std::ptrdiff_t IndexOf(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) - v.begin();
}

TEST_F(RT2MDriverTest, StartsStoppedAndResetsAndConfiguresOnTheLine) {
    rt2m = std::make_unique<CRT2M>(doc, settings, Options());
    EXPECT_TRUE(rt2m->IsStopped());
    rt2m->Start();
    EXPECT_FALSE(rt2m->IsStopped());
    ASSERT_TRUE(Connected());
    EXPECT_TRUE(WaitUntil([&] { return fake.Count("INPUT:TRIGGER:CONFIGURATION LOOSE") == 1; }));
    EXPECT_TRUE(fake.CtsFlowControl());
    EXPECT_TRUE(fake.RunsAt38400());
    EXPECT_EQ(fake.BareLines(), 0);
    EXPECT_EQ(fake.Resets(), 1);
    const auto c = fake.Commands();
    EXPECT_EQ(c.at(0), "GIBBERISH");
    EXPECT_EQ(c.at(1), "SYSTEM:RESET");
    // The first answers after the reset came at once, yet the reset was not repeated: only
    // answers after the settling time decide.
    const auto polls = std::count(c.begin() + 2, c.begin() + IndexOf(c, "SYSTEM:INFORMATION?"),
                                  std::string("SYSTEM:ERRORS?"));
    EXPECT_GE(polls, 100);
    EXPECT_LT(IndexOf(c, "OUTPUT:MTONE:PARAMETER 1,'VORLIN',1024,1,1,21,21,0.000E00,0.000E00"),
              IndexOf(c, "OUTPUT1:LEVEL 0.00 DBVP"));
    for (const char* s :
         {"OUTPUT:FLOAT ON", "OUTPUT:IMPEDANCE 600", "OUTPUT1:MUTE OFF", "INPUT:DEEMPHASIS OFF",
          "INPUT:IMPEDANCE 100K", "INPUT1:MICSENSITIVITY 50.0", "INPUT2:VOLTAGEDIVIDERRATIO 1.0",
          "INPUT:SWFILTER OFF", "INPUT:LINK OFF"}) {
        EXPECT_LT(IndexOf(c, s), static_cast<std::ptrdiff_t>(c.size())) << s;
    }
    EXPECT_TRUE(HasAlarm(alarmcat::kCommunication, alarmresolve::kResolve));
    EXPECT_TRUE(HasAlarm(alarmcat::kDevice, alarmresolve::kResolve));
    rt2m->Stop();
    rt2m->Join();
    EXPECT_TRUE(rt2m->IsStopped());
    EXPECT_FALSE(rt2m->IsConnected());
}

// The one answer that decides a reset, taken at once after it.
struct PostResetCase {
    const char* answer;
    int resets;
    bool deviceAlarm;
};

class RT2MPostResetTest : public RT2MRig, public ::testing::WithParamInterface<PostResetCase> {};

TEST_P(RT2MPostResetTest, DecidesWhetherTheResetTook) {
    fake.SetPostResetAnswers({GetParam().answer});
    RT2MOptions o = Options();
    o.resetSettle = 0ms;
    StartDriver(std::move(o));
    ASSERT_TRUE(Connected());
    EXPECT_EQ(fake.Resets(), GetParam().resets);
    EXPECT_EQ(HasAlarm(alarmcat::kDevice, alarmresolve::kRaise), GetParam().deviceAlarm);
}

INSTANTIATE_TEST_SUITE_P(Answers, RT2MPostResetTest,
                         ::testing::Values(PostResetCase{"0", 1, false},
                                           PostResetCase{"400", 2, false},  // class 1
                                           PostResetCase{"205", 2, false},  // class 3
                                           PostResetCase{"545", 1, true},   // service
                                           PostResetCase{"203", 2, false},  // class 6
                                           PostResetCase{"220", 1, true}));

TEST_F(RT2MDriverTest, ErrorsInsideTheSettlingTimeDecideNothing) {
    fake.SetPostResetAnswers({"205", "400", "1,,2"});
    StartDriver();
    ASSERT_TRUE(Connected());
    EXPECT_EQ(fake.Resets(), 1);
}

TEST_F(RT2MDriverTest, NoValidAnswerWithinTheLimitResetsAgain) {
    settings.Modify([](AppSettings& s) { s.TurnaroundTime = 100; });
    fake.SilenceAfterNextReset(20);
    RT2MOptions o = Options();
    o.resetSettle = 1000ms;
    o.resetLimit = 1500ms;
    StartDriver(std::move(o));
    ASSERT_TRUE(Connected());
    EXPECT_EQ(fake.Resets(), 2);
}

TEST_F(RT2MDriverTest, RetransmitsACommandOnALineError) {
    fake.FailCommand("OUTPUT:FLOAT", {400});
    StartDriver();
    ASSERT_TRUE(WaitUntil([&] { return fake.Count("INPUT:LINK OFF") == 1; }));
    EXPECT_EQ(fake.Count("OUTPUT:FLOAT ON"), 2);
    EXPECT_EQ(fake.Resets(), 1);
}

TEST_F(RT2MDriverTest, ThreeFailedAttemptsLoseContactAndReset) {
    fake.FailCommand("OUTPUT:FLOAT", {158}, 3);
    StartDriver();
    ASSERT_TRUE(WaitUntil([&] { return fake.Resets() == 2 && rt2m->IsConnected(); }));
    EXPECT_TRUE(
        HasAlarm(alarmcat::kCommunication, alarmresolve::kRaise, "Lost contact with RT-2M"));
    EXPECT_TRUE(loopbackDue);
}

TEST_F(RT2MDriverTest, AModeErrorResetsWithoutAContactAlarm) {
    fake.FailCommand("INPUT:LINK", {205});
    StartDriver();
    ASSERT_TRUE(WaitUntil([&] { return fake.Resets() == 2 && rt2m->IsConnected(); }));
    EXPECT_FALSE(HasAlarm(alarmcat::kCommunication, alarmresolve::kRaise));
}

TEST_F(RT2MDriverTest, AMalfunctionRaisesTheDeviceAlarm) {
    StartDriver();
    ASSERT_TRUE(WaitUntil([&] { return fake.Count("INPUT:TRIGGER:CONFIGURATION LOOSE") == 1; }));
    fake.ReplyNext("SYSTEM:ERRORS?", "0,438");
    ASSERT_TRUE(WaitUntil([&] {
        return HasAlarm(alarmcat::kDevice, alarmresolve::kRaise,
                        "Report error 438 to the manufacturer");
    }));
}

TEST_F(RT2MDriverTest, InvalidIdleAnswersCountAsLostContact) {
    StartDriver();
    ASSERT_TRUE(Connected());
    // Once configured, only the idle polls read the error queue.
    ASSERT_TRUE(WaitUntil([&] { return fake.Count("INPUT:TRIGGER:CONFIGURATION LOOSE") == 1; }));
    fake.ClearCommands();
    ASSERT_TRUE(WaitUntil([&] { return fake.Count("SYSTEM:ERRORS?") > 0; }));
    for (const char* bad : {"1,,2", "99999999", "0 1"}) {
        fake.ReplyNext("SYSTEM:ERRORS?", bad);
    }
    ASSERT_TRUE(
        WaitUntil([&] { return HasAlarm(alarmcat::kCommunication, alarmresolve::kRaise); }));
    EXPECT_TRUE(WaitUntil([&] { return fake.Resets() == 2 && rt2m->IsConnected(); }));
}

TEST_F(RT2MDriverTest, AStopIsSeenWhileAResponseIsAwaited) {
    settings.Modify([](AppSettings& s) { s.TurnaroundTime = 60000; });
    RT2MOptions o = Options();
    o.longestRead = 100ms;
    StartDriver(std::move(o));
    ASSERT_TRUE(Connected());
    fake.SetSilent(true);
    ASSERT_TRUE(WaitUntil([&] { return fake.Unanswered() > 0; }));
    const auto start = std::chrono::steady_clock::now();
    rt2m->Stop();
    rt2m->Join();
    // Long before the turnaround of a minute.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
}

TEST_F(RT2MDriverTest, AFailedOpenCountsAsLostContact) {
    settings.Modify([](AppSettings& s) { s.TonexaSerialPort = "/nonexistent/tty"; });
    StartDriver();
    ASSERT_TRUE(WaitUntil([&] { return rt2m->ContactState() == CRT2M::kContactLost; }));
    ASSERT_TRUE(WaitUntil([&] { return !ui.Boxes().empty(); }));
    EXPECT_NE(ui.Boxes()[0].text.find("/nonexistent/tty"), std::string::npos);
    EXPECT_NE(ui.Boxes()[0].text.find("RT-2M"), std::string::npos);
    TrunkTestMeasurement m;
    EXPECT_EQ(RunTest(m), TestResultState::NoResult);
}

TEST_F(RT2MDriverTest, EachOpenFailureHasItsOwnLine) {
    TempDir dir;
    const std::string notATty = dir / "not-a-tty";
    std::ofstream(notATty) << "";
    struct Case {
        std::string port;
        std::string line;
    };
    const Case cases[] = {
        {"/nonexistent/tty", "Failed to open serial port /nonexistent/tty (error: 2)"},
        {notATty,
         "Failed to get communication settings for serial port " + notATty + " (error: 25)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        LogCapture log("RT-2M", 1);
        settings.Modify([&](AppSettings& s) { s.TonexaSerialPort = c.port; });
        StartDriver();
        ASSERT_TRUE(WaitUntil([&] { return rt2m->ContactState() == CRT2M::kContactLost; }));
        rt2m->Stop();
        rt2m->Join();
        rt2m.reset();
        EXPECT_NE(log.Text().find(c.line), std::string::npos) << log.Text();
    }
}

TEST_F(RT2MDriverTest, ClosingPutsBackThePortsSettings) {
    const int fd = ::open(fake.PortName().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    termios before{};
    ASSERT_EQ(::tcgetattr(fd, &before), 0);
    cfsetispeed(&before, B9600);
    cfsetospeed(&before, B9600);
    before.c_lflag |= ICANON;
    ASSERT_EQ(::tcsetattr(fd, TCSANOW, &before), 0);

    StartDriver();
    ASSERT_TRUE(Connected());
    termios open{};
    ASSERT_EQ(::tcgetattr(fd, &open), 0);
    EXPECT_EQ(cfgetospeed(&open), B38400);
    rt2m->SetDisconnectRequested(true);
    ASSERT_TRUE(WaitUntil([&] { return !rt2m->IsDisconnectRequested(); }));
    termios after{};
    ASSERT_EQ(::tcgetattr(fd, &after), 0);
    ::close(fd);
    EXPECT_EQ(cfgetospeed(&after), B9600);
    EXPECT_NE(after.c_lflag & ICANON, 0u);
}

TEST_F(RT2MDriverTest, InitialTestMeasures) {
    StartDriver();
    ASSERT_TRUE(Connected());
    int first = 0, second = 0;
    TrunkTestMeasurement m;
    EXPECT_EQ(RunTest(m), TestResultState::Measured);
    EXPECT_EQ(m.receivedLevel, -30);
    EXPECT_EQ(m.transmittedLevel, 0);
    EXPECT_EQ(m.transmittedFrequency, 1000);
    EXPECT_EQ(m.receivedFrequency, 1000);
    EXPECT_EQ(m.flag, 1);
    EXPECT_EQ(fake.Count("INPUT:TRIGGER:TIMEOUT 2100"), 1);
    EXPECT_EQ(fake.Count("OUTPUT:MTONE:PRETRIGGERLENGTH 1000"), 1);
    // A new request starts from an empty record, not from the last measurement.
    rt2m->StartTest(1, 0, 0, first);
    EXPECT_EQ(rt2m->GetTestResult(m), TestResultState::Running);
    EXPECT_EQ(m.receivedLevel, 0);
    rt2m->StartTest(1, 0, 0, second);
    EXPECT_EQ(first, second);
    EXPECT_GE(first, 5);
}

// Measurements in turn after the initial one, and what the procedure ends with.
struct ProcedureCase {
    const char* name;
    std::vector<FakeMeasurement> measurements;
    TestResultState result;
    int receivedLevel;
    int starts;
};

FakeMeasurement Errors(std::vector<unsigned> codes) {
    FakeMeasurement m;
    m.errors = std::move(codes);
    return m;
}
FakeMeasurement Headroom(double h) {
    FakeMeasurement m;
    m.headroom = h;
    return m;
}
FakeMeasurement Level(double db, unsigned bin = 21) {
    FakeMeasurement m;
    m.level = db;
    m.bin = bin;
    return m;
}

class RT2MProcedureTest : public RT2MRig, public ::testing::WithParamInterface<ProcedureCase> {};

TEST_P(RT2MProcedureTest, WalksTheLatencies) {
    for (const FakeMeasurement& m : GetParam().measurements) {
        fake.PushMeasurement(m);
    }
    StartDriver();
    ASSERT_TRUE(Connected());
    TrunkTestMeasurement m;
    EXPECT_EQ(RunTest(m), GetParam().result);
    EXPECT_EQ(m.receivedLevel, GetParam().receivedLevel);
    EXPECT_EQ(m.flag, GetParam().result == TestResultState::Measured ? 1 : 0);
    EXPECT_EQ(fake.Count("OUTPUT:MTONE:START"), GetParam().starts);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RT2MProcedureTest,
    ::testing::Values(
        ProcedureCase{"final",
                      {Errors({203}), Headroom(20), Level(-12.5)},
                      TestResultState::Measured,
                      -125,
                      3},
        ProcedureCase{"wrongBin",
                      {Level(-3, 16), Headroom(20), Level(-1)},
                      TestResultState::Measured,
                      -10,
                      3},
        ProcedureCase{"noSignal",
                      {Errors({203}), Headroom(60), Headroom(60), Headroom(60)},
                      TestResultState::Failed,
                      0,
                      4},
        ProcedureCase{
            "overloadDisconnected", {Errors({210}), Headroom(60)}, TestResultState::Failed, 0, 2},
        ProcedureCase{
            "headroomFails", {Errors({203}), Errors({204})}, TestResultState::Failed, 0, 2},
        ProcedureCase{"finalRepeats",
                      {Errors({203}), Headroom(20), Errors({203}), Errors({203}), Errors({203})},
                      TestResultState::Failed,
                      0,
                      5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RT2MDriverTest, TheHeadroomSetsTheFinalRange) {
    fake.PushMeasurement(Errors({203}));
    fake.PushMeasurement(Headroom(20));
    StartDriver();
    ASSERT_TRUE(Connected());
    TrunkTestMeasurement m;
    EXPECT_EQ(RunTest(m), TestResultState::Measured);
    EXPECT_EQ(fake.Count("INPUT:SYNC INTNOHEADER"), 1);
    EXPECT_EQ(fake.Count("OUTPUT:MTONE:MTONELENGTH 2000"), 1);
    EXPECT_EQ(fake.Count("INPUT1:RANGE -8.0 DBVP"), 1);
    EXPECT_EQ(fake.Count("OUTPUT:MTONE:PRETRIGGERLENGTH 500"), 1);
}

TEST_F(RT2MDriverTest, ASecondRequestAbortsTheFirstAndTheNextOneMeasures) {
    StartDriver();
    ASSERT_TRUE(Connected());
    int timeout = 0;
    rt2m->StartTest(1, 0, 0, timeout);
    rt2m->StartTest(1, 0, 0, timeout);
    TrunkTestMeasurement m;
    ASSERT_TRUE(WaitUntil([&] { return rt2m->GetTestResult(m) != TestResultState::Running; }));
    EXPECT_EQ(rt2m->GetTestResult(m), TestResultState::NoResult);
    EXPECT_EQ(m.receivedLevel, 0);
    EXPECT_EQ(RunTest(m), TestResultState::Measured);
    EXPECT_EQ(m.receivedLevel, -30);
}

TEST_F(RT2MDriverTest, DisconnectClosesAndReinitResets) {
    StartDriver();
    ASSERT_TRUE(Connected());
    rt2m->SetDisconnectRequested(true);
    ASSERT_TRUE(WaitUntil([&] { return !rt2m->IsDisconnectRequested(); }));
    TrunkTestMeasurement m;
    EXPECT_EQ(RunTest(m), TestResultState::NoResult);
    rt2m->SetReinitRequested(true);
    ASSERT_TRUE(WaitUntil([&] { return fake.Resets() == 2 && rt2m->IsConnected(); }));
}

}  // namespace
}  // namespace corvane::testing
