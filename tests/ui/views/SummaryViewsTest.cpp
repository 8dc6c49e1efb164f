#include <gtest/gtest.h>

#include <QComboBox>
#include <QMenu>

#include "ViewTestSupport.h"
#include "ui/views/SummaryFormView.h"
#include "ui/views/SummaryListView.h"

namespace corvane {
namespace {

using testing::BuildFakeNetwork;
using testing::ControlOf;
using testing::FakeNetwork;
using testing::ProcessEventsUntil;
using testing::QueryCount;
using testing::RowOfNumber;
using testing::ViewsRig;

long Trunks(ViewsRig& rig, const std::string& where) {
    return QueryCount(rig, "SELECT COUNT(*) FROM Trunks" + where);
}

class SummaryViews : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.supervision.TickUntil([&] {
            return QueryCount(rig,
                              "SELECT COUNT(*) FROM TrunkSummary WHERE FromIntercomIndex = "
                              "0") == 40;
        }));
        frame = rig.OpenFrame(ViewKind::TrunkSummary);
        list = dynamic_cast<CSummaryListView*>(frame->ListView());
        form = dynamic_cast<CSummaryFormView*>(frame->FormView());
        ASSERT_NE(list, nullptr);
        ASSERT_NE(form, nullptr);
    }

    ViewsRig rig{BuildFakeNetwork(40, 400)};
    CChildFrame* frame = nullptr;
    CSummaryListView* list = nullptr;
    CSummaryFormView* form = nullptr;
};

TEST_F(SummaryViews, TheSummaryOfAllIntercomsHalvesItsTotals) {
    const CListTableModel& model = list->Model();
    ASSERT_EQ(model.rowCount(), 40);
    const char* const titles[] = {"Icom #",   "Icom",          "# Trunks",        "# Allocated",
                                  "# In-Use", "# Maintenance", "# Out-Of-Service"};
    ASSERT_EQ(model.columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
    }
    EXPECT_FALSE(list->IsColumnHidden(CSummaryListView::kOutOfServiceColumn));
    const int row = RowOfNumber(model, 5);
    ASSERT_GE(row, 0);
    EXPECT_EQ(model.CellText(row, 1), "M004");
    EXPECT_EQ(model.CellText(row, 2),
              std::to_string(Trunks(rig, " WHERE End1IntercomIndex = 5 OR End2IntercomIndex = 5")));
    EXPECT_EQ(model.CellText(row, 4),
              std::to_string(Trunks(rig,
                                    " WHERE (End1IntercomIndex = 5 OR End2IntercomIndex = "
                                    "5) AND State = 'In Use'")));

    // Every trunk is in the totals of both its intercoms.
    EXPECT_EQ(list->GetInfoText(1).toStdString(), std::to_string(Trunks(rig, "")) + " Trunks");
    EXPECT_EQ(list->GetInfoText(2).toStdString(),
              std::to_string(Trunks(rig, " WHERE State = 'Alloc'")) + " Allocated");
    EXPECT_EQ(list->GetInfoText(3).toStdString(),
              std::to_string(Trunks(rig, " WHERE State = 'In Use'")) + " In Use");
    EXPECT_EQ(list->GetInfoText(4).toStdString(),
              std::to_string(Trunks(rig, " WHERE State = 'Maint'")) + " Maintenance");
    EXPECT_EQ(list->GetInfoText(5).toStdString(),
              std::to_string(Trunks(rig, " WHERE OOS = -1")) + " Out-of-service");
    EXPECT_EQ(list->GetInfoText(6), "40 Intercoms");
    EXPECT_EQ(frame->InfoBar(1).PaneText(1), "40 Intercoms");
    EXPECT_EQ(frame->windowTitle(), "Trunk Summary");
    EXPECT_TRUE(form->IsInfoBarEnabled(59395));
    rig.Screenshot("view-summary.png");
}

TEST_F(SummaryViews, OneIntercomsSummaryShowsItsCountsAsCounted) {
    auto* intercom = ControlOf<QComboBox>(form, CSummaryFormView::kIntercom);
    ASSERT_NE(intercom, nullptr);
    EXPECT_EQ(intercom->itemText(0), "All intercoms");
    intercom->setCurrentIndex(intercom->findData(5));
    const std::string at5 = " WHERE End1IntercomIndex = 5 OR End2IntercomIndex = 5";
    EXPECT_EQ(list->Model().rowCount(),
              QueryCount(rig, "SELECT COUNT(*) FROM TrunkSummary WHERE FromIntercomIndex = 5"));
    EXPECT_EQ(list->GetInfoText(1).toStdString(), std::to_string(Trunks(rig, at5)) + " Trunks");
    EXPECT_EQ(list->GetInfoText(6).toStdString(),
              std::to_string(list->Model().rowCount()) + " Intercoms");
    EXPECT_EQ(frame->windowTitle(), "M004 Trunk Summary");
}

TEST_F(SummaryViews, TheMenuOpensTheViewsOfTheRowsIntercom) {
    list->clearSelection();
    EXPECT_EQ(list->CreateContextMenu(), nullptr);
    list->selectRow(RowOfNumber(list->Model(), 5));
    std::unique_ptr<QMenu> menu = list->CreateContextMenu();
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (const QAction* a : menu->actions()) {
        texts << a->text();
    }
    EXPECT_EQ(
        texts,
        QStringList({"View trunk &summary for this intercom", "View &alphas for this intercom",
                     "View &requests involving this intercom", "View &trunks for this intercom"}));
    // The summary of the row's intercom, in the same frame.
    menu->defaultAction()->trigger();
    EXPECT_EQ(frame->ListView(), list);
    EXPECT_EQ(frame->windowTitle(), "M004 Trunk Summary");
    EXPECT_EQ(ControlOf<QComboBox>(form, CSummaryFormView::kIntercom)->currentData().toInt(), 5);
    EXPECT_EQ(list->Model().rowCount(),
              QueryCount(rig, "SELECT COUNT(*) FROM TrunkSummary WHERE FromIntercomIndex = 5"));

    list->selectRow(0);
    const std::string other = list->Model().CellText(0, 0);
    menu = list->CreateContextMenu();
    menu->actions()[1]->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return frame->Kind() == ViewKind::Alphas; }));
    EXPECT_EQ(frame->FormView()->GetFilterData()->Selector(1), std::stoi(other));
}

TEST(SummaryViewsWithoutOutOfService, HideTheOutOfServiceColumnAndCount) {
    FakeNetwork network = BuildFakeNetwork(6, 40);
    network.capabilities = 0x0B;  // no out-of-service state
    ViewsRig rig(std::move(network));
    CChildFrame* frame = rig.OpenFrame(ViewKind::TrunkSummary);
    auto* list = dynamic_cast<CSummaryListView*>(frame->ListView());
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->IsColumnHidden(CSummaryListView::kOutOfServiceColumn));
    EXPECT_EQ(list->GetInfoText(5), "");
    EXPECT_EQ(list->GetInfoText(6), "6 Intercoms");
}

}  // namespace
}  // namespace corvane
