#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "StoreFixture.h"

namespace corvane::testing {
namespace {

class CreateDatabaseTest : public StoreTest {};

TEST_F(CreateDatabaseTest, TheEngineVersionSettingIsKeptAsTheSystemKeepsIt) {
    struct Case {
        int stored;
        int kept;
    };
    for (const Case c : {Case{7, 4}, Case{0, 0}, Case{3, 3}, Case{4, 4}}) {
        profile.WriteProfileInt("Preferences", "JetEngineVersion", c.stored);
        auto store = MakeStore();
        ASSERT_TRUE(store->CreateDatabase()) << Errors();
        EXPECT_EQ(profile.GetProfileInt("Preferences", "JetEngineVersion", -1), c.kept);
        EXPECT_TRUE(FileExists(DbPath()));
    }
}

TEST_F(CreateDatabaseTest, CreatingOverAFileReplacesIt) {
    std::ofstream(DbPath()) << "old contents";
    std::ofstream(DbPath() + "-wal") << "a stale journal must never meet the new file";
    auto store = MakeStore();
    ASSERT_TRUE(store->CreateDatabase()) << Errors();
    EXPECT_FALSE(FileExists(DbPath() + "-wal"));
    RawDb raw(DbPath());
    EXPECT_EQ(raw.One("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(
        raw.One("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'Trunks'"),
        "1");
}

TEST_F(CreateDatabaseTest, AFileThatCannotBeDeletedStopsTheCreation) {
    // The database itself, or the WAL beside a missing one.
    for (const std::string& blocker : {DbPath(), DbPath() + "-wal"}) {
        SCOPED_TRACE(blocker);
        RecordingUiBridge boxes;
        ASSERT_EQ(::mkdir(blocker.c_str(), 0755), 0);
        std::ofstream(blocker + "/inside") << "x";
        auto store = MakeStore();
        EXPECT_FALSE(store->CreateDatabase());
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text.rfind(
                      "Error, could not delete existing database\nFile Name: " + blocker +
                          "\nError Code: ",
                      0),
                  0u)
            << boxes.Boxes()[0].text;
        EXPECT_FALSE(FileExists(DbPath() + ".new"));
        std::filesystem::remove_all(blocker);
    }
}

TEST_F(CreateDatabaseTest, TheWalOfARemovedFileNeverMeetsTheNewFile) {
    OpenStore()->CloseDatabase();
    {
        RawDb old(DbPath());
        old.Exec("PRAGMA wal_autocheckpoint = 0");
        old.Exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
            "INSERT INTO Trunks (TrunkIndex, State, End1IntercomIndex) SELECT i, 'Idle', i % 40 "
            "FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40) "
            "INSERT INTO Intercoms (IntercomIndex, IntercomName) SELECT i, 'MX' || i FROM n;");
        ASSERT_EQ(::unlink(DbPath().c_str()), 0);
    }
    // SQLite leaves the WAL of a removed file behind.
    ASSERT_GT(FileSize(DbPath() + "-wal"), 0);
    auto store = OpenStore();
    ASSERT_TRUE(store->IsOpen());
    RawDb raw(DbPath());
    EXPECT_EQ(raw.One("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(raw.One("SELECT count(*) FROM Trunks"), "0");
    EXPECT_EQ(raw.One("SELECT count(*) FROM Intercoms"), "0");
}

TEST_F(CreateDatabaseTest, AFailedCreationLeavesNothingBehind) {
    // The journal of the file being built cannot be made, so the first table fails.
    const std::string blocker = DbPath() + ".new-journal";
    ASSERT_EQ(::mkdir(blocker.c_str(), 0755), 0);
    auto store = MakeStore();
    EXPECT_FALSE(store->OpenDatabase());
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u) << Errors();
    EXPECT_EQ(ui.DatabaseErrors()[0],
              "Error, creating database\nDescription: %s|unable to open database file");
    EXPECT_FALSE(FileExists(DbPath()));
    EXPECT_FALSE(FileExists(DbPath() + ".new"));
    // The next start builds the database.
    ::rmdir(blocker.c_str());
    EXPECT_TRUE(store->OpenDatabase()) << Errors();
}

TEST_F(CreateDatabaseTest, TableCreatorsMakeTheSameLayoutUnderAnyName) {
    auto store = OpenStore();
    CDaoDatabase& db = store->Database();
    ASSERT_TRUE(CreateAlarmsTable(db, "temp"));
    ASSERT_TRUE(CreateIntercomsTable(db, "IntercomsCopy"));
    ASSERT_TRUE(CreateRequestsTable(db, "RequestsCopy"));
    RawDb raw(DbPath());
    auto layout = [&](const std::string& table) {
        return raw.Query("SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info('" +
                         table + "')");
    };
    EXPECT_EQ(layout("temp"), layout("Alarms"));
    EXPECT_EQ(layout("IntercomsCopy"), layout("Intercoms"));
    EXPECT_EQ(layout("RequestsCopy"), layout("Requests"));
    EXPECT_EQ(raw.One("SELECT count(*) FROM pragma_index_list('IntercomsCopy') WHERE name = "
                      "'IntercomsCopy_SecondaryKey'"),
              "1");

    EXPECT_FALSE(CreateAlarmsTable(db, "Alarms"));
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(ui.DatabaseErrors()[0],
              "Error, creating database Alarms tables\nDescription: %s|table \"Alarms\" already "
              "exists");
}

TEST_F(CreateDatabaseTest, AutoNumbersCountOnWhileInsertSelectKeepsNumbers) {
    auto store = OpenStore();
    CDaoDatabase& db = store->Database();
    db.Execute("INSERT INTO AlarmsArchive (AlarmID, State) VALUES (41, 'Resolved')");
    db.Execute("INSERT INTO Alarms SELECT * FROM AlarmsArchive");
    CAlarmsRS rs(db);
    rs.Open();
    rs.AddNew();
    rs.m_State = "Active";
    rs.Update();
    rs.SetBookmark(rs.GetLastModifiedBookmark());
    EXPECT_EQ(rs.m_AlarmID, 42);
}

}  // namespace
}  // namespace corvane::testing
