#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "log/DiagLogSource.h"
#include "mail/AlarmNotificationMessages.h"
#include "mail/AlarmSamples.h"
#include "fakes/LogCapture.h"
#include "mail/MailQueue.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

const AlarmNotificationInput kAlarm = testing::TrunkTestFailureAlarm();  // kind 3

AppSettings Settings() {
    AppSettings s;
    s.EmailTO[3] = "Ops <ops@example.org>; night@example.org";
    s.PagerTO[3] = "pager@example.org";
    return s;
}

TEST(AlarmNotificationMessagesTest, EmailTakesTheSenderSettings) {
    const struct {
        const char* name;
        const char* address;
        const char* mailer;
        const char* replyTo;
        CSMTPAddress from;
        const char* expectedMailer;
    } cases[] = {
        {"Corvane", "VORLIN", "Corvane", "", {"Corvane", "VORLIN"}, "Corvane"},  // the defaults
        {"", "alarms@example.org", "", "", {"", "alarms@example.org"}, "CSMTPConnection v2.04"},
        {"Alarms", "", "M", "ops@example.org", {"", "VORLIN"}, "M"},
        {"", "", "M", "", {"", "VORLIN"}, "M"},
    };
    for (const auto& c : cases) {
        AppSettings s = Settings();
        s.EmailFromDisplayName = c.name;
        s.EmailFromAddress = c.address;
        s.EmailXMailer = c.mailer;
        s.EmailReplyTo = c.replyTo;
        const NotificationMessage built = BuildAlarmEmail(kAlarm, s);
        ASSERT_TRUE(built.message) << built.error;
        const CSMTPMessage& m = *built.message;
        EXPECT_EQ(m.m_From, c.from);
        EXPECT_EQ(m.m_sXMailer, c.expectedMailer);
        EXPECT_EQ(m.m_ReplyTo.m_sEmailAddress, c.replyTo);
        EXPECT_EQ(m.m_sSubject, EmailSubject(kAlarm));
        EXPECT_EQ(m.GetBody(), EmailBody(kAlarm));
        EXPECT_EQ(m.m_To, (std::vector<CSMTPAddress>{{"Ops", "ops@example.org"},
                                                     {"", "night@example.org"}}));
        EXPECT_EQ(m.m_nTag, kAlarm.alarmId);
    }
}

TEST(AlarmNotificationMessagesTest, PagerSendsFromABlankAddressUnlessToldOtherwise) {
    AppSettings s = Settings();
    s.PagerReplyTo = "reply@example.org";
    s.PagerXMailer = "Pager";
    NotificationMessage built = BuildAlarmPage(kAlarm, s);
    ASSERT_TRUE(built.message) << built.error;
    EXPECT_EQ(built.message->m_From, CSMTPAddress(" "));
    EXPECT_EQ(built.message->m_ReplyTo.m_sEmailAddress, "");
    EXPECT_EQ(built.message->m_sXMailer, "Pager");
    EXPECT_EQ(built.message->m_sSubject, PagerSubject(kAlarm));
    EXPECT_EQ(built.message->GetBody(), PagerBody(kAlarm));

    s.IncludeFromAddressInPagerMessages = true;
    s.IncludeReplyToInPagerMessages = true;
    s.PagerFromDisplayName = "Pages";
    s.PagerFromAddress = "pages@example.org";
    built = BuildAlarmPage(kAlarm, s);
    ASSERT_TRUE(built.message);
    EXPECT_EQ(built.message->m_From, CSMTPAddress("Pages", "pages@example.org"));
    EXPECT_EQ(built.message->m_ReplyTo.m_sEmailAddress, "reply@example.org");

    s.PagerFromAddress.clear();
    built = BuildAlarmPage(kAlarm, s);
    ASSERT_TRUE(built.message);
    EXPECT_EQ(built.message->m_From, CSMTPAddress("VORLIN"));
}

TEST(AlarmNotificationMessagesTest, NoMessageWithoutASoundRecipientAndSender) {
    const struct {
        const char* what;
        void (*change)(AppSettings&);
    } cases[] = {
        {"a list that parses to nothing", [](AppSettings& s) { s.EmailTO[3] = " ; , "; }},
        {"a malformed list", [](AppSettings& s) { s.EmailTO[3] = "Ops >ops@x<"; }},
        {"an unsafe recipient", [](AppSettings& s) { s.EmailTO[3] = "ops@x\r\nDATA"; }},
        {"an unsafe sender", [](AppSettings& s) { s.EmailFromAddress = "vorlin@x\r\nRSET"; }},
        {"an unsafe reply-to", [](AppSettings& s) { s.EmailReplyTo = "a b@x"; }},
    };
    for (const auto& c : cases) {
        AppSettings s = Settings();
        c.change(s);
        const NotificationMessage built = BuildAlarmEmail(kAlarm, s);
        EXPECT_FALSE(built.message) << c.what;
        EXPECT_FALSE(built.error.empty()) << c.what;
    }
}

class QueueAlarmNotificationsTest : public ::testing::Test {
protected:
    testing::LogCapture log{"Pass Test", 1};
    CDiagLogSource source{"Pass Test", "Pass Test log", 0};
    CMailQueue queue;
};

TEST_F(QueueAlarmNotificationsTest, QueuesWhatTheKindAsksFor) {
    const struct {
        bool email;
        bool page;
        const char* emailTo;
        int state;
        std::vector<std::string> subjects;
    } cases[] = {
        {false, false, "ops@x", kNotificationError, {}},
        {true, false, "ops@x", kNotificationSent, {EmailSubject(kAlarm)}},
        {false, true, "ops@x", kNotificationSent, {PagerSubject(kAlarm)}},
        {true, true, "ops@x", kNotificationSent, {EmailSubject(kAlarm), PagerSubject(kAlarm)}},
        {true, false, "", kNotificationError, {}},   // no list: nothing is tried
        {true, false, ";", kNotificationError, {}},  // a list without an address
        {true, true, ";", kNotificationSent, {PagerSubject(kAlarm)}},
    };
    for (const auto& c : cases) {
        AppSettings s = Settings();
        s.SendEmail[3] = c.email;
        s.SendPage[3] = c.page;
        s.EmailTO[3] = c.emailTo;
        EXPECT_EQ(QueueAlarmNotifications(kAlarm, s, queue, source), c.state);
        std::vector<std::string> subjects;
        while (auto m = queue.PopPendingMail()) {
            subjects.push_back(m->m_sSubject);
        }
        EXPECT_EQ(subjects, c.subjects);
    }
}

TEST_F(QueueAlarmNotificationsTest, SaysWhyNothingWasQueued) {
    AppSettings s = Settings();
    s.SendEmail[3] = true;
    s.EmailTO[3] = " ; ";
    EXPECT_EQ(QueueAlarmNotifications(kAlarm, s, queue, source), kNotificationError);
    AlarmNotificationInput noKind = kAlarm;
    noKind.kind = INT_MAX;
    EXPECT_EQ(QueueAlarmNotifications(noKind, s, queue, source), kNotificationError);
    EXPECT_EQ(queue.Size(), 0u);
    const std::string text = log.Text();
    EXPECT_NE(text.find("Alarm 103: no e-mail sent: the EmailTO list names no address"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("has no alarm setup kind"), std::string::npos);
}

}  // namespace
}  // namespace corvane
