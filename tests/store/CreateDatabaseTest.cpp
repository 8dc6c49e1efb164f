#include <sys/stat.h>

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
    ASSERT_EQ(::mkdir(DbPath().c_str(), 0755), 0);
    std::ofstream(DbPath() + "/inside") << "x";
    auto store = MakeStore();
    EXPECT_FALSE(store->CreateDatabase());
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text.rfind("Error, could not delete existing database\nFile Name: " +
                                           DbPath() + "\nError Code: ",
                                       0),
              0u)
        << ui.Boxes()[0].text;
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
