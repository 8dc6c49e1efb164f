#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "mail/MailDate.h"

namespace corvane {
namespace {

std::tm Local(int year, int month, int day, int hour, int minute, int second, int weekday) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_wday = weekday;
    return tm;
}

TEST(MailDateTest, FormatsTheOffsetFromUtc) {
    const std::tm t = Local(2024, 3, 5, 14, 7, 9, 2);
    const struct {
        long offset;
        const char* expected;
    } cases[] = {
        {5 * 3600 + 30 * 60, "Tue, 05 Mar 2024 14:07:09 +0530"},
        {-5 * 3600, "Tue, 05 Mar 2024 14:07:09 -0500"},
        {0, "Tue, 05 Mar 2024 14:07:09 +0000"},
        {-(3 * 3600 + 30 * 60), "Tue, 05 Mar 2024 14:07:09 -0330"},
        {14 * 3600, "Tue, 05 Mar 2024 14:07:09 +1400"},
        {5 * 3600 + 45 * 60, "Tue, 05 Mar 2024 14:07:09 +0545"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatMailDate(t, c.offset), c.expected) << c.offset;
    }
}

TEST(MailDateTest, NamesEveryDayAndMonthInEnglish) {
    const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int m = 1; m <= 12; ++m) {
        const std::string date = FormatMailDate(Local(2030, m, 1, 0, 0, 0, (m - 1) % 7), 0);
        EXPECT_EQ(date, std::string(days[(m - 1) % 7]) + ", 01 " + months[m - 1] +
                            " 2030 00:00:00 +0000");
    }
}

// Sets the process's time zone for one test; no other thread runs meanwhile.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone() {
        if (old_) {
            ::setenv("TZ", old_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> old_;
};

WallTime Utc(int year, int month, int day, int hour, int minute) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    return std::chrono::system_clock::from_time_t(::timegm(&tm));
}

TEST(MailDateTest, TakesTheLocalTimeAndOffsetOfTheProcessTimeZone) {
    const struct {
        const char* zone;
        WallTime time;
        const char* expected;
    } cases[] = {
        {"IST-5:30", Utc(2024, 3, 5, 8, 37), "Tue, 05 Mar 2024 14:07:00 +0530"},
        {"EST5", Utc(2024, 3, 5, 8, 37), "Tue, 05 Mar 2024 03:37:00 -0500"},
        {"UTC0", Utc(2024, 12, 31, 23, 59), "Tue, 31 Dec 2024 23:59:00 +0000"},
        // Daylight saving counts when it is in force.
        {"CET-1CEST,M3.5.0,M10.5.0/3", Utc(2024, 7, 1, 10, 0), "Mon, 01 Jul 2024 12:00:00 +0200"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", Utc(2024, 1, 1, 10, 0), "Mon, 01 Jan 2024 11:00:00 +0100"},
        // West of UTC the local date can be the day before.
        {"PST8PDT,M3.2.0,M11.1.0", Utc(2024, 7, 1, 3, 0), "Sun, 30 Jun 2024 20:00:00 -0700"},
    };
    for (const auto& c : cases) {
        ScopedTimeZone zone(c.zone);
        EXPECT_EQ(FormatMailDate(c.time), c.expected) << c.zone;
    }
}

}  // namespace
}  // namespace corvane
