#include "presentation/AlarmListRules.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(AlarmListRulesTest, StateCellColoursByStateAndAcknowledgement) {
    const CNameTables names;
    ColorSettings colors;
    // Distinct colours, so that a wrong pick shows.
    for (int i = 0; i < kDisplayColorCount; ++i) {
        colors.values[static_cast<size_t>(i)] = static_cast<ColorRef>(0x10000 + i);
    }
    struct Case {
        std::string state;
        std::string ack;
        DisplayColor background;
        DisplayColor text;
    };
    const Case cases[] = {
        {"Active", "-", DisplayColor::AlarmActiveBackground, DisplayColor::AlarmActiveText},
        {"Active", "Y", DisplayColor::AcknowledgedAlarmActiveBackground,
         DisplayColor::AcknowledgedAlarmActiveText},
        {"Resolved", "-", DisplayColor::AlarmResolvedBackground, DisplayColor::AlarmResolvedText},
        {"Resolved", "Y", DisplayColor::AcknowledgedAlarmResolvedBackground,
         DisplayColor::AcknowledgedAlarmResolvedText},
        {"Stale", "-", DisplayColor::AlarmStaleBackground, DisplayColor::AlarmStaleText},
        {"Stale", "Y", DisplayColor::AcknowledgedAlarmStaleBackground,
         DisplayColor::AcknowledgedAlarmStaleText},
        {"Unresolved", "-", DisplayColor::AlarmUnresolvedBackground,
         DisplayColor::AlarmUnresolvedText},
        {"Unresolved", "", DisplayColor::AcknowledgedAlarmUnresolvedBackground,
         DisplayColor::AcknowledgedAlarmUnresolvedText},
    };
    for (const Case& c : cases) {
        const auto got = AlarmStateColors(c.state, c.ack, names, colors);
        ASSERT_TRUE(got) << c.state;
        EXPECT_EQ(got->background, colors.Get(c.background)) << c.state << c.ack;
        EXPECT_EQ(got->text, colors.Get(c.text)) << c.state << c.ack;
    }
    EXPECT_FALSE(AlarmStateColors("Gone", "-", names, colors));
    EXPECT_FALSE(AlarmStateColors("", "Y", names, colors));
}

TEST(AlarmListRulesTest, FrameIconOfTheUnseenAlarmHints) {
    EXPECT_EQ(AlarmFrameIcon(hint::kNewUnseenAlarm | hint::kAlarmsNew), kUnseenAlarmsIcon);
    EXPECT_EQ(AlarmFrameIcon(hint::kUnseenAlarmCleared), kAlarmsIcon);
    EXPECT_EQ(AlarmFrameIcon(hint::kUnseenAlarmCleared | hint::kNewUnseenAlarm), kAlarmsIcon);
    EXPECT_EQ(AlarmFrameIcon(hint::kAlarmsNew), std::nullopt);
}

TEST(AlarmListRulesTest, WhichSelectedAlarmsTheCommandsChange) {
    EXPECT_TRUE(NeedsAcknowledge("-"));
    EXPECT_TRUE(NeedsAcknowledge(""));
    EXPECT_FALSE(NeedsAcknowledge("Y"));
    const CNameTables names;
    EXPECT_TRUE(HasPendingNotification("Pending", names));
    for (const char* other : {"None", "Cancelled", "Sent", ""}) {
        EXPECT_FALSE(HasPendingNotification(other, names)) << other;
    }
}

}  // namespace
}  // namespace corvane
