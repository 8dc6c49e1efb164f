#include "presentation/SortData.h"

#include <strings.h>

#include <algorithm>
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

// Dates as the lists show them: the time alone for today, the locale's date and time ("%c")
// for other days; and the stored form "YYYY-MM-DD HH:MM:SS" with its shorter forms.
std::optional<std::time_t> ParseDateTime(const std::string& text) {
    static const char* formats[] = {"%Y-%m-%d %H:%M:%S", "%Y-%m-%d %H:%M", "%Y-%m-%d",
                                    "%m/%d/%Y %H:%M:%S", "%m/%d/%Y",       "%c"};
    for (const char* format : formats) {
        std::tm tm{};
        tm.tm_isdst = -1;
        const char* end = strptime(text.c_str(), format, &tm);
        if (end != nullptr && *end == '\0') {
            return std::mktime(&tm);
        }
    }
    std::tm tm{};
    const char* end = strptime(text.c_str(), "%H:%M:%S", &tm);
    if (end == nullptr || *end != '\0') {
        return std::nullopt;
    }
    // A time alone is today's.
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    today.tm_hour = tm.tm_hour;
    today.tm_min = tm.tm_min;
    today.tm_sec = tm.tm_sec;
    today.tm_isdst = -1;
    return std::mktime(&today);
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
            const double a = std::strtod(first.c_str(), nullptr);
            const double b = std::strtod(second.c_str(), nullptr);
            if (std::isnan(a) || std::isnan(b)) {
                return 0;
            }
            return (a < b ? -1 : (a > b ? 1 : 0)) * d;
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

std::vector<size_t> SortOrder(const std::vector<std::string>& texts, int kind) {
    std::vector<size_t> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    // Stable, and safe with kinds that are no strict order (equal dates beside unreadable
    // texts): merge sorting never walks past the ends.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return CompareSortTexts(texts[a], texts[b], kind) < 0;
    });
    return order;
}

}  // namespace corvane
