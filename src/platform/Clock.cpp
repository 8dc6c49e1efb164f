#include "platform/Clock.h"

namespace corvane {

IClock& RealClock() {
    static SystemClock clock;
    return clock;
}

LocalTime ToLocalTime(WallTime time) {
    using namespace std::chrono;
    const auto since = time.time_since_epoch();
    auto secs = duration_cast<seconds>(since);
    auto millis = duration_cast<milliseconds>(since - secs).count();
    if (millis < 0) {
        millis += 1000;
        secs -= seconds(1);
    }
    const std::time_t t = static_cast<std::time_t>(secs.count());
    std::tm tm{};
    localtime_r(&t, &tm);
    LocalTime out;
    out.year = tm.tm_year + 1900;
    out.month = tm.tm_mon + 1;
    out.day = tm.tm_mday;
    out.hour = tm.tm_hour;
    out.minute = tm.tm_min;
    out.second = tm.tm_sec;
    out.millisecond = static_cast<int>(millis);
    out.weekday = tm.tm_wday + 1;
    return out;
}

}  // namespace corvane
