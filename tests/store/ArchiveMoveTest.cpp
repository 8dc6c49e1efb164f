#include <chrono>
#include <functional>

#include "StoreFixture.h"
#include "fakes/LogCapture.h"
#include "platform/Format.h"
#include "store/DaoValue.h"
#include "store/DatabaseArchiver.h"

namespace corvane::testing {
namespace {

using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;

class ArchiveMoveTest : public StoreTest {
protected:
    void SetUp() override {
        store = OpenStore();
        raw = std::make_unique<RawDb>(DbPath());
        archiver = std::make_unique<CDatabaseArchiver>(*store, settings, clock);
    }
    // A fresh archiver: its first tick runs every step.
    void Restart() { archiver = std::make_unique<CDatabaseArchiver>(*store, settings, clock); }
    RawDb& Raw() { return *raw; }
    std::string Ago(std::chrono::seconds age) const { return FormatDaoDate(clock.Now() - age); }
    ViewUpdateHint TickAlarms(ViewUpdateHint hint = 0) {
        archiver->ArchiveAlarms(hint);
        return hint;
    }
    ViewUpdateHint TickRequests(ViewUpdateHint hint = 0) {
        archiver->ArchiveRequests(hint);
        return hint;
    }
    std::string Ids(const char* table, const char* id) {
        return Raw().One(std::string("SELECT ifnull(group_concat(") + id + "), '') FROM (SELECT " +
                         id + " FROM " + table + " ORDER BY " + id + ")");
    }
    // Every column of every row, to see rows arrive whole.
    std::vector<std::vector<std::string>> Rows(const char* table, const char* id) {
        return Raw().Query(std::string("SELECT * FROM ") + table + " ORDER BY " + id);
    }
    void AddAlarm(int id, const char* state, bool acknowledged, std::chrono::seconds age) {
        Raw().Exec(StrFormat(
            "INSERT INTO Alarms (AlarmID, State, Acknowledged, Notification, DeviceType, "
            "DeviceInstance, AlarmType, Description, AlarmTime, ResolvedTime, AcknowledgedTime, "
            "Context) VALUES (%d, '%s', %d, 'None', 'Intercom', 7, 'Communication', 'Lost %d', "
            "'%s', '%s', %s, 'context %d')",
            id, state, acknowledged ? -1 : 0, id, Ago(age).c_str(), Ago(age).c_str(),
            acknowledged ? ("'" + Ago(age) + "'").c_str() : "NULL", id));
    }
    void AddRequest(int id, const char* state, std::optional<std::chrono::seconds> finishedAge) {
        Raw().Exec(StrFormat(
            "INSERT INTO Requests (RequestID, State, RequestTime, FinishedTime, End1IntercomIndex, "
            "End1Function, End1Number) VALUES (%d, '%s', '%s', %s, 3, 'K', %d)",
            id, state, Ago(hours(2)).c_str(),
            finishedAge ? ("'" + Ago(*finishedAge) + "'").c_str() : "NULL", id));
    }

    LogCapture log{"Dbase", 3};
    std::unique_ptr<CVorlinDatabase> store;
    std::unique_ptr<CDatabaseArchiver> archiver;
    std::unique_ptr<RawDb> raw;
};

TEST_F(ArchiveMoveTest, AlarmsMoveWhenAcknowledgedOldAndNoLongerActive) {
    struct Case {
        const char* name;
        bool allowActive;
        bool staleAtStartup;
        const char* moved;  // of the rows below
    };
    const Case cases[] = {
        {"defaults", false, false, "1,6"},
        {"active alarms allowed", true, false, "1,3,6"},
        {"stale alarms at start-up", false, true, "1,5,6"},
        {"both", true, true, "1,3,5,6"},
    };
    for (const auto& c : cases) {
        Raw().Exec("DELETE FROM Alarms; DELETE FROM AlarmsArchive");
        AddAlarm(1, "Resolved", true, minutes(11));
        AddAlarm(2, "Resolved", false, hours(5));  // never acknowledged
        AddAlarm(3, "Active", true, hours(5));
        AddAlarm(4, "Resolved", true, minutes(9));  // too recent
        AddAlarm(5, "Stale", false, minutes(1));
        AddAlarm(6, "Unresolved", true, hours(1));
        const auto before = Rows("Alarms", "AlarmID");
        settings.Modify([&](AppSettings& s) {
            s.AllowActiveAlarmsToBeArchived = c.allowActive;
            s.ArchiveStaleAlarmsAtStartup = c.staleAtStartup;
        });
        Restart();
        EXPECT_EQ(TickAlarms(), hint::kAlarmsNew) << c.name;
        EXPECT_EQ(Ids("AlarmsArchive", "AlarmID"), c.moved) << c.name;
        // Every row is in exactly one table, whole.
        auto after = Rows("Alarms", "AlarmID");
        const auto archived = Rows("AlarmsArchive", "AlarmID");
        after.insert(after.end(), archived.begin(), archived.end());
        std::sort(after.begin(), after.end(),
                  [](const auto& a, const auto& b) { return std::stoi(a[0]) < std::stoi(b[0]); });
        EXPECT_EQ(after, before) << c.name;
    }
}

TEST_F(ArchiveMoveTest, MoveStepRunsOncePerTaskPeriodAndSetsTheHintOnlyWhenRowsMove) {
    EXPECT_EQ(TickAlarms(hint::kTrunksEdited), hint::kTrunksEdited);  // nothing to move
    AddAlarm(1, "Resolved", true, hours(1));
    clock.Advance(seconds(59));
    EXPECT_EQ(TickAlarms(), 0u);
    EXPECT_EQ(Ids("Alarms", "AlarmID"), "1");
    clock.Advance(seconds(1));
    EXPECT_EQ(TickAlarms(hint::kTrunksEdited), hint::kTrunksEdited | hint::kAlarmsNew);
    EXPECT_EQ(Ids("AlarmsArchive", "AlarmID"), "1");

    settings.Modify([](AppSettings& s) { s.AlarmArchiveTaskPeriod = 3; });
    AddAlarm(2, "Resolved", true, hours(1));
    clock.Advance(minutes(2));
    EXPECT_EQ(TickAlarms(), 0u);
    clock.Advance(minutes(1));
    EXPECT_EQ(TickAlarms(), hint::kAlarmsNew);
    EXPECT_EQ(Ids("AlarmsArchive", "AlarmID"), "1,2");
}

TEST_F(ArchiveMoveTest, TheAlarmRecordsetStartsAgainOnTheRowsLeft) {
    AddAlarm(1, "Resolved", true, hours(1));
    AddAlarm(2, "Active", false, hours(1));
    store->Alarms().MoveFirst();
    ASSERT_EQ(store->Alarms().m_AlarmID.Value(), 1);
    TickAlarms();
    ASSERT_TRUE(store->Alarms().IsOpen());
    ASSERT_FALSE(store->Alarms().IsEOF());
    EXPECT_EQ(store->Alarms().m_AlarmID.Value(), 2);
    store->Alarms().MoveNext();
    EXPECT_TRUE(store->Alarms().IsEOF());
}

TEST_F(ArchiveMoveTest, FinishedRequestsMoveAfterTheMoveAge) {
    AddRequest(1, "Finished", minutes(11));
    AddRequest(2, "Finished", minutes(9));
    AddRequest(3, "Active", std::nullopt);
    AddRequest(4, "Queued", hours(1));
    EXPECT_EQ(TickRequests(hint::kAlarmsEdited), hint::kAlarmsEdited | hint::kRequestsNew);
    EXPECT_EQ(Ids("RequestsArchive", "RequestID"), "1");
    EXPECT_EQ(Ids("Requests", "RequestID"), "2,3,4");
    clock.Advance(minutes(1));
    EXPECT_EQ(TickRequests(), 0u);  // 2 is 10 minutes old, not older
    clock.Advance(minutes(1));
    EXPECT_EQ(TickRequests(), hint::kRequestsNew);
    EXPECT_EQ(Ids("RequestsArchive", "RequestID"), "1,2");
}

TEST_F(ArchiveMoveTest, IncompleteRequestsMoveAtOnceOrFromTheSecondMoveStep) {
    struct Case {
        bool atStartup;
        const char* firstStep;
        const char* secondStep;
    };
    for (const Case& c : {Case{true, "1,2", "1,2"}, Case{false, "", "1"}}) {
        Raw().Exec("DELETE FROM Requests; DELETE FROM RequestsArchive");
        AddRequest(1, "Incomplete", minutes(30));
        AddRequest(2, "Incomplete", seconds(1));
        settings.Modify(
            [&](AppSettings& s) { s.ArchiveIncompleteRequestsAtStartup = c.atStartup; });
        Restart();
        TickRequests();
        EXPECT_EQ(Ids("RequestsArchive", "RequestID"), c.firstStep) << c.atStartup;
        clock.Advance(minutes(1));
        TickRequests();
        EXPECT_EQ(Ids("RequestsArchive", "RequestID"), c.secondStep) << c.atStartup;
    }
}

TEST_F(ArchiveMoveTest, RequestsTheStartUpMarkedIncompleteMoveAtTheFirstStep) {
    AddRequest(1, "Active", std::nullopt);
    AddRequest(2, "Finished", minutes(1));
    archiver.reset();
    store->CloseDatabase();
    store = OpenStore();  // marks request 1 incomplete, finished now
    archiver = std::make_unique<CDatabaseArchiver>(*store, settings, clock);
    EXPECT_EQ(TickRequests(), hint::kRequestsNew);
    EXPECT_EQ(Ids("RequestsArchive", "RequestID"), "1");
    EXPECT_EQ(Raw().One("SELECT State FROM RequestsArchive"), "Incomplete");
}

TEST_F(ArchiveMoveTest, AFailedMoveLosesNothingAndIsLogged) {
    AddAlarm(1, "Resolved", true, hours(1));
    AddAlarm(2, "Resolved", true, hours(1));
    // Alarm 2 is already archived under its number: the copy fails and nothing moves.
    Raw().Exec("INSERT INTO AlarmsArchive (AlarmID, State) VALUES (2, 'Resolved')");
    EXPECT_EQ(TickAlarms(), 0u);
    EXPECT_EQ(Ids("Alarms", "AlarmID"), "1,2");
    EXPECT_EQ(Ids("AlarmsArchive", "AlarmID"), "2");
    const std::string text = log.Text();
    EXPECT_NE(text.find("Checking for Alarms table archiving required"), std::string::npos) << text;
    EXPECT_NE(text.find("Error during alarm archiving: UNIQUE constraint failed"),
              std::string::npos)
        << text;

    Raw().Exec("DELETE FROM AlarmsArchive");
    clock.Advance(minutes(1));
    EXPECT_EQ(TickAlarms(), hint::kAlarmsNew);
    EXPECT_EQ(Ids("AlarmsArchive", "AlarmID"), "1,2");
    EXPECT_NE(log.Text().find("Archiving, copied 2 records to AlarmsArchive table"),
              std::string::npos);
    EXPECT_NE(log.Text().find("Archiving, deleted 2 records from Alarms table"), std::string::npos);
}

// Both archives purge their archive table every ten task periods.
struct PurgeKind {
    const char* name;
    const char* table;
    const char* id;
    const char* timeColumn;
    std::function<void(CDatabaseArchiver&, ViewUpdateHint&)> tick;
};

TEST_F(ArchiveMoveTest, ArchivedRowsArePurgedByAgeEveryTenTaskPeriods) {
    const PurgeKind kinds[] = {
        {"alarms", "AlarmsArchive", "AlarmID", "AcknowledgedTime",
         [](CDatabaseArchiver& a, ViewUpdateHint& h) { a.ArchiveAlarms(h); }},
        {"requests", "RequestsArchive", "RequestID", "FinishedTime",
         [](CDatabaseArchiver& a, ViewUpdateHint& h) { a.ArchiveRequests(h); }},
    };
    for (const auto& k : kinds) {
        Restart();
        auto add = [&](int id, std::chrono::seconds age) {
            Raw().Exec(StrFormat("INSERT INTO %s (%s, State, %s) VALUES (%d, 'Resolved', '%s')",
                                 k.table, k.id, k.timeColumn, id, Ago(age).c_str()));
        };
        add(1, hours(169));
        add(2, hours(168) - minutes(5));
        add(3, hours(1));
        Raw().Exec(StrFormat("INSERT INTO %s (%s, State) VALUES (4, 'Resolved')", k.table, k.id));
        ViewUpdateHint hint = 0;
        k.tick(*archiver, hint);
        EXPECT_EQ(Ids(k.table, k.id), "2,3,4") << k.name;
        clock.Advance(minutes(9));  // 2 is old enough now, but no purge is due
        k.tick(*archiver, hint);
        EXPECT_EQ(Ids(k.table, k.id), "2,3,4") << k.name;
        clock.Advance(minutes(1));
        k.tick(*archiver, hint);
        EXPECT_EQ(Ids(k.table, k.id), "3,4") << k.name;
        EXPECT_EQ(hint, 0u) << k.name;  // the lists show no archive rows
        Raw().Exec(StrFormat("DELETE FROM %s", k.table));
    }
}

TEST_F(ArchiveMoveTest, NothingHappensWhileTheDatabaseIsClosed) {
    AddAlarm(1, "Resolved", true, hours(1));
    store->CloseDatabase();
    ViewUpdateHint hint = 0;
    archiver->ArchiveAlarms(hint);
    archiver->ArchiveRequests(hint);
    EXPECT_EQ(hint, 0u);
    EXPECT_EQ(Ids("Alarms", "AlarmID"), "1");
}

}  // namespace
}  // namespace corvane::testing
