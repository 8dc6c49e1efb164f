#include "presentation/SortData.h"

#include <strings.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

namespace corvane {
namespace {

int Sign(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// Dates as the lists show them: "YYYY-MM-DD HH:MM:SS", or the date or time alone.
std::optional<std::time_t> ParseDateTime(const std::string& text) {
    static const char* formats[] = {"%Y-%m-%d %H:%M:%S", "%Y-%m-%d %H:%M", "%Y-%m-%d",
                                    "%m/%d/%Y %H:%M:%S", "%m/%d/%Y",       "%H:%M:%S"};
    for (const char* format : formats) {
        std::tm tm{};
        tm.tm_isdst = -1;
        const char* end = strptime(text.c_str(), format, &tm);
        if (end != nullptr && *end == '\0') {
            if (tm.tm_year == 0 && tm.tm_mday == 0) {
                tm.tm_year = 70;
                tm.tm_mday = 1;
            }
            return std::mktime(&tm);
        }
    }
    return std::nullopt;
}

}  // namespace

int CompareSortTexts(const std::string& first, const std::string& second, int kind) {
    const int d = kind < 0 ? -1 : 1;
    switch (std::abs(kind)) {
        case sortkind::kInteger: {
            const long long a = std::strtoll(first.c_str(), nullptr, 10);
            const long long b = std::strtoll(second.c_str(), nullptr, 10);
            return (a < b ? -1 : (a > b ? 1 : 0)) * d;
        }
        case sortkind::kReal: {
            // Values less than 1 apart compare equal.
            const double a = std::strtod(first.c_str(), nullptr);
            const double b = std::strtod(second.c_str(), nullptr);
            if (std::isnan(a) || std::isnan(b)) {
                return 0;
            }
            const double diff = a > b ? a - b : b - a;
            return diff < 1.0 ? 0 : (a < b ? -d : d);
        }
        case sortkind::kText:
            return Sign(std::strcoll(first.c_str(), second.c_str())) * d;
        case sortkind::kTextNoCase:
            return Sign(strcasecmp(first.c_str(), second.c_str())) * d;
        case sortkind::kTextEmptyLast:
            if (first.empty()) {
                return second.empty() ? 0 : 1;
            }
            if (second.empty()) {
                return -1;
            }
            return Sign(std::strcoll(first.c_str(), second.c_str())) * d;
        case sortkind::kDateTime: {
            const auto a = ParseDateTime(first);
            const auto b = ParseDateTime(second);
            if (!a || !b || *a == *b) {
                return 0;
            }
            return *a < *b ? -d : d;
        }
        default:
            return 0;
    }
}

}  // namespace corvane
