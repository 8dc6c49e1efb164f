#include "store/DaoValue.h"

#include <cctype>
#include <cstdio>
#include <ctime>

#include "platform/Format.h"

namespace corvane {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) {
        s.remove_prefix(1);
    }
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
        s.remove_suffix(1);
    }
    return s;
}

// mktime is slow and dates cluster: one cached hour serves most conversions. Zones shift
// on whole hours, or half hours at most, so an hour at a time is exact outside the shift.
struct HourCache {
    int year = -1, month = -1, day = -1, hour = -1;
    std::time_t start = 0;
    bool valid = false;
};

bool LocalToTime(int year, int month, int day, int hour, int minute, int second, std::time_t& out) {
    thread_local HourCache cache;
    if (!(cache.valid && cache.year == year && cache.month == month && cache.day == day &&
          cache.hour == hour)) {
        std::tm tm{};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_isdst = -1;
        const std::time_t start = std::mktime(&tm);
        if (start == static_cast<std::time_t>(-1) || tm.tm_hour != hour || tm.tm_mday != day) {
            // An hour that does not exist locally (a forward shift): take mktime's answer
            // for the full time without caching it.
            std::tm full{};
            full.tm_year = year - 1900;
            full.tm_mon = month - 1;
            full.tm_mday = day;
            full.tm_hour = hour;
            full.tm_min = minute;
            full.tm_sec = second;
            full.tm_isdst = -1;
            out = std::mktime(&full);
            cache.valid = false;
            // A day the month does not have is no date.
            return out != static_cast<std::time_t>(-1) && full.tm_mon == month - 1 &&
                   full.tm_mday == day;
        }
        cache = {year, month, day, hour, start, true};
    }
    out = cache.start + minute * 60 + second;
    return true;
}

}  // namespace

DaoColumnType ParseDeclaredType(std::string_view declared) {
    const std::string_view d = Trim(declared);
    if (EqualsNoCase(d, "BOOLEAN")) {
        return {DaoType::Boolean, 0, true};
    }
    if (EqualsNoCase(d, "SMALLINT")) {
        return {DaoType::Integer, 0, true};
    }
    if (EqualsNoCase(d, "INTEGER")) {
        return {DaoType::Long, 0, true};
    }
    if (EqualsNoCase(d, "DATETIME")) {
        return {DaoType::Date, 0, true};
    }
    if (d.size() > 6 && EqualsNoCase(d.substr(0, 5), "TEXT(") && d.back() == ')') {
        int width = 0;
        for (const char c : d.substr(5, d.size() - 6)) {
            if (c < '0' || c > '9' || width > 100000) {
                return {DaoType::Text, 0, false};
            }
            width = width * 10 + (c - '0');
        }
        return {DaoType::Text, width, width > 0};
    }
    return {DaoType::Text, 0, EqualsNoCase(d, "TEXT")};
}

std::string DeclaredType(DaoType type, int width) {
    switch (type) {
        case DaoType::Boolean:
            return "BOOLEAN";
        case DaoType::Integer:
            return "SMALLINT";
        case DaoType::Long:
            return "INTEGER";
        case DaoType::Date:
            return "DATETIME";
        case DaoType::Text:
            break;
    }
    return width > 0 ? StrFormat("TEXT(%d)", width) : "TEXT";
}

std::string FormatDaoDate(WallTime time) {
    const std::time_t t =
        std::chrono::system_clock::to_time_t(std::chrono::floor<std::chrono::seconds>(time));
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

bool ParseDaoDate(std::string_view text, WallTime& time) {
    // Exactly "YYYY-MM-DD HH:MM:SS"; anything else is not a date of this store.
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return false;
    }
    auto number = [&](size_t at, size_t count, int& out) {
        out = 0;
        for (size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return false;
            }
            out = out * 10 + (text[i] - '0');
        }
        return true;
    };
    int year, month, day, hour, minute, second;
    if (!number(0, 4, year) || !number(5, 2, month) || !number(8, 2, day) || !number(11, 2, hour) ||
        !number(14, 2, minute) || !number(17, 2, second)) {
        return false;
    }
    // The wall clock counts nanoseconds: it holds the years 1678 to 2261 only.
    if (year < 1678 || year > 2261 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 ||
        minute > 59 || second > 60) {
        return false;
    }
    std::time_t t = 0;
    if (!LocalToTime(year, month, day, hour, minute, second, t)) {
        return false;
    }
    time = std::chrono::system_clock::from_time_t(t);
    return true;
}

bool CutToWidth(std::string& text, int width) {
    if (width <= 0 || text.size() <= static_cast<size_t>(width)) {
        return false;
    }
    int characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation) {
            if (characters == width) {
                text.resize(i);
                return true;
            }
            ++characters;
        }
    }
    return false;
}

DaoValue DaoValue::Date(WallTime time) {
    return DateText(FormatDaoDate(time));
}

DaoValue DaoValue::DateText(std::string text) {
    DaoValue v(std::move(text));
    v.date_ = true;
    return v;
}

int64_t DaoValue::AsInteger() const {
    if (const auto* i = std::get_if<int64_t>(&value_)) {
        return *i;
    }
    if (const auto* d = std::get_if<double>(&value_)) {
        return static_cast<int64_t>(*d);
    }
    return 0;
}

double DaoValue::AsReal() const {
    if (const auto* d = std::get_if<double>(&value_)) {
        return *d;
    }
    return static_cast<double>(AsInteger());
}

const std::string& DaoValue::AsText() const {
    static const std::string empty;
    const auto* s = std::get_if<std::string>(&value_);
    return s != nullptr ? *s : empty;
}

bool DaoValue::AsDate(WallTime& time) const {
    return IsText() && ParseDaoDate(AsText(), time);
}

std::string DaoValue::ToText() const {
    if (const auto* i = std::get_if<int64_t>(&value_)) {
        return std::to_string(*i);
    }
    if (const auto* d = std::get_if<double>(&value_)) {
        return StrFormat("%g", *d);
    }
    return AsText();
}

}  // namespace corvane
