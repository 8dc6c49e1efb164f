#include "preferences/TestSchedPageValues.h"

#include "platform/Format.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

PrefTimeOfDay FromSpan(std::chrono::seconds span, const char* name, PrefTimeOfDay fallback,
                       std::vector<std::string>* problems) {
    const long long seconds = span.count();
    const long long hour = seconds / 3600;
    const long long minute = (seconds / 60) % 60;
    if (seconds < 0 || hour > 23 || minute > 59) {
        if (problems != nullptr) {
            problems->push_back(StrFormat("%s of %lld seconds is not a time of day", name,
                                          static_cast<long long>(seconds)));
        }
        return fallback;
    }
    return {static_cast<int>(hour), static_cast<int>(minute)};
}

std::chrono::seconds ToSpan(PrefTimeOfDay t) {
    return std::chrono::seconds{(t.hour * 60 + t.minute) * 60};
}

}  // namespace

TestSchedPageValues TestSchedPageValues::FromSettings(const AppSettings& s,
                                                      std::vector<std::string>* problems) {
    const AppSettings defaults;
    TestSchedPageValues v;
    v.weekdayIndex = s.WeeklyTestDayOfWeek - 1;
    if (v.weekdayIndex < 0 || v.weekdayIndex > 6) {
        if (problems != nullptr) {
            problems->push_back(StrFormat("WeeklyTestDayOfWeek %d is not a day of the week",
                                          s.WeeklyTestDayOfWeek));
        }
        v.weekdayIndex = defaults.WeeklyTestDayOfWeek - 1;
    }
    v.daily = FromSpan(s.DailyTestTime, "DailyTestTime",
                       FromSpan(defaults.DailyTestTime, "", {}, nullptr), problems);
    v.weekly = FromSpan(s.WeeklyTestTime, "WeeklyTestTime",
                        FromSpan(defaults.WeeklyTestTime, "", {}, nullptr), problems);
    v.pause = s.InterTestDelay;
    v.mode = s.AutomaticTestMode;
    return v;
}

void TestSchedPageValues::ApplyTo(AppSettings& s) const {
    s.WeeklyTestDayOfWeek = weekdayIndex + 1;
    s.DailyTestTime = ToSpan(daily);
    s.WeeklyTestTime = ToSpan(weekly);
    s.InterTestDelay = pause;
    s.AutomaticTestMode = mode;
}

const std::vector<std::string>& WeekdayNames() {
    static const std::vector<std::string> names{"Sundays",   "Mondays", "Tuesdays", "Wednesdays",
                                                "Thursdays", "Fridays", "Saturdays"};
    return names;
}

}  // namespace corvane
