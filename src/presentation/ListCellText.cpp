#include "presentation/ListCellText.h"

#include <charconv>
#include <ctime>

#include "document/VorlinDoc.h"
#include "platform/Format.h"
#include "store/AlarmContext.h"

namespace corvane {
namespace {

constexpr char kMarker = '\x01';

bool HasMarker(const std::string& text) {
    return text.size() >= 3 && text[0] == kMarker;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// A whole decimal number without sign; false for anything else, the empty text included.
bool ParseNumber(const std::string& text, int& number) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    return !text.empty() && text[0] != '-' && ec == std::errc() && ptr == end;
}

std::string PortText(const std::string& rest) {
    const int type = FunctionTypeOfCode(rest.substr(0, 2));
    int number = 0;
    if (!ParseNumber(rest.size() < 2 ? "" : rest.substr(2), number) ||
        !IsValidFunctionType(type, number)) {
        return {};
    }
    return "[" + CVorlinDoc::GetAlphaDisplayName(type, number) + "]";
}

std::string TalkListenInactive(std::string text) {
    ReplaceAll(text, "0", "-");
    const char* letters = "TLI";
    for (size_t i = 0; i < 3; ++i) {
        if (text.compare(2 * i, 2, "-1") == 0) {
            text.replace(2 * i, 2, 1, letters[i]);
        }
    }
    return text;
}

std::string AlarmDeviceText(const std::string& rest, const IListCellNames& names,
                            const AlarmDeviceCells* alarm) {
    int instance = 0;
    if (alarm == nullptr || !ParseNumber(rest, instance)) {
        return {};
    }
    const auto& types = names.Names().deviceTypes;
    int type = -1;
    for (size_t i = 0; i < types.size(); ++i) {
        if (types[i] == alarm->deviceType) {
            type = static_cast<int>(i);
            break;
        }
    }
    std::string a1, a2, a3, flags, a4;
    switch (type) {
        case devicetype::kIntercom:
            return names.IntercomName(instance);
        case devicetype::kTrunk:
            if (ParseContextTwoAlphas(alarm->context, a1, a2)) {
                return StrFormat("#%d (%s/%s)", instance, a1.c_str(), a2.c_str());
            }
            return StrFormat("#%d", instance);
        case devicetype::kRequest:
            if (ParseContextFiveFields(alarm->context, a1, a2, a3, flags, a4)) {
                return StrFormat("#%d (%s/%s)", instance, a1.c_str(), a2.c_str());
            }
            return StrFormat("#%d", instance);
        default:
            return {};
    }
}

std::string MarkedText(const std::string& text, const IListCellNames& names,
                       const AlarmDeviceCells* alarm) {
    if (!HasMarker(text)) {
        return text;
    }
    const char letter = text[1];
    std::string rest = text.substr(2);
    switch (letter) {
        case 'c':
            if (rest.compare(0, 2, "-1") == 0) {
                rest.erase(0, 2);
            } else if (rest.compare(0, 1, "0") == 0) {
                return {};
            }
            return MarkedText(rest, names, alarm);
        case 'b':
            ReplaceAll(rest, "0", "-");
            ReplaceAll(rest, "-1", "Y");
            return rest;
        case 't':
            return TalkListenInactive(std::move(rest));
        case 'g':
            return PortText(rest);
        case 'a':
            return AlarmDeviceText(rest, names, alarm);
        default:
            return rest;
    }
}

std::string FormatLocal(WallTime time, const char* format) {
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[128];
    const size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, n);
}

}  // namespace

std::string ListDateText(WallTime time, WallTime now) {
    const LocalTime a = ToLocalTime(time);
    const LocalTime b = ToLocalTime(now);
    const bool today = a.year == b.year && a.month == b.month && a.day == b.day;
    return FormatLocal(time, today ? "%H:%M:%S" : "%c");
}

std::string ListCellText(const DaoValue& value, const IListCellNames& names,
                         const AlarmDeviceCells* alarm, WallTime now) {
    if (value.IsNull()) {
        return {};
    }
    if (WallTime time; value.IsDate()) {
        return value.AsDate(time) ? ListDateText(time, now) : value.ToText();
    }
    if (!value.IsText()) {
        return value.ToText();
    }
    return MarkedText(value.AsText(), names, alarm);
}

}  // namespace corvane
