#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "fakes/AiosmtpdServer.h"
#include "fakes/LogCapture.h"
#include "fakes/ManualClock.h"
#include "fakes/ScriptedSmtpPeer.h"
#include "fakes/TempDir.h"
#include "log/DiagLogSource.h"
#include "mail/AlarmNotificationMessages.h"
#include "mail/AlarmSamples.h"
#include "mail/MailOutbox.h"
#include "mail/MailQueue.h"
#include "mail/NotifyAgent.h"
#include "mail/SMTPConnection.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing::AiosmtpdOptions;
using testing::AiosmtpdServer;
using testing::SmtpRecord;

// The data of a message after its header.
std::string Body(const SmtpRecord& message) {
    const std::string data = message.Field("data");
    const size_t end = data.find("\r\n\r\n");
    return end == std::string::npos ? "" : data.substr(end + 4);
}

std::string HeaderLine(const SmtpRecord& message, const std::string& name) {
    const std::string data = message.Field("data");
    const size_t at = data.find("\r\n" + name + ": ");
    if (at == std::string::npos) {
        return data.rfind(name + ": ", 0) == 0 ? data.substr(0, data.find("\r\n")) : "";
    }
    return data.substr(at + 2, data.find("\r\n", at + 2) - at - 2);
}

class NotifyAgentTest : public ::testing::Test {
protected:
    void UseServer(int port, int loginKind, const std::string& user = "",
                   const std::string& password = "") {
        settings.Modify([&](AppSettings& s) {
            s.EmailHost = "127.0.0.1";
            s.EmailSMTPPort = port;
            s.EmailSMTPLoginType = loginKind;
            s.EmailUsername = user;
            s.EmailPassword = password;
            for (int kind = 0; kind < kAlarmSetupKinds; ++kind) {
                s.SendEmail[kind] = true;
                s.EmailTO[kind] = "Ops <ops@example.org>; night@example.org";
            }
        });
    }

    void Queue(const AlarmNotificationInput& alarm) {
        ASSERT_EQ(QueueAlarmNotifications(alarm, settings.Snapshot(), queue, passLog),
                  kNotificationSent);
    }

    // The agent begins with what an outbox kept; a response time-out on the manual clock
    // that never passes unless the clock is moved.
    void StartAgent(std::vector<OutboxEntry> kept = {}, std::chrono::milliseconds stopGrace = 5s) {
        NotifyAgentOptions options;
        options.pollInterval = 10ms;
        options.connectTimeout = 10s;
        options.responseTimeout = 10s;
        options.stopGrace = stopGrace;
        options.retry.maxAttempts = 3;
        agent = std::make_unique<CNotifyAgent>(queue, settings, clock, options);
        agent->Resume(std::move(kept));
        agent->Start();
    }

    // Waits (bounded) until the agent has reported this many outcomes in all.
    std::vector<MailOutcome> WaitForOutcomes(size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (outcomes.size() < count && std::chrono::steady_clock::now() < deadline) {
            for (MailOutcome& o : queue.TakeOutcomes()) {
                outcomes.push_back(std::move(o));
            }
            std::this_thread::sleep_for(5ms);
        }
        return outcomes;
    }

    static std::vector<MailResult> Results(const std::vector<MailOutcome>& list) {
        std::vector<MailResult> results;
        for (const MailOutcome& o : list) {
            results.push_back(o.result);
        }
        return results;
    }

    void TearDown() override {
        if (agent) {
            agent->Stop();
        }
    }

    testing::LogCapture log{"Notify Agent", 4};
    CDiagLogSource passLog{"Pass Log", "Pass log", 0};
    testing::ManualClock clock;
    SharedSettings settings;
    CMailQueue queue;
    std::unique_ptr<CNotifyAgent> agent;
    std::vector<MailOutcome> outcomes;
};

const std::vector<AlarmNotificationInput> kFourAlarms = {
    testing::IntercomAlarm(), testing::TrunkTestFailureAlarm(), testing::ResolvedAlarm(),
    testing::RequestBusyAlarm()};

class NotifyAgentLoginTest : public NotifyAgentTest, public ::testing::WithParamInterface<int> {};

TEST_P(NotifyAgentLoginTest, EachAlarmArrivesWithItsExactTextsInOneSession) {
    const int kind = GetParam();
    AiosmtpdOptions options;
    if (kind != kSMTPLoginHelo) {
        options = {"alarm-user", "pa55 word", true};
    }
    AiosmtpdServer server(options);
    UseServer(server.Port(), kind, options.user, options.password);
    for (const auto& alarm : kFourAlarms) {
        Queue(alarm);
    }
    StartAgent();
    const auto done = WaitForOutcomes(4);
    EXPECT_EQ(Results(done), std::vector<MailResult>(4, MailResult::kSent));
    agent->Stop();

    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 4u) << server.ErrorOutput();
    for (size_t i = 0; i < messages.size(); ++i) {
        const AlarmNotificationInput& alarm = kFourAlarms[i];
        EXPECT_EQ(messages[i].session, messages[0].session);
        EXPECT_EQ(messages[i].Field("from"), "VORLIN");
        EXPECT_EQ(messages[i].Fields("to"),
                  (std::vector<std::string>{"ops@example.org", "night@example.org"}));
        EXPECT_EQ(HeaderLine(messages[i], "Subject"), "Subject: " + EmailSubject(alarm));
        EXPECT_EQ(HeaderLine(messages[i], "From"), "From: Corvane <VORLIN>");
        EXPECT_EQ(HeaderLine(messages[i], "To"), "To: Ops <ops@example.org>,night@example.org");
        EXPECT_EQ(Body(messages[i]), EmailBody(alarm) + "\r\n");
        EXPECT_EQ(messages[i].Field("login"), options.user);
    }
    EXPECT_EQ(server.Records("CONNECT").size(), 1u);
    EXPECT_EQ(server.Records("QUIT").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, NotifyAgentLoginTest,
                         ::testing::Values(kSMTPLoginHelo, kSMTPLoginAuth, kSMTPLoginAuthPlain),
                         [](const auto& info) { return "Kind" + std::to_string(info.param); });

TEST_F(NotifyAgentTest, ThreeDueMessagesTravelInOneSession) {
    AiosmtpdServer server;
    UseServer(server.Port(), kSMTPLoginHelo);
    for (int i = 0; i < 3; ++i) {
        Queue(kFourAlarms[i]);
    }
    StartAgent();
    EXPECT_EQ(Results(WaitForOutcomes(3)), std::vector<MailResult>(3, MailResult::kSent));
    agent->Stop();
    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].session, messages[2].session);
    EXPECT_EQ(server.Records("CONNECT").size(), 1u);
    EXPECT_EQ(server.Records("QUIT").size(), 1u);
}

TEST_F(NotifyAgentTest, APagerMessageIsAcceptedWithTheDefaultSettings) {
    AiosmtpdServer server;
    settings.Modify([&](AppSettings& s) {
        s.EmailHost = "127.0.0.1";
        s.EmailSMTPPort = server.Port();
        s.SendPage[3] = true;
        s.PagerTO[3] = "pager@example.org";
    });
    const AlarmNotificationInput alarm = testing::TrunkTestFailureAlarm();
    Queue(alarm);
    StartAgent();
    EXPECT_EQ(Results(WaitForOutcomes(1)), std::vector<MailResult>{MailResult::kSent});
    agent->Stop();
    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Field("from"), "<>");
    EXPECT_EQ(messages[0].Fields("to"), std::vector<std::string>{"pager@example.org"});
    EXPECT_EQ(HeaderLine(messages[0], "From"), "From:  ");
    EXPECT_EQ(HeaderLine(messages[0], "Subject"), "Subject: VORLIN Alarm   ");
    EXPECT_EQ(HeaderLine(messages[0], "X-Mailer"), "X-Mailer: Corvane");
    EXPECT_EQ(Body(messages[0]), PagerBody(alarm) + "\r\n");
}

TEST_F(NotifyAgentTest, AWrongPasswordSendsNothingAndSaysSo) {
    AiosmtpdServer server({"alarm-user", "right", true});
    UseServer(server.Port(), kSMTPLoginAuth, "alarm-user", "wrong");
    Queue(testing::IntercomAlarm());
    Queue(testing::ResolvedAlarm());
    StartAgent();
    const auto done = WaitForOutcomes(2);
    EXPECT_EQ(Results(done), std::vector<MailResult>(2, MailResult::kDropped));
    agent->Stop();
    EXPECT_TRUE(server.Records("MESSAGE").empty());
    // One connection stood for both messages.
    EXPECT_EQ(server.Records("AUTH").size(), 1u);
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].tag, testing::IntercomAlarm().alarmId);
    EXPECT_NE(done[0].lastReply.find("535"), std::string::npos) << done[0].lastReply;

    const std::string text = log.Text();
    EXPECT_NE(text.find("Notify Agent Dropped message \"" + EmailSubject(testing::IntercomAlarm()) +
                        "\""),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Notify Agent   to ops@example.org, night@example.org"), std::string::npos);
    EXPECT_NE(text.find("Notify Agent   last reply: 535"), std::string::npos);
    EXPECT_EQ(text.find("wrong"), std::string::npos);  // the trace masks the password
}

TEST_F(NotifyAgentTest, TheSettingsOfEachConnectionAreReadAfresh) {
    AiosmtpdServer server({"alarm-user", "right", true});
    UseServer(server.Port(), kSMTPLoginAuthPlain, "alarm-user", "wrong");
    StartAgent();
    Queue(testing::IntercomAlarm());
    EXPECT_EQ(Results(WaitForOutcomes(1)), std::vector<MailResult>{MailResult::kDropped});
    settings.Modify([](AppSettings& s) { s.EmailPassword = "right"; });
    Queue(testing::IntercomAlarm());
    EXPECT_EQ(Results(WaitForOutcomes(2)),
              (std::vector<MailResult>{MailResult::kDropped, MailResult::kSent}));
    agent->Stop();
    EXPECT_EQ(server.Records("MESSAGE").size(), 1u);
}

TEST_F(NotifyAgentTest, AServerStoppedInTheMiddleGetsTheRestOnceItIsBack) {
    AiosmtpdServer server({"", "", false, 1});
    UseServer(server.Port(), kSMTPLoginHelo);
    for (int i = 0; i < 3; ++i) {
        Queue(kFourAlarms[i]);
    }
    StartAgent();
    // The server ends after taking the second message's data, before it answers: that one
    // may have arrived and is not sent again; the third finds no server and waits.
    EXPECT_EQ(Results(WaitForOutcomes(3)),
              (std::vector<MailResult>{MailResult::kSent, MailResult::kUnconfirmed,
                                       MailResult::kDeferred}));
    ASSERT_TRUE(server.WaitForExit(10s));
    server.Restart({});
    clock.Advance(30s);
    EXPECT_EQ(Results(WaitForOutcomes(4)),
              (std::vector<MailResult>{MailResult::kSent, MailResult::kUnconfirmed,
                                       MailResult::kDeferred, MailResult::kSent}));
    agent->Stop();
    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(HeaderLine(messages[0], "Subject"), "Subject: " + EmailSubject(kFourAlarms[0]));
    EXPECT_EQ(HeaderLine(messages[1], "Subject"), "Subject: " + EmailSubject(kFourAlarms[2]));
}

TEST_F(NotifyAgentTest, AMessageWhoseEndTheServerDoesNotAnswerIsOfferedOnce) {
    AiosmtpdServer server({"", "", false, 0});  // ends once it has the first message's data
    UseServer(server.Port(), kSMTPLoginHelo);
    Queue(testing::IntercomAlarm());
    StartAgent();
    EXPECT_EQ(Results(WaitForOutcomes(1)), std::vector<MailResult>{MailResult::kUnconfirmed});
    ASSERT_TRUE(server.WaitForExit(10s));

    // A retry would go out before the next message, in the same pass.
    server.Restart({});
    clock.Advance(20min);
    Queue(testing::ResolvedAlarm());
    EXPECT_EQ(Results(WaitForOutcomes(2)),
              (std::vector<MailResult>{MailResult::kUnconfirmed, MailResult::kSent}));
    agent->Stop();
    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(HeaderLine(messages[0], "Subject"),
              "Subject: " + EmailSubject(testing::ResolvedAlarm()));

    const std::string text = log.Text();
    const std::string subject = EmailSubject(testing::IntercomAlarm());
    EXPECT_NE(text.find("Notify Agent Message \"" + subject + "\": delivery not confirmed"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Notify Agent   to ops@example.org, night@example.org"), std::string::npos);
}

TEST_F(NotifyAgentTest, AnUnreachableServerIsTriedAgainWithinTheBound) {
    UseServer(testing::ClosedLoopbackPort(), kSMTPLoginHelo);
    Queue(testing::IntercomAlarm());
    StartAgent();
    EXPECT_EQ(Results(WaitForOutcomes(1)), std::vector<MailResult>{MailResult::kDeferred});
    clock.Advance(30s);
    EXPECT_EQ(Results(WaitForOutcomes(2)),
              (std::vector<MailResult>{MailResult::kDeferred, MailResult::kDeferred}));
    clock.Advance(60s);
    const auto done = WaitForOutcomes(3);
    EXPECT_EQ(Results(done), (std::vector<MailResult>{MailResult::kDeferred, MailResult::kDeferred,
                                                      MailResult::kDropped}));
    ASSERT_EQ(done.size(), 3u);
    EXPECT_NE(done[2].lastReply.find("no success in 3 attempts"), std::string::npos);
    EXPECT_NE(done[2].lastReply.find("connection refused"), std::string::npos);
}

TEST_F(NotifyAgentTest, MessagesThatCannotGoAreDroppedWithoutAConnection) {
    AiosmtpdServer server;
    const struct {
        const char* what;
        const char* host;
        int loginKind;
        const char* reason;
    } cases[] = {
        {"login kind 1", "127.0.0.1", 1, "unknown login kind"},
        {"no server set", "", 0, "no mail server (EmailHost) is set"},
    };
    StartAgent();
    size_t expected = 0;
    for (const auto& c : cases) {
        UseServer(server.Port(), c.loginKind);
        settings.Modify([&](AppSettings& s) { s.EmailHost = c.host; });
        Queue(testing::IntercomAlarm());
        Queue(testing::ResolvedAlarm());
        expected += 2;
        const auto done = WaitForOutcomes(expected);
        ASSERT_EQ(done.size(), expected) << c.what;
        for (size_t i = expected - 2; i < expected; ++i) {
            EXPECT_EQ(done[i].result, MailResult::kDropped) << c.what;
            EXPECT_NE(done[i].lastReply.find(c.reason), std::string::npos) << done[i].lastReply;
        }
    }
    agent->Stop();
    EXPECT_TRUE(server.Records("CONNECT").empty());
}

TEST_F(NotifyAgentTest, StoppingTriesWhatWaitsForARetryOnceMoreAndLeavesItWithALogLine) {
    UseServer(testing::ClosedLoopbackPort(), kSMTPLoginHelo);
    Queue(testing::RequestBusyAlarm());
    StartAgent();
    EXPECT_FALSE(agent->IsStopped());
    EXPECT_EQ(Results(WaitForOutcomes(1)), std::vector<MailResult>{MailResult::kDeferred});
    agent->Stop();
    EXPECT_TRUE(agent->IsStopped());
    const auto done = WaitForOutcomes(2);
    EXPECT_EQ(Results(done), (std::vector<MailResult>{MailResult::kDeferred, MailResult::kUnsent}));
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[1].tag, testing::RequestBusyAlarm().alarmId);
    const std::string text = log.Text();
    EXPECT_NE(text.find("Not sent before the stop: \"" + EmailSubject(testing::RequestBusyAlarm())),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  after 2 attempts; last reply: connection refused"), std::string::npos)
        << text;
}

TEST_F(NotifyAgentTest, AStopGoesOnSendingWhatTheServerTakes) {
    AiosmtpdServer server;
    UseServer(server.Port(), kSMTPLoginHelo);
    for (const auto& alarm : kFourAlarms) {
        Queue(alarm);
    }
    StartAgent();
    agent->Stop();  // most likely before its first pass
    EXPECT_EQ(Results(WaitForOutcomes(4)), std::vector<MailResult>(4, MailResult::kSent));
    EXPECT_EQ(server.Records("MESSAGE").size(), 4u);
}

TEST_F(NotifyAgentTest, AServerThatHangsAtTheStopCostsTheGraceAndEveryMessageIsLogged) {
    testing::ScriptedSmtpPeer silent({testing::ScriptedSmtpPeer::ReadLine()});  // no greeting
    UseServer(silent.Port(), kSMTPLoginHelo);
    for (size_t i = 0; i < 3; ++i) {
        Queue(kFourAlarms[i]);
    }
    NotifyAgentOptions options;
    options.pollInterval = 10ms;
    options.responseTimeout = 1h;  // on the manual clock: the grace alone ends the wait
    options.stopGrace = 200ms;
    agent = std::make_unique<CNotifyAgent>(queue, settings, clock, options);
    agent->Start();
    // Until the first message waits for the greeting.
    for (auto waited = 0ms; queue.Size() > 0 && waited < 10s; waited += 5ms) {
        std::this_thread::sleep_for(5ms);
    }
    std::this_thread::sleep_for(50ms);
    agent->Stop();
    EXPECT_EQ(Results(WaitForOutcomes(3)), std::vector<MailResult>(3, MailResult::kUnsent));
    const std::string text = log.Text();
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NE(text.find("Not sent before the stop: \"" + EmailSubject(kFourAlarms[i]) + "\""),
                  std::string::npos)
            << text;
    }
}

// The agent on the queue of the document: every message is in the outbox until the agent is
// done with it.
class NotifyAgentOutboxTest : public NotifyAgentTest {
protected:
    NotifyAgentOutboxTest() {
        outbox.Open(path);
        queue.SetOutbox(&outbox);
    }

    // What the notification pass does with an alarm's messages.
    void KeepAndQueue(const AlarmNotificationInput& alarm) {
        CMailQueue built;
        ASSERT_EQ(QueueAlarmNotifications(alarm, settings.Snapshot(), built, passLog),
                  kNotificationSent);
        std::vector<std::unique_ptr<CSMTPMessage>> messages;
        while (auto m = built.PopPendingMail()) {
            messages.push_back(std::move(m));
        }
        ASSERT_TRUE(queue.Keep(messages));
        queue.Push(std::move(messages));
    }

    OutboxContents OnDisk() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return ReadOutbox(bytes.str());
    }

    testing::TempDir dir;
    std::string path = dir / "mail.outbox";
    CMailOutbox outbox;
};

TEST_F(NotifyAgentOutboxTest, AMessageLeavesTheOutboxOnlyOnceTheServerHasTakenIt) {
    AiosmtpdServer server({.deferred = {"night@example.org"}});
    UseServer(server.Port(), kSMTPLoginHelo);
    KeepAndQueue(testing::IntercomAlarm());
    StartAgent();
    EXPECT_EQ(Results(WaitForOutcomes(1)), std::vector<MailResult>{MailResult::kDeferred});
    {
        const OutboxContents disk = OnDisk();
        ASSERT_EQ(disk.entries.size(), 1u);
        EXPECT_TRUE(disk.entries[0].committed);
        EXPECT_EQ(disk.entries[0].attempts, 1);
        EXPECT_EQ(disk.entries[0].lastReply.rfind("451 4.3.0 Try again later", 0), 0u)
            << disk.entries[0].lastReply;
    }
    server.Restart({});
    clock.Advance(30s);
    EXPECT_EQ(Results(WaitForOutcomes(2)),
              (std::vector<MailResult>{MailResult::kDeferred, MailResult::kSent}));
    EXPECT_TRUE(OnDisk().entries.empty());
    EXPECT_EQ(outbox.Size(), 0u);
    EXPECT_EQ(server.Records("MESSAGE").size(), 1u);
}

TEST_F(NotifyAgentOutboxTest, WhatTheLastRunKeptGoesFirstWithTheAttemptsItHasLeft) {
    AiosmtpdServer server({.deferred = {"late@example.org"}});
    UseServer(server.Port(), kSMTPLoginHelo);
    std::vector<std::unique_ptr<CSMTPMessage>> last;
    for (const auto& alarm : {testing::IntercomAlarm(), testing::TrunkTestFailureAlarm(),
                              testing::RequestBusyAlarm()}) {
        last.push_back(BuildAlarmEmail(alarm, settings.Snapshot()).message);
    }
    last[0]->m_To = {CSMTPAddress("late@example.org")};
    ASSERT_TRUE(queue.Keep(last));
    outbox.Commit({1, 2, 3});
    outbox.Attempted(1, 2, "451 earlier");  // one attempt of three left
    outbox.EndSent(2);                      // its end was going out when the run ended
    outbox.Close();

    std::vector<OutboxEntry> kept = outbox.Open(path);
    ASSERT_EQ(kept.size(), 3u);
    KeepAndQueue(testing::ResolvedAlarm());
    StartAgent(std::move(kept));
    const auto done = WaitForOutcomes(4);
    EXPECT_EQ(Results(done),
              (std::vector<MailResult>{MailResult::kUnconfirmed, MailResult::kDropped,
                                       MailResult::kSent, MailResult::kSent}));
    ASSERT_EQ(done.size(), 4u);
    EXPECT_NE(done[1].lastReply.find("no success in 3 attempts"), std::string::npos)
        << done[1].lastReply;
    agent->Stop();

    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(HeaderLine(messages[0], "Subject"),
              "Subject: " + EmailSubject(testing::RequestBusyAlarm()));
    EXPECT_EQ(HeaderLine(messages[1], "Subject"),
              "Subject: " + EmailSubject(testing::ResolvedAlarm()));
    EXPECT_TRUE(OnDisk().entries.empty());
    const std::string text = log.Text();
    EXPECT_NE(text.find("Message \"" + EmailSubject(testing::TrunkTestFailureAlarm()) +
                        "\": delivery not confirmed"),
              std::string::npos)
        << text;
}

TEST_F(NotifyAgentOutboxTest, TheEndMarkIsOnDiskBeforeTheServerHasTheEnd) {
    using Peer = testing::ScriptedSmtpPeer;
    // It takes the whole message and never answers its end.
    Peer peer({Peer::Send("220 ready\r\n"), Peer::ReadLine(), Peer::Send("250 hello\r\n"),
               Peer::ReadLine(), Peer::Send("250 ok\r\n"), Peer::ReadLine(),
               Peer::Send("250 ok\r\n"), Peer::ReadLine(), Peer::Send("250 ok\r\n"),
               Peer::ReadLine(), Peer::Send("354 go on\r\n"), Peer::ReadData()});
    UseServer(peer.Port(), kSMTPLoginHelo);
    KeepAndQueue(testing::IntercomAlarm());
    StartAgent({}, 200ms);
    const auto hasEnd = [&] {
        const auto lines = peer.Lines();
        return !lines.empty() && lines.back() == ".";
    };
    for (auto waited = 0ms; !hasEnd() && waited < 60s; waited += 5ms) {
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_TRUE(hasEnd());
    ASSERT_EQ(OnDisk().entries.size(), 1u);
    EXPECT_TRUE(OnDisk().entries[0].endSent);

    agent->Stop();
    EXPECT_EQ(Results(WaitForOutcomes(1)), std::vector<MailResult>{MailResult::kUnconfirmed});
    EXPECT_TRUE(OnDisk().entries.empty());
}

TEST(MailRetryPolicyTest, WaitsDoubleUpToTheCap) {
    const MailRetryPolicy policy;
    const long expected[] = {30, 60, 120, 240, 480, 900, 900, 900};
    for (int failed = 1; failed <= 8; ++failed) {
        EXPECT_EQ(policy.DelayAfter(failed).count(), expected[failed - 1]) << failed;
    }
    EXPECT_EQ(policy.maxAttempts, 8);
}

}  // namespace
}  // namespace corvane
