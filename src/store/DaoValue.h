#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "platform/Clock.h"

namespace corvane {

// Column kinds, with the engine type codes the system knows them by.
enum class DaoType : int { Boolean = 1, Integer = 3, Long = 4, Date = 8, Text = 10 };

// The declared type of a column says its kind and, for text, its width:
// "BOOLEAN", "SMALLINT" (16-bit), "INTEGER" (32-bit), "DATETIME", "TEXT(n)".
struct DaoColumnType {
    DaoType type = DaoType::Text;
    int width = 0;       // text only; 0 means no limit
    bool known = false;  // false: a declared type this store never writes
};
DaoColumnType ParseDeclaredType(std::string_view declared);
std::string DeclaredType(DaoType type, int width);

// Dates are stored as local-time text "YYYY-MM-DD HH:MM:SS".
std::string FormatDaoDate(WallTime time);
bool ParseDaoDate(std::string_view text, WallTime& time);

// Cuts UTF-8 text to at most width characters (never inside a character); true when cut.
bool CutToWidth(std::string& text, int width);

// A value handed to the engine as a parameter, or read from a column nothing is bound to.
class DaoValue {
public:
    DaoValue() = default;  // null
    DaoValue(int v) : value_(static_cast<int64_t>(v)) {}
    DaoValue(long v) : value_(static_cast<int64_t>(v)) {}
    DaoValue(long long v) : value_(static_cast<int64_t>(v)) {}
    DaoValue(bool v) : value_(static_cast<int64_t>(v ? -1 : 0)) {}  // the engine's true is -1
    DaoValue(double v) : value_(v) {}
    DaoValue(std::string v) : value_(std::move(v)) {}
    DaoValue(const char* v) : value_(std::string(v)) {}
    static DaoValue Date(WallTime time);
    // Text read from a date column.
    static DaoValue DateText(std::string text);

    bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsInteger() const { return std::holds_alternative<int64_t>(value_); }
    bool IsReal() const { return std::holds_alternative<double>(value_); }
    bool IsText() const { return std::holds_alternative<std::string>(value_); }
    bool IsDate() const { return date_; }

    int64_t AsInteger() const;  // 0 for null and text
    double AsReal() const;
    const std::string& AsText() const;  // empty unless text
    bool AsDate(WallTime& time) const;  // false unless a readable date
    // Numbers in decimal, text as it is, null empty.
    std::string ToText() const;

    bool operator==(const DaoValue& other) const = default;

private:
    std::variant<std::monostate, int64_t, double, std::string> value_;
    bool date_ = false;
};

}  // namespace corvane
