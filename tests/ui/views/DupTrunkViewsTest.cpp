#include <gtest/gtest.h>

#include <QMenu>

#include "ViewTestSupport.h"
#include "document/VorlinDoc.h"
#include "ui/views/DupTrunkFormView.h"
#include "ui/views/DupTrunkListView.h"

namespace corvane {
namespace {

using testing::BuildFakeNetwork;
using testing::ProcessEventsUntil;
using testing::QueryColumn;
using testing::QueryCount;
using testing::SplitFields;
using testing::ViewsRig;

constexpr const char* kConflicts = " FROM DuplicateTrunkEnds WHERE Trunk1 <= Trunk2";

class DupTrunkViews : public ::testing::Test {
protected:
    void SetUp() override {
        frame = rig.OpenFrame(ViewKind::TrunkConflicts);
        list = dynamic_cast<CDupTrunkListView*>(frame->ListView());
        ASSERT_NE(list, nullptr);
        ASSERT_NE(dynamic_cast<CDupTrunkFormView*>(frame->FormView()), nullptr);
    }

    // The fake's trunks share ports: the second end of one is the first end of another.
    ViewsRig rig{BuildFakeNetwork(40, 400)};
    CChildFrame* frame = nullptr;
    CDupTrunkListView* list = nullptr;
};

TEST_F(DupTrunkViews, ShowThePairsOfTrunksDefinedOnOnePort) {
    const long conflicts = QueryCount(rig, std::string("SELECT COUNT(*)") + kConflicts);
    ASSERT_GT(conflicts, 0);
    const CListTableModel& model = list->Model();
    ASSERT_EQ(model.rowCount(), conflicts);
    const char* const titles[] = {"Trunk #", "Icom 1", "Alpha", "Port",
                                  "Icom 2",  "Alpha",  "Port",  "Conflicts with Trunk #"};
    ASSERT_EQ(model.columnCount(), 14);
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
    }
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->GetInfoText(1).toStdString(), std::to_string(conflicts) + " Trunk Conflicts");
    EXPECT_EQ(frame->InfoBar(0).PaneText(1), list->GetInfoText(1));
    EXPECT_EQ(frame->windowTitle(), "Trunk Definition Conflicts");

    // Each of the four ends of the first pair: its intercom and its port.
    const auto ends = QueryColumn(
        rig,
        "SELECT I1.IntercomName || '|' || D.T1Port1 || '|' || I2.IntercomName || '|' || "
        "D.T1Port2 || '|' || I3.IntercomName || '|' || D.T2Port1 || '|' || I4.IntercomName || "
        "'|' || D.T2Port2 FROM DuplicateTrunkEnds AS D "
        "JOIN Intercoms AS I1 ON I1.IntercomIndex = D.T1Icom1 "
        "JOIN Intercoms AS I2 ON I2.IntercomIndex = D.T1Icom2 "
        "JOIN Intercoms AS I3 ON I3.IntercomIndex = D.T2Icom1 "
        "JOIN Intercoms AS I4 ON I4.IntercomIndex = D.T2Icom2 WHERE D.Trunk1 = " +
            model.CellText(0, 0) + " AND D.Trunk2 = " + model.CellText(0, 7));
    ASSERT_EQ(ends.size(), 1u);
    const std::vector<std::string> parts = SplitFields(ends[0]);
    ASSERT_EQ(parts.size(), 8u);
    const int intercomColumns[4] = {1, 4, 8, 11};
    const int portColumns[4] = {3, 6, 10, 13};
    for (int end = 0; end < 4; ++end) {
        EXPECT_EQ(model.CellText(0, intercomColumns[end]), parts[2 * end]) << end;
        EXPECT_EQ(model.CellText(0, portColumns[end]),
                  "[" + CVorlinDoc::GetAlphaDisplayName(0, std::stoi(parts[2 * end + 1])) + "]")
            << end;
    }
    rig.Screenshot("view-dup-trunks.png");
}

TEST_F(DupTrunkViews, ARequeryDropsTheSelection) {
    list->selectRow(0);
    ASSERT_EQ(list->SelectedCount(), 1);
    const size_t trunks = rig.RowCount("Trunks");
    // A trunk of the first conflict goes: its rows leave the list.
    const int trunk = std::stoi(list->Model().CellText(0, 0));
    rig.supervision.model.UndefineTrunk(trunk - 1);
    ASSERT_TRUE(rig.supervision.TickUntil([&] { return rig.RowCount("Trunks") < trunks; }));
    rig.Tick();
    EXPECT_EQ(list->Model().rowCount(),
              QueryCount(rig, std::string("SELECT COUNT(*)") + kConflicts));
    EXPECT_EQ(list->SelectedCount(), 0);
    EXPECT_NE(list->Model().CellText(0, 0), std::to_string(trunk));
}

TEST_F(DupTrunkViews, TheMenuShowsTheRequestsOnTheRowsTrunk) {
    list->clearSelection();
    EXPECT_EQ(list->CreateContextMenu(), nullptr);
    list->selectRow(0);
    const std::string trunk = list->Model().CellText(0, 0);
    const std::unique_ptr<QMenu> menu = list->CreateContextMenu();
    ASSERT_NE(menu, nullptr);
    QAction* requests = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->data().toInt() == 32787) {
            requests = a;
        } else {
            EXPECT_FALSE(a->isEnabled() && !a->isSeparator()) << a->text().toStdString();
        }
    }
    ASSERT_NE(requests, nullptr);
    EXPECT_TRUE(requests->isEnabled());
    EXPECT_EQ(requests->text(), "View &requests for this trunk");
    EXPECT_EQ(menu->defaultAction(), requests);

    requests->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return frame->Kind() == ViewKind::Requests; }));
    EXPECT_EQ(frame->windowTitle().toStdString(), "Requests on Trunk " + trunk);
    EXPECT_EQ(frame->ListView()->Model().rowCount(),
              QueryCount(rig, "SELECT COUNT(*) FROM Requests WHERE Trunk1Index = " + trunk +
                                  " OR Trunk2Index = " + trunk));
}

}  // namespace
}  // namespace corvane
