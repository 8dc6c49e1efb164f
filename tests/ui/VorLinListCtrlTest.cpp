#include "ui/VorLinListCtrl.h"

#include <gtest/gtest.h>

#include "presentation/SortData.h"

namespace corvane {
namespace {

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

}  // namespace
}  // namespace corvane
