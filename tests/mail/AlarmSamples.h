#pragma once

#include <string>

#include "mail/AlarmNotificationTexts.h"

namespace corvane::testing {

inline LocalTime At(int month, int day, int hour, int minute, int second) {
    LocalTime t;
    t.year = 2024;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

inline AlarmNotificationInput Alarm(int kind, std::string deviceType, int instance,
                                    std::string alarmType, std::string description = "") {
    AlarmNotificationInput a;
    a.alarmId = 100 + kind;
    a.kind = kind;
    a.deviceType = std::move(deviceType);
    a.deviceInstance = instance;
    a.alarmType = std::move(alarmType);
    a.description = std::move(description);
    a.state = "Active";
    a.alarmTime = At(3, 5, 14, 7, 9);
    return a;
}

// The four alarms the notification tests send.
inline AlarmNotificationInput IntercomAlarm() {
    AlarmNotificationInput a = Alarm(2, "Intercom", 12, "Communication", "Intercom lost");
    a.context.oneAlpha = "MX01";
    return a;
}

inline AlarmNotificationInput TrunkTestFailureAlarm() {
    AlarmNotificationInput a = Alarm(3, "Trunk", 7, "Test Failure", "Loss 12.5 dB");
    a.context.twoAlphas = {{" MX1", "MX02"}};
    return a;
}

inline AlarmNotificationInput ResolvedAlarm() {
    AlarmNotificationInput a = Alarm(0, "Quillex", 1, "Communication", "No reply");
    a.state = "Resolved";
    a.acknowledgedTime = At(3, 5, 14, 9, 0);
    a.resolvedTime = At(3, 5, 14, 10, 30);
    return a;
}

inline AlarmNotificationInput RequestBusyAlarm() {
    AlarmNotificationInput a = Alarm(5, "Request", 33, "Trunk Busy", "No trunk free");
    a.context.fiveFields = {"MX01", "MX02", "CAM1", "T/-", " DIR"};
    return a;
}

}  // namespace corvane::testing
