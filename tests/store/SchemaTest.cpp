#include <map>

#include "StoreFixture.h"

namespace corvane::testing {
namespace {

class SchemaTest : public StoreTest {};

// name:declared type:not null:default, in column order.
const std::map<std::string, std::vector<std::string>>& ExpectedColumns() {
    static const std::vector<std::string> states = {"StateIndex:SMALLINT:1:", "State:TEXT(10):0:"};
    static const std::vector<std::string> requests = {
        "RequestID:INTEGER:1:",    "State:TEXT(10):0:",        "RequestTime:DATETIME:0:",
        "ActiveTime:DATETIME:0:",  "FinishedTime:DATETIME:0:", "End1IntercomIndex:SMALLINT:0:",
        "End1Function:TEXT(2):0:", "End1Number:SMALLINT:0:",   "End1Talk:BOOLEAN:0:",
        "End1Listen:BOOLEAN:0:",   "End1Inactive:BOOLEAN:0:",  "End2IntercomIndex:SMALLINT:0:",
        "End2Function:TEXT(2):0:", "End2Number:SMALLINT:0:",   "End2Talk:BOOLEAN:0:",
        "End2Listen:BOOLEAN:0:",   "End2Inactive:BOOLEAN:0:",  "Trunk1Index:SMALLINT:0:",
        "Trunk2Index:SMALLINT:0:"};
    static const std::vector<std::string> alarms = {
        "AlarmID:INTEGER:1:",           "State:TEXT(12):0:",
        "Acknowledged:BOOLEAN:0:",      "Notification:TEXT(10):0:",
        "DeviceType:TEXT(15):0:",       "DeviceInstance:INTEGER:0:",
        "AlarmType:TEXT(15):0:",        "Description:TEXT(30):0:",
        "AlarmTime:DATETIME:0:",        "ResolvedTime:DATETIME:0:",
        "AcknowledgedTime:DATETIME:0:", "NotificationTime:DATETIME:0:",
        "Context:TEXT(60):0:"};
    static const std::map<std::string, std::vector<std::string>> expected = {
        {"TrunkStates", states},
        {"RequestStates", states},
        {"AlarmStates", states},
        {"NotifyStates", states},
        {"TestResults", {"ResultIndex:SMALLINT:1:", "TestResult:TEXT(10):0:' '"}},
        {"dbStatus",
         {"GlobalChange:SMALLINT:1:", "TrunkAdds:SMALLINT:1:", "TrunkDels:SMALLINT:1:",
          "TrunkEdits:SMALLINT:1:", "AlphaAdds:SMALLINT:1:", "AlphaDels:SMALLINT:1:",
          "AlphaEdits:SMALLINT:1:", "RequestAdds:SMALLINT:1:", "RequestDels:SMALLINT:1:",
          "RequestEdits:SMALLINT:1:", "IntercomAdds:SMALLINT:1:", "IntercomDels:SMALLINT:1:",
          "IntercomEdits:SMALLINT:1:"}},
        {"Intercoms",
         {"IntercomIndex:SMALLINT:1:", "IntercomName:TEXT(20):0:", "SerialPort:SMALLINT:0:",
          "BaudRate:INTEGER:0:", "ComState:TEXT(20):0:", "ErrorCounter:INTEGER:0:",
          "Alarms:BOOLEAN:0:-1", "Notify:BOOLEAN:0:-1", "ConnType:TEXT(15):0:",
          "IPAddr1:TEXT(15):0:", "IPAddr2:TEXT(15):0:", "CascadeCost:SMALLINT:0:"}},
        {"Alphas",
         {"AsgnKey:INTEGER:1:", "IntercomIndex:SMALLINT:1:", "Function:TEXT(2):1:",
          "Number:SMALLINT:1:", "Alpha:TEXT(20):0:"}},
        {"Trunks",
         {"TrunkIndex:SMALLINT:1:",
          "State:TEXT(10):0:",
          "TestTime:DATETIME:0:",
          "TestResult:TEXT(10):0:' '",
          "TestData:TEXT(255):0:",
          "CascadedTrunkIndex:SMALLINT:0:",
          "UseFixed:BOOLEAN:0:",
          "CanCascade:BOOLEAN:0:",
          "End1IntercomIndex:SMALLINT:0:",
          "End1Number:SMALLINT:0:",
          "End2IntercomIndex:SMALLINT:0:",
          "End2Number:SMALLINT:0:",
          "Fixed1IntercomIndex:SMALLINT:0:",
          "Fixed1Function:TEXT(2):0:",
          "Fixed1Number:SMALLINT:0:",
          "Fixed2IntercomIndex:SMALLINT:0:",
          "Fixed2Function:TEXT(2):0:",
          "Fixed2Number:SMALLINT:0:",
          "AutoTest:BOOLEAN:0:-1",
          "Alarms:BOOLEAN:0:-1",
          "Notify:BOOLEAN:0:-1",
          "OOS:BOOLEAN:0:0"}},
        // A primary key holds no null, so ToIntercomIndex is NOT NULL as part of it.
        {"TrunkSummary",
         {"FromIntercomIndex:SMALLINT:1:", "ToIntercomIndex:SMALLINT:1:", "NumTrunks:SMALLINT:0:",
          "NumAllocated:SMALLINT:0:", "NumInUse:SMALLINT:0:", "NumMaint:SMALLINT:0:",
          "NumOOS:SMALLINT:0:"}},
        {"Requests", requests},
        {"RequestsArchive", requests},
        {"Alarms", alarms},
        {"AlarmsArchive", alarms},
        {"Log",
         {"Time:DATETIME:1:", "Type:TEXT(20):1:", "IntercomIndex:SMALLINT:0:",
          "TrunkIndex:SMALLINT:0:", "Description:TEXT(255):1:"}},
    };
    return expected;
}

const std::map<std::string, std::string>& ExpectedKeys() {
    static const std::map<std::string, std::string> keys = {
        {"TrunkStates", "StateIndex"},
        {"RequestStates", "StateIndex"},
        {"AlarmStates", "StateIndex"},
        {"NotifyStates", "StateIndex"},
        {"TestResults", "ResultIndex"},
        {"dbStatus", ""},
        {"Intercoms", "IntercomIndex"},
        {"Alphas", "AsgnKey"},
        {"Trunks", "TrunkIndex"},
        {"TrunkSummary", "FromIntercomIndex,ToIntercomIndex"},
        {"Requests", "RequestID"},
        {"RequestsArchive", "RequestID"},
        {"Alarms", "AlarmID"},
        {"AlarmsArchive", "AlarmID"},
        {"Log", ""},
    };
    return keys;
}

TEST_F(SchemaTest, EveryTableHasItsColumnsInOrderWithTypeWidthNullAndDefault) {
    auto store = OpenStore();
    RawDb raw(DbPath());
    const auto tables = raw.Query(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
        "ORDER BY name");
    EXPECT_EQ(tables.size(), ExpectedColumns().size());
    for (const auto& [table, columns] : ExpectedColumns()) {
        std::vector<std::string> actual;
        for (const auto& row : raw.Query("SELECT name, type, \"notnull\", ifnull(dflt_value, '') "
                                         "FROM pragma_table_info('" +
                                         table + "') ORDER BY cid")) {
            actual.push_back(row[0] + ":" + row[1] + ":" + row[2] + ":" + row[3]);
        }
        EXPECT_EQ(actual, columns) << table;
    }
}

TEST_F(SchemaTest, KeysIndexesAndViews) {
    auto store = OpenStore();
    RawDb raw(DbPath());
    for (const auto& [table, key] : ExpectedKeys()) {
        EXPECT_EQ(raw.One("SELECT ifnull(group_concat(name), '') FROM (SELECT name FROM "
                          "pragma_table_info('" +
                          table + "') WHERE pk > 0 ORDER BY pk)"),
                  key)
            << table;
    }
    // Auto-numbered ids are never used again.
    for (const char* table : {"Requests", "RequestsArchive", "Alarms", "AlarmsArchive"}) {
        EXPECT_NE(raw.One(std::string("SELECT sql FROM sqlite_master WHERE name = '") + table + "'")
                      .find("AUTOINCREMENT"),
                  std::string::npos)
            << table;
    }
    // The one named index of the schema ignores nulls; the others are the lists' own.
    EXPECT_EQ(raw.Query("SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL "
                        "ORDER BY name"),
              (std::vector<std::vector<std::string>>{{"Alphas_EndKey"},
                                                     {"Intercoms_SecondaryKey"},
                                                     {"Trunks_End1Key"},
                                                     {"Trunks_End2Key"},
                                                     {"Trunks_ResultKey"},
                                                     {"Trunks_ServiceKey"}}));
    EXPECT_EQ(raw.One("SELECT partial FROM pragma_index_list('Intercoms') WHERE name = "
                      "'Intercoms_SecondaryKey'"),
              "1");
    EXPECT_EQ(raw.One("SELECT group_concat(name) FROM pragma_index_info('Intercoms_SecondaryKey')"),
              "IntercomName");
    // Relations are declared, never enforced.
    EXPECT_EQ(raw.Query("SELECT \"from\", \"table\", \"to\" FROM pragma_foreign_key_list('Trunks') "
                        "ORDER BY \"from\""),
              (std::vector<std::vector<std::string>>{
                  {"End1IntercomIndex", "Intercoms", "IntercomIndex"},
                  {"End2IntercomIndex", "Intercoms", "IntercomIndex"}}));
    EXPECT_EQ(raw.One("PRAGMA foreign_keys"), "0");
    EXPECT_EQ(raw.Query("SELECT name FROM sqlite_master WHERE type = 'view' ORDER BY name"),
              (std::vector<std::vector<std::string>>{
                  {"AllNames"}, {"DuplicateTrunkEnds"}, {"PortNames"}}));
    EXPECT_EQ(raw.One("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(raw.One("PRAGMA journal_mode"), "wal");
}

TEST_F(SchemaTest, AFileWithoutTheListsIndexesGetsThemWhenOpened) {
    OpenStore().reset();
    {
        RawDb raw(DbPath());
        for (const char* index : {"Alphas_EndKey", "Trunks_ResultKey", "Trunks_ServiceKey",
                                  "Trunks_End1Key", "Trunks_End2Key"}) {
            raw.Query(std::string("DROP INDEX ") + index);
        }
    }
    auto store = OpenStore();
    RawDb raw(DbPath());
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name IN "
                      "('Alphas_EndKey', 'Trunks_ResultKey', 'Trunks_ServiceKey', "
                      "'Trunks_End1Key', 'Trunks_End2Key')"),
              "5");
}

TEST_F(SchemaTest, LookupRowsAndTheStatusRowAreThereAfterOpening) {
    auto store = OpenStore();
    RawDb raw(DbPath());
    auto rows = [&](const std::string& table, const char* index, const char* text) {
        std::vector<std::string> out;
        for (const auto& r : raw.Query(std::string("SELECT ") + index + ", " + text + " FROM " +
                                       table + " ORDER BY " + index)) {
            out.push_back(r[0] + "=" + r[1]);
        }
        return out;
    };
    EXPECT_EQ(rows("TrunkStates", "StateIndex", "State"),
              (std::vector<std::string>{"0=Idle", "1=Alloc", "2=In Use", "3=Maint"}));
    EXPECT_EQ(rows("RequestStates", "StateIndex", "State"),
              (std::vector<std::string>{"0=Alloc", "1=Queued", "2=Active", "3=Finished",
                                        "4=Incomplete"}));
    EXPECT_EQ(rows("TestResults", "ResultIndex", "TestResult"),
              (std::vector<std::string>{"0=Pass", "1=Fail", "2=Error", "3=Pending", "4=Testing",
                                        "5=Skipped", "6= "}));
    EXPECT_EQ(rows("AlarmStates", "StateIndex", "State"),
              (std::vector<std::string>{"0=Active", "1=Resolved", "2=Stale", "3=Unresolved"}));
    EXPECT_EQ(rows("NotifyStates", "StateIndex", "State"),
              (std::vector<std::string>{"0=None", "1=Pending", "2=Cancelled", "3=Sent",
                                        "4=Suppressed", "5=Aborted", "6=Error", "7=Skipped"}));
    EXPECT_EQ(raw.Query("SELECT * FROM dbStatus"),
              (std::vector<std::vector<std::string>>{std::vector<std::string>(13, "0")}));
}

TEST_F(SchemaTest, TextComparesWithoutCaseAndDefaultsApply) {
    auto store = OpenStore();
    store->CloseDatabase();
    RawDb raw(DbPath());
    raw.Exec("INSERT INTO Intercoms (IntercomIndex, IntercomName) VALUES (1, 'North')");
    raw.Exec("INSERT INTO Trunks (TrunkIndex) VALUES (7)");
    EXPECT_EQ(raw.One("SELECT count(*) FROM Intercoms WHERE IntercomName = 'NORTH'"), "1");
    EXPECT_EQ(raw.One("SELECT Alarms || ',' || Notify FROM Intercoms"), "-1,-1");
    EXPECT_EQ(raw.One("SELECT AutoTest || Alarms || Notify || OOS || '[' || TestResult || ']' "
                      "FROM Trunks"),
              "-1-1-10[ ]");
}

TEST_F(SchemaTest, TrunksWithBothEndsOnOneIntercomAreListedOnce) {
    auto store = OpenStore();
    store->CloseDatabase();
    RawDb raw(DbPath());
    // 1 and 2 share an end; 3 has both ends on intercom 5; 4 and 5 conflict with nothing.
    raw.Exec(
        "INSERT INTO Trunks (TrunkIndex, End1IntercomIndex, End1Number, End2IntercomIndex, "
        "End2Number) VALUES (1, 1, 10, 2, 20), (2, 1, 10, 3, 30), (3, 5, 1, 5, 2), "
        "(4, 6, 1, 7, 1), (5, 8, 1, 9, 1)");
    EXPECT_EQ(raw.Query("SELECT Trunk1, Trunk2 FROM DuplicateTrunkEnds ORDER BY Trunk1, Trunk2"),
              (std::vector<std::vector<std::string>>{{"1", "2"}, {"2", "1"}, {"3", "3"}}));
}

}  // namespace
}  // namespace corvane::testing
