#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "model/ModelNumbers.h"
#include "platform/Clock.h"

namespace corvane {

namespace alarmop {
inline constexpr int kRaiseOrResolve = 0, kAcknowledge = 1, kCancelNotification = 2;
}

// The alarm state an alarm passes into (the resolved field).
namespace alarmresolve {
inline constexpr int kRaise = 0;       // "Active"
inline constexpr int kResolve = 1;     // "Resolved"
inline constexpr int kUnresolved = 3;  // a busy request that ended while still queued
}  // namespace alarmresolve

// One queued alarm operation for the alarm write-back.
struct CAlarm {
    int32_t operation = alarmop::kRaiseOrResolve;
    int32_t deviceType = kNone;  // DeviceType; none for acknowledge and cancel
    int32_t deviceIndex = 0;     // for acknowledge and cancel the alarm's key
    int32_t category = kNone;    // AlarmCategory; none for acknowledge and cancel
    int32_t resolved = alarmresolve::kResolve;
    // Raise or resolve: whether a notification is wanted; cancel: the notification state to
    // set; acknowledge: none.
    int32_t notify = kNone;
    std::string description;
    WallTime time{};
    std::chrono::seconds notificationDelay{0};
    std::string context;
    // When not 0, a resolve that finds no open alarm adds the alarm in its resolved form.
    int32_t extra = 0;
};

}  // namespace corvane
