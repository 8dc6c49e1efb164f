#pragma once

#include <string>
#include <vector>

namespace corvane {

class CProfileStore;

// The column widths and order a list kind keeps in "Preferences": the widths as two bytes a
// column, high byte first (0xFFFF for a column without a width of its own), and the order (the
// columns from left to right) as one 32-bit integer a column, low byte first. One pair of values
// serves every list of the kind, also when the lists have different numbers of columns (the
// intercom list follows what the controller reports).
struct ListColumnLayout {
    std::vector<int> widths;  // a column without a width of its own: kNoWidth
    std::vector<int> order;   // always a permutation of the columns

    static constexpr int kNoWidth = -1;
};

// The layout saved for a list of this many columns. Saved widths past the last column are
// ignored. The saved order is taken as far as it is sound: entries outside the columns and
// repeated entries are dropped, and the columns it lacks follow in their own order.
ListColumnLayout LoadListColumnLayout(const CProfileStore& profile, const std::string& widthsKey,
                                      const std::string& orderKey, int columns);
// False when the profile could not be saved.
bool SaveListColumnLayout(CProfileStore& profile, const std::string& widthsKey,
                          const std::string& orderKey, const ListColumnLayout& layout);

// A sound order of this many columns from any list of numbers, as the loader takes it.
std::vector<int> SoundColumnOrder(const std::vector<int>& order, int columns);

// The order to save: the hidden columns keep their places in the saved order, and the shown
// columns, in their order on screen, fill the other places in turn.
std::vector<int> MergeColumnOrder(const std::vector<int>& saved, const std::vector<int>& shown,
                                  const std::vector<bool>& hidden);

// The order on screen when a hidden column is shown again: it stands after as many shown
// columns as precede it in the saved order. screen: every column, hidden ones included.
std::vector<int> OrderWithColumnShown(const std::vector<int>& screen, const std::vector<int>& saved,
                                      const std::vector<bool>& hidden, int column);

}  // namespace corvane
