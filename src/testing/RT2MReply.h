#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Limits on what the analyzer may send; anything beyond them is an invalid reply.
inline constexpr size_t kRT2MMaxReplyBytes = 4096;
inline constexpr size_t kRT2MMaxErrorCodes = 64;
inline constexpr size_t kRT2MMaxCodeDigits = 5;
inline constexpr double kRT2MMaxDecibels = 1000.0;

// What one receive holds: the last complete line is the response; the complete lines
// before it are stale answers to earlier commands.
struct RT2MReceived {
    std::vector<std::string> stale;
    std::optional<std::string> response;  // without its CR LF
    std::string incomplete;               // bytes after the last LF
};
RT2MReceived SplitRT2MReceived(std::string_view bytes);

// "SYSTEM:ERRORS?": a comma-separated list of decimal codes; none when any token is empty,
// not all digits or too long, or the list is too long.
std::optional<std::vector<unsigned>> ParseRT2MErrorList(std::string_view answer);

// "MEASUREMENT1:LEVEL?": "%u/%le DB".
struct RT2MLevelReading {
    unsigned bin = 0;
    double decibels = 0;
};
std::optional<RT2MLevelReading> ParseRT2MLevel(std::string_view answer);
// "MEASUREMENT1:HEADROOM?": "%le DB".
std::optional<double> ParseRT2MHeadroom(std::string_view answer);

}  // namespace corvane
