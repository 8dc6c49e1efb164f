#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "mail/SMTPMessage.h"

namespace corvane {
namespace {

class SMTPMessageTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) {
            oldZone_ = tz;
            hadZone_ = true;
        }
        ::setenv("TZ", "UTC0", 1);
        ::tzset();
    }
    void TearDown() override {
        if (hadZone_) {
            ::setenv("TZ", oldZone_.c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    // Tue, 05 Mar 2024 14:07:09 UTC
    const WallTime now = std::chrono::system_clock::from_time_t(1709647629);

private:
    std::string oldZone_;
    bool hadZone_ = false;
};

TEST_F(SMTPMessageTest, BuildsTheHeaderLinesInOrder) {
    CSMTPMessage message;
    message.m_From = CSMTPAddress("Corvane", "vorlin@example.org");
    message.m_sSubject = "VORLIN Alarm : Quillex Communication";
    message.m_ReplyTo = CSMTPAddress("ops@example.org");
    ASSERT_TRUE(message.AddRecipients("Ops <ops@example.org>; night@example.org"));
    ASSERT_TRUE(message.AddRecipients("cc@example.org", CSMTPMessage::CC));
    ASSERT_TRUE(message.AddRecipients("hidden@example.org", CSMTPMessage::BCC));
    message.m_ExtraHeaders = {"X-Priority: 1"};

    EXPECT_EQ(message.GetHeader("us-ascii", false, now),
              "From: Corvane <vorlin@example.org>\r\n"
              "To: Ops <ops@example.org>,night@example.org\r\n"
              "Cc: cc@example.org\r\n"
              "Subject: VORLIN Alarm : Quillex Communication\r\n"
              "Date: Tue, 05 Mar 2024 14:07:09 +0000\r\n"
              "X-Mailer: CSMTPConnection v2.04\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-type: text/plain; charset=us-ascii\r\n"
              "Reply-To: ops@example.org\r\n"
              "X-Priority: 1\r\n"
              "\r\n");
}

TEST_F(SMTPMessageTest, LeavesOutWhatIsNotSet) {
    CSMTPMessage message;
    message.m_From = CSMTPAddress(" ");
    message.m_sSubject = "VORLIN Alarm   ";
    message.m_sXMailer = "Corvane";
    ASSERT_TRUE(message.AddRecipients("pager@example.org"));
    EXPECT_EQ(message.GetHeader("iso-8859-1", true, now),
              "From:  \r\n"
              "To: pager@example.org\r\n"
              "Subject: VORLIN Alarm   \r\n"
              "Date: Tue, 05 Mar 2024 14:07:09 +0000\r\n"
              "X-Mailer: Corvane\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-type: text/plain; charset=iso-8859-1\r\n"
              "Content-Transfer-Encoding: quoted-printable\r\n"
              "\r\n");
}

TEST_F(SMTPMessageTest, NoValueCanStartAHeaderLineOfItsOwn) {
    CSMTPMessage message;
    message.m_From = CSMTPAddress("Name\r\nBcc: a@x", "from@x");
    message.m_sSubject = "VORLIN Alarm : Intercom (MX\r\nBcc: evil@x\x01) Communication";
    message.m_sXMailer = "mailer\nX-Evil: 1";
    message.m_ExtraHeaders = {"", "\r\n", "X-Line: a\rb"};
    ASSERT_TRUE(message.AddRecipients("to@x"));
    const std::string header = message.GetHeader("us-ascii", false, now);
    EXPECT_NE(header.find("Subject: VORLIN Alarm : Intercom (MXBcc: evil@x) Communication\r\n"),
              std::string::npos);
    EXPECT_NE(header.find("From: NameBcc: a@x <from@x>\r\n"), std::string::npos);
    EXPECT_NE(header.find("X-Mailer: mailerX-Evil: 1\r\n"), std::string::npos);
    EXPECT_NE(header.find("X-Line: ab\r\n\r\n"), std::string::npos);
    // Only the one empty line at the end, and no line break but CR LF.
    EXPECT_EQ(header.find("\r\n\r\n"), header.size() - 4);
    size_t breaks = 0;
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i] == '\r' || header[i] == '\n') {
            ASSERT_EQ(header.compare(header[i] == '\r' ? i : i - 1, 2, "\r\n"), 0) << i;
            ++breaks;
        }
    }
    EXPECT_EQ(breaks, 2u * 9);  // eight lines and the empty one
}

}  // namespace
}  // namespace corvane
