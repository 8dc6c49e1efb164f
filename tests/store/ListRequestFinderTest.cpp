#include <set>

#include "ListTestDatabase.h"
#include "store/ListRequestFinder.h"

namespace corvane::testing {
namespace {

// A list control over the rows of a recordset: null cells show empty.
class RowsList final : public IListRows {
public:
    RowsList(std::vector<std::vector<std::string>> rows, std::set<int> selected)
        : rows_(std::move(rows)), selected_(std::move(selected)) {}
    int FindSelectedRow(int from) const override {
        const auto it = selected_.lower_bound(from);
        return it == selected_.end() ? -1 : *it;
    }
    int SelectedCount() const override { return static_cast<int>(selected_.size()); }
    std::string CellText(int row, int column) const override {
        const std::string& cell = rows_.at(row).at(column);
        return cell == "NULL" ? "" : cell;
    }
    std::vector<std::vector<std::string>> rows_;

private:
    std::set<int> selected_;
};

class ListRequestFinderTest : public ListDatabaseTest {
protected:
    void SetUp() override {
        ListDatabaseTest::SetUp();
        AddAll();
        CRequestListRecordset rs(Db());
        ListControlSetup setup;
        ASSERT_TRUE(OpenListQuery(rs, RequestListQuery(), 600, positions, setup));
        rows = Rows(rs);
    }
    CListColumnPositions positions;
    std::vector<std::vector<std::string>> rows;
};

TEST_F(ListRequestFinderTest, WalksTheSelectedRows) {
    const RowsList list(rows, {0, 1});
    int position = 0;
    FoundRequest found;
    ASSERT_TRUE(FindRequest(list, position, positions, store_->Requests(), found));
    EXPECT_EQ(position, 1);
    EXPECT_EQ(found.requestId, 1);
    EXPECT_EQ(found.selectedCount, 2);
    EXPECT_EQ(found.captions[0], "View requests involving Studio:DESK1");
    EXPECT_EQ(found.captions[1], "View requests involving :OPS");
    EXPECT_EQ(found.ends[0].intercom, 1);
    EXPECT_EQ(found.ends[0].functionType, 0);
    EXPECT_EQ(found.ends[0].number, 1);
    EXPECT_EQ(found.ends[1].intercom, 2);

    ASSERT_TRUE(FindRequest(list, position, positions, store_->Requests(), found));
    EXPECT_EQ(position, 2);
    EXPECT_EQ(found.requestId, 2);
    EXPECT_EQ(found.captions[0], "View requests involving Studio:PARTY");
    EXPECT_EQ(found.captions[1], "");  // that end has no alpha
    EXPECT_EQ(found.ends[0].functionType, 1);
    EXPECT_EQ(found.ends[0].number, 3);
    EXPECT_EQ(found.ends[1].intercom, 5);
    EXPECT_EQ(found.ends[1].number, 9);

    EXPECT_FALSE(FindRequest(list, position, positions, store_->Requests(), found));
    EXPECT_EQ(found.requestId, INT_MAX);
    EXPECT_EQ(position, 2);
}

TEST_F(ListRequestFinderTest, ARowWhoseRequestIsGoneKeepsItsIdOnly) {
    Exec("DELETE FROM Requests WHERE RequestID = 3");
    const RowsList list(rows, {2});
    int position = 0;
    FoundRequest found;
    ASSERT_TRUE(FindRequest(list, position, positions, store_->Requests(), found));
    EXPECT_EQ(found.requestId, 3);
    EXPECT_EQ(found.captions[0], "View requests involving :IFB");
    EXPECT_EQ(found.ends[0].intercom, INT_MAX);
    EXPECT_EQ(found.ends[1].number, INT_MAX);
}

TEST_F(ListRequestFinderTest, NoNumberOrNoOpenerGivesNothing) {
    RowsList list(rows, {0});
    list.rows_[0][0] = "12x";
    int position = 0;
    FoundRequest found;
    EXPECT_FALSE(FindRequest(list, position, positions, store_->Requests(), found));
    EXPECT_EQ(found.requestId, INT_MAX);

    const RowsList fine(rows, {0});
    position = 0;
    EXPECT_FALSE(FindRequest(fine, position, CListColumnPositions{}, store_->Requests(), found));
    EXPECT_TRUE(ui.DatabaseErrors().empty());
}

TEST_F(ListRequestFinderTest, AFailedSeekIsReported) {
    const RowsList list(rows, {0});
    store_->Requests().Close();
    int position = 0;
    FoundRequest found;
    EXPECT_FALSE(FindRequest(list, position, positions, store_->Requests(), found));
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(ui.DatabaseErrors()[0].rfind("Error, finding request ID\nDescription: %s|", 0), 0u);
}

}  // namespace
}  // namespace corvane::testing
