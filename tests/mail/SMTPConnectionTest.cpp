#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/AiosmtpdServer.h"
#include "fakes/LogCapture.h"
#include "log/DiagLogSource.h"
#include "mail/Base64Coder.h"
#include "mail/SMTPConnection.h"
#include "fakes/ScriptedSmtpPeer.h"

namespace corvane {
namespace {

using testing::AiosmtpdOptions;
using testing::AiosmtpdServer;
using testing::ScriptedSmtpPeer;
using Peer = ScriptedSmtpPeer;
using namespace std::chrono_literals;

CSMTPMessage Message(const std::string& body = "body") {
    CSMTPMessage message;
    message.m_From = CSMTPAddress("Corvane", "vorlin@example.org");
    message.m_sSubject = "Subject";
    message.AddRecipients("ops@example.org");
    message.SetBody(body);
    return message;
}

// The body as the server received it: the data after the header's empty line.
std::string ReceivedBody(const testing::SmtpRecord& record) {
    const std::string data = record.Field("data");
    const size_t end = data.find("\r\n\r\n");
    return end == std::string::npos ? "" : data.substr(end + 4);
}

// ---- against aiosmtpd ----

struct LoginCase {
    int kind;
    const char* mechanism;
};

class SMTPConnectionLoginTest : public ::testing::TestWithParam<LoginCase> {};

TEST_P(SMTPConnectionLoginTest, DeliversTheMessageWithItsBodyIntact) {
    const LoginCase c = GetParam();
    AiosmtpdOptions options;
    if (c.kind != kSMTPLoginHelo) {
        options = {"alarm-user", "s3cret pass", true};
    }
    AiosmtpdServer server(options);
    CSMTPConnection connection;
    ASSERT_TRUE(
        connection.Connect("127.0.0.1", c.kind, options.user, options.password, server.Port()))
        << connection.GetLastCommandResponse();

    const std::string body =
        ".starts with a dot\r\nmiddle\n.after a bare LF\r\n" + std::string(200, 'w') + "\r\n.";
    ASSERT_TRUE(connection.SendMessage(Message(body))) << connection.GetLastCommandResponse();
    EXPECT_TRUE(connection.Disconnect());

    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Field("from"), "vorlin@example.org");
    EXPECT_EQ(messages[0].Fields("to"), std::vector<std::string>{"ops@example.org"});
    EXPECT_EQ(ReceivedBody(messages[0]), ".starts with a dot\r\nmiddle\r\n.after a bare LF\r\n" +
                                             std::string(76, 'w') + "\r\n" + std::string(76, 'w') +
                                             "\r\n" + std::string(48, 'w') + "\r\n.\r\n");
    if (c.kind != kSMTPLoginHelo) {
        EXPECT_EQ(messages[0].Field("login"), "alarm-user");
        const auto logins = server.Records("AUTH");
        ASSERT_EQ(logins.size(), 1u);
        EXPECT_EQ(logins[0].Field("mechanism"), c.mechanism);
        EXPECT_EQ(logins[0].Field("password"), "s3cret pass");
    }
    EXPECT_EQ(server.Records("QUIT").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SMTPConnectionLoginTest,
                         ::testing::Values(LoginCase{kSMTPLoginHelo, ""},
                                           LoginCase{kSMTPLoginAuth, "LOGIN"},
                                           LoginCase{kSMTPLoginAuthPlain, "LOGIN PLAIN"}),
                         [](const auto& info) { return "Kind" + std::to_string(info.param.kind); });

TEST(SMTPConnectionTest, AWrongPasswordFailsTheLogin) {
    AiosmtpdServer server({"alarm-user", "right", true});
    for (const int kind : {kSMTPLoginAuth, kSMTPLoginAuthPlain}) {
        CSMTPConnection connection;
        EXPECT_FALSE(connection.Connect("127.0.0.1", kind, "alarm-user", "wrong", server.Port()));
        EXPECT_EQ(connection.GetLastCommandResponseCode(), 535) << kind;
        EXPECT_FALSE(connection.IsConnected());
        EXPECT_FALSE(connection.SendMessage(Message()));
        EXPECT_EQ(connection.GetLastError(), SMTPError::kNotConnected);
    }
    EXPECT_TRUE(server.Records("MESSAGE").empty());
}

TEST(SMTPConnectionTest, ABlankSenderGoesOutAsTheNullPath) {
    AiosmtpdServer server;
    CSMTPConnection connection;
    ASSERT_TRUE(connection.Connect("127.0.0.1", kSMTPLoginHelo, "", "", server.Port()));
    CSMTPMessage message = Message();
    message.m_From = CSMTPAddress(" ");
    ASSERT_TRUE(connection.SendMessage(message)) << connection.GetLastCommandResponse();
    connection.Disconnect();
    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Field("from"), "<>");
    EXPECT_EQ(messages[0].Field("data").rfind("From:  \r\n", 0), 0u);
}

TEST(SMTPConnectionTest, RefusesUnsafeMessagesWithoutTouchingTheTransaction) {
    AiosmtpdServer server;
    CSMTPConnection connection;
    ASSERT_TRUE(connection.Connect("127.0.0.1", kSMTPLoginHelo, "", "", server.Port()));
    CSMTPMessage noRecipient = Message();
    noRecipient.m_To.clear();
    CSMTPMessage badFrom = Message();
    badFrom.m_From = CSMTPAddress("a@x>\r\nRCPT TO:<evil@x");
    CSMTPMessage badTo = Message();
    badTo.m_To.push_back(CSMTPAddress("b@x> NOTIFY=NEVER"));
    CSMTPMessage badReplyTo = Message();
    badReplyTo.m_ReplyTo = CSMTPAddress("r@x\nBcc: evil@x");
    for (const CSMTPMessage* m : {&noRecipient, &badFrom, &badTo, &badReplyTo}) {
        EXPECT_FALSE(connection.SendMessage(*m));
        EXPECT_EQ(connection.GetLastError(), SMTPError::kInvalidData);
        EXPECT_TRUE(connection.IsUsable());
    }
    EXPECT_TRUE(connection.SendMessage(Message()));
    connection.Disconnect();
    EXPECT_EQ(server.Records("MESSAGE").size(), 1u);
}

// No name lookup here: the tests reach no resolver, only the loopback addresses.
TEST(SMTPConnectionTest, NoServerAndAClosedPortFail) {
    CSMTPConnection connection;
    EXPECT_FALSE(connection.Connect("", kSMTPLoginHelo, "", "", 25));
    EXPECT_EQ(connection.GetLastError(), SMTPError::kHostNotFound);
    for (const int port : {0, -1, 65536}) {
        EXPECT_FALSE(connection.Connect("127.0.0.1", kSMTPLoginHelo, "", "", port));
        EXPECT_EQ(connection.GetLastError(), SMTPError::kInvalidParameter);
    }

    EXPECT_FALSE(
        connection.Connect("127.0.0.1", kSMTPLoginHelo, "", "", testing::ClosedLoopbackPort()));
    EXPECT_EQ(connection.GetLastError(), SMTPError::kConnectionRefused);
}

TEST(SMTPConnectionTest, OnlyTheThreeLoginKindsConnect) {
    CSMTPConnection connection;
    for (const int kind : {1, 4, -1}) {
        EXPECT_FALSE(connection.Connect("127.0.0.1", kind, "", "", 1));
        EXPECT_EQ(connection.GetLastError(), SMTPError::kInvalidParameter);
    }
}

TEST(SMTPConnectionTest, TheWireTraceMasksTheLoginAnswers) {
    testing::LogCapture log("Mail Trace", 4);
    CDiagLogSource source("Mail Trace", "Mail Trace log", 0);
    AiosmtpdServer server({"alarm-user", "s3cret", true});
    for (const int kind : {kSMTPLoginAuth, kSMTPLoginAuthPlain}) {
        CSMTPConnection connection(RealClock(), nullptr, &source);
        ASSERT_TRUE(connection.Connect("127.0.0.1", kind, "alarm-user", "s3cret", server.Port()));
        connection.Disconnect();
    }
    const std::string text = log.Text();
    EXPECT_NE(text.find(">> AUTH LOGIN"), std::string::npos) << text;
    EXPECT_NE(text.find(">> ****"), std::string::npos);
    EXPECT_NE(text.find("<< 235"), std::string::npos);
    for (const std::string& secret :
         {std::string("s3cret"), CBase64Coder::EncodeString("s3cret"), std::string("alarm-user"),
          CBase64Coder::EncodeString("alarm-user")}) {
        EXPECT_EQ(text.find(secret), std::string::npos) << secret;
    }
}

// ---- against scripted peers ----

TEST(SMTPConnectionTest, AMultiLineReplyInOnePacketKeepsTheDialogueInStep) {
    Peer peer({Peer::Send("220 peer ready\r\n"), Peer::ReadLine(),
               Peer::Send("250-peer\r\n250-SIZE 1000\r\n250-AUTH LOGIN PLAIN\r\n250 HELP\r\n"),
               Peer::ReadLine(),
               // Prompts worded otherwise than "Username:" and "Password:".
               Peer::Send("334 " + CBase64Coder::EncodeString("User Name") + "\r\n"),
               Peer::ReadLine(), Peer::Send("334 UGFzc3dvcmQA\r\n"), Peer::ReadLine(),
               Peer::Send("235 welcome\r\n"), Peer::ReadLine(), Peer::Send("221 bye\r\n")});
    CSMTPConnection connection;
    connection.SetHeloHostName("corvane-host");
    ASSERT_TRUE(connection.Connect("127.0.0.1", kSMTPLoginAuth, "user", "pass", peer.Port()))
        << connection.GetLastCommandResponse();
    EXPECT_TRUE(connection.Disconnect());
    peer.Join();
    EXPECT_EQ(peer.Lines(), (std::vector<std::string>{"EHLO corvane-host", "AUTH LOGIN",
                                                      CBase64Coder::EncodeString("user"),
                                                      CBase64Coder::EncodeString("pass"), "QUIT"}));
}

TEST(SMTPConnectionTest, OnlyA235CompletesThePlainLogin) {
    Peer peer({Peer::Send("220 peer\r\n"), Peer::ReadLine(), Peer::Send("250 peer\r\n"),
               Peer::ReadLine(), Peer::Send("334 Login, please\r\n"), Peer::ReadLine(),
               Peer::Send("334 Secret, please\r\n"), Peer::ReadLine(),
               Peer::Send("334 And once more?\r\n"), Peer::ReadLine(), Peer::Send("221 bye\r\n")});
    CSMTPConnection connection;
    connection.SetHeloHostName("h");
    EXPECT_FALSE(connection.Connect("127.0.0.1", kSMTPLoginAuthPlain, "user", "pass", peer.Port()));
    EXPECT_EQ(connection.GetLastError(), SMTPError::kUnexpectedResponse);
    EXPECT_EQ(connection.GetLastCommandResponse(), "334 And once more?");
    EXPECT_FALSE(connection.IsConnected());
    peer.Join();
    EXPECT_EQ(peer.Lines(),
              (std::vector<std::string>{"EHLO h", "AUTH LOGIN PLAIN", "user", "pass", "QUIT"}));
}

TEST(SMTPConnectionTest, ThePromptedLoginAnswersWhatEachPromptAsksFor) {
    const std::string user = CBase64Coder::EncodeString("Username:");
    const std::string password = CBase64Coder::EncodeString("Password:");
    const struct {
        const char* name;
        std::string first;
        std::string second;
        std::vector<std::string> answers;  // what the client sends, in order
        bool loggedIn;
    } cases[] = {
        {"plain prompts", "Username:", "Password:", {"user", "pass"}, true},
        {"the password asked first", "Password:", "Username:", {"pass", "user"}, true},
        {"prompts in Base64, the password first", password, user, {"pass", "user"}, true},
        {"prompts that do not say", "Go on", "And?", {"user", "pass"}, true},
        // Never the password where the user name was asked for, nor twice.
        {"the password asked twice", "Password:", "password again", {"pass"}, false},
    };
    for (const auto& c : cases) {
        std::vector<Peer::Step> steps = {Peer::Send("220 peer\r\n"),
                                         Peer::ReadLine(),
                                         Peer::Send("250 peer\r\n"),
                                         Peer::ReadLine(),
                                         Peer::Send("334 " + c.first + "\r\n"),
                                         Peer::ReadLine(),
                                         Peer::Send("334 " + c.second + "\r\n")};
        if (c.loggedIn) {
            steps.insert(steps.end(), {Peer::ReadLine(), Peer::Send("235 welcome\r\n")});
        }
        steps.insert(steps.end(), {Peer::ReadLine(), Peer::Send("221 bye\r\n")});
        Peer peer(steps);
        CSMTPConnection connection;
        connection.SetHeloHostName("h");
        EXPECT_EQ(connection.Connect("127.0.0.1", kSMTPLoginAuthPlain, "user", "pass", peer.Port()),
                  c.loggedIn)
            << c.name;
        connection.Disconnect();
        peer.Join();
        std::vector<std::string> expected = {"EHLO h", "AUTH LOGIN PLAIN"};
        expected.insert(expected.end(), c.answers.begin(), c.answers.end());
        expected.push_back("QUIT");
        EXPECT_EQ(peer.Lines(), expected) << c.name;
    }
}

TEST(SMTPConnectionTest, OnlyAMessageWhoseEndWentOutUnansweredIsUnconfirmed) {
    const std::vector<Peer::Step> opening = {Peer::Send("220 peer\r\n"),         Peer::ReadLine(),
                                             Peer::Send("250 peer\r\n"),         Peer::ReadLine(),
                                             Peer::Send("250 sender ok\r\n"),    Peer::ReadLine(),
                                             Peer::Send("250 recipient ok\r\n"), Peer::ReadLine()};
    const struct {
        const char* name;
        std::vector<Peer::Step> rest;  // from the reply to DATA on
        bool unconfirmed;
    } cases[] = {
        {"hangs up after the data",
         {Peer::Send("354 go ahead\r\n"), Peer::ReadData(), Peer::HangUp()},
         true},
        {"a broken reply to the data",
         {Peer::Send("354 go ahead\r\n"), Peer::ReadData(), Peer::Send("25"), Peer::HangUp()},
         true},
        {"refuses the data",
         {Peer::Send("354 go ahead\r\n"), Peer::ReadData(), Peer::Send("451 later\r\n"),
          Peer::ReadLine(), Peer::Send("250 reset\r\n"), Peer::ReadLine(),
          Peer::Send("221 bye\r\n")},
         false},
        {"hangs up before the data", {Peer::HangUp()}, false},
    };
    for (const auto& c : cases) {
        std::vector<Peer::Step> steps = opening;
        steps.insert(steps.end(), c.rest.begin(), c.rest.end());
        Peer peer(steps);
        CSMTPConnection connection;
        ASSERT_TRUE(connection.Connect("127.0.0.1", kSMTPLoginHelo, "", "", peer.Port())) << c.name;
        EXPECT_FALSE(connection.SendMessage(Message())) << c.name;
        EXPECT_EQ(connection.IsDeliveryUnconfirmed(), c.unconfirmed) << c.name;
        connection.Disconnect();
        peer.Join();
    }
}

TEST(SMTPConnectionTest, APlainLoginRefusesAnswersWithLineBreaks) {
    Peer peer({Peer::Send("220 peer\r\n"), Peer::ReadLine(), Peer::Send("250 peer\r\n"),
               Peer::ReadLine(), Peer::Send("221 bye\r\n")});
    CSMTPConnection connection;
    EXPECT_FALSE(connection.Connect("127.0.0.1", kSMTPLoginAuthPlain, "user",
                                    "pass\r\nMAIL FROM:<x>", peer.Port()));
    EXPECT_EQ(connection.GetLastError(), SMTPError::kInvalidData);
    peer.Join();
    EXPECT_EQ(peer.Lines().back(), "QUIT");
}

TEST(SMTPConnectionTest, ARefusedTransactionIsResetForTheNextMessage) {
    Peer peer({Peer::Send("220 peer\r\n"), Peer::ReadLine(), Peer::Send("250 peer\r\n"),
               Peer::ReadLine(), Peer::Send("250 sender ok\r\n"), Peer::ReadLine(),
               Peer::Send("451 4.3.0 try again later\r\n"), Peer::ReadLine(),
               Peer::Send("250 reset\r\n"), Peer::ReadLine(), Peer::Send("250 sender ok\r\n"),
               Peer::ReadLine(), Peer::Send("250 recipient ok\r\n"), Peer::ReadLine(),
               Peer::Send("354 go ahead\r\n"), Peer::ReadData(), Peer::Send("250 queued\r\n"),
               Peer::ReadLine(), Peer::Send("221 bye\r\n")});
    CSMTPConnection connection;
    ASSERT_TRUE(connection.Connect("127.0.0.1", kSMTPLoginHelo, "", "", peer.Port()));
    EXPECT_FALSE(connection.SendMessage(Message()));
    EXPECT_EQ(connection.GetLastError(), SMTPError::kBadCommand);
    EXPECT_EQ(connection.GetLastCommandResponseCode(), 451);
    EXPECT_EQ(connection.GetLastCommandResponse(), "451 4.3.0 try again later");
    EXPECT_TRUE(connection.IsUsable());
    EXPECT_TRUE(connection.SendMessage(Message()));
    EXPECT_TRUE(connection.Disconnect());
    peer.Join();
    const auto lines = peer.Lines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[1], "MAIL FROM:<vorlin@example.org>");
    EXPECT_EQ(lines[2], "RCPT TO:<ops@example.org>");
    EXPECT_EQ(lines[3], "RSET");
    EXPECT_EQ(lines[4], "MAIL FROM:<vorlin@example.org>");
    EXPECT_EQ(lines.back(), "QUIT");
}

TEST(SMTPConnectionTest, ServersThatMisbehaveFailTheConnection) {
    const std::string flood = "220-" + std::string(70, 'f') + "\r\n";
    std::string floodReply;
    while (floodReply.size() <= CSMTPReplyReader::kMaxReplyBytes) {
        floodReply += flood;
    }
    const struct {
        const char* name;
        std::vector<Peer::Step> steps;
        SMTPError error;
    } cases[] = {
        {"silent after a command",
         {Peer::Send("220 peer\r\n"), Peer::ReadLine()},
         SMTPError::kTimedOut},
        {"hangs up after a command",
         {Peer::Send("220 peer\r\n"), Peer::ReadLine(), Peer::HangUp()},
         SMTPError::kConnectionClosed},
        {"hangs up in the middle of a reply",
         {Peer::Send("220 peer\r\n"), Peer::ReadLine(), Peer::Send("250-half"), Peer::HangUp()},
         SMTPError::kConnectionClosed},
        {"a reply without end", {Peer::Send(floodReply)}, SMTPError::kReplyTooLong},
        {"not an SMTP server", {Peer::Send("HTTP/1.0 200 OK\r\n")}, SMTPError::kMalformedReply},
        {"a greeting that refuses",
         {Peer::Send("554 go away\r\n"), Peer::ReadLine(), Peer::Send("221 bye\r\n")},
         SMTPError::kUnexpectedResponse},
    };
    for (const auto& c : cases) {
        Peer peer(c.steps);
        CSMTPConnection connection;
        // Long enough that a closed connection waiting for it would show as a time-out.
        connection.SetResponseTimeout(c.error == SMTPError::kTimedOut ? 200ms : 20s);
        EXPECT_FALSE(connection.Connect("127.0.0.1", kSMTPLoginHelo, "", "", peer.Port()))
            << c.name;
        EXPECT_EQ(connection.GetLastError(), c.error) << c.name;
        EXPECT_FALSE(connection.IsConnected()) << c.name;
    }
}

TEST(SMTPConnectionTest, AServerThatHangsUpDoesNotKillTheProcess) {
    Peer peer(
        {Peer::Send("220 peer\r\n"), Peer::ReadLine(), Peer::Send("250 peer\r\n"), Peer::Reset()});
    CSMTPConnection connection;
    ASSERT_TRUE(connection.Connect("127.0.0.1", kSMTPLoginHelo, "", "", peer.Port()));
    peer.Join();
    // The write meets a reset connection: an error value, not SIGPIPE.
    EXPECT_FALSE(connection.SendMessage(Message(std::string(100000, 'x'))));
    EXPECT_TRUE(IsConnectionError(connection.GetLastError()));
    EXPECT_FALSE(connection.IsUsable());
    EXPECT_FALSE(connection.SendMessage(Message()));
    EXPECT_EQ(connection.GetLastError(), SMTPError::kNotConnected);
    EXPECT_FALSE(connection.Disconnect());
}

TEST(SMTPConnectionTest, StoppingCutsAWaitShort) {
    Peer peer({Peer::Send("220 peer\r\n"), Peer::ReadLine()});
    std::atomic<bool> cancel{false};
    CSMTPConnection connection(RealClock(), &cancel);
    std::thread stopper([&] {
        // Wait until the client's HELO is there, so the cancel hits the reply wait.
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (peer.Lines().empty() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
        }
        cancel = true;
    });
    EXPECT_FALSE(connection.Connect("127.0.0.1", kSMTPLoginHelo, "", "", peer.Port()));
    stopper.join();
    EXPECT_EQ(connection.GetLastError(), SMTPError::kCancelled);
}

}  // namespace
}  // namespace corvane
