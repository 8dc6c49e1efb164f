#include <gtest/gtest.h>

#include <QComboBox>
#include <QMenu>
#include <QMouseEvent>

#include "ViewTestSupport.h"
#include "ui/views/AlphaFormView.h"
#include "ui/views/AlphaListView.h"
#include "ui/views/RequestFormView.h"
#include "ui/views/VorlinFormView.h"

namespace corvane {
namespace {

using testing::BuildFakeNetwork;
using testing::ControlOf;
using testing::ProcessEventsUntil;
using testing::QueryColumn;
using testing::QueryCount;
using testing::ViewsRig;

long Count(ViewsRig& rig, const std::string& where) {
    return QueryCount(rig, "SELECT COUNT(*) FROM AllNames" + where);
}

class AlphaViews : public ::testing::Test {
protected:
    void SetUp() override {
        // The alphas of every matrix, its name included.
        ASSERT_TRUE(rig.supervision.TickUntil(
            [&] { return Count(rig, " WHERE IntercomIndex = 40") >= 62; }));
        frame = rig.OpenFrame(ViewKind::Alphas);
        list = dynamic_cast<CAlphaListView*>(frame->ListView());
        form = frame->FormView();
        ASSERT_NE(list, nullptr);
        ASSERT_NE(dynamic_cast<CAlphaFormView*>(form), nullptr);
    }

    ViewsRig rig{BuildFakeNetwork(40, 400)};
    CChildFrame* frame = nullptr;
    CAlphaListView* list = nullptr;
    CVorlinFormView* form = nullptr;
};

TEST_F(AlphaViews, ShowTheAlphasOfTheChosenIntercomAndFunctionType) {
    const CListTableModel& model = list->Model();
    ASSERT_EQ(model.rowCount(), Count(rig, ""));
    ASSERT_EQ(model.columnCount(), 5);
    const char* const titles[] = {"Icom #", "Icom", "Fn Type", "Number", "Alpha"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
    }
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->GetInfoText(1).toStdString(), std::to_string(Count(rig, "")) + " Alphas");
    EXPECT_EQ(frame->windowTitle(), "Alphas");

    auto* intercom = ControlOf<QComboBox>(form, CAlphaFormView::kIntercom);
    auto* type = ControlOf<QComboBox>(form, CAlphaFormView::kFunctionType);
    ASSERT_TRUE(intercom && type);
    EXPECT_EQ(intercom->count(), 41);
    EXPECT_EQ(type->itemText(0), "All function types");
    EXPECT_EQ(type->count(), 9);
    intercom->setCurrentIndex(intercom->findData(3));
    EXPECT_EQ(model.rowCount(), Count(rig, " WHERE IntercomIndex = 3"));
    type->setCurrentIndex(type->findData(1));
    const long panels = Count(rig, " WHERE IntercomIndex = 3 AND Function = 'PL'");
    EXPECT_EQ(panels, 8);
    ASSERT_EQ(model.rowCount(), panels);
    EXPECT_EQ(frame->windowTitle(), "M002 PL Alphas");
    EXPECT_EQ(list->GetInfoText(1), "8 Alphas");
    const auto alphas = QueryColumn(
        rig,
        "SELECT Alpha FROM AllNames WHERE IntercomIndex = 3 AND Function = 'PL' ORDER BY "
        "AsgnKey");
    for (int row = 0; row < model.rowCount(); ++row) {
        EXPECT_EQ(model.CellText(row, 0), "3");
        EXPECT_EQ(model.CellText(row, 1), "M002");
        EXPECT_EQ(model.CellText(row, 2), "PL");
        EXPECT_EQ(model.CellText(row, 4), alphas[static_cast<size_t>(row)]);
    }
    intercom->setCurrentIndex(0);
    type->setCurrentIndex(0);
    EXPECT_EQ(model.rowCount(), Count(rig, ""));
    rig.Screenshot("view-alphas.png");
}

TEST_F(AlphaViews, TheMenuOpensTheRequestsOfTheRowsAssignment) {
    list->clearSelection();
    EXPECT_EQ(list->CreateContextMenu(), nullptr);
    auto* intercom = ControlOf<QComboBox>(form, CAlphaFormView::kIntercom);
    auto* type = ControlOf<QComboBox>(form, CAlphaFormView::kFunctionType);
    intercom->setCurrentIndex(intercom->findData(1));
    type->setCurrentIndex(type->findData(0));
    list->selectRow(1);
    const std::string number = list->Model().CellText(1, 3);
    const std::string alpha = list->Model().CellText(1, 4);
    const std::unique_ptr<QMenu> menu = list->CreateContextMenu();
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (const QAction* a : menu->actions()) {
        texts << a->text();
    }
    EXPECT_EQ(texts, QStringList({"View trunk &summary for this intercom",
                                  "View &requests involving this intercom",
                                  "View &trunks for this intercom", "",
                                  "View requests involving this &assignment"}));
    EXPECT_EQ(menu->defaultAction(), menu->actions()[0]);

    menu->actions()[4]->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return frame->Kind() == ViewKind::Requests; }));
    const auto* filter =
        dynamic_cast<const CRequestFilterData*>(frame->FormView()->GetFilterData());
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->Intercom1(), 1);
    EXPECT_EQ(filter->FunctionType(), 0);
    EXPECT_EQ(filter->Assignment(), std::stoi(number));
    EXPECT_EQ(frame->windowTitle().toStdString(), "M000 Requests for " + alpha);
    EXPECT_EQ(frame->ListView()->Model().rowCount(),
              QueryCount(rig,
                         "SELECT COUNT(*) FROM Requests WHERE (End1IntercomIndex = 1 AND "
                         "End1Function = 'PP' AND End1Number = " +
                             number +
                             ") OR (End2IntercomIndex = 1 AND End2Function = 'PP' AND "
                             "End2Number = " +
                             number + ")"));
    EXPECT_EQ(ControlOf<QComboBox>(frame->FormView(), CRequestFormView::kAssignment)
                  ->currentData()
                  .toInt(),
              std::stoi(number));
}

TEST_F(AlphaViews, ADoubleClickOpensTheTrunkSummaryOfTheRowsIntercom) {
    auto* intercom = ControlOf<QComboBox>(form, CAlphaFormView::kIntercom);
    intercom->setCurrentIndex(intercom->findData(7));
    const QPoint cell = list->visualRect(list->Model().index(0, 1)).center();
    QMouseEvent press(QEvent::MouseButtonPress, cell, list->viewport()->mapToGlobal(cell),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &press);
    QMouseEvent click(QEvent::MouseButtonDblClick, cell, list->viewport()->mapToGlobal(cell),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &click);
    ASSERT_TRUE(ProcessEventsUntil([&] { return frame->Kind() == ViewKind::TrunkSummary; }));
    EXPECT_EQ(frame->windowTitle(), "M006 Trunk Summary");
}

}  // namespace
}  // namespace corvane
