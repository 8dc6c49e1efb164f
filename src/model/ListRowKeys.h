#pragma once

#include <string>

#include "model/NameTables.h"

namespace corvane {

// A key column of a list row as a number: a whole decimal number, else INT_MAX.
int ParseListKey(const std::string& text);

// The keys of a selected row of the trunk list.
struct SelectedTrunkRow {
    int trunk = 0;         // INT_MAX when the text is no number
    int state = 0;         // 0-3 by the trunk state names, 0 for any other text
    int outOfService = 0;  // 1 for "Y", 0 for anything else
    int testResult = 6;    // 0-5 by the test result names, 6 for any other text
};
SelectedTrunkRow ParseSelectedTrunkRow(const CNameTables& names, const std::string& trunk,
                                       const std::string& state, const std::string& outOfService,
                                       const std::string& testResult);

}  // namespace corvane
