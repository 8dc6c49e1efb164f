#include <fstream>
#include <sstream>

#include "StoreFixture.h"
#include "store/DatabaseFiles.h"

namespace corvane::testing {
namespace {

class OpenDatabaseTest : public StoreTest {
protected:
    std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // A created database, closed, with rows put in by hand.
    void Prepare(const std::string& sql) {
        OpenStore()->CloseDatabase();
        RawDb(DbPath()).Exec(sql);
    }
};

TEST_F(OpenDatabaseTest, BadFilesGiveTheOpeningMessageAndAreLeftAlone) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        const char* description;
    };
    const Case cases[] = {
        {"garbage",
         [](const std::string& p) {
             std::ofstream(p) << std::string(4096, 'x') << "this is no database";
         },
         "file is not a database"},
        {"another program's database",
         [](const std::string& p) {
             RawDb other(p);
             other.Exec("CREATE TABLE Customers (Name TEXT); INSERT INTO Customers VALUES ('A')");
         },
         "no such table: dbStatus"},
        {"empty file", [](const std::string& p) { std::ofstream{p}; }, "no such table: dbStatus"},
    };
    for (const auto& c : cases) {
        RemoveDatabaseFiles(DbPath());
        c.make(DbPath());
        const std::string before = Contents(DbPath());
        RecordingUiBridge boxes;
        auto store = MakeStore();
        EXPECT_FALSE(store->OpenDatabase()) << c.name;
        ASSERT_EQ(boxes.DatabaseErrors().size(), 1u) << c.name;
        EXPECT_EQ(boxes.DatabaseErrors()[0],
                  std::string("Error, opening database\nDescription: %s|") + c.description)
            << c.name;
        store.reset();
        EXPECT_EQ(Contents(DbPath()), before) << c.name;
        EXPECT_FALSE(FileExists(DbPath() + "-wal")) << c.name;
    }
}

TEST_F(OpenDatabaseTest, LookupRowsThatExistAreNotTouchedAndTheSummaryIsEmptied) {
    Prepare(
        "UPDATE TrunkStates SET State = 'Free' WHERE StateIndex = 0;"
        "INSERT INTO TrunkSummary (FromIntercomIndex, ToIntercomIndex, NumTrunks) VALUES (1, 2, 3);"
        "UPDATE dbStatus SET TrunkAdds = 5;");
    auto store = OpenStore();
    RawDb raw(DbPath());
    EXPECT_EQ(raw.One("SELECT group_concat(State) FROM TrunkStates"), "Free,Alloc,In Use,Maint");
    EXPECT_EQ(raw.One("SELECT count(*) FROM TrunkSummary"), "0");
    EXPECT_EQ(raw.One("SELECT count(*) || ',' || max(TrunkAdds) FROM dbStatus"), "1,5");
    EXPECT_TRUE(store->IsOpen());
}

TEST_F(OpenDatabaseTest, StartUpPassesCleanUpWhatTheLastRunLeft) {
    Prepare(
        "INSERT INTO Alarms (AlarmID, State, AlarmType, Notification) VALUES "
        "(1, 'Active', 'Busy', 'Pending'), (2, 'Active', 'Communication', 'Pending'), "
        "(3, 'Resolved', 'Busy', 'Pending'), (4, 'Active', 'Busy', 'None');"
        "INSERT INTO Requests (RequestID, State) VALUES (1, 'Active'), (2, 'Queued'), "
        "(3, 'Finished'), (4, 'Incomplete'), (5, 'Alloc');");
    auto store = OpenStore();
    RawDb raw(DbPath());
    EXPECT_EQ(raw.Query("SELECT State, Notification, ifnull(NotificationTime, '-') FROM Alarms "
                        "ORDER BY AlarmID"),
              (std::vector<std::vector<std::string>>{{"Stale", "Aborted", "2024-05-06 07:08:09"},
                                                     {"Active", "Pending", "-"},
                                                     {"Resolved", "Pending", "-"},
                                                     {"Stale", "None", "-"}}));
    EXPECT_EQ(raw.Query("SELECT State, ifnull(FinishedTime, '-') FROM Requests ORDER BY RequestID"),
              (std::vector<std::vector<std::string>>{{"Incomplete", "2024-05-06 07:08:09"},
                                                     {"Incomplete", "2024-05-06 07:08:09"},
                                                     {"Finished", "-"},
                                                     {"Incomplete", "-"},
                                                     {"Incomplete", "2024-05-06 07:08:09"}}));
}

TEST_F(OpenDatabaseTest, StaleAlarmsKeepTheirNotificationWhenAbortingIsOff) {
    Prepare(
        "INSERT INTO Alarms (State, AlarmType, Notification) VALUES ('Active', 'Busy', "
        "'Pending')");
    settings.Modify([](AppSettings& s) { s.AbortNotificationForStaleAlarms = false; });
    auto store = OpenStore();
    EXPECT_EQ(RawDb(DbPath()).One("SELECT State || ',' || Notification FROM Alarms"),
              "Stale,Pending");
}

TEST_F(OpenDatabaseTest, PendingNotificationsComeInTheirTimeOrder) {
    Prepare(
        "INSERT INTO Alarms (AlarmID, State, Notification, NotificationTime) VALUES "
        "(1, 'Active', 'Pending', '2024-01-02 00:00:00'), (2, 'Active', 'Sent', NULL), "
        "(3, 'Active', 'Pending', '2024-01-01 00:00:00')");
    auto store = OpenStore();
    CAlarmsRS& pending = store->PendingNotifications();
    ASSERT_EQ(pending.GetRecordCount(), 2);
    EXPECT_EQ(pending.m_AlarmID, 3);
    pending.MoveNext();
    EXPECT_EQ(pending.m_AlarmID, 1);
}

TEST_F(OpenDatabaseTest, NewIdsStayAboveEveryArchivedId) {
    Prepare(
        "INSERT INTO AlarmsArchive (AlarmID, State) VALUES (500, 'Resolved');"
        "INSERT INTO RequestsArchive (RequestID, State) VALUES (300, 'Finished');"
        "INSERT INTO Requests (RequestID, State) VALUES (7, 'Finished');");
    auto store = OpenStore();
    CAlarmsRS& alarms = store->Alarms();
    alarms.AddNew();
    alarms.m_State = "Active";
    alarms.Update();
    alarms.SetBookmark(alarms.GetLastModifiedBookmark());
    EXPECT_EQ(alarms.m_AlarmID, 501);
    CRequestsRS& requests = store->Requests();
    requests.AddNew();
    requests.m_State = "Queued";
    requests.Update();
    requests.SetBookmark(requests.GetLastModifiedBookmark());
    EXPECT_EQ(requests.m_RequestID, 301);
}

TEST_F(OpenDatabaseTest, AHalfBuiltFileFromAKilledCreationIsRemoved) {
    std::ofstream(DbPath() + ".new") << "half";
    auto store = OpenStore();
    EXPECT_FALSE(FileExists(DbPath() + ".new"));
}

class CompactionTest : public OpenDatabaseTest {
protected:
    // A database that has grown and shrunk again, so compaction has space to reclaim.
    void MakeSparseDatabase() {
        OpenStore()->CloseDatabase();
        RawDb raw(DbPath());
        raw.Exec("PRAGMA journal_mode=DELETE");
        raw.Exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
            "INSERT INTO Alarms (State, Description, Context) SELECT 'Resolved', "
            "printf('%030d', i), printf('%060d', i) FROM n;"
            "INSERT INTO Trunks (TrunkIndex, State) VALUES (1, 'Idle'), (2, 'Maint');"
            "DELETE FROM Alarms WHERE AlarmID > 10;");
    }
    void SetThreshold(int64_t bytes) {
        settings.Modify([&](AppSettings& s) { s.CompactDBThreshold = static_cast<int>(bytes); });
    }
};

TEST_F(CompactionTest, OfferedOnlyAboveTheThreshold) {
    MakeSparseDatabase();
    const int64_t size = FileSize(DbPath());
    SetThreshold(size);
    OpenStore()->CloseDatabase();
    EXPECT_TRUE(ui.Questions().empty());
    SetThreshold(size - 1);
    OpenStore()->CloseDatabase();
    ASSERT_EQ(ui.Questions().size(), 1u);
    const TimedQuestion q = ui.Questions()[0];
    EXPECT_EQ(q.text.rfind("The database has grown large enough", 0), 0u);
    EXPECT_EQ(q.caption, "Corvane");
    EXPECT_EQ(q.style, mb::kYesNo | mb::kIconStop);
    EXPECT_EQ(q.timeoutSeconds, 20);
    EXPECT_EQ(profile.GetProfileInt("Preferences", "CompactDBTimeout", -1), 20);
    EXPECT_EQ(profile.GetProfileInt("Preferences", "CompactDB", -1), 1);
    // Timed out, so not compacted.
    EXPECT_EQ(FileSize(DbPath()), size);
}

TEST_F(CompactionTest, NoByDefaultAndATimedOutQuestionNeverCompacts) {
    MakeSparseDatabase();
    const int64_t size = FileSize(DbPath());
    SetThreshold(1);
    profile.WriteProfileInt("Preferences", "CompactDB", 7);
    profile.WriteProfileInt("Preferences", "CompactDBTimeout", 5);
    ui.QueueAnswer(answer::kYes | answer::kTimedOutBit);
    OpenStore()->CloseDatabase();
    ASSERT_EQ(ui.Questions().size(), 1u);
    EXPECT_EQ(ui.Questions()[0].style, mb::kYesNo | mb::kIconStop);
    EXPECT_EQ(ui.Questions()[0].timeoutSeconds, 5);
    EXPECT_EQ(profile.GetProfileInt("Preferences", "CompactDB", -1), 1);
    EXPECT_EQ(FileSize(DbPath()), size);

    profile.WriteProfileInt("Preferences", "CompactDB", 0);
    OpenStore()->CloseDatabase();
    EXPECT_EQ(ui.Questions()[1].style, mb::kYesNo | mb::kIconStop | mb::kDefButton2);
}

TEST_F(CompactionTest, KeepsEveryRowAndEveryIdSequence) {
    MakeSparseDatabase();
    RawDb(DbPath()).Exec(
        "UPDATE sqlite_sequence SET seq = 9000 WHERE name = 'Requests';"
        "INSERT INTO sqlite_sequence (name, seq) SELECT 'Requests', 9000 "
        "WHERE changes() = 0;");
    const int64_t size = FileSize(DbPath());
    SetThreshold(1);
    ui.QueueAnswer(answer::kYes);
    auto store = OpenStore();
    EXPECT_LT(FileSize(DbPath()), size);
    EXPECT_FALSE(FileExists(store->CompactionTempPath()));
    RawDb raw(DbPath());
    EXPECT_EQ(raw.One("SELECT count(*) || ',' || max(AlarmID) FROM Alarms"), "10,10");
    EXPECT_EQ(raw.One("SELECT group_concat(TrunkIndex || State) FROM Trunks"), "1Idle,2Maint");
    EXPECT_EQ(raw.One("PRAGMA integrity_check"), "ok");
    // Empty Requests and a trimmed Alarms table keep counting where they were.
    CRequestsRS& requests = store->Requests();
    requests.AddNew();
    requests.m_State = "Queued";
    requests.Update();
    requests.SetBookmark(requests.GetLastModifiedBookmark());
    EXPECT_EQ(requests.m_RequestID, 9001);
    CAlarmsRS& alarms = store->Alarms();
    alarms.AddNew();
    alarms.m_State = "Active";
    alarms.Update();
    alarms.SetBookmark(alarms.GetLastModifiedBookmark());
    EXPECT_EQ(alarms.m_AlarmID, 3001);
    EXPECT_EQ(raw.One("SELECT count(*) FROM Requests"), "1");
}

TEST_F(CompactionTest, AnotherProgramHoldingTheFileKeepsItUncompacted) {
    MakeSparseDatabase();
    RawDb other(DbPath());
    other.Exec("PRAGMA journal_mode=WAL");
    other.Exec("INSERT INTO Trunks (TrunkIndex) VALUES (3)");
    const int64_t size = FileSize(DbPath());
    SetThreshold(1);
    ui.QueueAnswer(answer::kYes);
    auto store = OpenStore();
    ASSERT_EQ(ui.Boxes().size(), 1u) << Errors();
    EXPECT_EQ(ui.Boxes()[0].text,
              "Error, compacting database\nFile Name: " + DbPath() + "\nError Code: 16");
    EXPECT_EQ(FileSize(DbPath()), size);
    EXPECT_FALSE(FileExists(store->CompactionTempPath()));
    EXPECT_EQ(other.One("SELECT count(*) FROM Trunks"), "3");
}

}  // namespace
}  // namespace corvane::testing
