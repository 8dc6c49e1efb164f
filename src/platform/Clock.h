#pragma once

#include <chrono>
#include <ctime>

namespace corvane {

using WallTime = std::chrono::system_clock::time_point;
using SteadyTime = std::chrono::steady_clock::time_point;

// Every time the system measures comes from a clock like this, so tests can move time.
// Intervals use the steady clock, dates the wall clock.
class IClock {
public:
    virtual ~IClock() = default;
    virtual WallTime Now() const = 0;
    virtual SteadyTime Steady() const = 0;
};

class SystemClock final : public IClock {
public:
    WallTime Now() const override { return std::chrono::system_clock::now(); }
    SteadyTime Steady() const override { return std::chrono::steady_clock::now(); }
};

// The process-wide real clock.
IClock& RealClock();

// A wall time broken down in local time.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int weekday = 0;  // 1 Sunday .. 7 Saturday
};

LocalTime ToLocalTime(WallTime time);

}  // namespace corvane
