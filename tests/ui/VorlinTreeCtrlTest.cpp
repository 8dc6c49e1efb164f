#include "ui/VorlinTreeCtrl.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace corvane {
namespace {

// A    (data 1)
//   B  (2)
//     D  (4)
//     E  (5)
//   C  (3)
//     F  (6)
// G    (7)
class TreeCtrl : public ::testing::Test {
protected:
    void SetUp() override {
        auto add = [this](QTreeWidgetItem* parent, const char* text, int data) {
            auto* item = new QTreeWidgetItem(QStringList{text});
            item->setData(0, Qt::UserRole, data);
            if (parent == nullptr) {
                tree.addTopLevelItem(item);
            } else {
                parent->addChild(item);
            }
            items[text] = item;
            return item;
        };
        QTreeWidgetItem* a = add(nullptr, "A", 1);
        QTreeWidgetItem* b = add(a, "B", 2);
        add(b, "D", 4);
        add(b, "E", 5);
        add(add(a, "C", 3), "F", 6);
        add(nullptr, "G", 7);
    }
    QTreeWidgetItem* Item(const char* text) const {
        return text == nullptr ? nullptr : items.at(text);
    }

    CVorlinTreeCtrl tree;
    std::map<std::string, QTreeWidgetItem*> items;
};

TEST_F(TreeCtrl, FindItemVisitsAndStopsAsItsFlagsSay) {
    using T = CVorlinTreeCtrl;
    const struct {
        const char* start;  // none: the whole tree
        int flags;
        const char* sought;  // the text the callback accepts; none: it accepts nothing
        const char* visits;
        const char* found;
    } cases[] = {
        {"A", 0, nullptr, "ABCDEF", nullptr},
        {"A", T::kSkipStart, nullptr, "BCDEF", nullptr},
        {"A", T::kDepthFirst, nullptr, "ABDECF", nullptr},
        {"A", T::kSkipStart | T::kDepthFirst, nullptr, "BDECF", nullptr},
        {"A", T::kFirstLevel, nullptr, "ABC", nullptr},
        {"A", T::kSkipStart | T::kFirstLevel, nullptr, "BC", nullptr},
        {"A", T::kDepthFirst | T::kFirstLevel, nullptr, "ABC", nullptr},
        {"B", 0, nullptr, "BDE", nullptr},
        {nullptr, 0, nullptr, "AGBCDEF", nullptr},
        {nullptr, T::kDepthFirst, nullptr, "ABDECFG", nullptr},
        {nullptr, T::kFirstLevel, nullptr, "AG", nullptr},
        // Without kFirstMatch every item is asked and none is returned.
        {"A", 0, "C", "ABCDEF", nullptr},
        {"A", T::kFirstMatch, "E", "ABCDE", "E"},
        {"A", T::kFirstMatch | T::kDepthFirst, "C", "ABDEC", "C"},
        {"A", T::kFirstMatch, "A", "A", "A"},
        {"A", T::kFirstMatch | T::kSkipStart, "A", "BCDEF", nullptr},
        {"A", T::kFirstMatch, "G", "ABCDEF", nullptr},
        {"A", T::kFirstMatch | T::kFirstLevel, "D", "ABC", nullptr},
        {"A", T::kFirstMatch | T::kDepthFirst | T::kFirstLevel, "C", "ABC", "C"},
        {nullptr, T::kFirstMatch | T::kDepthFirst, "G", "ABDECFG", "G"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start != nullptr ? c.start : "tree") + " flags " +
                     std::to_string(c.flags));
        std::string visits;
        const QTreeWidgetItem* found = tree.FindItem(
            Item(c.start),
            [&](const CVorlinTreeCtrl& asked, QTreeWidgetItem* item, const QVariant& user) {
                EXPECT_EQ(&asked, &tree);
                visits += item->text(0).toStdString();
                return c.sought != nullptr && CVorlinTreeCtrl::ItemTextEquals(asked, item, user);
            },
            QString(c.sought), c.flags);
        EXPECT_EQ(visits, c.visits);
        EXPECT_EQ(found, Item(c.found));
    }
}

TEST_F(TreeCtrl, TheOfferedCallbacksMatchTextOrData) {
    const int first = CVorlinTreeCtrl::kFirstMatch;
    EXPECT_EQ(tree.FindItem(nullptr, CVorlinTreeCtrl::ItemDataEquals, 6, first), Item("F"));
    EXPECT_EQ(tree.FindItem(nullptr, CVorlinTreeCtrl::ItemDataEquals, 8, first), nullptr);
    EXPECT_EQ(tree.FindItem(Item("A"), CVorlinTreeCtrl::ItemTextEquals, "D", first), Item("D"));
    EXPECT_EQ(tree.FindItem(Item("A"), CVorlinTreeCtrl::ItemTextEquals, "d", first), nullptr);
}

TEST_F(TreeCtrl, DepthAndRelations) {
    const struct {
        const char* a;
        const char* b;
        int depthOfB;
        bool aIsParent;
        bool aIsAncestor;
        bool siblings;
    } cases[] = {
        {"A", "B", 2, true, true, false},       {"A", "D", 3, false, true, false},
        {"B", "D", 3, true, true, false},       {"D", "B", 2, false, false, false},
        {"C", "D", 3, false, false, false},     {"D", "E", 3, false, false, true},
        {"B", "C", 2, false, false, true},      {"A", "G", 1, false, false, true},
        {"A", "A", 1, false, false, true},      {nullptr, "A", 1, false, false, false},
        {"A", nullptr, 0, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a != nullptr ? c.a : "none") + " " +
                     (c.b != nullptr ? c.b : "none"));
        EXPECT_EQ(CVorlinTreeCtrl::GetDepth(Item(c.b)), c.depthOfB);
        EXPECT_EQ(CVorlinTreeCtrl::IsParentOf(Item(c.a), Item(c.b)), c.aIsParent);
        EXPECT_EQ(CVorlinTreeCtrl::IsAncestorOf(Item(c.a), Item(c.b)), c.aIsAncestor);
        EXPECT_EQ(CVorlinTreeCtrl::AreSiblings(Item(c.a), Item(c.b)), c.siblings);
    }
}

}  // namespace
}  // namespace corvane
