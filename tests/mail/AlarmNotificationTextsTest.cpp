#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail/AlarmNotificationTexts.h"
#include "mail/AlarmSamples.h"

namespace corvane {
namespace {

using testing::Alarm;
using testing::At;
using Lines = std::vector<std::string>;

AlarmNotificationInput Without(AlarmNotificationInput a) {
    a.context = {};
    return a;
}

AlarmNotificationInput Resolved(AlarmNotificationInput a, const char* state = "Resolved") {
    a.state = state;
    a.resolvedTime = At(3, 5, 15, 0, 0);
    return a;
}

TEST(AlarmNotificationTextsTest, EmailSubjectsNameTheDevice) {
    const struct {
        AlarmNotificationInput alarm;
        const char* subject;
    } cases[] = {
        {Alarm(0, "Quillex", 1, "Communication"), "VORLIN Alarm : Quillex Communication"},
        {Alarm(1, "Tonexa", 1, "Test Failure"), "VORLIN Alarm : Tonexa Test Failure"},
        {Alarm(6, "RT-2M", 1, "Malfunction"), "VORLIN Alarm : RT-2M Malfunction"},
        {testing::IntercomAlarm(), "VORLIN Alarm : Intercom (MX01) Communication"},
        {Without(testing::IntercomAlarm()), "VORLIN Alarm : Intercom #12 Communication"},
        {testing::TrunkTestFailureAlarm(), "VORLIN Alarm : Trunk #7 ( MX1/MX02) Test Failure"},
        {Without(testing::TrunkTestFailureAlarm()), "VORLIN Alarm : Trunk #7 Test Failure"},
        {Alarm(4, "Trunk", 9, "Test Error"), "VORLIN Alarm : Trunk #9 Test Error"},
        {testing::RequestBusyAlarm(), "VORLIN Alarm : Request #33 (MX01/MX02) Trunk Busy"},
        {Without(testing::RequestBusyAlarm()), "VORLIN Alarm : Request #33 Trunk Busy"},
        {Resolved(testing::IntercomAlarm()),
         "VORLIN Alarm : Intercom (MX01) Communication [RESOLVED]"},
        {Resolved(testing::RequestBusyAlarm(), "Unresolved"),
         "VORLIN Alarm : Request #33 (MX01/MX02) Trunk Busy [UNRESOLVED]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EmailSubject(c.alarm), c.subject);
    }
}

const char* const kClosing =
    "\r\nThis message has been automatically generated\r\nby the Corvane system to inform you\r\n"
    "that an alarm condition requiring notification\r\nhas occurred.";

TEST(AlarmNotificationTextsTest, EmailBodyOfARaisedAlarm) {
    EXPECT_EQ(EmailBody(testing::TrunkTestFailureAlarm()),
              std::string("The Corvane has detected an alarm condition:\r\n\r\n"
                          "  Date/Time: 03/05/2024 14:07:09\r\n"
                          "   Category: Trunk #7 ( MX1/MX02)\r\n"
                          " Alarm Type: Test Failure\r\n"
                          "Description: Loss 12.5 dB\r\n") +
                  kClosing);
}

TEST(AlarmNotificationTextsTest, EmailBodyTellsOfAcknowledgingAndResolving) {
    EXPECT_EQ(EmailBody(testing::ResolvedAlarm()),
              std::string("The Corvane has detected an alarm condition:\r\n\r\n"
                          "  Date/Time: 03/05/2024 14:07:09\r\n"
                          "   Category: Quillex\r\n"
                          " Alarm Type: Communication\r\n"
                          "Description: No reply\r\n"
                          "\r\nAdditional information:\r\n\r\n"
                          "This alarm condition was acknowledged at: 03/05/2024 14:09:00\r\n"
                          "This alarm condition was resolved at: 03/05/2024 14:10:30\r\n") +
                  kClosing);
    EXPECT_EQ(
        EmailBody(Resolved(testing::RequestBusyAlarm(), "Unresolved")),
        std::string("The Corvane has detected an alarm condition:\r\n\r\n"
                    "  Date/Time: 03/05/2024 14:07:09\r\n"
                    "   Category: Request #33 (MX01/MX02)\r\n"
                    " Alarm Type: Trunk Busy\r\n"
                    "Description: No trunk free\r\n"
                    "\r\nAdditional information:\r\n\r\n"
                    "The request causing this alarm was aborted at: 03/05/2024 15:00:00\r\n") +
            kClosing);
}

TEST(AlarmNotificationTextsTest, PagerLinesByKind) {
    AlarmNotificationInput noEnds = Without(testing::TrunkTestFailureAlarm());
    AlarmNotificationInput withEnds = noEnds;
    withEnds.trunkEndIntercoms = {{3, 14}};
    const struct {
        AlarmNotificationInput alarm;
        Lines lines;
    } cases[] = {
        {Alarm(1, "Tonexa", 1, "Communication"), {"Tonexa Comm Fail"}},
        {Alarm(1, "Tonexa", 1, "Loop-back"), {"Tonexa Test Fail"}},
        {Alarm(6, "RT-2M", 1, "Communication"), {"RT-2M Comm Fail"}},
        {Alarm(6, "RT-2M", 1, "Test Failure"), {"RT-2M Test Fail"}},
        {Alarm(6, "RT-2M", 1, "Malfunction"), {"RT-2M Malfunction"}},
        {testing::IntercomAlarm(), {"Icom MX01 Comm Fail"}},
        {Without(testing::IntercomAlarm()), {"Icom #12 Comm Fail"}},
        {testing::TrunkTestFailureAlarm(), {"Trunk #7 Test Fail", "Icoms ( MX1/MX02)"}},
        {withEnds, {"Trunk #7 Test Fail", "Icoms (3/14)"}},
        {noEnds, {"Trunk #7 Test Fail"}},  // a trunk out of range
        {Alarm(4, "Trunk", 9, "Test Error"), {"Trunk #9 Test Err"}},
        {testing::RequestBusyAlarm(), {" TK_Busy:(MX01/MX02) ", "CAM1 : T/- :  DIR"}},
        {Without(testing::RequestBusyAlarm()), {"Trunk Request Busy", "Request #33"}},
        {Alarm(0, "Quillex", 1, "Communication"), {"Quillex Comm Fail"}},
    };
    for (const auto& c : cases) {
        Lines expected = c.lines;
        expected.push_back("03/05/2024 14:07:09");
        EXPECT_EQ(PagerLines(c.alarm), expected) << c.lines[0];
    }
}

TEST(AlarmNotificationTextsTest, PagerSubjectAndLastLineFollowTheAlarmsProgress) {
    const LocalTime acked = At(3, 5, 14, 9, 0);
    const LocalTime resolved = At(3, 5, 14, 10, 30);
    const struct {
        const char* state;
        bool acknowledged;
        bool isResolved;
        const char* subject;
        const char* lastLine;
    } cases[] = {
        {"Active", false, false, "VORLIN Alarm   ", "03/05/2024 14:07:09"},
        {"Active", true, false, "VORLIN Alarm-AC", "03/05/2024 14:09:00"},
        {"Resolved", false, true, "VORLIN Alarm-OK", "03/05/2024 14:10:30"},
        {"Resolved", true, true, "VORLIN Alarm-OK", "03/05/2024 14:10:30"},
        {"Unresolved", false, true, "VORLIN Alarm-??", "03/05/2024 14:10:30"},
    };
    for (const auto& c : cases) {
        AlarmNotificationInput a = Alarm(0, "Quillex", 1, "Communication");
        a.state = c.state;
        if (c.acknowledged) {
            a.acknowledgedTime = acked;
        }
        if (c.isResolved) {
            a.resolvedTime = resolved;
        }
        EXPECT_EQ(PagerSubject(a), c.subject);
        EXPECT_EQ(PagerLines(a).back(), c.lastLine);
    }
}

TEST(AlarmNotificationTextsTest, PagerBodyPadsShortLinesTo20) {
    EXPECT_EQ(PagerLines(testing::TrunkTestFailureAlarm())[0].size(), 18u);
    EXPECT_EQ(PagerBody(testing::TrunkTestFailureAlarm()),
              "Trunk #7 Test Fail  "
              "Icoms ( MX1/MX02)   "
              "03/05/2024 14:07:09 ");
    // A line longer than 20 is not cut.
    EXPECT_EQ(PagerBody(testing::RequestBusyAlarm()),
              " TK_Busy:(MX01/MX02) "
              "CAM1 : T/- :  DIR   "
              "03/05/2024 14:07:09 ");
}

TEST(AlarmNotificationTextsTest, AMissingTimeIsEmpty) {
    AlarmNotificationInput a = Alarm(0, "Quillex", 1, "Communication");
    a.alarmTime.reset();
    EXPECT_EQ(FormatNotificationTime(a.alarmTime), "");
    EXPECT_EQ(PagerBody(a), "Quillex Comm Fail   " + std::string(20, ' '));
    EXPECT_NE(EmailBody(a).find("  Date/Time: \r\n"), std::string::npos);
}

}  // namespace
}  // namespace corvane
