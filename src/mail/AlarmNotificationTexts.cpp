#include "mail/AlarmNotificationTexts.h"

#include "platform/Format.h"
#include "platform/StringTable.h"

namespace corvane {
namespace {

constexpr size_t kPagerLineWidth = 20;

bool IsUnresolved(const AlarmNotificationInput& alarm) {
    return alarm.state == LoadString(ids::kAlarmStateUnresolved);
}

unsigned Instance(const AlarmNotificationInput& alarm) {
    return static_cast<unsigned>(alarm.deviceInstance);
}

}  // namespace

std::string FormatNotificationTime(const std::optional<LocalTime>& time) {
    if (!time) {
        return "";
    }
    return StrFormat("%02d/%02d/%04d %02d:%02d:%02d", time->month, time->day, time->year,
                     time->hour, time->minute, time->second);
}

std::string EmailDeviceText(const AlarmNotificationInput& alarm) {
    const char* type = alarm.deviceType.c_str();
    const AlarmContextFields& c = alarm.context;
    switch (alarm.kind) {
        case 2:
            return c.oneAlpha ? StrFormat("%s (%s)", type, c.oneAlpha->c_str())
                              : StrFormat("%s #%u", type, Instance(alarm));
        case 3:
        case 4:
            return c.twoAlphas ? StrFormat("%s #%u (%s/%s)", type, Instance(alarm),
                                           (*c.twoAlphas)[0].c_str(), (*c.twoAlphas)[1].c_str())
                               : StrFormat("%s #%u", type, Instance(alarm));
        case 5:
            return c.fiveFields
                       ? StrFormat("%s #%u (%s/%s)", type, Instance(alarm),
                                   c.fiveFields->alpha1.c_str(), c.fiveFields->alpha2.c_str())
                       : StrFormat("%s #%u", type, Instance(alarm));
        default:
            return alarm.deviceType;
    }
}

std::string EmailSubject(const AlarmNotificationInput& alarm) {
    std::string subject =
        StrFormat("VORLIN Alarm : %s %s", EmailDeviceText(alarm).c_str(), alarm.alarmType.c_str());
    if (alarm.resolvedTime) {
        subject += IsUnresolved(alarm) ? " [UNRESOLVED]" : " [RESOLVED]";
    }
    return subject;
}

std::string EmailBody(const AlarmNotificationInput& alarm) {
    std::string body = "The Corvane has detected an alarm condition:\r\n\r\n";
    body += StrFormat("  Date/Time: %s\r\n", FormatNotificationTime(alarm.alarmTime).c_str());
    body += StrFormat("   Category: %s\r\n", EmailDeviceText(alarm).c_str());
    body += StrFormat(" Alarm Type: %s\r\n", alarm.alarmType.c_str());
    body += StrFormat("Description: %s\r\n", alarm.description.c_str());
    if (alarm.acknowledgedTime || alarm.resolvedTime) {
        body += "\r\nAdditional information:\r\n\r\n";
        if (alarm.acknowledgedTime) {
            body += StrFormat("This alarm condition was acknowledged at: %s\r\n",
                              FormatNotificationTime(alarm.acknowledgedTime).c_str());
        }
        if (alarm.resolvedTime) {
            body += StrFormat(IsUnresolved(alarm)
                                  ? "The request causing this alarm was aborted at: %s\r\n"
                                  : "This alarm condition was resolved at: %s\r\n",
                              FormatNotificationTime(alarm.resolvedTime).c_str());
        }
    }
    body +=
        "\r\nThis message has been automatically generated\r\nby the Corvane system to inform "
        "you\r\nthat an alarm condition requiring notification\r\nhas occurred.";
    return body;
}

std::vector<std::string> PagerLines(const AlarmNotificationInput& alarm) {
    const AlarmContextFields& c = alarm.context;
    std::vector<std::string> lines;
    switch (alarm.kind) {
        case 1:
            lines.push_back(alarm.alarmType == "Communication" ? "Tonexa Comm Fail"
                                                               : "Tonexa Test Fail");
            break;
        case 6:
            lines.push_back(alarm.alarmType == "Communication"  ? "RT-2M Comm Fail"
                            : alarm.alarmType == "Test Failure" ? "RT-2M Test Fail"
                                                                : "RT-2M Malfunction");
            break;
        case 2:
            lines.push_back(c.oneAlpha ? StrFormat("Icom %s Comm Fail", c.oneAlpha->c_str())
                                       : StrFormat("Icom #%u Comm Fail", Instance(alarm)));
            break;
        case 3:
        case 4:
            lines.push_back(StrFormat("Trunk #%d %s", alarm.deviceInstance,
                                      alarm.kind == 3 ? "Test Fail" : "Test Err"));
            if (c.twoAlphas) {
                lines.push_back(StrFormat("Icoms (%s/%s)", (*c.twoAlphas)[0].c_str(),
                                          (*c.twoAlphas)[1].c_str()));
            } else if (alarm.trunkEndIntercoms) {
                lines.push_back(StrFormat("Icoms (%u/%u)", alarm.trunkEndIntercoms->first,
                                          alarm.trunkEndIntercoms->second));
            }
            break;
        case 5:
            if (c.fiveFields) {
                const AlarmContextFields::FiveFields& f = *c.fiveFields;
                lines.push_back(StrFormat(" TK_Busy:(%s/%s) ", f.alpha1.c_str(), f.alpha2.c_str()));
                lines.push_back(
                    StrFormat("%s : %s : %s", f.alpha3.c_str(), f.flags.c_str(), f.alpha4.c_str()));
            } else {
                lines.push_back("Trunk Request Busy");
                lines.push_back(StrFormat("Request #%u", Instance(alarm)));
            }
            break;
        default:
            lines.push_back("Quillex Comm Fail");
            break;
    }
    lines.push_back(FormatNotificationTime(alarm.resolvedTime       ? alarm.resolvedTime
                                           : alarm.acknowledgedTime ? alarm.acknowledgedTime
                                                                    : alarm.alarmTime));
    return lines;
}

std::string PagerSubject(const AlarmNotificationInput& alarm) {
    if (alarm.resolvedTime) {
        return IsUnresolved(alarm) ? "VORLIN Alarm-??" : "VORLIN Alarm-OK";
    }
    return alarm.acknowledgedTime ? "VORLIN Alarm-AC" : "VORLIN Alarm   ";
}

std::string PagerBody(const AlarmNotificationInput& alarm) {
    std::string body;
    for (std::string line : PagerLines(alarm)) {
        if (line.size() < kPagerLineWidth) {
            line.resize(kPagerLineWidth, ' ');
        }
        body += line;
    }
    return body;
}

}  // namespace corvane
