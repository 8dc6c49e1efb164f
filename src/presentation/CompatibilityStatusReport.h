#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace corvane {

class CAuthStat;

// One intercom's compatibility status as the dialog reads it.
struct CompatibilityStatusEntry {
    int index = 0;      // 0-254
    int state = 0;      // 2 incompatible, 3 isolated; others are not listed
    int minutes = 0;    // minutes left before isolation, while incompatible
    uint8_t flags = 0;  // CAuthStat change flags read (and cleared) with the state
    std::string name;
};

// One row of the report list.
struct CompatibilityStatusRow {
    int index = 0;
    std::string number;  // index + 1
    std::string name;
    std::string status;
    friend bool operator==(const CompatibilityStatusRow&, const CompatibilityStatusRow&) = default;
};

struct CompatibilityStatusReport {
    std::vector<CompatibilityStatusRow> rows;
    std::string message;  // paragraphs separated by an empty line
    // Nothing to warn about: the dialog closes.
    bool close = false;
};

// The intercoms 0-254 that have a status of 2 or 3, their change flags cleared in the same
// step as they are read.
std::vector<CompatibilityStatusEntry> CollectCompatibilityStatusEntries(
    const std::function<CAuthStat*(int)>& authStat, const std::function<std::string(int)>& name);

CompatibilityStatusReport BuildCompatibilityStatusReport(
    const std::vector<CompatibilityStatusEntry>& entries);

// "1 day, 2 hours, 3 minutes": the parts that are not zero.
std::string IsolationDuration(int minutes);
// The status of an incompatible intercom.
std::string IncompatibleStatusText(int minutes);

// Column 0 compares as whole numbers, the others as text.
int CompatibilitySortKind(int column);

// The texts of the report, by string id (5387-5402).
const std::string& CompatibilityString(int id);

}  // namespace corvane
