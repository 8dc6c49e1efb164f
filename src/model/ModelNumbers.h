#pragma once

#include <climits>
#include <cstdint>

namespace corvane {

// The value of a numeric model field that has no value.
inline constexpr int kNone = INT_MAX;

// Array sizes: the model numbers intercoms 1-256 and trunks 1-10000 and uses them as indices.
// Intercom entry 0 holds the per-intercom totals of the trunk-summary counts; trunk entry 0 is
// never used.
inline constexpr int kIntercomCount = 257;
inline constexpr int kTrunkCount = 10001;
inline constexpr int kMaxPortNumber = 1024;
inline constexpr int kQueuedRequestsPerIntercom = 100;
inline constexpr int kUsagesPerTrunk = 16;

// Function types 0-8; type 7 is the intercom itself (its name), the others are alpha-bearing.
inline constexpr int kFunctionTypeCount = 9;
inline constexpr int kIntercomFunctionType = 7;

// A number from the controller (0-based) as the model numbers it (1-based). None, and every
// value that is INT_MAX or more when read as unsigned (so every negative one), passes through
// unchanged and fails the range checks.
inline int ToModelNumber(int value, bool oneBased) {
    if (oneBased || static_cast<uint32_t>(value) >= static_cast<uint32_t>(kNone)) {
        return value;
    }
    return value + 1;
}

// The next number, unless the value is none (INT_MAX or more as unsigned).
inline int IncrementUnlessNone(int value) {
    return static_cast<uint32_t>(value) >= static_cast<uint32_t>(kNone) ? value : value + 1;
}

inline bool IsIntercomNumber(int n) {
    return n >= 1 && n < kIntercomCount;
}
inline bool IsTrunkNumber(int n) {
    return n >= 1 && n < kTrunkCount;
}
inline bool IsPortNumber(int n) {
    return n >= 1 && n <= kMaxPortNumber;
}
inline bool IsFunctionType(int type) {
    return type >= 0 && type < kFunctionTypeCount;
}

// An alpha-bearing function type (0-6 or 8) with a number of at most 1024.
inline bool IsValidFunctionType(int type, int number) {
    return IsFunctionType(type) && type != kIntercomFunctionType && number >= 0 &&
           number <= kMaxPortNumber;
}

}  // namespace corvane
