#pragma once

#include <string_view>

namespace corvane {

// Function codes of matrix ports by function type 0-8, as stored in the Function columns.
inline constexpr std::string_view kFunctionCodes[] = {"PP", "PL", "IF", "SL", "RY",
                                                      "IS", "UR", "MX", "IL"};
inline constexpr int kFunctionTypes = 9;

// Types 0-6 and 8; 7 ("MX") is never queried.
inline constexpr bool IsValidFunctionType(int type) {
    return type >= 0 && type < kFunctionTypes && type != 7;
}

// The function type of a stored code, -1 for none (codes compare as the column does,
// without case).
int FunctionTypeOfCode(std::string_view code);

}  // namespace corvane
