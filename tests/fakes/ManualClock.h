#pragma once

#include <atomic>
#include <chrono>

#include "platform/Clock.h"

namespace corvane::testing {

// A clock that moves only when the test moves it; safe to read from any thread.
class ManualClock final : public IClock {
public:
    explicit ManualClock(WallTime start = WallTime(std::chrono::seconds(1'800'000'000)))
        : wallNs_(start.time_since_epoch().count()) {}

    WallTime Now() const override { return WallTime(WallTime::duration(wallNs_.load())); }
    SteadyTime Steady() const override {
        return SteadyTime(SteadyTime::duration(steadyNs_.load()));
    }

    template <typename Rep, typename Period>
    void Advance(std::chrono::duration<Rep, Period> d) {
        wallNs_ += std::chrono::duration_cast<WallTime::duration>(d).count();
        steadyNs_ += std::chrono::duration_cast<SteadyTime::duration>(d).count();
    }
    // Moves the wall clock only, as an operator setting the time does.
    void SetWall(WallTime t) { wallNs_ = t.time_since_epoch().count(); }

private:
    std::atomic<WallTime::rep> wallNs_;
    std::atomic<SteadyTime::rep> steadyNs_{0};
};

// A local wall time, for tests that need a given date.
inline WallTime LocalWall(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

}  // namespace corvane::testing
