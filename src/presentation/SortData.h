#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "document/ViewHintBus.h"

namespace corvane {

// Sort column and direction of one list, the payload of the sort hint.
struct CVorlinSortData : CHintPayload {
    CVorlinSortData() = default;
    CVorlinSortData(bool a, int c) : ascending(a), column(c) {}
    bool ascending = true;
    int column = 1;  // display column, 0-based
};

// How the texts of a sortable column compare; a negative kind sorts descending.
namespace sortkind {
inline constexpr int kInteger = 1;
inline constexpr int kNone = 2;
inline constexpr int kReal = 3;
inline constexpr int kText = 4;
inline constexpr int kTextNoCase = 5;
inline constexpr int kTextEmptyLast = 6;
inline constexpr int kDateTime = 7;
}  // namespace sortkind

// <0, 0 or >0 as the first text sorts before, with or after the second. Kinds 3 (real
// numbers, NaN equal to everything) and 7 (dates, unreadable texts equal to everything) are
// no strict orders: sort with SortOrder, never with std::sort.
int CompareSortTexts(const std::string& first, const std::string& second, int kind);

// The rows' new order (old indexes in sorted order) by the texts of their sort column; rows
// that compare equal keep their order.
std::vector<size_t> SortOrder(const std::vector<std::string>& texts, int kind);

}  // namespace corvane
