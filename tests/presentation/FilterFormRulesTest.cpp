#include "presentation/FilterFormRules.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

constexpr int kAny = CVorlinFilterData::kAny;

TEST(FilterFormRulesTest, SelectorOfAChosenEntry) {
    struct Case {
        int data;
        bool functionType;
        int selector;
    };
    const Case cases[] = {
        {0, false, kAny},
        {kAny, false, kAny},
        {5, false, 5},
        {0, true, 0},  // "PP"
        {3, true, 3},
        {7, true, kAny},
        {8, true, 8},
        {9, true, kAny},
        {-1, true, kAny},
        {kAny, true, kAny},
        {1 << 16 | 4, false, 1 << 16 | 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SelectorOfChoice(c.data, c.functionType), c.selector) << c.data;
    }
}

TEST(FilterFormRulesTest, TheLastStateLeftIsNeverCleared) {
    EXPECT_EQ(RequestStatesAfterClick(0), requeststate::kActive);
    EXPECT_EQ(RequestStatesAfterClick(requeststate::kFinished), requeststate::kFinished);
    EXPECT_EQ(AlarmStatesAfterClick(0), alarmstate::kActive);
    EXPECT_EQ(AlarmStatesAfterClick(alarmstate::kStale), alarmstate::kStale);
}

TEST(FilterFormRulesTest, AlarmCombosReachTheListOnlyWhileTheirAlarmsShow) {
    CAlarmFilterData filter;
    EXPECT_TRUE(AlarmComboReachesList(filter, false));
    EXPECT_TRUE(AlarmComboReachesList(filter, true));
    filter.ShowCategory(alarmcategory::kTrunkTestFailure, false);
    EXPECT_FALSE(AlarmComboReachesList(filter, true));
    EXPECT_TRUE(AlarmComboReachesList(filter, false));
    filter.ShowCategory(alarmcategory::kIntercomCommunication, false);
    EXPECT_FALSE(AlarmComboReachesList(filter, false));
}

TEST(FilterFormRulesTest, TheAnalyzerDecidesTheTestAlarms) {
    EXPECT_EQ(AnalyzerAlarmsCaption("RT-2M"), " Show RT-2M alarms");
    CAlarmFilterData filter;
    filter.SetTrunk(12);
    ShowAnalyzerAlarms(filter, false);
    EXPECT_FALSE(filter.ShowsCategory(alarmcategory::kAudioAnalyzer));
    EXPECT_FALSE(filter.ShowsCategory(alarmcategory::kTrunkTestFailure));
    EXPECT_TRUE(filter.ShowsCategory(alarmcategory::kController));
    EXPECT_EQ(filter.Trunk(), kAny);
    ShowAnalyzerAlarms(filter, true);
    EXPECT_EQ(filter.CategoryMask(), 63);
}

}  // namespace
}  // namespace corvane
