#include "presentation/NavigationItems.h"

#include <algorithm>
#include <cctype>

#include "store/ComboFillers.h"
#include "store/FunctionCodes.h"
#include "store/TableRecordsets.h"

namespace corvane {
namespace {

NavigationItem Item(std::string text, int image, ViewKind kind, int index = kViewIdAll,
                    int sub = kViewIdAll) {
    return {std::move(text), image, MakeViewId(kind, index, sub), {}};
}

unsigned char Folded(char c) {
    return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

uint32_t TreeItemHelpId(ViewId id) {
    return 0x80C60000u | (static_cast<uint32_t>(id) & 0xFFFFu);
}

namespace treeitem {

NavigationItem Quillex() {
    return Item("Quillex", treeimage::kQuillex, ViewKind::TrunkSummary);
}

NavigationItem Intercoms() {
    return Item("Intercoms", treeimage::kIntercoms, ViewKind::Intercoms);
}

NavigationItem Alarms(bool unseenAlarms) {
    return Item("Alarms", unseenAlarms ? treeimage::kUnseenAlarms : treeimage::kAlarms,
                ViewKind::Alarms);
}

NavigationItem GraphicalUsage() {
    return Item("Graphical Usage", treeimage::kGraphicalUsage, ViewKind::GraphicalUsage, 0);
}

std::vector<NavigationItem> AllViews() {
    return {Item("All Alphas", treeimage::kAlphas, ViewKind::Alphas),
            Item("All Requests", treeimage::kRequests, ViewKind::Requests),
            Item("All Trunks", treeimage::kTrunks, ViewKind::Trunks),
            Item("Trunk Conflicts", treeimage::kTrunkConflicts, ViewKind::TrunkConflicts)};
}

NavigationItem Layout(int index, std::string name) {
    return Item(std::move(name), treeimage::kSavedLayout, ViewKind::GraphicalUsage, index);
}

NavigationItem Intercom(int number, std::string text) {
    NavigationItem alphas = Item("Alphas", treeimage::kAlphas, ViewKind::Alphas, number);
    for (int type = 0; type < kFunctionTypes; ++type) {
        if (IsValidFunctionType(type)) {
            alphas.children.push_back(Item(std::string(kFunctionCodes[type]),
                                           treeimage::kFunctionType, ViewKind::Alphas, number,
                                           type));
        }
    }
    NavigationItem intercom =
        Item(std::move(text), treeimage::kIntercom, ViewKind::TrunkSummary, number);
    intercom.children = {std::move(alphas),
                         Item("Requests", treeimage::kRequests, ViewKind::Requests, number),
                         Item("Trunks", treeimage::kTrunks, ViewKind::Trunks, number)};
    return intercom;
}

}  // namespace treeitem

bool TreeTextLess(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        if (Folded(a[i]) != Folded(b[i])) {
            return Folded(a[i]) < Folded(b[i]);
        }
    }
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::optional<std::vector<TreeIntercom>> ReadTreeIntercoms(CIntercomsRS& rs, bool showNameless,
                                                           const FilterNameSource& names) {
    rs.MoveFirst();
    if (rs.IsEOF()) {
        return std::nullopt;
    }
    std::vector<TreeIntercom> intercoms;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const int number = rs.m_IntercomIndex.Value();
        std::string name = GetRecordsetIntercomName(rs);
        if (name.empty()) {
            if (!showNameless) {
                continue;
            }
            name = names.IntercomName(number);
        }
        name.erase(name.find_last_not_of(" \t") + 1);
        intercoms.push_back({number, std::move(name)});
    }
    return intercoms;
}

}  // namespace corvane
