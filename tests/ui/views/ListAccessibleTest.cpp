#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QHeaderView>
#include <set>

#include "TrunkViews.h"
#include "ui/views/ListAccessible.h"

namespace corvane {
namespace {

using testing::TrunkList;
using testing::ViewsRig;

// Every child of an accessible interface, as a screen reader lists them, by their ids.
std::set<QAccessible::Id> ListChildren(QAccessibleInterface& table) {
    std::set<QAccessible::Id> ids;
    for (int i = 0; i < table.childCount(); ++i) {
        QAccessibleInterface* child = table.child(i);
        if (child == nullptr) {
            ADD_FAILURE() << "no child " << i;
            continue;
        }
        EXPECT_EQ(table.indexOfChild(child), i);
        ids.insert(QAccessible::uniqueId(child));
    }
    return ids;
}

// A screen reader that lists every child of a long trunk list and then sees the view switch:
// the list exposes its headers and the rows on screen only, whatever it is asked, so the
// interfaces that the switch removes are as few as the screen holds.
TEST(ListAccessible, ATrunkListExposesItsHeadersAndTheRowsOnScreenOnly) {
    ViewsRig rig(testing::BuildFakeNetwork(12, 400));
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* list = TrunkList(frame);
    ASSERT_NE(list, nullptr);
    const CListTableModel& model = list->Model();
    const int rows = model.rowCount();
    const int columns = model.columnCount();
    const int top = list->rowAt(0);
    const int onScreen = list->rowAt(list->viewport()->height() - 1) - top + 1;
    ASSERT_GT(rows, 300);
    ASSERT_EQ(top, 0);
    ASSERT_GT(onScreen, 3);
    ASSERT_LT(onScreen, rows / 4);

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), onScreen);
    EXPECT_EQ(cells->columnCount(), columns);
    EXPECT_EQ(table->childCount(), (onScreen + 1) * columns);
    const std::set<QAccessible::Id> listed = ListChildren(*table);
    EXPECT_EQ(listed.size(), static_cast<size_t>((onScreen + 1) * columns));
    EXPECT_EQ(table->child(table->childCount()), nullptr);
    EXPECT_EQ(cells->cellAt(onScreen, 0), nullptr);
    EXPECT_EQ(table->child(0)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(table->child(3)->text(QAccessible::Name), "Icom 1");
    EXPECT_EQ(cells->cellAt(2, 3)->text(QAccessible::Name),
              QString::fromStdString(model.CellText(2, 3)));

    // Scrolled to the end, the same places show the last rows: listing again makes no new
    // interface.
    list->scrollToBottom();
    QCoreApplication::processEvents();
    const int last = list->rowAt(list->viewport()->height() - 1);
    ASSERT_EQ(last, rows - 1);
    const int newTop = list->rowAt(0);
    EXPECT_EQ(cells->rowCount(), last - newTop + 1);
    EXPECT_EQ(cells->cellAt(0, 0)->text(QAccessible::Name),
              QString::fromStdString(model.CellText(newTop, 0)));
    std::set<QAccessible::Id> all = listed;
    const std::set<QAccessible::Id> again = ListChildren(*table);
    all.insert(again.begin(), again.end());
    EXPECT_EQ(all.size(), listed.size());

    // A row selected through the interface is the model's row on that place.
    list->clearSelection();
    ASSERT_TRUE(cells->selectRow(1));
    EXPECT_EQ(list->SelectedRows(), std::vector<int>{newTop + 1});
    EXPECT_EQ(cells->selectedRows(), QList<int>{1});
    EXPECT_TRUE(cells->cellAt(1, 4)->tableCellInterface()->isSelected());
    EXPECT_EQ(CListAccessible::ChildIndexOf(*list, model.index(newTop + 1, 4)), 2 * columns + 4);
    EXPECT_EQ(CListAccessible::ChildIndexOf(*list, model.index(0, 4)), -1);  // off screen

    // The switch removes the list's interfaces with it.
    const QAccessible::Id cell = QAccessible::uniqueId(cells->cellAt(0, 0));
    frame->SetViewKind(ViewKind::Intercoms, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QAccessible::accessibleInterface(cell), nullptr);
}

}  // namespace
}  // namespace corvane
