#pragma once

#include <string>
#include <vector>

namespace corvane {

struct AppSettings;

// A time of day as the schedule page's pickers show it.
struct PrefTimeOfDay {
    int hour = 23;
    int minute = 30;
};

// The values of the test schedule page.
struct TestSchedPageValues {
    int mode = 2;          // 0 daily, 1 weekly, 2 never
    int weekdayIndex = 0;  // 0 "Sundays" .. 6 "Saturdays"
    PrefTimeOfDay daily;
    PrefTimeOfDay weekly;
    int pause = 1;  // seconds between tests

    static constexpr int kPauseLow = 0, kPauseHigh = 300;

    // A stored time beyond 23:59 or a day outside Sunday to Saturday is refused: the page
    // shows the default instead, and the refusal is added to problems.
    static TestSchedPageValues FromSettings(const AppSettings& s,
                                            std::vector<std::string>* problems = nullptr);
    void ApplyTo(AppSettings& s) const;
};

// "Sundays" .. "Saturdays".
const std::vector<std::string>& WeekdayNames();

}  // namespace corvane
