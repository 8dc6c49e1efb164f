#include "ListTestDatabase.h"
#include "store/ListRecordsets.h"

namespace corvane::testing {
namespace {

class ListRecordsetsTest : public ListDatabaseTest {};

TEST_F(ListRecordsetsTest, KeyColumnsAndSortTexts) {
    CIcomListRecordset icoms(Db());
    CTrunkListRecordset trunks(Db());
    CRequestListRecordset requests(Db());
    CAlphaListRecordset alphas(Db());
    CAlarmListRecordset alarms(Db());
    CDupTrunkListRecordset conflicts(Db());
    CSummaryListRecordset summary(Db());
    CListRecordset plain(Db());
    const struct {
        const CListRecordset& rs;
        const char* key;
        const char* sort;
    } cases[] = {
        {icoms, "IntercomIndex", "2 ASC, IntercomIndex"},
        {trunks, "Trunks.TrunkIndex", "2 ASC, Trunks.TrunkIndex"},
        {requests, "Requests.RequestID", "2 ASC, Requests.RequestID"},
        {alphas, "AsgnKey", "2 ASC, AsgnKey"},
        {alarms, "Alarms.AlarmID", "2 ASC, Alarms.AlarmID"},
        {conflicts, "", "2 ASC"},
        {summary, "TrunkSummary.ToIntercomIndex", "2 ASC, TrunkSummary.ToIntercomIndex"},
        {plain, "", "2 ASC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.rs.GetKeyColumn(), c.key);
        EXPECT_EQ(ListSortText(c.rs, "2", true), c.sort);
    }
    EXPECT_EQ(ListSortText(trunks, "5", false), "5 DESC, Trunks.TrunkIndex");
}

TEST_F(ListRecordsetsTest, OpensUnboundOnAQuery) {
    AddIntercoms();
    CIcomListRecordset rs(Db());
    rs.m_strSort = "2 DESC, " + rs.GetKeyColumn();
    rs.Open(DaoOpenType::Dynaset,
            "SELECT IntercomIndex AS 'Icom #', IntercomName AS 'Icom' "
            "FROM Intercoms");
    ASSERT_EQ(rs.GetFieldCount(), 2);
    EXPECT_EQ(rs.GetFieldName(0), "Icom #");
    // Descending names, the nameless one last; the key breaks no tie here.
    EXPECT_EQ(Column(Rows(rs), 0), (std::vector<std::string>{"1", "5", "2"}));
}

}  // namespace
}  // namespace corvane::testing
