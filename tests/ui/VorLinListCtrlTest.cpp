#include "ui/VorLinListCtrl.h"

#include <gtest/gtest.h>

#include "presentation/SortData.h"
#include "qtsupport/HeaderArrow.h"

namespace corvane {
namespace {

using testing::SortArrowDirection;

QStringList Column(const CVorLinListCtrl& list, int column) {
    QStringList texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        texts << list.topLevelItem(i)->text(column);
    }
    return texts;
}

TEST(VorLinListCtrl, HeaderClicksSortByTheOwnersKindAndRowsKeepTheirData) {
    CVorLinListCtrl list;
    list.setHeaderLabels({"Intercom", "Status"});
    list.SetSortKindSource(
        [](int column, bool) { return column == 0 ? sortkind::kInteger : sortkind::kText; });
    const char* rows[][2] = {{"10", "b"}, {"9", "a"}, {"100", "c"}};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QTreeWidgetItem(QStringList{rows[i][0], rows[i][1]});
        item->setData(0, Qt::UserRole, i);
        list.addTopLevelItem(item);
    }
    list.SetSortColumn(0);
    EXPECT_EQ(Column(list, 0), (QStringList{"9", "10", "100"}));
    EXPECT_EQ(list.FindItemByData(0), 1);  // "10" went to the middle with its data
    list.SetSortColumn(0);
    EXPECT_FALSE(list.IsAscending());
    EXPECT_EQ(Column(list, 0), (QStringList{"100", "10", "9"}));
    list.SetSortColumn(0);
    EXPECT_TRUE(list.IsAscending());
    list.SetSortColumn(1);
    EXPECT_TRUE(list.IsAscending());
    EXPECT_EQ(Column(list, 1), (QStringList{"a", "b", "c"}));
    list.SetSortColumn(-1);
    EXPECT_EQ(list.SortColumn(), -1);
    EXPECT_EQ(list.FindItemByData(7), -1);
}

// Rows "10", "9", "100" as their data 0, 1, 2.
void AddRows(CVorLinListCtrl& list) {
    list.setHeaderLabels({"Intercom", "Status"});
    list.SetSortKindSource([](int, bool) { return sortkind::kInteger; });
    const char* rows[] = {"10", "9", "100"};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QTreeWidgetItem(QStringList{rows[i], "x"});
        item->setData(0, Qt::UserRole, i);
        list.addTopLevelItem(item);
    }
}

TEST(VorLinListCtrl, ASortKeepsTheSelectedRowsAndTheCurrentRow) {
    CVorLinListCtrl list;
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    AddRows(list);
    QTreeWidgetItem* ten = list.topLevelItem(0);
    QTreeWidgetItem* hundred = list.topLevelItem(2);
    list.setCurrentItem(hundred);
    ten->setSelected(true);
    for (const int column : {0, 0, 1}) {
        list.SetSortColumn(column);
        EXPECT_EQ(list.selectedItems().size(), 2);
        EXPECT_TRUE(ten->isSelected());
        EXPECT_TRUE(hundred->isSelected());
        EXPECT_EQ(list.currentItem(), hundred);
    }
}

TEST(VorLinListCtrl, TheSortArrowPointsUpForAscendingAndDownForDescending) {
    CVorLinListCtrl list;
    AddRows(list);
    list.resize(300, 120);
    list.show();
    list.SetSortColumn(0);
    EXPECT_EQ(SortArrowDirection(*list.header()), 1);
    list.SetSortColumn(0);
    EXPECT_EQ(SortArrowDirection(*list.header()), -1);
}

}  // namespace
}  // namespace corvane
