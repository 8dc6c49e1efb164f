#include "presentation/ListCellText.h"

#include <charconv>
#include <ctime>
#include <string_view>

#include "document/VorlinDoc.h"
#include "model/ListCellMarker.h"
#include "platform/Format.h"
#include "store/AlarmContext.h"

namespace corvane {
namespace {

// The talk, listen and inactive flags at their shortest: "0/0/0".
constexpr size_t kShortestFlags = 5;

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0;;) {
        const size_t found = text.find(from, at);
        if (found == std::string_view::npos) {
            out.append(text.substr(at));
            return out;
        }
        out.append(text.substr(at, found - at)).append(to);
        at = found + from.size();
    }
}

// A whole decimal number without sign; false for anything else, the empty text included.
bool ParseNumber(std::string_view text, int& number) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    return !text.empty() && text[0] != '-' && ec == std::errc() && ptr == end;
}

std::string PortText(std::string_view rest) {
    int number = 0;
    if (rest.size() < 3 || !ParseNumber(rest.substr(2), number)) {
        return {};
    }
    const int type = FunctionTypeOfCode(std::string(rest.substr(0, 2)));
    if (!IsValidFunctionType(type, number)) {
        return {};
    }
    return "[" + CVorlinDoc::GetAlphaDisplayName(type, number) + "]";
}

std::string TalkListenInactive(std::string_view rest) {
    if (rest.size() < kShortestFlags) {
        return {};
    }
    std::string text = ReplaceAll(rest, "0", "-");
    const char* letters = "TLI";
    for (size_t i = 0; i < 3; ++i) {
        // Each flag stands two further on than the last, counted after its replacement.
        const size_t at = 2 * i;
        if (at + 2 <= text.size() && text.compare(at, 2, "-1") == 0) {
            text.replace(at, 2, 1, letters[i]);
        }
    }
    return text;
}

std::string AlarmDeviceText(std::string_view rest, const IListCellNames& names,
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

// A text that begins with the marker byte is always read as marked, so the bare marker of a
// null value shows empty instead of a control character and a letter. Nested markers are
// taken off in one pass over the text, without copies, however deep they go.
std::string MarkedText(std::string_view text, const IListCellNames& names,
                       const AlarmDeviceCells* alarm) {
    for (;;) {
        if (text.empty() || text[0] != kListCellMarker) {
            return std::string(text);
        }
        if (text.size() < 2) {
            return {};
        }
        const char letter = text[1];
        std::string_view rest = text.substr(2);
        switch (letter) {
            case 'c':
                if (rest.starts_with("-1")) {
                    rest.remove_prefix(2);
                } else if (rest.starts_with("0")) {
                    return {};
                }
                text = rest;
                continue;
            case 'b':
                return ReplaceAll(ReplaceAll(rest, "0", "-"), "-1", "Y");
            case 't':
                return TalkListenInactive(rest);
            case 'g':
                return PortText(rest);
            case 'a':
                return AlarmDeviceText(rest, names, alarm);
            default:
                return std::string(rest);
        }
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
