#include "StoreFixture.h"

namespace corvane::testing {
namespace {

// Files of older layouts, built by hand from a current file.
class UpgradeTest : public StoreTest {
protected:
    void SetUp() override {
        OpenStore()->CloseDatabase();
        raw_ = std::make_unique<RawDb>(DbPath());
    }
    void Replace(const std::string& table, const std::string& createSql, const std::string& rows) {
        raw_->Exec("DROP TABLE " + table + ";" + createSql + ";" + rows);
    }
    std::vector<std::string> Columns(const std::string& table) {
        std::vector<std::string> out;
        for (const auto& r :
             raw_->Query("SELECT name, type FROM pragma_table_info('" + table + "')")) {
            out.push_back(r[0] + " " + r[1]);
        }
        return out;
    }
    void Reopen() {
        raw_.reset();
        auto store = OpenStore();
        store->CloseDatabase();
        raw_ = std::make_unique<RawDb>(DbPath());
        EXPECT_EQ(raw_->One("PRAGMA integrity_check"), "ok");
    }
    std::unique_ptr<RawDb> raw_;
};

const char* kIntercoms8 =
    "CREATE TABLE Intercoms (IntercomIndex SMALLINT NOT NULL PRIMARY KEY, IntercomName "
    "TEXT(20) COLLATE NOCASE, SerialPort SMALLINT, BaudRate INTEGER, ComState TEXT(20) COLLATE "
    "NOCASE, ErrorCounter INTEGER, Alarms BOOLEAN DEFAULT -1, Notify BOOLEAN DEFAULT -1)";

TEST_F(UpgradeTest, IntercomsOfEightFieldsReceiveAllFourNewOnes) {
    Replace("Intercoms", kIntercoms8,
            "INSERT INTO Intercoms (IntercomIndex, IntercomName, ComState) VALUES (1, 'North', "
            "'OK')");
    Reopen();
    EXPECT_EQ(Columns("Intercoms").size(), 12u);
    EXPECT_EQ(Columns("Intercoms")[8], "ConnType TEXT(15)");
    EXPECT_EQ(Columns("Intercoms")[11], "CascadeCost SMALLINT");
    EXPECT_EQ(raw_->One("SELECT IntercomName || ComState || ifnull(ConnType, '-') FROM Intercoms"),
              "NorthOK-");
}

TEST_F(UpgradeTest, IntercomsOfElevenFieldsReceiveOnlyTheCascadeCost) {
    Replace("Intercoms",
            std::string(kIntercoms8)
                .replace(std::string(kIntercoms8).size() - 1, 1,
                         ", ConnType TEXT(15), IPAddr1 TEXT(15), IPAddr2 "
                         "TEXT(15))"),
            "INSERT INTO Intercoms (IntercomIndex, IPAddr1) VALUES (2, '127.0.0.1')");
    Reopen();
    EXPECT_EQ(Columns("Intercoms").size(), 12u);
    EXPECT_EQ(raw_->One("SELECT IPAddr1 || '/' || ifnull(CascadeCost, '-') FROM Intercoms"),
              "127.0.0.1/-");
}

TEST_F(UpgradeTest, ANarrowComStateRebuildsIntercomsWithItsRowsAndIndex) {
    Replace("Intercoms",
            "CREATE TABLE Intercoms (IntercomIndex SMALLINT NOT NULL PRIMARY KEY, IntercomName "
            "TEXT(20), SerialPort SMALLINT, BaudRate INTEGER, ComState TEXT(10), ErrorCounter "
            "INTEGER, Alarms BOOLEAN DEFAULT -1, Notify BOOLEAN DEFAULT -1, ConnType TEXT(15), "
            "IPAddr1 TEXT(15), IPAddr2 TEXT(15), CascadeCost SMALLINT)",
            "INSERT INTO Intercoms (IntercomIndex, IntercomName, ComState, Alarms) VALUES "
            "(1, 'North', 'OK', 0), (2, 'south', 'Lost', -1)");
    Reopen();
    EXPECT_EQ(Columns("Intercoms")[4], "ComState TEXT(20)");
    EXPECT_EQ(raw_->Query("SELECT IntercomIndex, IntercomName, ComState, Alarms FROM Intercoms "
                          "ORDER BY IntercomIndex"),
              (std::vector<std::vector<std::string>>{{"1", "North", "OK", "0"},
                                                     {"2", "south", "Lost", "-1"}}));
    EXPECT_EQ(raw_->One("SELECT group_concat(name) FROM sqlite_master WHERE type = 'index' AND "
                        "sql IS NOT NULL AND tbl_name = 'Intercoms'"),
              "Intercoms_SecondaryKey");
    EXPECT_EQ(raw_->One("SELECT count(*) FROM Intercoms WHERE IntercomName = 'SOUTH'"), "1");
    EXPECT_EQ(raw_->One("SELECT count(*) FROM AllNames"), "0");  // the views still work
    EXPECT_EQ(raw_->One("SELECT count(*) FROM sqlite_master WHERE name = 'temp'"), "0");
}

TEST_F(UpgradeTest, SummaryAndTrunksReceiveTheirOutOfServiceFields) {
    Replace("TrunkSummary",
            "CREATE TABLE TrunkSummary (FromIntercomIndex SMALLINT NOT NULL, ToIntercomIndex "
            "SMALLINT NOT NULL, NumTrunks SMALLINT, NumAllocated SMALLINT, NumInUse SMALLINT, "
            "NumMaint SMALLINT, PRIMARY KEY (FromIntercomIndex, ToIntercomIndex))",
            "INSERT INTO TrunkSummary VALUES (1, 2, 3, 0, 0, 0)");
    // An older file has neither the column nor the index on it.
    raw_->Exec(
        "DROP INDEX Trunks_ServiceKey; ALTER TABLE Trunks DROP COLUMN OOS; INSERT INTO Trunks "
        "(TrunkIndex) VALUES (4)");
    Reopen();
    EXPECT_EQ(Columns("TrunkSummary").back(), "NumOOS SMALLINT");
    EXPECT_EQ(raw_->One("SELECT count(*) FROM TrunkSummary"), "0");
    EXPECT_EQ(Columns("Trunks").back(), "OOS BOOLEAN");
    EXPECT_EQ(raw_->One("SELECT OOS FROM Trunks"), "0");
    EXPECT_EQ(raw_->One("SELECT dflt_value FROM pragma_table_info('Trunks') WHERE name = 'OOS'"),
              "0");
    EXPECT_EQ(raw_->One("SELECT count(*) FROM sqlite_master WHERE name = 'Trunks_ServiceKey'"),
              "1");
}

class AlarmsUpgradeTest : public UpgradeTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AlarmsUpgradeTest, OlderAlarmTablesAreWidenedKeepingRowsAndNumbers) {
    const std::string table = GetParam();
    struct Layout {
        const char* name;
        const char* instance;
        const char* context;  // empty: no Context field
    };
    for (const Layout& old : {Layout{"no context", "INTEGER", ""},
                              Layout{"narrow context", "INTEGER", ", Context TEXT(30)"},
                              Layout{"short instance", "SMALLINT", ", Context TEXT(60)"}}) {
        SCOPED_TRACE(old.name);
        Replace(table,
                "CREATE TABLE " + table +
                    " (AlarmID INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, State TEXT(12), "
                    "Acknowledged BOOLEAN, Notification TEXT(10), DeviceType TEXT(15), "
                    "DeviceInstance " +
                    old.instance +
                    ", AlarmType TEXT(15), Description TEXT(30), AlarmTime DATETIME, "
                    "ResolvedTime DATETIME, AcknowledgedTime DATETIME, NotificationTime "
                    "DATETIME" +
                    old.context + ")",
                "INSERT INTO " + table +
                    " (AlarmID, State, DeviceInstance, AlarmTime) VALUES "
                    "(5, 'Active', 12, '2024-01-01 00:00:00'), (9, 'Resolved', 300, NULL);"
                    "DELETE FROM " +
                    table + " WHERE AlarmID = 9;");
        Reopen();
        const auto columns = Columns(table);
        ASSERT_EQ(columns.size(), 13u);
        EXPECT_EQ(columns[5], "DeviceInstance INTEGER");
        EXPECT_EQ(columns[12], "Context TEXT(60)");
        EXPECT_EQ(
            raw_->Query("SELECT AlarmID, State, DeviceInstance, AlarmTime FROM " + table),
            (std::vector<std::vector<std::string>>{{"5", "Active", "12", "2024-01-01 00:00:00"}}));
        // The number of the deleted row stays used.
        EXPECT_EQ(raw_->One("SELECT seq FROM sqlite_sequence WHERE name = '" + table + "'"), "9");
    }
}

INSTANTIATE_TEST_SUITE_P(BothTables, AlarmsUpgradeTest,
                         ::testing::Values("Alarms", "AlarmsArchive"));

}  // namespace
}  // namespace corvane::testing
