#include "store/WriteBackFixture.h"

namespace corvane::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST_F(WriteBackTest, AlphaOperationsAddEditAndDelete) {
    doc->AddAlpha(2, 0, 1, "DESK", alphaop::kStore, true);
    doc->AddAlpha(2, 0, 2, "ROOF", alphaop::kStore, true);
    doc->AddAlpha(2, 0, 3, "HALL", alphaop::kStore, true);
    EXPECT_EQ(Tick(), hint::kAlphasChanged);
    doc->AddAlpha(2, 0, 1, "DESK2", alphaop::kStore, true);
    EXPECT_EQ(Tick(), hint::kAlphasEdited);
    doc->AddAlpha(2, 0, 2, "", alphaop::kDelete, true);
    EXPECT_EQ(Tick(), hint::kAlphasChanged);
    EXPECT_EQ(raw.Query("SELECT Function, Number, Alpha, AsgnKey FROM Alphas ORDER BY Number"),
              (Rows{{"PP", "1", "DESK2", std::to_string((2 << 24) | 1)},
                    {"PP", "3", "HALL", std::to_string((2 << 24) | 3)}}));
    doc->AddAlpha(2, 0, 2, "", alphaop::kDeleteFrom, true);
    EXPECT_EQ(Tick(), hint::kAlphasChanged);
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM Alphas"), "1");
    // Deleting what is not there changes nothing.
    doc->AddAlpha(2, 0, 2, "", alphaop::kDeleteFrom, true);
    doc->AddAlpha(2, 0, 9, "", alphaop::kDelete, true);
    EXPECT_EQ(Tick(), 0u);
}

TEST_F(WriteBackTest, LargeAlphaReplyIsSpreadOverTicks) {
    for (int n = 1; n <= 1200; ++n) {
        doc->AddAlpha(5, 1, n % 1025, "A" + std::to_string(n), alphaop::kStore, true);
    }
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(Tick(), hint::kAlphasChanged);
    EXPECT_FALSE(doc->IsDirty(ModelCollection::Alphas));
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM Alphas"), "1025");
    EXPECT_EQ(Tick(), 0u);
}

TEST_F(WriteBackTest, AlphaThatFailsIsDroppedAndTheRestFollow) {
    raw.Exec(
        "CREATE TRIGGER RefuseBad BEFORE INSERT ON Alphas WHEN NEW.Alpha = 'bad' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    int number = 1;
    for (const char* text : {"DESK", "bad", "HALL"}) {
        doc->AddAlpha(2, 0, number++, text, alphaop::kStore, true);
    }
    EXPECT_EQ(Tick(), hint::kAlphasChanged);
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_TRUE(doc->IsDirty(ModelCollection::Alphas));
    EXPECT_EQ(Tick(), hint::kAlphasChanged);
    EXPECT_EQ(raw.Query("SELECT Alpha FROM Alphas ORDER BY Alpha"), (Rows{{"DESK"}, {"HALL"}}));
    EXPECT_TRUE(doc->AlphaQueue().empty());
}

TEST_F(WriteBackTest, ResolvingResolvesEveryOpenAlarmAndNotifiesTheNewest) {
    settings.Modify(
        [](AppSettings& s) { s.GenerateResolvedNotification[setupkind::kRequestBusy] = true; });
    doc->AddAlarm(devicetype::kRequest, 9, alarmcat::kBusy, alarmresolve::kRaise, "one", {}, 0);
    doc->AddAlarm(devicetype::kRequest, 9, alarmcat::kBusy, alarmresolve::kRaise, "two", {}, 0);
    doc->AddAlarm(devicetype::kRequest, 8, alarmcat::kBusy, alarmresolve::kRaise, "other", {}, 0);
    EXPECT_EQ(Tick(), hint::kAlarmsNew | hint::kNewUnseenAlarm);
    doc->AddAlarm(devicetype::kRequest, 9, alarmcat::kBusy, alarmresolve::kResolve, {}, {}, 0);
    EXPECT_EQ(Tick(), hint::kAlarmsEdited);
    EXPECT_EQ(raw.Query("SELECT Description, State, Notification FROM Alarms ORDER BY AlarmID"),
              (Rows{{"one", "Resolved", "Skipped"},
                    {"two", "Resolved", "Pending"},
                    {"other", "Active", "None"}}));
}

TEST_F(WriteBackTest, AcknowledgeAndCancel) {
    doc->AddAlarm(devicetype::kRequest, 9, alarmcat::kBusy, alarmresolve::kRaise, "one", {}, 0);
    Tick();
    const int id = std::stoi(raw.One("SELECT AlarmID FROM Alarms"));
    doc->AcknowledgeAlarm(id, clock.Now());
    EXPECT_EQ(Tick(), hint::kAlarmsEdited);
    EXPECT_EQ(raw.One("SELECT Acknowledged FROM Alarms"), "-1");
    doc->CancelAlarmNotification(id, 2, clock.Now());
    EXPECT_EQ(Tick(), hint::kAlarmsEdited);
    EXPECT_EQ(raw.One("SELECT Notification FROM Alarms"), "Cancelled");
    // A key that no longer exists writes nothing.
    doc->AcknowledgeAlarm(id + 100, clock.Now());
    EXPECT_EQ(Tick(), 0u);
    EXPECT_TRUE(doc->AlarmQueue().empty());
}

TEST_F(WriteBackTest, AlarmThatFailsIsReportedAndTheRestFollow) {
    raw.Exec(
        "CREATE TRIGGER RefuseBad BEFORE INSERT ON Alarms WHEN NEW.Description = 'bad' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    for (const char* text : {"first", "bad", "last"}) {
        doc->AddAlarm(devicetype::kRequest, 1, alarmcat::kBusy, alarmresolve::kRaise, text, {}, 0);
    }
    Tick();
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(raw.Query("SELECT Description FROM Alarms"), (Rows{{"first"}}));
    EXPECT_TRUE(doc->IsDirty(ModelCollection::Alarms));
    Tick();
    EXPECT_EQ(raw.Query("SELECT Description FROM Alarms ORDER BY AlarmID"),
              (Rows{{"first"}, {"last"}}));
    EXPECT_TRUE(doc->AlarmQueue().empty());
}

}  // namespace
}  // namespace corvane::testing
