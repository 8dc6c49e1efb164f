#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QGuiApplication>
#include <QHeaderView>
#include <algorithm>
#include <chrono>
#include <utility>

#include "ViewTestSupport.h"
#include "platform/ProfileStore.h"
#include "presentation/ListColumnLayout.h"
#include "qtsupport/HeaderArrow.h"
#include "ui/views/IcomListView.h"
#include "ui/views/ViewPanes.h"

namespace corvane {
namespace {

using testing::BuildFakeNetwork;
using testing::ColumnTitled;
using testing::SortArrowDirection;
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
    EXPECT_EQ(SortArrowDirection(*list->horizontalHeader()), 1) << "up for ascending";
    list->horizontalHeader()->sectionClicked(1);
    QStringList descending(ascending.rbegin(), ascending.rend());
    EXPECT_EQ(Column(*list, 1), descending);
    EXPECT_FALSE(list->SortAscending());
    EXPECT_EQ(SortArrowDirection(*list->horizontalHeader()), -1) << "down for descending";
    rig.Screenshot("list-sorted-descending.png");
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

// Counts the statements a database starts, and those it starts without the wait cursor.
class CursorAtStatements {
public:
    explicit CursorAtStatements(CDaoDatabase& db) {
        DaoStatementSlot& slot = db.Slot("SELECT 1");
        db.Use(slot);
        handle_ = sqlite3_db_handle(slot.stmt);
        sqlite3_trace_v2(handle_, SQLITE_TRACE_STMT, &Started, this);
    }
    ~CursorAtStatements() { sqlite3_trace_v2(handle_, 0, nullptr, nullptr); }
    CursorAtStatements(const CursorAtStatements&) = delete;
    CursorAtStatements& operator=(const CursorAtStatements&) = delete;

    int statements = 0;
    int withoutWaitCursor = 0;

private:
    static int Started(unsigned, void* context, void*, void*) {
        auto* self = static_cast<CursorAtStatements*>(context);
        ++self->statements;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        self->withoutWaitCursor += cursor == nullptr || cursor->shape() != Qt::WaitCursor ? 1 : 0;
        return 0;
    }

    sqlite3* handle_ = nullptr;
};

TEST(ListViewBase, EveryListReadsItsRowsUnderTheWaitCursor) {
    ViewsRig rig;
    CDaoDatabase& db = rig.doc->Database()->Database();
    for (const ViewKind kind :
         {ViewKind::Intercoms, ViewKind::Trunks, ViewKind::Requests, ViewKind::Alphas,
          ViewKind::Alarms, ViewKind::TrunkConflicts, ViewKind::TrunkSummary}) {
        SCOPED_TRACE(ViewKindNumber(kind));
        const std::unique_ptr<CListRecordset> recordset = CreateListRecordset(kind, db);
        const std::unique_ptr<CVorlinListView> list(CreateListView(kind, *rig.context, nullptr));
        list->SetRecordset(recordset.get());
        CursorAtStatements cursor(db);
        list->OnInitialUpdate();
        EXPECT_GT(cursor.statements, 0);
        EXPECT_EQ(cursor.withoutWaitCursor, 0);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "and none once it has opened";
    }
}

TEST(ListViewBase, ColumnsFittedWhileTheyShowNoTextFitTheFirstRowsWithTextAndAreNotSavedBefore) {
    // A first start: the request list opens before the first tick has written any request.
    ViewsRig rig(BuildFakeNetwork(6, 40), false);
    const auto saved = [&rig] {
        return LoadListColumnLayout(rig.supervision.profile, "RequestListColumnWidths",
                                    "RequestListColumnOrder", 14)
            .widths;
    };
    CChildFrame* frame = rig.OpenFrame(ViewKind::Requests);
    ASSERT_EQ(frame->ListView()->Model().rowCount(), 0);
    frame->SetViewKind(ViewKind::None, nullptr);
    EXPECT_EQ(saved(), std::vector<int>(14, ListColumnLayout::kNoWidth));

    frame->SetViewKind(ViewKind::Requests, nullptr);
    CVorlinListView* list = frame->ListView();
    const CListTableModel& model = list->Model();
    ASSERT_EQ(model.rowCount(), 0);
    list->setColumnWidth(0, 77);  // the operator's own width is kept
    const int active = ColumnTitled(model, "T Act");
    ASSERT_GE(active, 0);
    // The rows on screen, the first ones a fit measures.
    const auto shown = [&] { return std::min(model.rowCount(), 20); };
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        QCoreApplication::processEvents();
        for (int row = 0; row < shown(); ++row) {
            if (!model.CellText(row, active).empty()) {
                return true;
            }
        }
        return false;
    }));
    rig.Screenshot("request-list-first-rows.png");
    EXPECT_EQ(list->columnWidth(0), 77);
    std::vector<bool> showsText(14, false);
    for (int c = 1; c < 14; ++c) {
        for (int row = 0; row < shown(); ++row) {
            const QString text = QString::fromStdString(model.CellText(row, c));
            showsText[c] = showsText[c] || !text.isEmpty();
            EXPECT_GE(list->columnWidth(c), list->fontMetrics().horizontalAdvance(text))
                << "column " << c << " row " << row << ": " << text.toStdString();
        }
    }
    std::vector<int> widths;
    for (int c = 0; c < 14; ++c) {
        widths.push_back(c == 0 || showsText[c] ? list->columnWidth(c)
                                                : ListColumnLayout::kNoWidth);
    }
    frame->SetViewKind(ViewKind::None, nullptr);
    EXPECT_EQ(saved(), widths);
}

// The simulator's network, as `./run.sh --simulator` starts it for the first time: the time
// columns can be read, also in the next list, which takes the widths the first one saved.
TEST(ListViewBase, ScreenshotsOfTheRequestListAfterAFirstStartOnAFullNetwork) {
    ViewsRig rig(BuildFakeNetwork(256, 10000), false);
    CChildFrame* frame = rig.OpenFrame(ViewKind::Requests);
    ASSERT_EQ(frame->ListView()->Model().rowCount(), 0);
    ASSERT_TRUE(rig.TickUntilSynced());
    // Of the first rows, those with an activation time, and those whose time fits its column.
    const auto times = [](const CVorlinListView& list) {
        const int column = ColumnTitled(list.Model(), "T Act");
        std::pair<int, int> shownAndFitted;
        for (int row = 0; row < std::min(list.Model().rowCount(), 20); ++row) {
            const QString text = QString::fromStdString(list.Model().CellText(row, column));
            if (!text.isEmpty()) {
                ++shownAndFitted.first;
                shownAndFitted.second +=
                    list.columnWidth(column) >= list.fontMetrics().horizontalAdvance(text) ? 1 : 0;
            }
        }
        return shownAndFitted;
    };
    const auto timesFit = [&times](const CVorlinListView& list) { return times(list).second; };
    // The requests turn active as the controller reports their trunks' usage, after the trunks.
    ASSERT_TRUE(rig.supervision.TickUntil(
        [&] {
            QCoreApplication::processEvents();
            return times(*frame->ListView()).first > 10;
        },
        std::chrono::minutes(5)));  // a guard against a hang, for a loaded sanitizer build
    EXPECT_GT(timesFit(*frame->ListView()), 10);
    rig.Screenshot("request-list-first-start.png");
    frame->SetViewKind(ViewKind::None, nullptr);
    frame->SetViewKind(ViewKind::Requests, nullptr);
    CVorlinListView* list = frame->ListView();
    EXPECT_GT(timesFit(*list), 10);
    const int column = ColumnTitled(list->Model(), "T Act");
    list->horizontalHeader()->sectionClicked(column);
    list->horizontalHeader()->sectionClicked(column);
    EXPECT_EQ(SortArrowDirection(*list->horizontalHeader()), -1);
    rig.Screenshot("request-list-sorted-descending.png");
    // Later request lists of this program open unsorted again.
    emit list->horizontalHeader()->sectionClicked(-1);
}

}  // namespace
}  // namespace corvane
