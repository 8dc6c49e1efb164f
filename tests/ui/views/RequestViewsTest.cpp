#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>

#include "ViewTestSupport.h"
#include "document/VorlinDoc.h"
#include "ui/VorlinStatusBar.h"
#include "ui/views/RequestFormView.h"
#include "ui/views/RequestListView.h"

namespace corvane {
namespace {

using testing::BuildFakeNetwork;
using testing::ColumnTitled;
using testing::ControlOf;
using testing::QueryColumn;
using testing::QueryCount;
using testing::RowOfNumber;
using testing::SplitFields;
using testing::ViewsRig;

// The fake queues two requests at every fourth of its 40 matrices.
constexpr long kQueuedRequests = 20;

long Count(ViewsRig& rig, const std::string& where) {
    return QueryCount(rig, "SELECT COUNT(*) FROM Requests" + where);
}

class RequestViews : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.supervision.TickUntil(
            [&] { return Count(rig, " WHERE State = 'Queued'") >= kQueuedRequests; }));
        frame = rig.OpenFrame(ViewKind::Requests);
        list = dynamic_cast<CRequestListView*>(frame->ListView());
        form = dynamic_cast<CRequestFormView*>(frame->FormView());
        ASSERT_NE(list, nullptr);
        ASSERT_NE(form, nullptr);
    }

    ViewsRig rig{BuildFakeNetwork(40, 400)};
    CChildFrame* frame = nullptr;
    CRequestListView* list = nullptr;
    CRequestFormView* form = nullptr;
};

TEST_F(RequestViews, ShowTheRequestsWithTheirEndsAndTotals) {
    const CListTableModel& model = list->Model();
    ASSERT_EQ(model.rowCount(), Count(rig, ""));
    const char* const titles[] = {"ID",    "State", "Icom 1", "Alpha", "Asgn",  "T/L/I", "Icom 2",
                                  "Alpha", "Asgn",  "T/L/I",  "T Req", "T Act", "T Fin", "Trunks"};
    ASSERT_EQ(model.columnCount(), 14);
    for (int c = 0; c < 14; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().trimmed(),
                  titles[c]);
    }
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(frame->windowTitle(), "Requests");

    // The first request queued at the first matrix: talk only, to a panel of the next matrix.
    const std::vector<std::string> queued = QueryColumn(
        rig,
        "SELECT RequestID || '|' || End1Number || '|' || End2Number FROM Requests WHERE State = "
        "'Queued' AND End1IntercomIndex = 1 AND End1Listen = 0 ORDER BY RequestID");
    ASSERT_FALSE(queued.empty());
    const std::vector<std::string> fields = SplitFields(queued[0]);
    const std::string& id = fields[0];
    const int end1 = std::stoi(fields[1]);
    const int end2 = std::stoi(fields[2]);
    const int row = RowOfNumber(model, std::stoll(id));
    ASSERT_GE(row, 0);
    EXPECT_EQ(model.CellText(row, 1), "Queued");
    EXPECT_EQ(model.CellText(row, 2), "M000");
    EXPECT_EQ(model.CellText(row, 4), "[" + CVorlinDoc::GetAlphaDisplayName(0, end1) + "]");
    EXPECT_EQ(model.CellText(row, 5), "T/-/-");
    EXPECT_EQ(model.CellText(row, 6), "M001");
    EXPECT_EQ(model.CellText(row, 8), "[" + CVorlinDoc::GetAlphaDisplayName(0, end2) + "]");
    EXPECT_EQ(model.CellText(row, 9), "-/-/-");
    EXPECT_FALSE(model.CellText(row, 10).empty());
    EXPECT_EQ(model.CellText(row, 12), "");

    // The totals of the rows that pass the filter, also on the info bar.
    EXPECT_EQ(list->GetInfoText(1).toStdString(), std::to_string(Count(rig, "")) + " Requests");
    EXPECT_EQ(list->GetInfoText(2).toStdString(),
              std::to_string(Count(rig, " WHERE State = 'Queued'")) + " Queued");
    EXPECT_EQ(list->GetInfoText(3).toStdString(),
              std::to_string(Count(rig, " WHERE State = 'Active'")) + " Active");
    EXPECT_EQ(list->GetInfoText(4).toStdString(),
              std::to_string(Count(rig, " WHERE State = 'Alloc'")) + " Allocated");
    EXPECT_EQ(list->GetInfoText(5), "");
    EXPECT_EQ(frame->InfoBar(0).PaneText(1), list->GetInfoText(1));
    EXPECT_EQ(frame->InfoBar(0).PaneText(4), list->GetInfoText(4));
    rig.Screenshot("view-requests.png");
}

// Another program may write a request without its talk, listen and inactive flags: the list
// shows them empty, paints the row and goes on.
TEST_F(RequestViews, ARequestWithoutFlagsShowsThemEmpty) {
    rig.doc->Database()->Database().Execute(
        "INSERT INTO Requests (State, RequestTime, FinishedTime, End1IntercomIndex, "
        "End1Function, End1Number, End2IntercomIndex, End2Function, End2Number, End2Talk) "
        "VALUES ('Finished', '2026-01-05 10:00:00', '2026-01-05 10:01:00', 1, 'PP', 3, 2, 'PP', 4, "
        "-1)");
    const std::vector<std::string> id =
        QueryColumn(rig, "SELECT MAX(RequestID) FROM Requests WHERE End1Talk IS NULL");
    ASSERT_EQ(id.size(), 1u);
    rig.doc->UpdateAllViews(hint::kRequestsNew);
    const CListTableModel& model = list->Model();
    const int row = RowOfNumber(model, std::stoll(id[0]));
    ASSERT_GE(row, 0);
    EXPECT_EQ(model.CellText(row, 5), "");
    EXPECT_EQ(model.CellText(row, 9), "");  // talk alone, listen and inactive missing
    EXPECT_EQ(model.CellText(row, 2), "M000");
    list->selectRow(row);
    list->scrollTo(model.index(row, 0), QAbstractItemView::PositionAtCenter);
    EXPECT_FALSE(list->grab().isNull());
    rig.Screenshot("view-requests-without-flags.png");
}

TEST_F(RequestViews, TheAssignmentColumnsSortByTheirPortNumbers) {
    list->SetSortColumn(4);
    EXPECT_EQ(list->GetRecordset()->m_strSort, "15 ASC, Requests.RequestID");
    const std::vector<std::string> expected =
        QueryColumn(rig, "SELECT RequestID FROM Requests ORDER BY End1Number, RequestID");
    ASSERT_EQ(list->Model().rowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < list->Model().rowCount(); ++row) {
        ASSERT_EQ(list->Model().CellText(row, 0), expected[static_cast<size_t>(row)]) << row;
    }
    list->SetSortColumn(8);
    EXPECT_EQ(list->GetRecordset()->m_strSort, "16 ASC, Requests.RequestID");
    list->SetSortColumn(-1);
}

TEST_F(RequestViews, UncheckingTheLastStateShowsTheActiveRequestsAgain) {
    auto* queued = ControlOf<QCheckBox>(form, 1050);
    auto* active = ControlOf<QCheckBox>(form, 1052);
    auto* allocated = ControlOf<QCheckBox>(form, 1051);
    auto* finished = ControlOf<QCheckBox>(form, 1053);
    ASSERT_TRUE(queued && active && allocated && finished);
    queued->click();
    EXPECT_EQ(list->Model().rowCount(), Count(rig, " WHERE State <> 'Queued'"));
    allocated->click();
    finished->click();
    active->click();
    EXPECT_TRUE(active->isChecked());
    EXPECT_EQ(list->Model().rowCount(), Count(rig, " WHERE State = 'Active'"));
    EXPECT_EQ(list->GetInfoText(2), "0 Queued");

    // A second request frame starts from these states.
    CChildFrame* second = rig.OpenFrame(ViewKind::Requests);
    EXPECT_FALSE(ControlOf<QCheckBox>(second->FormView(), 1050)->isChecked());
    EXPECT_TRUE(ControlOf<QCheckBox>(second->FormView(), 1052)->isChecked());
    EXPECT_EQ(second->ListView()->Model().rowCount(), Count(rig, " WHERE State = 'Active'"));
    for (QCheckBox* box : {queued, allocated, finished}) {
        box->click();
    }
    EXPECT_EQ(list->Model().rowCount(), Count(rig, ""));
}

TEST_F(RequestViews, TheMenuShowsTheRequestsOfEitherEnd) {
    const std::vector<std::string> queued = QueryColumn(
        rig,
        "SELECT Requests.RequestID || '|' || Requests.End1Number || '|' || AllNames.Alpha FROM "
        "Requests JOIN AllNames ON AllNames.IntercomIndex = 1 AND AllNames.Function = 'PP' AND "
        "AllNames.Number = Requests.End1Number WHERE Requests.State = 'Queued' AND "
        "Requests.End1IntercomIndex = 1 ORDER BY Requests.RequestID");
    ASSERT_FALSE(queued.empty());
    const std::vector<std::string> fields = SplitFields(queued[0]);
    const std::string& id = fields[0];
    const int number = std::stoi(fields[1]);
    const std::string& alpha = fields[2];

    list->clearSelection();
    EXPECT_EQ(list->CreateContextMenu(), nullptr);
    list->selectRow(RowOfNumber(list->Model(), std::stoll(id)));
    const std::unique_ptr<QMenu> menu = list->CreateContextMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text().toStdString(), "View requests involving M000:" + alpha);
    EXPECT_EQ(actions[1]->text().toStdString().rfind("View requests involving M001:", 0), 0u);
    EXPECT_EQ(menu->defaultAction(), nullptr);

    actions[0]->trigger();
    const long involving = Count(rig,
                                 " WHERE (End1IntercomIndex = 1 AND End1Function = 'PP' AND "
                                 "End1Number = " +
                                     std::to_string(number) +
                                     ") OR (End2IntercomIndex = 1 AND End2Function = 'PP' AND "
                                     "End2Number = " +
                                     std::to_string(number) + ")");
    EXPECT_EQ(list->Model().rowCount(), involving);
    EXPECT_EQ(frame->windowTitle().toStdString(), "M000 Requests for " + alpha);
    EXPECT_EQ(ControlOf<QComboBox>(form, CRequestFormView::kIntercom1)->currentText(), "M000");
    EXPECT_EQ(ControlOf<QComboBox>(form, CRequestFormView::kAssignment)->currentData().toInt(),
              number);
    EXPECT_EQ(list->GetInfoText(1).toStdString(), std::to_string(involving) + " Requests");
}

TEST_F(RequestViews, AChosenIntercomFiltersTheListAndOffersItsAssignments) {
    auto* intercom = ControlOf<QComboBox>(form, CRequestFormView::kIntercom1);
    auto* type = ControlOf<QComboBox>(form, CRequestFormView::kFunctionType);
    auto* assignment = ControlOf<QComboBox>(form, CRequestFormView::kAssignment);
    ASSERT_TRUE(intercom && type && assignment);
    EXPECT_EQ(intercom->itemText(0), "All intercoms");
    EXPECT_EQ(assignment->count(), 1);
    intercom->setCurrentIndex(intercom->findData(5));
    EXPECT_EQ(list->Model().rowCount(),
              Count(rig, " WHERE End1IntercomIndex = 5 OR End2IntercomIndex = 5"));
    EXPECT_EQ(frame->windowTitle(), "M004 Requests");
    EXPECT_EQ(assignment->count(), 1 + QueryCount(rig,
                                                  "SELECT COUNT(*) FROM AllNames WHERE "
                                                  "IntercomIndex = 5"));
    type->setCurrentIndex(type->findData(1));
    EXPECT_EQ(frame->windowTitle(), "M004 PL Requests");
    EXPECT_EQ(assignment->count(), 1 + QueryCount(rig,
                                                  "SELECT COUNT(*) FROM AllNames WHERE "
                                                  "IntercomIndex = 5 AND Function = 'PL'"));
    EXPECT_EQ(assignment->font().family(), rig.resources.FixedFont().family());
}

TEST_F(RequestViews, TheBoxesFollowRenamedIntercomsAndChangedAlphas) {
    auto* intercom1 = ControlOf<QComboBox>(form, CRequestFormView::kIntercom1);
    auto* intercom2 = ControlOf<QComboBox>(form, CRequestFormView::kIntercom2);
    auto* assignment = ControlOf<QComboBox>(form, CRequestFormView::kAssignment);
    intercom1->setCurrentIndex(intercom1->findData(1));
    const int before = assignment->count();

    // Alphas are four characters long.
    rig.supervision.model.SetMatrixName(2, "NRTH");
    std::vector<std::string> panels;
    for (int i = 0; i < 9; ++i) {
        panels.push_back("D00" + std::to_string(i));
    }
    rig.supervision.model.SetAlphas(0, 1, panels);
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        QCoreApplication::processEvents();
        return intercom2->findText("NRTH") >= 0 && assignment->count() == before + 1;
    }));
    EXPECT_GE(intercom1->findText("NRTH"), 0);
    EXPECT_EQ(intercom1->currentData().toInt(), 1);
    EXPECT_GE(assignment->findText("D008", Qt::MatchStartsWith), 0);
}

}  // namespace
}  // namespace corvane
