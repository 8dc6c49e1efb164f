#pragma once

#include <string>
#include <vector>

#include "model/NameTables.h"

namespace corvane {

// One entry of a choice list (a combo box of the user interface): its text and item data.
struct Choice {
    std::string text;
    int data = 0;

    bool operator==(const Choice&) const = default;
};
using ChoiceList = std::vector<Choice>;

// The alarm setup kinds 0-6 with the kind as data, leaving out kind 4 always, kind 3 when no
// analyzer is configured, kind 1 unless the Tonexa is and kind 6 unless the RT-2M is.
ChoiceList AlarmSetupKindChoices(const CNameTables& names, int configuredAnalyzer);
// The three analyzer names with data 0-2.
ChoiceList AnalyzerChoices(const CNameTables& names);
// "All function types" (data INT_MAX), then the short names of types 0-6 and 8.
ChoiceList FunctionTypeChoices();

// The index of the entry with this data, -1 when none has it.
int FindChoiceByData(const ChoiceList& choices, int data);
// The entry to select for this data: its index, else the first entry (-1 when empty).
int SelectChoiceByData(const ChoiceList& choices, int data);

}  // namespace corvane
