#include "ListTestDatabase.h"
#include "store/DaoException.h"
#include "store/TotalsRecordsets.h"

namespace corvane::testing {
namespace {

class TotalsRecordsetsTest : public ListDatabaseTest {
protected:
    void SetUp() override {
        ListDatabaseTest::SetUp();
        AddAll();
    }
};

TEST_F(TotalsRecordsetsTest, AlarmsPerState) {
    CAlarmStatusRS rs(Db());
    rs.ReadTotals();
    EXPECT_EQ(rs.GetActive(), 3);
    EXPECT_EQ(rs.GetResolved(), 2);
    EXPECT_EQ(rs.GetStale(), 1);
    EXPECT_EQ(rs.GetUnresolved(), 1);
    EXPECT_EQ(rs.GetGrandTotal(), 7);

    rs.BuildQuery("(Alarms.Acknowledged = 0)");
    rs.ReadTotals();
    EXPECT_EQ(rs.GetActive(), 3);
    EXPECT_EQ(rs.GetResolved(), 1);
    EXPECT_EQ(rs.GetUnresolved(), 0);  // a state without rows keeps 0
    EXPECT_EQ(rs.GetGrandTotal(), 5);
}

TEST_F(TotalsRecordsetsTest, RequestsAndTrunksPerState) {
    CRequestStatusRS requests(Db());
    requests.ReadTotals();
    EXPECT_EQ(requests.GetAllocated(), 0);
    EXPECT_EQ(requests.GetQueued(), 1);
    EXPECT_EQ(requests.GetActive(), 1);
    EXPECT_EQ(requests.GetFinished(), 1);
    EXPECT_EQ(requests.GetIncomplete(), 0);
    EXPECT_EQ(requests.GetGrandTotal(), 3);

    CTrunkStatusRS trunks(Db());
    trunks.ReadTotals();
    EXPECT_EQ(trunks.GetIdle(), 2);
    EXPECT_EQ(trunks.GetAllocated(), 0);
    EXPECT_EQ(trunks.GetInUse(), 1);
    EXPECT_EQ(trunks.GetMaintenance(), 1);
    EXPECT_EQ(trunks.GetGrandTotal(), 4);
    EXPECT_EQ(trunks.GetTotal(4), 0);
    EXPECT_EQ(trunks.GetTotal(-1), 0);
}

TEST_F(TotalsRecordsetsTest, TestResultsCountUntestedAsZeroAndHaveNoGrandTotal) {
    Exec("UPDATE Trunks SET TestResult = ' ' WHERE TrunkIndex = 3");
    CTrunkResultsRS rs(Db());
    rs.ReadTotals();
    const long expected[7] = {1, 0, 0, 0, 1, 0, 0};  // trunks 2 and 3 are " "
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(rs.GetTotal(i), expected[i]) << i;
    }
    EXPECT_EQ(rs.GetGrandTotal(), 0);
}

TEST_F(TotalsRecordsetsTest, FilterMatchingNothingGivesZeros) {
    CAlarmStatusRS alarms(Db());
    alarms.BuildQuery("(Alarms.DeviceType = 'Nothing')");
    alarms.ReadTotals();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(alarms.GetTotal(i), 0);
    }
    EXPECT_EQ(alarms.GetGrandTotal(), 0);

    CTrunkServiceRS service(Db());
    service.BuildQuery("(Trunks.State = 'IMPOSSIBLE_STATE')");
    service.ReadCount();
    EXPECT_EQ(service.GetCount(), 0);
}

TEST_F(TotalsRecordsetsTest, TrunksOutOfService) {
    CTrunkServiceRS rs(Db());
    rs.ReadCount();
    EXPECT_EQ(rs.GetCount(), 2);
    rs.BuildQuery("(Trunks.End1IntercomIndex = 5 OR Trunks.End2IntercomIndex = 5)");
    rs.ReadCount();
    EXPECT_EQ(rs.GetCount(), 1);
}

TEST_F(TotalsRecordsetsTest, TotalsFollowTheTableOnReread) {
    CTrunkServiceRS rs(Db());
    rs.ReadCount();
    Exec("UPDATE Trunks SET OOS = -1");
    rs.ReadCount();
    EXPECT_EQ(rs.GetCount(), 4);
}

TEST_F(TotalsRecordsetsTest, CountingTakesWhatTheQueryReadWithoutReadingAgain) {
    CTrunkStatusRS states(Db());
    CTrunkServiceRS service(Db());
    Exec("UPDATE Trunks SET State = 'Maint', OOS = -1");
    // Built before the change: the counts of the rows read then.
    states.CountTotals();
    service.TakeCount();
    EXPECT_EQ(states.GetIdle(), 2);
    EXPECT_EQ(states.GetMaintenance(), 1);
    EXPECT_EQ(service.GetCount(), 2);
    states.BuildQuery("(Trunks.End1IntercomIndex = 5 OR Trunks.End2IntercomIndex = 5)");
    service.BuildQuery("(Trunks.End1IntercomIndex = 5 OR Trunks.End2IntercomIndex = 5)");
    states.CountTotals();
    service.TakeCount();
    EXPECT_EQ(states.GetMaintenance(), states.GetGrandTotal());
    EXPECT_EQ(service.GetCount(), states.GetGrandTotal());
    EXPECT_GT(states.GetGrandTotal(), 0);
}

TEST_F(TotalsRecordsetsTest, SummaryStartsWithTheTotalsOfEveryIntercom) {
    CSummaryStatusRS rs(Db());
    EXPECT_EQ(rs.GetIntercomCount(), 3);
    EXPECT_EQ(rs.GetTotalTrunks(), 8);
    EXPECT_EQ(rs.GetTotalAllocated(), 1);
    EXPECT_EQ(rs.GetTotalInUse(), 2);
    EXPECT_EQ(rs.GetTotalMaint(), 1);
    EXPECT_EQ(rs.GetTotalOOS(), 3);

    rs.BuildQuery("(FromIntercomIndex = 1)");
    EXPECT_EQ(rs.GetIntercomCount(), 2);
    EXPECT_EQ(rs.GetTotalTrunks(), 3);
    Exec("UPDATE TrunkSummary SET NumTrunks = 10 WHERE FromIntercomIndex = 1");
    rs.Refresh();
    EXPECT_EQ(rs.GetTotalTrunks(), 20);

    rs.BuildQuery("(FromIntercomIndex = 77)");
    EXPECT_EQ(rs.GetIntercomCount(), 0);
    EXPECT_EQ(rs.GetTotalTrunks(), 0);  // SUM of no rows is null
}

TEST_F(TotalsRecordsetsTest, SummaryReportsABadQueryAndStaysClosed) {
    CSummaryStatusRS rs(Db());
    rs.BuildQuery("(NoSuchColumn = 1)");
    EXPECT_FALSE(rs.IsOpen());
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(ui.DatabaseErrors()[0].rfind("Error\nDescription: %s|", 0), 0u)
        << ui.DatabaseErrors()[0];
    rs.Refresh();  // swallowed
    EXPECT_EQ(rs.GetTotalTrunks(), 0);
}

TEST_F(TotalsRecordsetsTest, GroupTotalsLetABadQueryThroughAndKeepZeros) {
    CAlarmStatusRS rs(Db());
    rs.ReadTotals();
    EXPECT_THROW(rs.BuildQuery("(NoSuchColumn = 1)"), CDaoException);
    rs.ReadTotals();  // closed: the requery fails, the totals are zeros
    EXPECT_EQ(rs.GetActive(), 0);
    EXPECT_EQ(rs.GetGrandTotal(), 0);

    CTrunkServiceRS service(Db());
    EXPECT_THROW(service.BuildQuery("(NoSuchColumn = 1)"), CDaoException);
    service.ReadCount();
    EXPECT_EQ(service.GetCount(), 0);
    EXPECT_TRUE(ui.DatabaseErrors().empty());
}

}  // namespace
}  // namespace corvane::testing
