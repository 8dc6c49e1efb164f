#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"

namespace corvane {

// The alpha fields an alarm's Context text splits into, as the context readers give them
// (one alpha trimmed; the other fields with their leading blanks).
struct AlarmContextFields {
    struct FiveFields {
        std::string alpha1, alpha2, alpha3, flags, alpha4;
    };
    std::optional<std::string> oneAlpha;
    std::optional<std::array<std::string, 2>> twoAlphas;
    std::optional<FiveFields> fiveFields;
};

// One alarm row whose notification is due, with what the texts need from the model.
struct AlarmNotificationInput {
    int64_t alarmId = 0;
    int kind = 0;  // AlarmSetupKind 0-6
    std::string deviceType;
    int32_t deviceInstance = 0;
    std::string alarmType;  // the category name
    std::string description;
    std::string state;
    AlarmContextFields context;
    std::optional<LocalTime> alarmTime;
    std::optional<LocalTime> resolvedTime;
    std::optional<LocalTime> acknowledgedTime;
    // End1 and End2 intercom of the trunk (trunk test kinds), none when it is out of range.
    std::optional<std::pair<unsigned, unsigned>> trunkEndIntercoms;
};

// "%m/%d/%Y %H:%M:%S", or empty for no time.
std::string FormatNotificationTime(const std::optional<LocalTime>& time);

// The device text of the e-mail: the device type with its number and alpha names.
std::string EmailDeviceText(const AlarmNotificationInput& alarm);
std::string EmailSubject(const AlarmNotificationInput& alarm);
std::string EmailBody(const AlarmNotificationInput& alarm);

// The pager message's lines before padding, its last line the time that chose the subject.
std::vector<std::string> PagerLines(const AlarmNotificationInput& alarm);
std::string PagerSubject(const AlarmNotificationInput& alarm);
// The lines, each padded with blanks to 20 characters, joined without separators.
std::string PagerBody(const AlarmNotificationInput& alarm);

}  // namespace corvane
