#include "presentation/NavigationItems.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace corvane {
namespace {

TEST(NavigationItems, SiblingsSortByTextWithoutRegardToCaseThenByBytes) {
    std::vector<std::string> texts = {"view10", "Alpha", "view2", "alpha",
                                      "ALPHA2", "",      "Übung", "b"};
    std::stable_sort(texts.begin(), texts.end(), TreeTextLess);
    EXPECT_EQ(texts, (std::vector<std::string>{"", "Alpha", "alpha", "ALPHA2", "b", "view10",
                                               "view2", "Übung"}));
    EXPECT_NE(TreeTextLess("abc", "ABC"), TreeTextLess("ABC", "abc"));
    EXPECT_FALSE(TreeTextLess("x", "x"));
}

TEST(NavigationItems, AnIntercomCarriesItsAlphaTypesRequestsAndTrunks) {
    const NavigationItem intercom = treeitem::Intercom(12, "M012");
    EXPECT_EQ(intercom.id, MakeViewId(ViewKind::TrunkSummary, 12, kViewIdAll));
    ASSERT_EQ(intercom.children.size(), 3u);
    const NavigationItem& alphas = intercom.children[0];
    std::vector<std::string> types;
    for (const NavigationItem& type : alphas.children) {
        types.push_back(type.text);
        EXPECT_EQ(SplitViewId(type.id).index, 12);
    }
    // "MX" (7) is the intercom itself and bears no alphas.
    EXPECT_EQ(types, (std::vector<std::string>{"PP", "PL", "IF", "SL", "RY", "IS", "UR", "IL"}));
    EXPECT_EQ(alphas.children.back().id, MakeViewId(ViewKind::Alphas, 12, 8));
    EXPECT_EQ(intercom.children[2].id, MakeViewId(ViewKind::Trunks, 12, kViewIdAll));
}

TEST(NavigationItems, HelpIdsOfItemsStayInTheTreesRange) {
    for (const ViewId id : {MakeViewId(ViewKind::TrunkSummary, kViewIdAll, kViewIdAll),
                            MakeViewId(ViewKind::Alphas, 256, 8),
                            MakeViewId(ViewKind::GraphicalUsage, 0, kViewIdAll)}) {
        EXPECT_EQ(TreeItemHelpId(id) & 0xFFFF0000u, 0x80C60000u);
        EXPECT_EQ(TreeItemHelpId(id) & 0xFFFFu, static_cast<uint32_t>(id) & 0xFFFFu);
    }
}

}  // namespace
}  // namespace corvane
