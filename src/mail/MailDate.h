#pragma once

#include <ctime>
#include <string>

#include "platform/Clock.h"

namespace corvane {

// "Tue, 05 Mar 2024 14:07:09 +0530": a local time and its offset east of UTC in seconds,
// with English day and month names whatever the process's locale.
std::string FormatMailDate(const std::tm& local, long utcOffsetSeconds);

// The Date value of a message sent at the given time, in the process's time zone with its
// daylight saving offset.
std::string FormatMailDate(WallTime time);

}  // namespace corvane
