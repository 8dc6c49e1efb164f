#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

#include "ViewTestSupport.h"
#include "document/VorlinDoc.h"
#include "platform/Clock.h"
#include "presentation/LineShading.h"
#include "settings/AppSettings.h"
#include "ui/views/AlarmFormView.h"
#include "ui/views/AlarmListView.h"

namespace corvane {
namespace {

using testing::BuildFakeNetwork;
using testing::ColumnTitled;
using testing::ControlOf;
using testing::QueryColumn;
using testing::QueryCount;
using testing::RowOfNumber;
using testing::SelectRowsOfNumbers;
using testing::SplitFields;
using testing::ViewsRig;

long Count(ViewsRig& rig, const std::string& where) {
    return QueryCount(rig, "SELECT COUNT(*) FROM Alarms" + where);
}

std::string Value(ViewsRig& rig, const std::string& column, int alarm) {
    const auto values = QueryColumn(
        rig, "SELECT " + column + " FROM Alarms WHERE AlarmID = " + std::to_string(alarm));
    return values.empty() ? "<none>" : values[0];
}

QColor ToQColor(ColorRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// A cell's background as the list shades its row.
QColor Shaded(ViewsRig& rig, ColorRef color, int row) {
    const bool shaded = IsShadedRow(row, rig.supervision.settings.Snapshot().AlternateLineShading);
    return ToQColor(
        shaded ? ShadeColor(color, rig.colors.Get(DisplayColor::AlternateLineShadingOffsets))
               : color);
}

class AlarmViews : public ::testing::Test {
protected:
    void SetUp() override {
        // A matrix stops answering its controller.
        rig.supervision.model.SetCommStatus(3, 0x05);
        ASSERT_TRUE(rig.supervision.TickUntil(
            [&] { return Count(rig, " WHERE DeviceType = 'Intercom'") >= 1; }));
        intercomAlarm = std::stoi(
            QueryColumn(rig, "SELECT AlarmID FROM Alarms WHERE DeviceType = 'Intercom'")[0]);
        frame = rig.OpenFrame(ViewKind::Alarms);
        list = dynamic_cast<CAlarmListView*>(frame->ListView());
        form = dynamic_cast<CAlarmFormView*>(frame->FormView());
        ASSERT_NE(list, nullptr);
        ASSERT_NE(form, nullptr);
    }

    // Raises a controller alarm through the document and writes it.
    int RaiseControllerAlarm() {
        const long before = Count(rig, "");
        EXPECT_TRUE(rig.doc->AddAlarm(devicetype::kQuillex, 1, alarmcat::kCommunication, 0,
                                      "Lost contact with Quillex", "", 0));
        rig.Tick();
        EXPECT_EQ(Count(rig, ""), before + 1);
        return std::stoi(QueryColumn(rig, "SELECT MAX(AlarmID) FROM Alarms")[0]);
    }

    ViewsRig rig{BuildFakeNetwork(40, 400)};
    int intercomAlarm = 0;
    CChildFrame* frame = nullptr;
    CAlarmListView* list = nullptr;
    CAlarmFormView* form = nullptr;
};

TEST_F(AlarmViews, ShowTheAlarmsWithTheirDevicesAndColouredStates) {
    const CListTableModel& model = list->Model();
    ASSERT_EQ(model.rowCount(), Count(rig, ""));
    const char* const titles[] = {"ID",          "State",       "Ack?",       "Notification",
                                  "Device Type", "Device Info", "Alarm Type", "Description",
                                  "T Active",    "T Resolved",  "T Ack",      "T Notify"};
    ASSERT_EQ(model.columnCount(), 12);
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
    }
    const int row = RowOfNumber(model, intercomAlarm);
    ASSERT_GE(row, 0);
    EXPECT_EQ(model.CellText(row, 1), "Active");
    EXPECT_EQ(model.CellText(row, 2), "-");
    EXPECT_EQ(model.CellText(row, 3), "None");
    EXPECT_EQ(model.CellText(row, 4), "Intercom");
    EXPECT_EQ(model.CellText(row, 5), "M003");
    EXPECT_EQ(model.CellText(row, 6), "Communication");
    EXPECT_EQ(model.CellText(row, 7), "Lost contact with intercom");
    EXPECT_FALSE(model.CellText(row, 8).empty());
    EXPECT_EQ(model.CellText(row, 9), "");

    // The busy alarms of the queued requests name the request and its two alphas.
    const auto busy = QueryColumn(rig,
                                  "SELECT AlarmID || '|' || DeviceInstance FROM Alarms "
                                  "WHERE DeviceType = 'Request' ORDER BY AlarmID");
    ASSERT_FALSE(busy.empty());
    const int busyRow = RowOfNumber(model, std::stoi(SplitFields(busy[0])[0]));
    ASSERT_GE(busyRow, 0);
    const std::string device = model.CellText(busyRow, 5);
    EXPECT_EQ(device.rfind("#" + SplitFields(busy[0])[1] + " (", 0), 0u) << device;
    EXPECT_EQ(device.back(), ')');

    // Only the state cell has the alarm colours; every cell is shaded after.
    const ColorSettings& colors = rig.colors;
    for (const int r : {row, busyRow}) {
        EXPECT_EQ(model.data(model.index(r, 1), Qt::BackgroundRole).value<QColor>(),
                  Shaded(rig, colors.Get(DisplayColor::AlarmActiveBackground), r));
        EXPECT_EQ(model.data(model.index(r, 1), Qt::ForegroundRole).value<QColor>(),
                  ToQColor(colors.Get(DisplayColor::AlarmActiveText)));
        EXPECT_FALSE(model.data(model.index(r, 7), Qt::ForegroundRole).isValid());
    }

    EXPECT_EQ(list->GetInfoText(1).toStdString(), std::to_string(Count(rig, "")) + " Alarms");
    EXPECT_EQ(list->GetInfoText(2).toStdString(),
              std::to_string(Count(rig, " WHERE State = 'Active'")) + " Active");
    EXPECT_EQ(list->GetInfoText(3).toStdString(),
              std::to_string(Count(rig, " WHERE State = 'Resolved'")) + " Resolved");
    EXPECT_EQ(list->GetInfoText(4), "0 Stale");
    EXPECT_EQ(list->GetInfoText(5).toStdString(),
              std::to_string(Count(rig, " WHERE State = 'Unresolved'")) + " Unresolved");
    EXPECT_EQ(frame->windowTitle(), "Alarms");
    rig.Screenshot("view-alarms.png");
}

TEST_F(AlarmViews, AcknowledgingAMixedSelectionChangesOnlyTheUnacknowledgedAlarms) {
    const int controller = RaiseControllerAlarm();
    const WallTime earlier = std::chrono::system_clock::now() - std::chrono::hours(2);
    rig.doc->AcknowledgeAlarm(intercomAlarm, earlier);
    rig.Tick();
    const std::string acknowledgedAt = Value(rig, "AcknowledgedTime", intercomAlarm);
    ASSERT_NE(acknowledgedAt, "");
    const CListTableModel& model = list->Model();
    const int row = RowOfNumber(model, intercomAlarm);
    EXPECT_EQ(model.CellText(row, 2), "Y");
    // An acknowledged alarm's state cell has the acknowledged colours.
    const ColorSettings& colors = rig.colors;
    EXPECT_EQ(model.data(model.index(row, 1), Qt::ForegroundRole).value<QColor>(),
              ToQColor(colors.Get(DisplayColor::AcknowledgedAlarmActiveText)));

    SelectRowsOfNumbers(*list, model, {intercomAlarm, controller});
    const std::unique_ptr<QMenu> menu = list->CreateContextMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(menu->defaultAction(), nullptr);
    EXPECT_EQ(menu->defaultAction()->text(), "&Acknowledge");
    menu->defaultAction()->trigger();
    {
        const auto lock = rig.doc->LockAlarms();
        EXPECT_EQ(rig.doc->AlarmQueue().size(), 1u);  // the controller alarm's only
    }
    rig.Tick();
    EXPECT_EQ(Value(rig, "Acknowledged", controller), "-1");
    EXPECT_NE(Value(rig, "AcknowledgedTime", controller), "");
    EXPECT_EQ(Value(rig, "AcknowledgedTime", intercomAlarm), acknowledgedAt);
    EXPECT_EQ(model.CellText(RowOfNumber(model, controller), 2), "Y");
    EXPECT_EQ(list->SelectedCount(), 2);
}

TEST_F(AlarmViews, CancellingNotificationsChangesOnlyThePendingOnes) {
    rig.supervision.settings.Modify([](AppSettings& s) {
        s.GenerateNotification[setupkind::kQuillex] = true;
        s.SuppressNotificationForResolvedAlarms[setupkind::kQuillex] = true;
        s.NotificationDelayTime[setupkind::kQuillex] = 3600;
    });
    const int pending = RaiseControllerAlarm();
    ASSERT_EQ(Value(rig, "Notification", pending), "Pending");
    const CListTableModel& model = list->Model();
    SelectRowsOfNumbers(*list, model, {intercomAlarm, pending});
    const std::unique_ptr<QMenu> menu = list->CreateContextMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_GE(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[1]->text(), "&Cancel notification");
    menu->actions()[1]->trigger();
    rig.Tick();
    EXPECT_EQ(Value(rig, "Notification", pending), "Cancelled");
    EXPECT_EQ(Value(rig, "Notification", intercomAlarm), "None");
    EXPECT_EQ(Value(rig, "NotificationTime", intercomAlarm), "");
    EXPECT_EQ(model.CellText(RowOfNumber(model, pending), 3), "Cancelled");
}

TEST_F(AlarmViews, ARightClickWithNothingSelectedShowsNoMenu) {
    list->clearSelection();
    EXPECT_EQ(list->CreateContextMenu(), nullptr);
    list->selectRow(0);
    const std::unique_ptr<QMenu> menu = list->CreateContextMenu();
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (const QAction* a : menu->actions()) {
        texts << a->text();
    }
    EXPECT_EQ(texts, QStringList({"&Acknowledge", "&Cancel notification", "", "Select &All"}));
}

TEST_F(AlarmViews, ANewAlarmMarksTheFrameIconUntilTheAlarmsAreSeen) {
    const qint64 alarms = rig.resources.Icon(110).cacheKey();
    const qint64 unseen = rig.resources.Icon(109).cacheKey();
    EXPECT_EQ(frame->windowIcon().cacheKey(), alarms);
    const long rows = list->Model().rowCount();
    RaiseControllerAlarm();
    EXPECT_EQ(frame->windowIcon().cacheKey(), unseen);
    EXPECT_EQ(list->Model().rowCount(), rows + 1);
    // Opening the alarms again clears the indication in every alarm frame.
    rig.OpenFrame(ViewKind::Alarms);
    EXPECT_EQ(frame->windowIcon().cacheKey(), alarms);
}

TEST_F(AlarmViews, WithoutAnAnalyzerTheTestAlarmsAreHidden) {
    // The rig configures no analyzer.
    auto* analyzer = ControlOf<QCheckBox>(form, CAlarmFormView::kAnalyzerAlarms);
    auto* failures = ControlOf<QCheckBox>(form, CAlarmFormView::kTrunkFailures);
    auto* trunk = ControlOf<QComboBox>(form, CAlarmFormView::kTrunk);
    auto* label = ControlOf<QLabel>(form, CAlarmFormView::kTrunkLabel);
    ASSERT_TRUE(analyzer && failures && trunk && label);
    EXPECT_EQ(analyzer->text(), " Show Audio Analyzer alarms");
    for (const QWidget* w : {static_cast<QWidget*>(analyzer), static_cast<QWidget*>(failures),
                             static_cast<QWidget*>(trunk), static_cast<QWidget*>(label)}) {
        EXPECT_FALSE(w->isVisible());
    }
    const auto* filter = dynamic_cast<const CAlarmFilterData*>(form->GetFilterData());
    EXPECT_FALSE(filter->ShowsCategory(alarmcategory::kAudioAnalyzer));
    EXPECT_FALSE(filter->ShowsCategory(alarmcategory::kTrunkTestFailure));

    // A trunk chosen while the trunk alarms are hidden changes the selector only.
    int resets = 0;
    QObject::connect(&list->Model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    ASSERT_GT(trunk->count(), 1);
    trunk->setCurrentIndex(1);
    EXPECT_EQ(filter->Trunk(), trunk->itemData(1).toInt());
    EXPECT_EQ(resets, 0);
    // The intercom box reaches the list: only that intercom's communication alarms.
    auto* intercom = ControlOf<QComboBox>(form, CAlarmFormView::kIntercom);
    intercom->setCurrentIndex(intercom->findData(4));
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(list->Model().rowCount(),
              Count(rig, " WHERE DeviceType <> 'Intercom' OR DeviceInstance = 4"));
}

TEST_F(AlarmViews, AConfiguredAnalyzerShowsTheTestAlarmsAgain) {
    const std::string analyzerName = rig.doc->Names().analyzerNames[analyzer::kRT2M];
    rig.supervision.settings.Modify([&](AppSettings& s) { s.AudioAnalyzer = analyzerName; });
    int resets = 0;
    QObject::connect(&list->Model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    // What the configuration page sends when it is applied.
    rig.doc->UpdateAllViews(hint::kConfigurationApplied);
    auto* analyzer = ControlOf<QCheckBox>(form, CAlarmFormView::kAnalyzerAlarms);
    EXPECT_EQ(analyzer->text().toStdString(), " Show " + analyzerName + " alarms");
    EXPECT_TRUE(analyzer->isVisible());
    EXPECT_TRUE(analyzer->isChecked());
    EXPECT_TRUE(ControlOf<QCheckBox>(form, CAlarmFormView::kTrunkFailures)->isChecked());
    EXPECT_TRUE(ControlOf<QComboBox>(form, CAlarmFormView::kTrunk)->isVisible());
    EXPECT_EQ(form->GetFilterData()->Selector(4), 63);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(list->Model().rowCount(), Count(rig, ""));
}

TEST_F(AlarmViews, UncheckingTheLastStateShowsTheActiveAlarmsAgain) {
    std::vector<QCheckBox*> others;
    for (const int id : {1054, 1055, 1059}) {
        others.push_back(ControlOf<QCheckBox>(form, id));
        ASSERT_NE(others.back(), nullptr);
        others.back()->click();
    }
    auto* active = ControlOf<QCheckBox>(form, 1053);
    active->click();
    EXPECT_TRUE(active->isChecked());
    EXPECT_EQ(list->Model().rowCount(), Count(rig, " WHERE State = 'Active'"));
    auto* acknowledged = ControlOf<QCheckBox>(form, 1056);
    rig.doc->AcknowledgeAlarm(intercomAlarm, std::chrono::system_clock::now());
    rig.Tick();
    acknowledged->click();
    EXPECT_EQ(list->Model().rowCount(), Count(rig, " WHERE State = 'Active' AND Acknowledged = 0"));
    acknowledged->click();
    for (QCheckBox* box : others) {
        box->click();
    }
    EXPECT_EQ(list->Model().rowCount(), Count(rig, ""));
}

}  // namespace
}  // namespace corvane
