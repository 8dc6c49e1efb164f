#include "ListTestDatabase.h"
#include "store/DaoException.h"
#include "store/ListQueries.h"

namespace corvane::testing {
namespace {

using Texts = std::vector<std::string>;

// A list recordset opened by its query: it keeps the keys and order of its last requery and
// reads a row's values by its key.
class ListKeysetTest : public ListDatabaseTest {
protected:
    void SetUp() override {
        ListDatabaseTest::SetUp();
        AddAll();
    }
    void Open(CListRecordset& rs, const ListQuery& query) {
        ASSERT_TRUE(OpenListQuery(rs, query, 720, positions, setup)) << Errors();
    }
    static std::string Cell(const CListRecordset& rs, long row, int field) {
        const DaoValue v = rs.GetRowValue(row, field);
        return v.IsNull() ? "NULL" : v.ToText();
    }
    static Texts ColumnOf(const CListRecordset& rs, int field) {
        Texts out;
        for (long r = 0; r < static_cast<long>(rs.GetRecordCount()); ++r) {
            out.push_back(Cell(rs, r, field));
        }
        return out;
    }
    CListColumnPositions positions;
    ListControlSetup setup;
};

TEST_F(ListKeysetTest, AnEditedRowShowsItsNewValuesAfterARefreshInTheOldOrder) {
    CTrunkListRecordset rs(Db());
    Open(rs, TrunkListQuery());
    rs.m_strSort = ListSortText(rs, "2", true);  // by state
    rs.Requery();
    ASSERT_TRUE(rs.IsKeyset());
    const Texts order = ColumnOf(rs, 0);
    const Texts states = ColumnOf(rs, 1);

    Exec("UPDATE Trunks SET State = 'Maint' WHERE TrunkIndex = " + order[0]);
    Exec("DELETE FROM Trunks WHERE TrunkIndex = " + order[1]);
    // Values read before stay until the list asks for new ones.
    EXPECT_EQ(ColumnOf(rs, 1), states);
    rs.RefreshRowValues();
    EXPECT_EQ(ColumnOf(rs, 0)[0], order[0]);
    EXPECT_EQ(Cell(rs, 0, 1), "Maint");
    // A row gone since the requery keeps its place and reads as null; the key stays.
    EXPECT_EQ(Cell(rs, 1, 0), "NULL");
    EXPECT_EQ(rs.GetRowKey(1).ToText(), order[1]);
    EXPECT_EQ(rs.GetRecordCount(), 4);

    rs.Requery();
    EXPECT_EQ(rs.GetRecordCount(), 3);
    EXPECT_EQ(ColumnOf(rs, 1).back(), "Maint");
}

TEST_F(ListKeysetTest, ReadingARowLeavesTheCurrentRowWhereItIs) {
    CRequestListRecordset rs(Db());
    Open(rs, RequestListQuery());
    rs.MoveFirst();
    rs.MoveNext();
    const std::string second = rs.GetFieldValue(0).ToText();
    EXPECT_EQ(Cell(rs, 0, 0), ColumnOf(rs, 0)[0]);
    Cell(rs, 2, 3);
    EXPECT_EQ(rs.GetAbsolutePosition(), 1);
    EXPECT_EQ(rs.GetFieldValue(0).ToText(), second);
}

TEST_F(ListKeysetTest, KeysOfEachKind) {
    CAlphaListRecordset alphas(Db());
    Open(alphas, AlphaListQuery());
    EXPECT_EQ(alphas.GetRowKey(0).ToText(), Cell(alphas, 0, 5));  // AsgnKey, the hidden column

    // The summary's key tells rows apart only within one intercom's rows.
    CSummaryListRecordset summary(Db());
    Open(summary, SummaryListQuery());
    summary.m_strFilter = "(FromIntercomIndex = 1)";
    summary.Requery();
    EXPECT_EQ(ColumnOf(summary, 2), (Texts{"2", "1"}));  // intercom 0 also has a row to 5

    // Trunk conflicts have no key: their rows are read whole at each requery.
    CDupTrunkListRecordset conflicts(Db());
    Open(conflicts, DupTrunkListQuery());
    EXPECT_FALSE(conflicts.IsKeyset());
    EXPECT_TRUE(conflicts.GetRowKey(0).IsNull() || conflicts.GetRecordCount() == 0);
}

TEST_F(ListKeysetTest, RowsOutsideTheListAreRefused) {
    CAlarmListRecordset rs(Db());
    Open(rs, AlarmListQuery());
    EXPECT_THROW(rs.GetRowValue(rs.GetRecordCount(), 0), CDaoException);
    EXPECT_THROW(rs.GetRowValue(-1, 0), CDaoException);
    EXPECT_THROW(rs.GetRowValue(0, rs.GetFieldCount()), CDaoException);
    rs.Close();
    EXPECT_THROW(rs.GetRowValue(0, 0), CDaoException);
}

}  // namespace
}  // namespace corvane::testing
