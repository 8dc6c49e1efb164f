#include <algorithm>

#include "ListTestDatabase.h"
#include "store/ListQueries.h"

namespace corvane::testing {
namespace {

using Rows_ = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

std::string M(char letter) {
    return std::string("\x01") + letter;
}

class ListQueriesTest : public ListDatabaseTest {
protected:
    void SetUp() override {
        ListDatabaseTest::SetUp();
        AddAll();
    }
    // Opens the query and returns its rows; the setup and positions stay for the test.
    Rows_ Open(CListRecordset& rs, const ListQuery& query) {
        EXPECT_TRUE(OpenListQuery(rs, query, 720, positions, setup)) << Errors();
        return Rows(rs);
    }
    Texts Titles() const {
        Texts titles;
        for (const auto& c : setup.columns) {
            titles.push_back(c.title);
        }
        return titles;
    }
    CListColumnPositions positions;
    ListControlSetup setup;
};

TEST_F(ListQueriesTest, IntercomColumnsFollowTheCapabilities) {
    const struct {
        bool network, extended;
        Texts titles;
    } cases[] = {
        {false,
         false,
         {"Icom #", "Icom", "Serial Port", "Baud Rate", "Status", "Alarms?", "Notify?"}},
        {false,
         true,
         {"Icom #", "Icom", "Serial Port", "Baud Rate", "Status", "Alarms?", "Notify?"}},
        {true,
         false,
         {"Icom #", "Icom", "Connection", "Serial Port", "Baud Rate", "Primary IP Address",
          "Backup IP Address", "Status", "Alarms?", "Notify?"}},
        {true,
         true,
         {"Icom #", "Icom", "Connection", "Serial Port", "Baud Rate", "Primary IP Address",
          "Backup IP Address", "Cascade Cost", "Status", "Alarms?", "Notify?"}},
    };
    for (const auto& c : cases) {
        CIcomListRecordset rs(Db());
        const Rows_ rows = Open(rs, IntercomListQuery(c.network, c.extended));
        EXPECT_EQ(Titles(), c.titles) << c.network << c.extended;
        EXPECT_EQ(setup.itemCount, 3);
        EXPECT_EQ(Column(rows, 0), (Texts{"1", "2", "5"}));
    }
    CIcomListRecordset rs(Db());
    const Rows_ rows = Open(rs, IntercomListQuery(true, true));
    EXPECT_EQ(rows[0], (Texts{"1", "Studio", "Serial", M('c') + "3", "9600", "NULL", "NULL",
                              M('c') + "0", "OK", M('b') + "-1", M('b') + "0"}));
    EXPECT_EQ(rows[1][1], "NULL");
    EXPECT_EQ(rows[1][3], M('c') + "0");
    EXPECT_EQ(rows[1][7], M('c') + "5");
    EXPECT_EQ(positions.Position(ListQueryKind::Intercoms, listpos::kIcomNumber), 0);
}

TEST_F(ListQueriesTest, TrunkList) {
    CTrunkListRecordset rs(Db());
    const Rows_ rows = Open(rs, TrunkListQuery());
    EXPECT_EQ(
        Titles(),
        (Texts{"Trunk",       "State",   "OOS?",    "Icom 1",      "Alpha",     "Port",
               "Icom 2",      "Alpha",   "Port",    "Test Status", "Test Time", "Test Information",
               "Cascadable?", "Fixed?",  "Alpha 1", "Asgn",        "Alpha 2",   "Asgn",
               "AutoTest?",   "Alarms?", "Notify?"}));
    ASSERT_EQ(rs.GetFieldCount(), 25);
    EXPECT_EQ(rs.GetFieldName(7), "Alpha ");
    EXPECT_EQ(rs.GetFieldName(24), "_Fixed2Sort");
    EXPECT_EQ(setup.columns[0].width, (720 - 20) / 25);
    EXPECT_EQ(setup.itemCount, 4);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (Texts{"1",
                              "Idle",
                              M('b') + "0",
                              "Studio",
                              "DESK1",
                              M('g') + "PP1",
                              "NULL",
                              "OPS",
                              M('g') + "PP1",
                              "Pass",
                              "NULL",
                              "ok",
                              M('b') + "0",
                              M('b') + "-1",
                              M('c') + "-1PARTY",
                              M('c') + "-1" + M('g') + "PL3",
                              M('c') + "-1IFB",
                              M('c') + "-1" + M('g') + "IF4",
                              M('b') + "-1",
                              M('b') + "-1",
                              M('b') + "0",
                              "1",
                              "1",
                              "3",
                              "4"}));
    // Without fixed ends the conditional cells are switched off and nothing follows.
    EXPECT_EQ(rows[1][14], M('c') + "0");
    EXPECT_EQ(rows[1][15], M('c') + "0" + M('g'));
    EXPECT_EQ(rows[1][9], " ");
    EXPECT_EQ(rows[2][6], "Control");
    EXPECT_EQ(rows[2][7], "NULL");

    const int recorded[] = {0, 1, 2, 9};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(positions.Position(ListQueryKind::Trunks, i), recorded[i]);
    }
    EXPECT_EQ(positions.Position(ListQueryKind::Trunks, 4), CListColumnPositions::kUnknown);
    const int sorted[][2] = {{5, 21}, {8, 22}, {15, 23}, {17, 24}, {3, 3}};
    for (const auto& s : sorted) {
        EXPECT_EQ(positions.SortColumn(ListQueryKind::Trunks, s[0]), s[1]);
    }
}

TEST_F(ListQueriesTest, TrunkListSortsAndFiltersOnItsColumns) {
    CTrunkListRecordset rs(Db());
    Open(rs, TrunkListQuery());
    rs.m_strFilter = "(Trunks.State = 'Idle' OR Trunks.State = 'Maint' )";
    rs.m_strSort =
        ListSortText(rs, std::to_string(positions.SortColumn(ListQueryKind::Trunks, 5) + 1), false);
    rs.Requery();
    EXPECT_EQ(Column(Rows(rs), 0), (Texts{"4", "1", "3"}));  // End1Number 3, 1, 1
}

TEST_F(ListQueriesTest, RequestList) {
    CRequestListRecordset rs(Db());
    const Rows_ rows = Open(rs, RequestListQuery());
    EXPECT_EQ(Titles(), (Texts{"ID", "State", "Icom 1", "Alpha", "Asgn", "T/L/I", "Icom 2", "Alpha",
                               "Asgn", "T/L/I", "T Req", "T Act", "T Fin", "Trunks"}));
    ASSERT_EQ(rs.GetFieldCount(), 16);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Texts{"1", "Active", "Studio", "DESK1", M('g') + "PP1", M('t') + "-1/0/0",
                              "NULL", "OPS", M('g') + "PP1", M('t') + "0/-1/0",
                              "2024-05-06 07:00:00", "NULL", "NULL", "1 - 2", "1", "1"}));
    EXPECT_EQ(rows[1][3], "PARTY");
    EXPECT_EQ(rows[1][6], "Control");
    EXPECT_EQ(rows[1][7], "NULL");
    EXPECT_EQ(rows[1][13], "3 - ");
    EXPECT_EQ(rows[2][3], "IFB");
    const int recorded[] = {0, 2, 3, 6, 7};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(positions.Position(ListQueryKind::Requests, i), recorded[i]);
    }
    EXPECT_EQ(positions.SortColumn(ListQueryKind::Requests, 4), 14);
    EXPECT_EQ(positions.SortColumn(ListQueryKind::Requests, 8), 15);
}

TEST_F(ListQueriesTest, AlphaList) {
    CAlphaListRecordset rs(Db());
    const Rows_ rows = Open(rs, AlphaListQuery());
    EXPECT_EQ(Titles(), (Texts{"Icom #", "Icom", "Fn Type", "Number", "Alpha"}));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (Texts{"1", "Studio", "PP", "1", "DESK1", "1"}));
    EXPECT_EQ(rows[2], (Texts{"2", "NULL", "PP", "1", "OPS", "3"}));
    const int recorded[] = {0, 2, 3};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(positions.Position(ListQueryKind::Alphas, i), recorded[i]);
    }
}

TEST_F(ListQueriesTest, AlarmList) {
    CAlarmListRecordset rs(Db());
    const Rows_ rows = Open(rs, AlarmListQuery());
    EXPECT_EQ(Titles(),
              (Texts{"ID", "State", "Ack?", "Notification", "Device Type", "Device Info",
                     "Alarm Type", "Description", "T Active", "T Resolved", "T Ack", "T Notify"}));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0],
              (Texts{"1", "Active", M('b') + "0", "None", "Intercom", M('a') + "5", "Comms",
                     "No reply", "2024-05-06 07:00:00", "NULL", "NULL", "NULL", "NULL"}));
    EXPECT_EQ(rows[1][2], M('b') + "-1");
    const int recorded[] = {0, 1, 2, 3, 4, 12};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(positions.Position(ListQueryKind::Alarms, i), recorded[i]);
    }
}

TEST_F(ListQueriesTest, ConflictListHasEachPairOnceAndSameIntercomTrunksAlone) {
    CDupTrunkListRecordset rs(Db());
    Rows_ rows = Open(rs, DupTrunkListQuery());
    EXPECT_EQ(Titles(), (Texts{"Trunk #", "Icom 1", "Alpha", "Port", "Icom 2", "Alpha", "Port",
                               "Conflicts with Trunk #", "Icom 1", "Alpha", "Port", "Icom 2",
                               "Alpha", "Port"}));
    const Texts names = {"Trunk #",  "Icom 1",  "Alpha",  "Port",
                         "Icom 2",   "Alpha ",  "Port ",  "Conflicts with Trunk #",
                         "Icom 1 ",  "Alpha  ", "Port  ", "Icom 2 ",
                         "Alpha   ", "Port   "};
    ASSERT_EQ(rs.GetFieldCount(), 14);
    for (int f = 0; f < 14; ++f) {
        EXPECT_EQ(rs.GetFieldName(f), names[f]);
    }
    std::sort(rows.begin(), rows.end());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0],
              (Texts{"1", "Studio", "DESK1", M('g') + "PP1", "NULL", "OPS", M('g') + "PP1", "3",
                     "Studio", "DESK1", M('g') + "PP1", "Control", "NULL", M('g') + "PP7"}));
    EXPECT_EQ(rows[1][0], "4");
    EXPECT_EQ(rows[1][7], "4");
    EXPECT_EQ(setup.itemCount, 2);
    // Both trunk numbers of the row.
    EXPECT_EQ(positions.Position(ListQueryKind::DupTrunks, listpos::kDupTrunk), 0);
    EXPECT_EQ(positions.Position(ListQueryKind::DupTrunks, listpos::kDupConflictingTrunk), 7);
}

TEST_F(ListQueriesTest, SummaryList) {
    CSummaryListRecordset rs(Db());
    Rows_ rows = Open(rs, SummaryListQuery());
    EXPECT_EQ(Titles(), (Texts{"Icom #", "Icom", "# Trunks", "# Allocated", "# In-Use",
                               "# Maintenance", "# Out-Of-Service"}));
    EXPECT_EQ(rows.size(), 6u);
    rs.m_strFilter = "(FromIntercomIndex = 0)";
    rs.Requery();
    rows = Rows(rs);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Texts{"1", "Studio", "3", "0", "1", "0", "1"}));
    EXPECT_EQ(rows[1][1], "NULL");
    EXPECT_EQ(rows[2][1], "Control");
}

TEST_F(ListQueriesTest, EmptyTablesGiveNoItems) {
    Exec("DELETE FROM Alarms");
    CAlarmListRecordset rs(Db());
    EXPECT_TRUE(OpenListQuery(rs, AlarmListQuery(), 300, positions, setup));
    EXPECT_EQ(setup.itemCount, 0);
    EXPECT_EQ(setup.columns.size(), 12u);
}

TEST_F(ListQueriesTest, AFailedOpenerReportsItsTextAndLeavesTheListEmpty) {
    struct Case {
        const char* drop;
        const ListQuery* query;
        const char* text;
    };
    const ListQuery intercoms = IntercomListQuery(false, false);
    const Case cases[] = {
        {"DROP TABLE Intercoms", &intercoms, "Error, initializing intercoms list query"},
        {"DROP TABLE Alphas", &TrunkListQuery(), "Error, initializing trunk list query"},
        {"DROP TABLE Requests", &RequestListQuery(), "Error, initializing requests list query"},
        {"DROP VIEW AllNames", &AlphaListQuery(), "Error, initializing alphas list query"},
        {"DROP TABLE Alarms", &AlarmListQuery(), "Error, initializing alarms list query"},
        {"DROP VIEW DuplicateTrunkEnds", &DupTrunkListQuery(),
         "Error, initializing intercoms list query"},
        {"DROP TABLE TrunkSummary", &SummaryListQuery(), "Error, initializing summary list query"},
    };
    for (const Case& c : cases) {
        store_.reset();
        std::filesystem::remove_all(Dir());
        std::string error;
        MakeDirectories(Dir(), 0755, error);
        store_ = OpenStore();
        Exec(c.drop);
        const size_t before = ui.DatabaseErrors().size();
        CListRecordset rs(Db());
        positions = {};
        EXPECT_FALSE(OpenListQuery(rs, *c.query, 500, positions, setup)) << c.text;
        EXPECT_EQ(setup.itemCount, 0);
        EXPECT_TRUE(setup.columns.empty());
        EXPECT_EQ(positions.Position(c.query->kind, 0), CListColumnPositions::kUnknown);
        ASSERT_EQ(ui.DatabaseErrors().size(), before + 1);
        EXPECT_EQ(ui.DatabaseErrors().back().rfind(std::string(c.text) + "\nDescription: %s|", 0),
                  0u)
            << ui.DatabaseErrors().back();
    }
}

TEST_F(ListQueriesTest, ColumnSetUpOfAClosedRecordsetIsReported) {
    CListRecordset rs(Db());
    EXPECT_FALSE(InitListCtrl(rs, 500, setup));
    EXPECT_EQ(setup.itemCount, 0);
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(ui.DatabaseErrors()[0].rfind("Error, initializing CListCtrl\nDescription: %s|", 0),
              0u);
}

TEST(ListColumnTitles, QuotesAndBlanks) {
    EXPECT_EQ(ListColumnTitle("'Alpha  '"), "Alpha");
    EXPECT_EQ(ListColumnTitle("Icom #"), "Icom #");
    EXPECT_TRUE(IsHiddenListField("'_Context'"));
    EXPECT_TRUE(IsHiddenListField("_End1Sort"));
    EXPECT_FALSE(IsHiddenListField("Port _"));
    EXPECT_FALSE(IsHiddenListField(""));
}

}  // namespace
}  // namespace corvane::testing
