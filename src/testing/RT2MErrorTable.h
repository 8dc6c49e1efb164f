#pragma once

#include <span>

namespace corvane {

// What the driver must do about an error the analyzer reports.
namespace rt2mclass {
inline constexpr int kNone = 0;
inline constexpr int kRetransmitInterface = 1;  // interface and line errors
inline constexpr int kRetransmitSyntax = 2;     // command syntax and parameters
inline constexpr int kResetMode = 3;            // not executable in the present mode
inline constexpr int kResetState = 4;
inline constexpr int kMalfunctionOption = 5;  // option or interface not available
inline constexpr int kRetest = 6;             // the measurement must be repeated
inline constexpr int kMalfunction = 7;        // hardware faults
}  // namespace rt2mclass

struct RT2MError {
    unsigned code;
    const char* text;
    int actionClass;
};

// The entry of a code; codes the table does not hold are service (600-799) or unknown
// errors, both malfunctions.
const RT2MError& LookupRT2MError(unsigned code);
// Every code of the table, ascending.
std::span<const RT2MError> RT2MErrorTable();

inline bool IsRetransmitClass(int c) {
    return c == rt2mclass::kRetransmitInterface || c == rt2mclass::kRetransmitSyntax;
}
inline bool IsResetClass(int c) {
    return c == rt2mclass::kResetMode || c == rt2mclass::kResetState;
}
inline bool IsMalfunctionClass(int c) {
    return c == rt2mclass::kMalfunctionOption || c == rt2mclass::kMalfunction;
}

}  // namespace corvane
