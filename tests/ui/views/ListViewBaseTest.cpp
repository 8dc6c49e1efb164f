#include <gtest/gtest.h>

#include <QHeaderView>
#include <algorithm>

#include "ViewsRig.h"
#include "platform/ProfileStore.h"
#include "ui/views/IcomListView.h"

namespace corvane {
namespace {

using testing::ViewsRig;

CIcomListView* IcomList(CChildFrame* frame) {
    return dynamic_cast<CIcomListView*>(frame->ListView());
}

QStringList Column(const CVorlinListView& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.Model().rowCount(); ++row) {
        texts << QString::fromStdString(list.Model().CellText(row, column));
    }
    return texts;
}

TEST(ListViewBase, AHeaderClickSortsAndASecondClickReverses) {
    ViewsRig rig;
    CIcomListView* list = IcomList(rig.OpenFrame(ViewKind::Intercoms));
    ASSERT_NE(list, nullptr);
    const QStringList names = Column(*list, 1);
    QStringList ascending = names;
    ascending.sort();
    list->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(Column(*list, 1), ascending);
    EXPECT_EQ(list->SortColumn(), 1);
    list->horizontalHeader()->sectionClicked(1);
    QStringList descending(ascending.rbegin(), ascending.rend());
    EXPECT_EQ(Column(*list, 1), descending);
    EXPECT_FALSE(list->SortAscending());
    // A new intercom list of another frame starts with the kind's last sort.
    CIcomListView* second = IcomList(rig.OpenFrame(ViewKind::Intercoms));
    EXPECT_EQ(second->SortColumn(), 1);
    EXPECT_EQ(Column(*second, 1), descending);
}

TEST(ListViewBase, ColumnWidthsAndOrderSurviveTheViewThroughTheProfile) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Intercoms);
    CIcomListView* list = IcomList(frame);
    const int columns = list->Model().columnCount();
    ASSERT_GT(columns, 4);
    list->setColumnWidth(1, 173);
    list->horizontalHeader()->moveSection(3, 0);  // column 3 leftmost
    list->ShowColumn(2, true);
    EXPECT_TRUE(list->IsColumnHidden(2));
    frame->SetViewKind(ViewKind::None, nullptr);  // the list goes and saves its layout

    CIcomListView* again = IcomList(rig.OpenFrame(ViewKind::Intercoms));
    EXPECT_EQ(again->columnWidth(1), 173);
    EXPECT_EQ(again->horizontalHeader()->logicalIndex(0), 3);
    // The hidden column comes back shown, at the width it had.
    EXPECT_FALSE(again->IsColumnHidden(2));
    EXPECT_GT(again->columnWidth(2), 0);
}

TEST(ListViewBase, ABrokenSavedOrderIsTakenOnlyAsFarAsItIsSound) {
    ViewsRig rig;
    // Saved by a list with other columns: two entries past the end and one repeated.
    std::vector<uint8_t> order;
    for (const int c : {20, 1, 1, 0, 30}) {
        for (int shift = 0; shift < 32; shift += 8) {
            order.push_back(static_cast<uint8_t>(static_cast<uint32_t>(c) >> shift));
        }
    }
    rig.supervision.profile.WriteProfileBinary("Preferences", "IcomListColumnOrder", order);
    CIcomListView* list = IcomList(rig.OpenFrame(ViewKind::Intercoms));
    const QHeaderView* header = list->horizontalHeader();
    const int columns = list->Model().columnCount();
    EXPECT_EQ(header->logicalIndex(0), 1);
    EXPECT_EQ(header->logicalIndex(1), 0);
    for (int v = 2; v < columns; ++v) {
        EXPECT_EQ(header->logicalIndex(v), v);
    }
}

TEST(ListViewBase, ARequerySelectsTheSameRowsByTheirKeys) {
    ViewsRig rig;
    CIcomListView* list = IcomList(rig.OpenFrame(ViewKind::Intercoms));
    while (list->SortColumn() != 0 || !list->SortAscending()) {
        list->horizontalHeader()->sectionClicked(0);
    }
    list->selectRow(4);
    EXPECT_EQ(list->CellText(4, 0), "5");
    // Sorted the other way round, intercom 5 moves up and stays selected and current.
    list->horizontalHeader()->sectionClicked(0);
    const std::vector<int> rows = list->SelectedRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], 1);
    EXPECT_EQ(list->CellText(1, 0), "5");
    EXPECT_EQ(list->currentIndex().row(), 1);
}

TEST(ListViewBase, AListWhoseQueryFailedReportsItOnceAndStaysEmpty) {
    ViewsRig rig;
    rig.doc->Database()->Database().Execute("DROP TABLE Intercoms");
    CIcomListView* list = IcomList(rig.OpenFrame(ViewKind::Intercoms));
    const std::vector<std::string> opened = rig.supervision.ui.DatabaseErrors();
    EXPECT_EQ(std::count_if(opened.begin(), opened.end(),
                            [](const std::string& e) {
                                return e.find("intercoms list query") != std::string::npos;
                            }),
              1);
    // The hints that requery the list neither ask the closed query again nor report it.
    for (int i = 0; i < 3; ++i) {
        list->OnUpdate(nullptr, hint::kIntercomsAdded | hint::kIntercomsEdited, {});
    }
    EXPECT_EQ(rig.supervision.ui.DatabaseErrors().size(), opened.size());
    EXPECT_EQ(list->Model().rowCount(), 0);
}

}  // namespace
}  // namespace corvane
