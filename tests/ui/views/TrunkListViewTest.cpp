#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QMenu>
#include <map>

#include "TrunkViews.h"
#include "ViewTestSupport.h"
#include "document/VorlinDoc.h"
#include "fakes/FakeTrunkStates.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "presentation/LineShading.h"
#include "presentation/TrunkListMenu.h"
#include "qtsupport/QtWait.h"
#include "ui/VorlinStatusBar.h"

namespace corvane {
namespace {

using testing::ClickHeader;
using testing::FakeNetwork;
using testing::FakeRequest;
using testing::FakeTrunk;
using testing::FindTrunk;
using testing::RowOfTrunk;
using testing::SelectTrunks;
using testing::SetAnalyzer;
using testing::TrunkList;
using testing::ViewsRig;

std::string PortCell(int number) {
    return "[" + CVorlinDoc::GetAlphaDisplayName(0, number) + "]";
}

TEST(TrunkListView, ShowsTheTrunksWithTheirMarkersShadingAndTotals) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* list = TrunkList(frame);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(testing::TrunkForm(frame), nullptr);
    const CListTableModel& model = list->Model();
    const FakeNetwork network = rig.supervision.model.Network();
    ASSERT_EQ(model.rowCount(), 40);
    ASSERT_EQ(model.columnCount(), 21);
    const char* titles[] = {
        "Trunk",       "State",   "OOS?",    "Icom 1",      "Alpha",     "Port",
        "Icom 2",      "Alpha",   "Port",    "Test Status", "Test Time", "Test Information",
        "Cascadable?", "Fixed?",  "Alpha 1", "Asgn",        "Alpha 2",   "Asgn",
        "AutoTest?",   "Alarms?", "Notify?"};
    for (int c = 0; c < 21; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]) << c;
    }

    std::map<std::string, int> states;
    int outOfService = 0;
    for (size_t t = 0; t < network.trunks.size(); ++t) {
        const FakeTrunk& fake = network.trunks[t];
        const int trunk = static_cast<int>(t) + 1;
        const int row = RowOfTrunk(*list, trunk);
        ASSERT_GE(row, 0) << trunk;
        ++states[testing::TrunkStateName(fake.status)];
        outOfService += fake.outOfService ? 1 : 0;
        EXPECT_EQ(model.CellText(row, 1), testing::TrunkStateName(fake.status)) << trunk;
        EXPECT_EQ(model.CellText(row, 2), fake.outOfService ? "Y" : "-") << trunk;
        EXPECT_EQ(model.CellText(row, 3), network.matrices[fake.end1Intercom].name) << trunk;
        EXPECT_EQ(model.CellText(row, 5), PortCell(fake.end1Number + 1)) << trunk;
        EXPECT_EQ(model.CellText(row, 6), network.matrices[fake.end2Intercom].name) << trunk;
        EXPECT_EQ(model.CellText(row, 8), PortCell(fake.end2Number + 1)) << trunk;
        EXPECT_EQ(model.CellText(row, 12), fake.canCascade ? "Y" : "-") << trunk;
        EXPECT_EQ(model.CellText(row, 13), "-") << trunk;
        // Without fixed ends the fixed alphas and assignments stay empty.
        EXPECT_EQ(model.CellText(row, 14), "") << trunk;
        EXPECT_EQ(model.CellText(row, 15), "") << trunk;
        EXPECT_EQ(model.CellText(row, 18), "Y") << trunk;
    }

    // Rows 2, 3, 6, 7... are shaded with the default mask and offset; the others keep the
    // window's colour.
    const QColor window = list->palette().color(QPalette::Base);
    const QColor shaded = model.data(model.index(2, 4), Qt::BackgroundRole).value<QColor>();
    EXPECT_EQ(shaded, QColor(std::max(window.red() - 10, 0), std::max(window.green() - 10, 0),
                             std::max(window.blue() - 10, 0)));
    EXPECT_FALSE(model.data(model.index(1, 4), Qt::BackgroundRole).isValid());

    EXPECT_EQ(list->GetInfoText(1).toStdString(), "40 Trunks");
    EXPECT_EQ(list->GetInfoText(2).toStdString(), std::to_string(states["Alloc"]) + " Allocated");
    EXPECT_EQ(list->GetInfoText(3).toStdString(), std::to_string(states["In Use"]) + " In Use");
    EXPECT_EQ(list->GetInfoText(4).toStdString(), std::to_string(states["Maint"]) + " Maintenance");
    EXPECT_EQ(list->GetInfoText(5).toStdString(), std::to_string(outOfService) + " Out-of-service");
    // Without an analyzer the second bar, with the test results, is not offered: they are
    // never counted.
    EXPECT_TRUE(frame->InfoBar(1).isHidden());
    EXPECT_EQ(list->GetInfoText(6).toStdString(), "");
    EXPECT_EQ(list->GetInfoText(9).toStdString(), "");
    EXPECT_EQ(list->GetInfoText(10).toStdString(), "");
    EXPECT_EQ(frame->InfoBar(0).PaneText(1), list->GetInfoText(1));
    EXPECT_EQ(frame->InfoBar(0).PaneText(5), list->GetInfoText(5));
    EXPECT_EQ(frame->windowTitle(), "Trunks");
}

// A controller that names a matrix with the list cell marker in front (the bytes 01 74 41 42):
// the name reaches the trunk list as a name, never as a marker, and the list paints.
TEST(TrunkListView, AMatrixNamedWithTheCellMarkerShowsItsName) {
    FakeNetwork network = testing::BuildFakeNetwork(6, 40);
    network.matrices[0].name = "\x01tAB";
    ViewsRig rig(network);
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* list = TrunkList(frame);
    ASSERT_NE(list, nullptr);
    const CListTableModel& model = list->Model();
    int shown = 0;
    for (size_t t = 0; t < network.trunks.size(); ++t) {
        const FakeTrunk& trunk = network.trunks[t];
        if (!trunk.defined || (trunk.end1Intercom != 0 && trunk.end2Intercom != 0)) {
            continue;
        }
        const int row = RowOfTrunk(*list, static_cast<int>(t) + 1);
        ASSERT_GE(row, 0);
        EXPECT_EQ(model.CellText(row, trunk.end1Intercom == 0 ? 3 : 6), "?tAB");
        ++shown;
    }
    EXPECT_GT(shown, 0);
    EXPECT_FALSE(list->grab().isNull());
    rig.Screenshot("view-trunks-marker-name.png");
    EXPECT_EQ(
        testing::QueryColumn(rig, "SELECT IntercomName FROM Intercoms WHERE IntercomIndex = 1"),
        std::vector<std::string>{"?tAB"});
}

TEST(TrunkListView, TestColumnsFollowTheAnalyzerAndTheServiceColumnTheController) {
    ViewsRig rig;
    CTrunkListView* list = TrunkList(rig.OpenFrame(ViewKind::Trunks));
    ASSERT_NE(list, nullptr);
    for (const int c : CTrunkListView::kTestColumns) {
        EXPECT_TRUE(list->IsColumnHidden(c)) << c;
    }
    EXPECT_FALSE(list->IsColumnHidden(CTrunkListView::kColumnOutOfService));
    EXPECT_FALSE(list->IsColumnHidden(3));

    SetAnalyzer(rig, "Tonexa");
    rig.doc->UpdateAllViews(hint::kConfigurationApplied);
    for (const int c : CTrunkListView::kTestColumns) {
        EXPECT_FALSE(list->IsColumnHidden(c)) << c;
        EXPECT_GT(list->columnWidth(c), 0) << c;
    }

    ASSERT_TRUE(testing::SetOutOfServiceReported(rig, false));
    EXPECT_TRUE(list->IsColumnHidden(CTrunkListView::kColumnOutOfService));
    EXPECT_EQ(list->GetInfoText(5).toStdString(), "");
}

TEST(TrunkListView, AStateChangeReachesTheCellOnTheTickOfItsWriteBack) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* list = TrunkList(frame);
    ASSERT_NE(list, nullptr);
    const FakeNetwork network = rig.supervision.model.Network();
    const int trunk = FindTrunk(network, 0);
    const int other = FindTrunk(network, 3);
    ASSERT_GT(trunk, 0);
    ASSERT_GT(other, 0);
    SelectTrunks(*list, {other, trunk});
    const std::vector<int> selected = list->SelectedRows();
    const QModelIndex current = list->currentIndex();
    const int row = RowOfTrunk(*list, trunk);
    ASSERT_EQ(list->Model().CellText(row, 1), "Idle");
    int resets = 0;
    QObject::connect(&list->Model(), &QAbstractItemModel::modelReset, [&] { ++resets; });

    rig.supervision.model.SetTrunkStatus(trunk - 1, 3);
    const auto written = [&] {
        CDaoRecordset rs(rig.doc->Database()->Database());
        rs.Open(DaoOpenType::Dynaset,
                "SELECT State FROM Trunks WHERE TrunkIndex = " + std::to_string(trunk));
        return rs.GetFieldValue(0).ToText() == "In Use";
    };
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        QCoreApplication::processEvents();
        return written();
    }));
    EXPECT_EQ(list->Model().CellText(row, 1), "In Use");
    EXPECT_EQ(resets, 0);
    EXPECT_EQ(list->SelectedRows(), selected);
    EXPECT_EQ(list->currentIndex(), current);
    EXPECT_EQ(list->GetInfoText(3).toStdString(),
              std::to_string(std::count_if(network.trunks.begin(), network.trunks.end(),
                                           [](const FakeTrunk& t) { return t.status == 3; }) +
                             1) +
                  " In Use");
}

TEST(TrunkListView, AHiddenBarsCountsAreReadWhenItShowsAgain) {
    ViewsRig rig;
    SetAnalyzer(rig, "Tonexa");
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* list = TrunkList(frame);
    ASSERT_NE(list, nullptr);
    ASSERT_FALSE(frame->InfoBar(0).isHidden());
    EXPECT_EQ(frame->InfoBar(1).PaneText(1).toStdString(), "0 Pending");
    const std::string before = frame->InfoBar(0).PaneText(4).toStdString();
    frame->RouteCommand(cmd::kInfoBar1);
    ASSERT_TRUE(frame->InfoBar(0).isHidden());

    const int idle = FindTrunk(rig.supervision.model.Network(), 0);
    rig.supervision.model.SetTrunkStatus(idle - 1, 4);
    const int row = RowOfTrunk(*list, idle);
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        QCoreApplication::processEvents();
        return list->Model().CellText(row, 1) == "Maint";
    }));
    EXPECT_EQ(frame->InfoBar(0).PaneText(4).toStdString(), before);  // not counted meanwhile

    frame->RouteCommand(cmd::kInfoBar1);
    const int maintained = std::stoi(before) + 1;
    EXPECT_EQ(frame->InfoBar(0).PaneText(4).toStdString(),
              std::to_string(maintained) + " Maintenance");
}

TEST(TrunkListView, HeaderClickSortsPortsByNumberAndASecondClickReverses) {
    FakeNetwork network = testing::BuildFakeNetwork(6, 40);
    // Port numbers of one, two and three digits, so that an order by text would differ.
    for (size_t t = 0; t < network.trunks.size(); ++t) {
        network.trunks[t].end1Number = static_cast<uint16_t>((t * 37) % 150);
    }
    ViewsRig rig(network);
    CTrunkListView* list = TrunkList(rig.OpenFrame(ViewKind::Trunks));
    ASSERT_NE(list, nullptr);
    const auto ports = [&] {
        std::vector<int> out;
        for (int row = 0; row < list->Model().rowCount(); ++row) {
            const int trunk = std::stoi(list->Model().CellText(row, 0));
            out.push_back(network.trunks[static_cast<size_t>(trunk - 1)].end1Number);
        }
        return out;
    };
    ClickHeader(*list->horizontalHeader(), 5);
    const std::vector<int> ascending = ports();
    EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
    EXPECT_EQ(list->SortColumn(), 5);

    ClickHeader(*list->horizontalHeader(), 5);
    const std::vector<int> descending = ports();
    EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));
    EXPECT_EQ(ascending.size(), descending.size());
    EXPECT_FALSE(list->SortAscending());

    // A trunk list opened now is sorted the same way, from the first rows it reads, with its
    // widths fitted to them and its filter as the form gives it.
    CTrunkListView* next = TrunkList(rig.OpenFrame(ViewKind::Trunks));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->SortColumn(), 5);
    EXPECT_FALSE(next->SortAscending());
    EXPECT_EQ(next->Model().rowCount(), 40);
    EXPECT_EQ(next->Model().CellText(0, 0), list->Model().CellText(0, 0));
    EXPECT_EQ(next->columnWidth(8), list->columnWidth(8));
    EXPECT_EQ(next->GetRecordset()->m_strFilter, list->GetRecordset()->m_strFilter);
    // Later trunk lists of this program open by trunk number again.
    emit list->horizontalHeader()->sectionClicked(-1);
}

TEST(TrunkListView, ColumnWidthsAndOrderComeBackInTheNextFrame) {
    ViewsRig rig;
    rig.OpenFrame(ViewKind::Intercoms);  // the last frame may not close
    CChildFrame* first = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* list = TrunkList(first);
    ASSERT_NE(list, nullptr);
    list->setColumnWidth(3, 173);
    QHeaderView* header = list->horizontalHeader();
    header->moveSection(header->visualIndex(6), 0);
    ASSERT_TRUE(first->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(rig.area.subWindowList().size(), 1);

    CTrunkListView* next = TrunkList(rig.OpenFrame(ViewKind::Trunks));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->columnWidth(3), 173);
    EXPECT_EQ(next->horizontalHeader()->visualIndex(6), 0);
    EXPECT_EQ(next->horizontalHeader()->visualIndex(0), 1);
    // The test columns are still hidden, and come back at their widths.
    EXPECT_TRUE(next->IsColumnHidden(9));
}

TEST(TrunkListView, AFilterChangeInOneFrameLeavesTheOtherFrameAlone) {
    ViewsRig rig;
    CChildFrame* first = rig.OpenFrame(ViewKind::Trunks);
    CChildFrame* second = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* other = TrunkList(second);
    ASSERT_NE(other, nullptr);
    int resets = 0;
    QObject::connect(&other->Model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    const testing::ChecksRestored restored(testing::TrunkForm(first));
    auto* idle = qobject_cast<QCheckBox*>(testing::TrunkForm(first)->Control(1055));
    ASSERT_NE(idle, nullptr);
    idle->click();
    const FakeNetwork network = rig.supervision.model.Network();
    const auto busy = std::count_if(network.trunks.begin(), network.trunks.end(),
                                    [](const FakeTrunk& t) { return t.status != 0; });
    EXPECT_EQ(TrunkList(first)->Model().rowCount(), busy);
    EXPECT_EQ(TrunkList(first)->GetInfoText(1).toStdString(), std::to_string(busy) + " Trunks");
    EXPECT_EQ(other->Model().rowCount(), 40);
    EXPECT_EQ(other->GetInfoText(1).toStdString(), "40 Trunks");
    EXPECT_EQ(resets, 0);
    idle->click();
    EXPECT_EQ(TrunkList(first)->Model().rowCount(), 40);
}

TEST(TrunkListView, TestNowAsksAboutInUseTrunksAndSilentIntercoms) {
    FakeNetwork network = testing::BuildFakeNetwork(6, 40);
    network.matrices[5].commStatus = 0x05;  // not communicating
    ViewsRig rig(network);
    SetAnalyzer(rig, "Tonexa");
    CTrunkListView* list = TrunkList(rig.OpenFrame(ViewKind::Trunks));
    ASSERT_NE(list, nullptr);
    const auto onSilent = [&](const FakeTrunk& t) {
        return t.end1Intercom == 5 || t.end2Intercom == 5;
    };
    int inUse = -1, silent = -1, idle = -1;
    for (size_t t = 0; t < network.trunks.size(); ++t) {
        const FakeTrunk& fake = network.trunks[t];
        const int number = static_cast<int>(t) + 1;
        if (fake.status == 3 && !onSilent(fake) && inUse < 0) {
            inUse = number;
        } else if (fake.status == 0 && onSilent(fake) && silent < 0) {
            silent = number;
        } else if (fake.status == 0 && !onSilent(fake) && !fake.outOfService && idle < 0) {
            idle = number;
        }
    }
    ASSERT_GT(inUse, 0);
    ASSERT_GT(silent, 0);
    ASSERT_GT(idle, 0);
    struct Case {
        const char* name;
        int trunk;
        bool warn;
        std::vector<int> answers;
        std::vector<int> questions;  // string ids asked
        bool queued;
    };
    const Case cases[] = {
        {"in use, cancelled", inUse, true, {answer::kCancel}, {ids::kWarnTestInUseTrunk}, false},
        {"in use, confirmed", inUse, true, {answer::kOk}, {ids::kWarnTestInUseTrunk}, true},
        {"in use, warning off", inUse, false, {}, {}, true},
        {"silent intercom, cancelled",
         silent,
         true,
         {answer::kCancel},
         {ids::kWarnTestNotCommunicating},
         false},
        {"silent intercom, confirmed",
         silent,
         true,
         {answer::kOk},
         {ids::kWarnTestNotCommunicating},
         true},
        {"idle and communicating", idle, true, {}, {}, true},
    };
    for (const Case& c : cases) {
        rig.supervision.settings.Modify(
            [&](AppSettings& s) { s.WarnBeforeTestingInUseTrunks = c.warn; });
        TrunkPendingOps& ops = rig.doc->TrunkAt(c.trunk)->PendingOps();
        ops = {};
        rig.doc->SetTrunkTestPosition(0);
        for (const int a : c.answers) {
            rig.supervision.ui.QueueAnswer(a);
        }
        const size_t before = rig.supervision.ui.Boxes().size();
        SelectTrunks(*list, {c.trunk});
        list->OnMenuCommand(trunkcmd::kTestNow);

        const auto boxes = rig.supervision.ui.Boxes();
        ASSERT_EQ(boxes.size() - before, c.questions.size()) << c.name;
        for (size_t i = 0; i < c.questions.size(); ++i) {
            const auto& box = boxes[before + i];
            EXPECT_EQ(box.text, InsertArgs(LoadString(c.questions[i]), {std::to_string(c.trunk)}))
                << c.name;
            EXPECT_EQ(box.caption, "Corvane");
            EXPECT_EQ(box.style, mb::kOkCancel | mb::kIconExclamation | mb::kDefButton2);
        }
        EXPECT_EQ(ops.testWanted, c.queued ? 1 : 0) << c.name;
        EXPECT_EQ(ops.manualTest, c.queued ? 1 : 0) << c.name;
        EXPECT_EQ(rig.doc->TrunkTestPosition(), c.queued ? c.trunk - 1 : 0) << c.name;
        ops = {};
    }
}

TEST(TrunkListView, MaintenanceRequestsReachTheControllerAndTheCell) {
    ViewsRig rig;
    CTrunkListView* list = TrunkList(rig.OpenFrame(ViewKind::Trunks));
    ASSERT_NE(list, nullptr);
    const FakeNetwork network = rig.supervision.model.Network();
    const int idle = FindTrunk(network, 0);
    const int maintained = FindTrunk(network, 4);
    ASSERT_GT(idle, 0);
    ASSERT_GT(maintained, 0);

    // Of a mixed selection only the trunk not in maintenance is asked for.
    SelectTrunks(*list, {idle, maintained});
    list->OnMenuCommand(trunkcmd::kSetMaintenance);
    EXPECT_EQ(rig.doc->TrunkAt(idle)->PendingOps().setMaintenanceRequested, 1);
    EXPECT_EQ(rig.doc->TrunkAt(idle)->PendingOps().force, 1);
    EXPECT_EQ(rig.doc->TrunkAt(maintained)->PendingOps().setMaintenanceRequested, 0);
    EXPECT_TRUE(rig.doc->TrunkOperationsPending());

    const auto modeRequests = [&](int trunk, int mode) {
        int n = 0;
        for (const FakeRequest& r : rig.supervision.fake.Requests()) {
            if (r.code == 39 && r.payload.size() >= 3 &&
                ((r.payload[0] << 8) | r.payload[1]) == trunk - 1 && r.payload[2] == mode) {
                ++n;
            }
        }
        return n;
    };
    const int row = RowOfTrunk(*list, idle);
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        QCoreApplication::processEvents();
        return list->Model().CellText(row, 1) == "Maint";
    }));
    EXPECT_GE(modeRequests(idle, 1) + modeRequests(idle, 2), 1);
    EXPECT_EQ(modeRequests(maintained, 1) + modeRequests(maintained, 2), 0);

    SelectTrunks(*list, {idle});
    list->OnMenuCommand(trunkcmd::kClearMaintenance);
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        QCoreApplication::processEvents();
        return list->Model().CellText(row, 1) == "Idle";
    }));
    EXPECT_EQ(modeRequests(idle, 0), 1);
}

TEST(TrunkListView, SwitchesAndPauseReachTheDocument) {
    ViewsRig rig;
    SetAnalyzer(rig, "Tonexa");
    CTrunkListView* list = TrunkList(rig.OpenFrame(ViewKind::Trunks));
    ASSERT_NE(list, nullptr);
    SelectTrunks(*list, {3, 4});
    list->OnMenuCommand(trunkcmd::kDisableAutoTest);
    list->OnMenuCommand(trunkcmd::kDisableAlarms);
    for (const int trunk : {3, 4}) {
        EXPECT_FALSE(rig.doc->TrunkAt(trunk)->AutoTestEnabled()) << trunk;
        EXPECT_FALSE(rig.doc->TrunkAt(trunk)->AlarmsEnabled()) << trunk;
    }
    EXPECT_TRUE(rig.doc->TrunkAt(5)->AutoTestEnabled());
    // Queuing skips trunks whose automatic testing is off.
    SelectTrunks(*list, {3, 5});
    list->OnMenuCommand(trunkcmd::kQueueForTesting);
    EXPECT_EQ(rig.doc->TrunkAt(3)->PendingOps().queuedForTesting, 0);
    EXPECT_EQ(rig.doc->TrunkAt(5)->PendingOps().queuedForTesting, 1);
    list->OnMenuCommand(trunkcmd::kCancelPendingTest);  // no result is pending yet
    EXPECT_EQ(rig.doc->TrunkAt(5)->PendingOps().cancelTestRequested, 0);
    list->OnMenuCommand(trunkcmd::kClearTestResults);
    EXPECT_EQ(rig.doc->TrunkAt(5)->PendingOps().clearResultsRequested, 1);

    // The write-back brings the switch into the list.
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        QCoreApplication::processEvents();
        return list->Model().CellText(RowOfTrunk(*list, 4), 19) == "-";
    }));
    EXPECT_EQ(list->Model().CellText(RowOfTrunk(*list, 4), 18), "-");

    list->OnMenuCommand(trunkcmd::kPauseTesting);
    EXPECT_TRUE(rig.doc->TestingPaused());
    SelectTrunks(*list, {5});
    std::unique_ptr<QMenu> menu = list->CreateContextMenu();
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (const QAction* a : menu->actions()) {
        texts << a->text();
    }
    EXPECT_TRUE(texts.contains("Resume testing"));
    EXPECT_FALSE(texts.contains("Pause testing"));
    list->OnMenuCommand(trunkcmd::kResumeTesting);
    EXPECT_FALSE(rig.doc->TestingPaused());
}

TEST(TrunkListView, ContextMenuFollowsTheSelection) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* list = TrunkList(frame);
    ASSERT_NE(list, nullptr);
    const auto texts = [](const QMenu& menu) {
        QStringList out;
        for (const QAction* a : menu.actions()) {
            out << (a->isSeparator() ? QString("|") : a->text());
        }
        return out.join(",");
    };
    EXPECT_EQ(list->CreateContextMenu(), nullptr);  // nothing selected

    SelectTrunks(*list, {1, 2});
    std::unique_ptr<QMenu> two = list->CreateContextMenu();
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(texts(*two), "&Set maintenance mode,&Clear maintenance mode");
    EXPECT_EQ(two->defaultAction(), nullptr);

    const int idle = FindTrunk(rig.supervision.model.Network(), 0);
    SelectTrunks(*list, {idle});
    std::unique_ptr<QMenu> one = list->CreateContextMenu();
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(texts(*one), "&Set maintenance mode,|,&View requests for this trunk");
    ASSERT_NE(one->defaultAction(), nullptr);
    EXPECT_EQ(one->defaultAction()->data().toInt(), trunkcmd::kViewRequests);

    // A double click runs the default: the frame shows the trunk's requests.
    const QRect cell = list->visualRect(list->Model().index(RowOfTrunk(*list, idle), 0));
    QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(cell.center()),
                      list->viewport()->mapToGlobal(QPointF(cell.center())), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &press);
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return frame->Kind() == ViewKind::Requests; }));
    if (CVorlinFormView* form = frame->FormView()) {
        EXPECT_EQ(form->GetFilterData()->Selector(5), idle);
    }
}

TEST(TrunkListView, SelectAllSelectsEveryTrunk) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* list = TrunkList(frame);
    ASSERT_NE(list, nullptr);
    rig.window.activateWindow();
    list->setFocus();
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return list->hasFocus(); }));
    EXPECT_TRUE(frame->RouteCommandUpdate(cmd::kEditSelectAll)->enabled);
    EXPECT_TRUE(frame->RouteCommand(cmd::kEditSelectAll));
    EXPECT_EQ(list->SelectedCount(), 40);
}

TEST(TrunkListView, ScreenshotOfAFullNetwork) {
    ViewsRig rig(testing::BuildFakeNetwork(256, 10000));
    SetAnalyzer(rig, "Tonexa");
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkListView* list = TrunkList(frame);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Model().rowCount(), 9800);
    // Some trunks tested, as the sequencer records its results.
    const std::pair<int, const char*> results[] = {{0, "Loss 0.4 dB, Pass"},
                                                   {1, "Loss 7.9 dB exceeds 6.0 dB"},
                                                   {2, "Not communicating with Tonexa"},
                                                   {3, "Waiting for the test set..."},
                                                   {0, "Loss 0.2 dB, Pass"},
                                                   {5, "Trunk was in use, test still pending..."}};
    uint32_t hint = 0;
    for (size_t i = 0; i < std::size(results); ++i) {
        rig.doc->Database()->CopyTrunkTestResultsToDatabase(static_cast<int>(i) + 1,
                                                            results[i].first, results[i].second,
                                                            hint, rig.doc->TrunkTestLog());
    }
    rig.doc->UpdateAllViews(hint);
    EXPECT_EQ(list->Model().CellText(RowOfTrunk(*list, 2), 9), "Fail");
    EXPECT_EQ(list->GetInfoText(8).toStdString(), "1 Failed");
    EXPECT_FALSE(frame->InfoBar(0).isHidden());
    EXPECT_FALSE(frame->InfoBar(1).isHidden());
    for (int bar = 0; bar < 2; ++bar) {
        for (int pane = 1; pane <= 5; ++pane) {
            const CVorlinStatusBar& info = frame->InfoBar(bar);
            EXPECT_GE(info.PaneWidth(pane), info.TextWidth(info.PaneText(pane))) << bar << pane;
        }
    }
    SelectTrunks(*list, {3});
    rig.Screenshot("view-trunks.png");
    EXPECT_EQ(list->GetInfoText(1).toStdString(), "9800 Trunks");
}

}  // namespace
}  // namespace corvane
