#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "presentation/FilterData.h"
#include "presentation/ViewId.h"

namespace corvane {

class CIntercomsRS;

// Images of the navigation tree, by their place in the shared 16 x 16 image list.
namespace treeimage {
inline constexpr int kTrunkConflicts = 0, kIntercoms = 1, kAlphas = 2, kRequests = 3, kTrunks = 4,
                     kUnseenAlarms = 5, kAlarms = 6, kQuillex = 7, kIntercom = 7,
                     kGraphicalUsage = 8, kFunctionType = 9, kSavedLayout = 10;
}

// The tree's help context where no item is hit, and an item's popup help id.
inline constexpr uint32_t kTreeHelpContext = 0x200C6;
uint32_t TreeItemHelpId(ViewId id);

// One item of the navigation tree with the items below it, in order.
struct NavigationItem {
    std::string text;
    int image = 0;
    ViewId id = 0;
    std::vector<NavigationItem> children;
};

// The fixed items, each without children.
namespace treeitem {
NavigationItem Quillex();
NavigationItem Intercoms();
NavigationItem Alarms(bool unseenAlarms);
NavigationItem GraphicalUsage();
// "All Alphas", "All Requests", "All Trunks", "Trunk Conflicts": the root's last children.
std::vector<NavigationItem> AllViews();
// A saved layout below "Graphical Usage".
NavigationItem Layout(int index, std::string name);
// An intercom with its "Alphas" (one child per alpha-bearing function type), "Requests" and
// "Trunks".
NavigationItem Intercom(int number, std::string text);
}  // namespace treeitem

// Intercom and layout items stand in this order among their siblings: by text without regard
// to the case of ASCII letters, then by bytes.
bool TreeTextLess(std::string_view a, std::string_view b);

struct TreeIntercom {
    int number = 0;
    std::string text;
};
// The intercoms the tree lists, walking the recordset from its first row: those with a name
// (without trailing blanks) and, with showNameless, the others under the name the document
// gives them. None when the table has no rows at all. Throws CDaoException.
std::optional<std::vector<TreeIntercom>> ReadTreeIntercoms(CIntercomsRS& rs, bool showNameless,
                                                           const FilterNameSource& names);

}  // namespace corvane
