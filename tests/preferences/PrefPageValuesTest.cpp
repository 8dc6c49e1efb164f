#include <gtest/gtest.h>

#include "preferences/AlarmSetupPageValues.h"
#include "preferences/ArchivePageValues.h"
#include "preferences/LayoutOptsPageValues.h"
#include "preferences/PrefSheetLayout.h"
#include "preferences/PrefValidation.h"
#include "preferences/TestParmsPageValues.h"
#include "preferences/TestSchedPageValues.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

TEST(PrefValidation, RangeChecks) {
    struct Case {
        const char* text;
        int low, high;
        std::optional<int> value;
        const char* message;
    };
    const Case cases[] = {
        {"60", 1, 60, 60, ""},
        {"0", 1, 60, std::nullopt, "Please enter an integer between 1 and 60."},
        {"61", 1, 60, std::nullopt, "Please enter an integer between 1 and 60."},
        {"31", 0, 30, std::nullopt, "Please enter an integer between 0 and 30."},
        {"301", 0, 300, std::nullopt, "Please enter an integer between 0 and 300."},
        {"", 0, 30, std::nullopt, "Please enter an integer."},
        {"12x", 0, 30, std::nullopt, "Please enter an integer."},
        {" -5 ", -20, 20, -5, ""},
        {"\xE2\x88\x92"
         "5",
         -20, 20, -5, ""},  // U+2212, the minus of several locales
        {"\xE2\x88\x92"
         "25",
         -20, 20, std::nullopt, "Please enter an integer between -20 and 20."},
        {"5\xE2\x88\x92", -20, 20, std::nullopt, "Please enter an integer."},
    };
    for (const Case& c : cases) {
        const PrefIntCheck check = CheckPrefInt(c.text, c.low, c.high);
        EXPECT_EQ(check.value, c.value) << c.text;
        EXPECT_EQ(check.message, c.message) << c.text;
    }
}

TEST(AlarmSetupPageValues, RecipientListsMailCannotBeSentToAreNamed) {
    AlarmSetupPageValues v;
    v.kinds[0].emailTo = "Ops <ops@example.org>, desk@example.org";
    v.kinds[0].pagerTo = "";
    v.kinds[2].emailTo = "fine@example.org";
    v.kinds[2].pagerTo = "x> <y@z";
    v.kinds[5].emailTo = "two words@example.org";
    EXPECT_EQ(CheckRecipientLists(v, {0}), std::nullopt);
    const auto problem = CheckRecipientLists(v, {0, 2, 5});
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, 2);
    EXPECT_TRUE(problem->pager);
    EXPECT_EQ(problem->message.rfind(
                  "The pager recipients of the Intercom Events cannot be used:\n\nx> <y@z\n\n", 0),
              0u)
        << problem->message;
    EXPECT_EQ(CheckRecipientLists(v, {5})->kind, 5);
    // A kind the page does not offer is not looked at.
    EXPECT_EQ(CheckRecipientLists(v, {0, 1}), std::nullopt);
}

TEST(PrefSheetLayout, PagesAndStartPage) {
    EXPECT_EQ(VisiblePrefPages(false), (std::vector<int>{0, 1, 2, 3, 7}));
    EXPECT_EQ(VisiblePrefPages(true), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(PrefStartPage(7, false), 7);
    EXPECT_EQ(PrefStartPage(5, false), 0);
    EXPECT_EQ(PrefStartPage(5, true), 5);
    EXPECT_EQ(PrefPage(4).dialogId, 171);
    EXPECT_STREQ(PrefPage(7).caption, "Graphical Layouts");
    EXPECT_EQ(AnalyzerTypeOf("RT-2M"), 2);
    EXPECT_EQ(AnalyzerTypeOf("bogus"), 0);
}

TEST(PrefAlarmSetup, OfferedKinds) {
    EXPECT_EQ(OfferedAlarmKinds(0), (std::vector<int>{0, 2, 5}));
    EXPECT_EQ(OfferedAlarmKinds(1), (std::vector<int>{0, 1, 2, 3, 5}));
    EXPECT_EQ(OfferedAlarmKinds(2), (std::vector<int>{0, 2, 3, 5, 6}));
}

TEST(PrefAlarmSetup, RoundTrip) {
    AppSettings s;
    s.EmailTO[5] = "ops@example.org";
    s.NotificationDelayTime[2] = 90;
    AlarmSetupPageValues v = AlarmSetupPageValues::FromSettings(s);
    v.kinds[0].pagerTo = "555";
    AppSettings out;
    v.ApplyTo(out);
    EXPECT_EQ(out.EmailTO[5], "ops@example.org");
    EXPECT_EQ(out.NotificationDelayTime[2], 90);
    EXPECT_EQ(out.PagerTO[0], "555");
}

TEST(PrefArchive, RequestPageNeverTouchesAllowActive) {
    AppSettings s;
    s.AllowActiveAlarmsToBeArchived = true;
    s.RequestCreateDayArchiveFiles = true;
    ArchivePageValues v = ArchivePageValues::FromSettings(s, true);
    EXPECT_EQ(v.mode, 1);
    v.allowActive = false;
    v.mode = 0;
    v.ApplyTo(s);
    EXPECT_TRUE(s.AllowActiveAlarmsToBeArchived);
    EXPECT_FALSE(s.RequestCreateDayArchiveFiles);
    ArchivePageValues alarms = ArchivePageValues::FromSettings(s, false);
    alarms.allowActive = false;
    alarms.mode = 1;
    alarms.ApplyTo(s);
    EXPECT_FALSE(s.AllowActiveAlarmsToBeArchived);
    EXPECT_TRUE(s.AlarmCreateDayArchiveFiles);
}

TEST(PrefLayoutOpts, InvertedOptionAndHideChange) {
    AppSettings s;
    LayoutOptsPageValues v = LayoutOptsPageValues::FromSettings(s);
    EXPECT_FALSE(v.requireAllowChanges);
    v.requireAllowChanges = true;
    EXPECT_FALSE(v.ApplyTo(s));
    EXPECT_FALSE(s.AutoEnableAllowChanges);
    v.autoHideEmptyTrunkSets = true;
    EXPECT_TRUE(v.ApplyTo(s));
}

TEST(PrefLayoutOpts, TheViewsAreToldWhenEditOperationsGoOff) {
    const struct {
        bool before;
        bool after;
        bool tell;
    } cases[] = {
        {true, false, true}, {false, true, false}, {true, true, false}, {false, false, false}};
    for (const auto& c : cases) {
        AppSettings s;
        s.AllowEditOperations = c.before;
        LayoutOptsPageValues v = LayoutOptsPageValues::FromSettings(s);
        v.allowEditOperations = c.after;
        EXPECT_EQ(v.ApplyTo(s), c.tell) << c.before << " to " << c.after;
        EXPECT_EQ(s.AllowEditOperations, c.after);
    }
}

TEST(PrefTestSched, TimesAndDays) {
    AppSettings s;
    s.DailyTestTime = std::chrono::seconds{90 * 60 + 42};
    s.WeeklyTestDayOfWeek = 7;
    std::vector<std::string> problems;
    TestSchedPageValues v = TestSchedPageValues::FromSettings(s, &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(v.daily.hour, 1);
    EXPECT_EQ(v.daily.minute, 30);
    EXPECT_EQ(v.weekdayIndex, 6);
    v.ApplyTo(s);
    EXPECT_EQ(s.DailyTestTime.count(), 5400);  // seconds dropped
    EXPECT_EQ(s.WeeklyTestDayOfWeek, 7);

    s.WeeklyTestTime = std::chrono::seconds{24 * 3600};
    s.WeeklyTestDayOfWeek = 0;
    v = TestSchedPageValues::FromSettings(s, &problems);
    EXPECT_EQ(problems.size(), 2u);
    EXPECT_EQ(v.weekly.hour, 23);
    EXPECT_EQ(v.weekly.minute, 30);
    EXPECT_EQ(v.weekdayIndex, 0);
}

TEST(PrefTestParms, OnlyChangedInstrumentSettingsAreResent) {
    AppSettings s;
    TestParmsPageValues v = TestParmsPageValues::FromSettings(s);
    v.terminationIndex = 3;
    v.inputImpedance = "PHANTOM";
    v.sensitivityIndex = 1;
    v.trunkLoss = 7;
    EXPECT_EQ(v.ApplyTo(s), (std::vector<TesterSetting>{TesterSetting::TonexaImpedance,
                                                        TesterSetting::Rt2mInputImpedance}));
    EXPECT_TRUE(s.UseLowFrequencyTestRange);
    EXPECT_EQ(s.AllowedTrunkLoss, 7);
    EXPECT_TRUE(v.ApplyTo(s).empty());
}

}  // namespace
}  // namespace corvane
