#include "testing/RT2MReply.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace corvane {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// A run of 1 to kRT2MMaxCodeDigits digits, the whole token.
std::optional<unsigned> ParseCode(std::string_view token) {
    if (token.empty() || token.size() > kRT2MMaxCodeDigits) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : token) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

size_t SkipDigits(std::string_view s, size_t i) {
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
    }
    return i;
}

// A decimal number with an optional exponent at the front of s, as the analyzer writes
// levels ("-1.234E+01"); returns the characters it took, 0 when there is no number.
size_t ScanNumber(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    const size_t intStart = i;
    i = SkipDigits(s, i);
    size_t digits = i - intStart;
    if (i < s.size() && s[i] == '.') {
        const size_t fracStart = ++i;
        i = SkipDigits(s, i);
        digits += i - fracStart;
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            ++j;
        }
        const size_t expStart = j;
        j = SkipDigits(s, j);
        if (j == expStart) {
            return 0;
        }
        i = j;
    }
    return i;
}

// "<number> DB" with any blanks before the unit and nothing after it.
std::optional<double> ParseDecibels(std::string_view s) {
    const size_t n = ScanNumber(s);
    if (n == 0 || n > 64) {
        return std::nullopt;
    }
    // from_chars takes no '+' and ignores the locale.
    const size_t sign = s.front() == '+' ? 1 : 0;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data() + sign, s.data() + n, value);
    if (ec != std::errc() || end != s.data() + n || !std::isfinite(value) ||
        std::fabs(value) > kRT2MMaxDecibels) {
        return std::nullopt;
    }
    std::string_view rest = s.substr(n);
    while (!rest.empty() && IsBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    if (rest != "DB") {
        return std::nullopt;
    }
    return value;
}

}  // namespace

RT2MReceived SplitRT2MReceived(std::string_view bytes) {
    RT2MReceived out;
    size_t start = 0;
    for (size_t lf = bytes.find('\n'); lf != std::string_view::npos; lf = bytes.find('\n', start)) {
        std::string_view line = bytes.substr(start, lf - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (out.response) {
            out.stale.push_back(std::move(*out.response));
        }
        out.response = std::string(line);
        start = lf + 1;
    }
    out.incomplete = std::string(bytes.substr(start));
    return out;
}

std::optional<std::vector<unsigned>> ParseRT2MErrorList(std::string_view answer) {
    answer = TrimBlanks(answer);
    std::vector<unsigned> codes;
    for (;;) {
        const size_t comma = answer.find(',');
        const std::optional<unsigned> code = ParseCode(answer.substr(0, comma));
        if (!code || codes.size() == kRT2MMaxErrorCodes) {
            return std::nullopt;
        }
        codes.push_back(*code);
        if (comma == std::string_view::npos) {
            return codes;
        }
        answer.remove_prefix(comma + 1);
    }
}

std::optional<RT2MLevelReading> ParseRT2MLevel(std::string_view answer) {
    answer = TrimBlanks(answer);
    const size_t slash = answer.find('/');
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<unsigned> bin = ParseCode(answer.substr(0, slash));
    const std::optional<double> level = ParseDecibels(answer.substr(slash + 1));
    if (!bin || !level) {
        return std::nullopt;
    }
    return RT2MLevelReading{*bin, *level};
}

std::optional<double> ParseRT2MHeadroom(std::string_view answer) {
    return ParseDecibels(TrimBlanks(answer));
}

}  // namespace corvane
