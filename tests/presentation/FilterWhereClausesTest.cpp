#include <climits>

#include "presentation/FilterWhereClauses.h"
#include "store/ListQueries.h"
#include "store/ListTestDatabase.h"
#include "store/TotalsRecordsets.h"

namespace corvane::testing {
namespace {

const CNameTables& Names() {
    static const CNameTables names;
    return names;
}

TEST(FilterWhereClauses, DefaultFilters) {
    EXPECT_EQ(AlphaFilterText(CAlphaFilterData()), "");
    EXPECT_EQ(RequestFilterText(CRequestFilterData(), Names()), "");
    EXPECT_EQ(TrunkFilterText(CTrunkFilterData(), Names()), "");
    EXPECT_EQ(AlarmFilterText(CAlarmFilterData(), Names()), "");
    EXPECT_EQ(SummaryFilterText(CSummaryFilterData()), "(FromIntercomIndex = 0)");
}

TEST(FilterWhereClauses, Alphas) {
    const struct {
        int intercom, type;
        const char* text;
    } cases[] = {
        {3, INT_MAX, "(IntercomIndex = 3)"},
        {INT_MAX, 1, "(Function = 'PL')"},
        {0, 8, "(IntercomIndex = 0) AND (Function = 'IL')"},
        {256, 7, "(IntercomIndex = 256) AND (Function = 'MX')"},
        {257, 9, ""},
        {INT_MAX, -1, ""},
    };
    for (const auto& c : cases) {
        CAlphaFilterData f;
        f.SetIntercom(c.intercom);
        f.SetFunctionType(c.type);
        EXPECT_EQ(AlphaFilterText(f), c.text) << c.intercom << " " << c.type;
    }
}

TEST(FilterWhereClauses, Summary) {
    const struct {
        int intercom;
        const char* text;
    } cases[] = {{5, "(FromIntercomIndex = 5)"},
                 {256, "(FromIntercomIndex = 256)"},
                 {257, "(FromIntercomIndex = 0)"},
                 {INT_MAX, "(FromIntercomIndex = 0)"}};
    for (const auto& c : cases) {
        CSummaryFilterData f;
        f.SetIntercom(c.intercom);
        EXPECT_EQ(SummaryFilterText(f), c.text);
    }
}

TEST(FilterWhereClauses, Trunks) {
    const struct {
        int a, b, states, results, service;
        const char* text;
    } cases[] = {
        {5, INT_MAX, 15, 31, 3, "(Trunks.End1IntercomIndex = 5 OR Trunks.End2IntercomIndex = 5)"},
        {5, 7, 15, 31, 3,
         "(Trunks.End1IntercomIndex = 5 OR Trunks.End2IntercomIndex = 5) AND "
         "(Trunks.End1IntercomIndex = 7 OR Trunks.End2IntercomIndex = 7)"},
        {INT_MAX, 2, 15, 31, 3, "(Trunks.End1IntercomIndex = 2 OR Trunks.End2IntercomIndex = 2)"},
        {INT_MAX, INT_MAX, 0, 31, 3, "(Trunks.State = 'IMPOSSIBLE_STATE')"},
        {INT_MAX, INT_MAX, 1, 31, 3, "(Trunks.State = 'Idle' )"},
        {INT_MAX, INT_MAX, 0xA, 31, 3, "(Trunks.State = 'Alloc' OR Trunks.State = 'Maint' )"},
        {INT_MAX, INT_MAX, 7, 31, 3,
         "(Trunks.State = 'Idle' OR Trunks.State = 'Alloc' OR Trunks.State = 'In Use' )"},
        {INT_MAX, INT_MAX, 15, 0, 3, "(Trunks.TestResult = 'IMPOSSIBLE_RESULT')"},
        {INT_MAX, INT_MAX, 15, 1, 3, "(Trunks.TestResult = 'Pass' OR Trunks.TestResult = ' ' )"},
        {INT_MAX, INT_MAX, 15, 0x1E, 3,
         "(Trunks.TestResult = 'Fail' OR Trunks.TestResult = 'Error' OR Trunks.TestResult = "
         "'Pending' OR Trunks.TestResult = 'Testing' OR Trunks.TestResult = 'Skipped' )"},
        {INT_MAX, INT_MAX, 15, 31, 0, "(Trunks.OOS = 0 AND Trunks.OOS = -1)"},
        {INT_MAX, INT_MAX, 15, 31, 1, "(Trunks.OOS = -1 )"},
        {INT_MAX, INT_MAX, 15, 31, 2, "(Trunks.OOS = 0 )"},
        {1, INT_MAX, 4, 2, 2,
         "(Trunks.End1IntercomIndex = 1 OR Trunks.End2IntercomIndex = 1) AND (Trunks.State = "
         "'In Use' ) AND (Trunks.TestResult = 'Fail' ) AND (Trunks.OOS = 0 )"},
    };
    for (const auto& c : cases) {
        CTrunkFilterData f;
        f.SetIntercom(c.a);
        f.SetOtherIntercom(c.b);
        f.SetStateMask(c.states);
        f.SetResultMask(c.results);
        f.SetServiceMask(c.service);
        EXPECT_EQ(TrunkFilterText(f, Names()), c.text) << c.text;
    }
}

TEST(FilterWhereClauses, Requests) {
    constexpr int kAny = INT_MAX;
    const struct {
        int intercom, type, assignment, intercom2, trunk, states;
        const char* text;
    } cases[] = {
        {4, kAny, (1 << 16) | 12, kAny, kAny, 15,
         "((Requests.End1IntercomIndex = 4 AND Requests.End1Function = 'PL' AND "
         "Requests.End1Number = 12 )OR (Requests.End2IntercomIndex = 4 AND "
         "Requests.End2Function = 'PL' AND Requests.End2Number = 12))"},
        // Port number 0: the three-column form still, matching nothing.
        {4, kAny, 0, kAny, kAny, 15,
         "((Requests.End1IntercomIndex = 4 AND Requests.End1Function = 'PP' AND "
         "Requests.End1Number = 0 )OR (Requests.End2IntercomIndex = 4 AND "
         "Requests.End2Function = 'PP' AND Requests.End2Number = 0))"},
        {4, 2, kAny, kAny, kAny, 15,
         "((Requests.End1IntercomIndex = 4 AND Requests.End1Function = 'IF')OR "
         "(Requests.End2IntercomIndex = 4 AND Requests.End2Function = 'IF'))"},
        // A port of no port type cannot be named: the wider forms apply.
        {4, 2, (7 << 16) | 3, kAny, kAny, 15,
         "((Requests.End1IntercomIndex = 4 AND Requests.End1Function = 'IF')OR "
         "(Requests.End2IntercomIndex = 4 AND Requests.End2Function = 'IF'))"},
        {4, 7, kAny, kAny, kAny, 15,
         "(Requests.End1IntercomIndex = 4 OR Requests.End2IntercomIndex = 4)"},
        {kAny, 8, kAny, kAny, kAny, 15,
         "(Requests.End1Function = 'IL' OR Requests.End2Function = 'IL')"},
        {kAny, 7, kAny, kAny, kAny, 15, ""},
        {kAny, kAny, kAny, 9, kAny, 15,
         "(Requests.End1IntercomIndex = 9 OR Requests.End2IntercomIndex = 9)"},
        {kAny, kAny, kAny, kAny, 10000, 15,
         "(Requests.Trunk1Index = 10000 OR Requests.Trunk2Index = 10000)"},
        {kAny, kAny, kAny, kAny, 10001, 15, ""},
        {kAny, kAny, kAny, kAny, kAny, 0, ""},
        {kAny, kAny, kAny, kAny, kAny, 0x5,
         "(Requests.State = 'Queued' OR Requests.State = 'Alloc' )"},
        {kAny, kAny, kAny, kAny, kAny, 0xA,
         "(Requests.State = 'Active' OR Requests.State = 'Finished' )"},
        {1, kAny, kAny, 2, 3, 1,
         "(Requests.End1IntercomIndex = 1 OR Requests.End2IntercomIndex = 1) AND "
         "(Requests.End1IntercomIndex = 2 OR Requests.End2IntercomIndex = 2) AND "
         "(Requests.Trunk1Index = 3 OR Requests.Trunk2Index = 3) AND (Requests.State = 'Queued' )"},
    };
    for (const auto& c : cases) {
        CRequestFilterData f;
        f.SetIntercom1(c.intercom);
        f.SetFunctionType(c.type);
        f.SetAssignment(c.assignment);
        f.SetIntercom2(c.intercom2);
        f.SetTrunk(c.trunk);
        f.SetStateMask(c.states);
        EXPECT_EQ(RequestFilterText(f, Names()), c.text) << c.text;
    }
}

TEST(FilterWhereClauses, Alarms) {
    constexpr int kAny = INT_MAX;
    const std::string intercom5 = "(Alarms.DeviceType = 'Intercom' AND Alarms.DeviceInstance = 5)";
    const std::string trunk7 = "(Alarms.DeviceType = 'Trunk' AND Alarms.DeviceInstance = 7)";
    const std::string noIntercoms = "(Alarms.DeviceType <> 'Intercom')";
    const std::string noTrunks = "(Alarms.DeviceType <> 'Trunk')";
    const struct {
        int intercom, trunk, states, categories;
        std::string text;
    } cases[] = {
        {5, kAny, 15, 63 & ~0x08,
         "((Alarms.DeviceType = 'Intercom' AND Alarms.DeviceInstance = 5) OR ((Alarms.DeviceType "
         "<> 'Intercom') AND ((Alarms.DeviceType <> 'Trunk'))))"},
        {5, kAny, 15, 63, "(" + intercom5 + " OR (" + noIntercoms + "))"},
        {kAny, 7, 15, 63, "(" + trunk7 + " OR (" + noTrunks + "))"},
        {kAny, 7, 15, 63 & ~0x02,
         "(" + trunk7 + " OR (" + noTrunks + " AND (" + noIntercoms + ")))"},
        {5, 7, 15, 63, "(" + intercom5 + " OR " + trunk7 + ")"},
        {5, 7, 15, 63 & ~0x0A, noIntercoms + " AND " + noTrunks},
        {257, 10001, 15, 63, ""},
        {kAny, kAny, 15, 63 & ~0x01, "(Alarms.DeviceType <> 'Quillex')"},
        {kAny, kAny, 15, 63 & ~0x20,
         "(Alarms.DeviceType <> 'Tonexa') AND (Alarms.DeviceType <> 'RT-2M')"},
        {kAny, kAny, 15, 63 & ~0x10, "(Alarms.DeviceType <> 'Request')"},
        {kAny, kAny, 15, 63 & ~0x04, "(Alarms.Acknowledged = 0)"},
        {kAny, kAny, 3, 63, "(Alarms.State = 'Resolved' OR Alarms.State = 'Active' )"},
        {kAny, kAny, 0xC, 63, "(Alarms.State = 'Stale' OR Alarms.State = 'Unresolved' )"},
        {kAny, kAny, 0, 63, ""},
        {kAny, kAny, 15, 0,
         noIntercoms + " AND " + noTrunks +
             " AND (Alarms.DeviceType <> 'Quillex') AND (Alarms.DeviceType <> 'Tonexa') AND "
             "(Alarms.DeviceType <> 'RT-2M') AND (Alarms.DeviceType <> 'Request') AND "
             "(Alarms.Acknowledged = 0)"},
        {5, kAny, 1, 63 & ~0x01,
         "(" + intercom5 + " OR (" + noIntercoms +
             ")) AND (Alarms.DeviceType <> 'Quillex') AND (Alarms.State = 'Active' )"},
    };
    for (const auto& c : cases) {
        CAlarmFilterData f;
        f.SetIntercom(c.intercom);
        f.SetTrunk(c.trunk);
        f.SetStateMask(c.states);
        f.SetCategoryMask(c.categories);
        EXPECT_EQ(AlarmFilterText(f, Names()), c.text) << c.text;
    }
}

TEST(FilterWhereClauses, NamesAreQuotedAsLiterals) {
    CNameTables names;
    names.trunkStates[0] = "It's";
    CTrunkFilterData f;
    f.SetStateMask(1);
    EXPECT_EQ(TrunkFilterText(f, names), "(Trunks.State = 'It''s' )");
}

// The builders on list recordsets of a real file: the texts run on the kinds' queries and
// restrict the totals alike.
class FilterBuildersTest : public ListDatabaseTest {
protected:
    void SetUp() override {
        ListDatabaseTest::SetUp();
        AddAll();
    }
    std::vector<std::string> Ids(CListRecordset& rs, const ListQuery& query) {
        CListColumnPositions positions;
        ListControlSetup setup;
        EXPECT_TRUE(OpenListQuery(rs, query, 500, positions, setup)) << Errors();
        return Column(Rows(rs), 0);
    }
};

TEST_F(FilterBuildersTest, BuildersSetTheRecordsetFilter) {
    CAlarmListRecordset alarms(Db());
    alarms.m_strFilter = "stale text";
    BuildAlarmFilter(&alarms, nullptr, Names());
    EXPECT_EQ(alarms.m_strFilter, "");
    BuildAlarmFilter(nullptr, nullptr, Names());  // nothing to do

    CAlarmFilterData f;
    f.SetIntercom(5);
    f.ShowCategory(alarmcategory::kTrunkTestFailure, false);
    f.SetStateMask(alarmstate::kActive | alarmstate::kResolved | alarmstate::kStale);
    BuildAlarmFilter(&alarms, &f, Names());
    // Intercom 5 and every other non-trunk alarm but the unresolved one.
    EXPECT_EQ(Ids(alarms, AlarmListQuery()), (std::vector<std::string>{"1", "3", "4", "7"}));

    CAlarmStatusRS totals(Db());
    totals.BuildQuery(alarms.m_strFilter);
    totals.ReadTotals();
    EXPECT_EQ(totals.GetActive(), 2);
    EXPECT_EQ(totals.GetResolved(), 1);
    EXPECT_EQ(totals.GetStale(), 1);
    EXPECT_EQ(totals.GetGrandTotal(), 4);
}

TEST_F(FilterBuildersTest, EachKindOnItsQuery) {
    CTrunkListRecordset trunks(Db());
    CTrunkFilterData tf;
    tf.SetIntercom(1);
    tf.ShowService(service::kInService, false);
    BuildTrunkFilter(&trunks, &tf, Names());
    EXPECT_EQ(Ids(trunks, TrunkListQuery()), (std::vector<std::string>{"2"}));
    tf.SetServiceMask(3);
    tf.SetResultMask(testresult::kPass);  // pass and never tested
    BuildTrunkFilter(&trunks, &tf, Names());
    EXPECT_EQ(Ids(trunks, TrunkListQuery()), (std::vector<std::string>{"1", "2"}));
    tf.SetStateMask(0);
    BuildTrunkFilter(&trunks, &tf, Names());
    EXPECT_TRUE(Ids(trunks, TrunkListQuery()).empty());

    CRequestListRecordset requests(Db());
    CRequestFilterData rf;
    rf.SetIntercom1(1);
    rf.SetAssignment((0 << 16) | 2);
    BuildRequestFilter(&requests, &rf, Names());
    EXPECT_EQ(Ids(requests, RequestListQuery()), (std::vector<std::string>{"3"}));
    rf.SetAssignment(INT_MAX);
    rf.SetTrunk(2);
    BuildRequestFilter(&requests, &rf, Names());
    EXPECT_EQ(Ids(requests, RequestListQuery()), (std::vector<std::string>{"1", "3"}));

    CAlphaListRecordset alphas(Db());
    CAlphaFilterData af;
    af.SetIntercom(1);
    af.SetFunctionType(0);
    BuildAlphaFilter(&alphas, &af);
    EXPECT_EQ(Ids(alphas, AlphaListQuery()), (std::vector<std::string>{"1", "1"}));

    CSummaryListRecordset summary(Db());
    CSummaryFilterData sf;
    sf.SetIntercom(1);
    BuildSummaryFilter(&summary, &sf);
    EXPECT_EQ(Ids(summary, SummaryListQuery()), (std::vector<std::string>{"2", "5"}));

    CIcomListRecordset icoms(Db());
    icoms.m_strFilter = "(IntercomIndex = 1)";
    CIcomFilterData icf;
    BuildIcomFilter(&icoms, &icf);
    EXPECT_EQ(Ids(icoms, IntercomListQuery(false, false)).size(), 3u);

    CDupTrunkListRecordset conflicts(Db());
    conflicts.m_strFilter = "(Trunk1 = 0)";
    CDupTrunkFilterData df;
    BuildDupTrunkFilter(&conflicts, &df);
    EXPECT_EQ(Ids(conflicts, DupTrunkListQuery()).size(), 2u);
    EXPECT_TRUE(ui.DatabaseErrors().empty()) << Errors();
}

}  // namespace
}  // namespace corvane::testing
