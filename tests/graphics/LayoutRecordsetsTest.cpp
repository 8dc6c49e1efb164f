#include "graphics/LayoutRecordsets.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/LookupsOnlySource.h"
#include "fakes/SupervisionRig.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

// The database as the document writes it from the fake controller's network.
class LayoutRecordsetsTest : public ::testing::Test {
protected:
    LayoutRecordsetsTest() {
        rig.Start();
        EXPECT_TRUE(rig.started);
        EXPECT_TRUE(
            rig.TickUntil([this] { return Count("TrunkSummary WHERE NumTrunks > 0") > 0; }));
    }
    long Count(const std::string& from) {
        CDaoRecordset rs(rig.doc->Database()->Database());
        rs.Open(DaoOpenType::Dynaset, "SELECT COUNT(*) FROM " + from);
        return static_cast<long>(rs.GetFieldValue(0).AsInteger());
    }
    CDaoDatabase& Db() { return rig.doc->Database()->Database(); }

    testing::SupervisionRig rig;
};

TEST_F(LayoutRecordsetsTest, IntercomsAndSummaryRowsAreFoundByTheirKeys) {
    CLayoutRecordsets recordsets(Db());
    LayoutModelSource::IntercomRow row;
    TrunkSetCounts counts;
    std::string error;
    EXPECT_EQ(recordsets.FindIntercom(1, row, error), LayoutModelSource::Lookup::NotFound)
        << "not open yet";
    recordsets.Open();
    ASSERT_EQ(recordsets.FindIntercom(2, row, error), LayoutModelSource::Lookup::Found) << error;
    EXPECT_EQ(row.name.substr(0, 4), rig.model.Network().matrices[1].name);
    EXPECT_EQ(row.comState.substr(0, 2), "OK");
    EXPECT_EQ(recordsets.FindIntercom(99, row, error), LayoutModelSource::Lookup::NotFound);
    EXPECT_EQ(recordsets.FindIntercom(70000, row, error), LayoutModelSource::Lookup::NotFound);

    CSummaryRS summary(Db());
    summary.Open();
    for (summary.MoveFirst(); !summary.IsEOF() && summary.m_NumTrunks.Value() == 0;
         summary.MoveNext()) {
    }
    ASSERT_FALSE(summary.IsEOF());
    const int from = summary.m_FromIntercomIndex.Value();
    const int to = summary.m_ToIntercomIndex.Value();
    ASSERT_EQ(recordsets.FindTrunkSummary(from, to, counts, error),
              LayoutModelSource::Lookup::Found)
        << error;
    EXPECT_EQ(counts, (TrunkSetCounts{summary.m_NumTrunks.Value(), summary.m_NumAllocated.Value(),
                                      summary.m_NumInUse.Value(), summary.m_NumMaint.Value(),
                                      summary.m_NumOOS.Value()}));
    EXPECT_EQ(recordsets.FindTrunkSummary(from, 300, counts, error),
              LayoutModelSource::Lookup::NotFound);

    // A walk in name order leaves the seeks by number working.
    std::vector<LayoutModelSource::IntercomEntry> byName;
    ASSERT_EQ(recordsets.ListIntercoms(byName, error), LayoutModelSource::Lookup::Found);
    ASSERT_EQ(byName.size(), 6u);
    EXPECT_TRUE(std::is_sorted(byName.begin(), byName.end(),
                               [](const auto& a, const auto& b) { return a.name < b.name; }));
    EXPECT_EQ(recordsets.FindIntercom(2, row, error), LayoutModelSource::Lookup::Found);
    EXPECT_EQ(row.name.substr(0, 4), rig.model.Network().matrices[1].name);
}

// A layout of many pairs takes its counts from one read of the summary, equal to the lookups'.
TEST_F(LayoutRecordsetsTest, ALayoutOfManyPairsReadsTheSummaryOnce) {
    CLayoutRecordsets recordsets(Db());
    recordsets.Open();
    std::vector<LayoutModelSource::PairCounts> rows;
    std::string error;
    ASSERT_EQ(recordsets.ReadTrunkSummaries(rows, error), LayoutModelSource::Lookup::Found)
        << error;
    EXPECT_EQ(static_cast<long>(rows.size()),
              Count("TrunkSummary WHERE FromIntercomIndex < ToIntercomIndex"));
    for (const auto& row : rows) {
        TrunkSetCounts counts;
        ASSERT_EQ(recordsets.FindTrunkSummary(row.from, row.to, counts, error),
                  LayoutModelSource::Lookup::Found);
        EXPECT_EQ(row.counts, counts) << row.from << "-" << row.to;
    }

    // 25 intercoms, every pair a trunk set: most have no summary row.
    CGraphicLayout byRead;
    CGraphicLayout byLookups;
    for (CGraphicLayout* layout : {&byRead, &byLookups}) {
        for (int n = 1; n <= 25; ++n) {
            layout->AddIntercom(n, {20 * n, 20 * n}, "?");
        }
        for (int a = 1; a <= 25; ++a) {
            for (int b = a + 1; b <= 25; ++b) {
                layout->AddTrunkSet(*layout->FindIntercom(a), *layout->FindIntercom(b), {9, 9});
            }
        }
    }
    ASSERT_GE(byRead.TrunkSets().GetCount(), 256u);
    testing::LookupsOnlySource lookups(recordsets);
    EXPECT_TRUE(RefreshTrunkSetCounts(byRead, recordsets).errors.empty());
    EXPECT_TRUE(RefreshTrunkSetCounts(byLookups, lookups).errors.empty());
    int withTrunks = 0;
    for (CGraphicObj* obj : byRead.TrunkSets()) {
        const auto* set = static_cast<CTrunkSetObj*>(obj);
        const auto* twin = byLookups.FindTrunkSet(set->GetId());
        ASSERT_NE(twin, nullptr);
        EXPECT_EQ(set->Counts(), twin->Counts()) << set->GetId();
        withTrunks += set->Counts().total > 0 ? 1 : 0;
    }
    EXPECT_GT(withTrunks, 0);

    Db().Execute("DROP TABLE TrunkSummary");
    const LayoutRefreshResult failed = RefreshTrunkSetCounts(byRead, recordsets);
    ASSERT_EQ(failed.errors.size(), 1u);
    EXPECT_EQ(failed.errors[0].format, kTrunkUsageErrorFormat);
}

TEST_F(LayoutRecordsetsTest, ADatabaseErrorIsAnswered) {
    CLayoutRecordsets recordsets(Db());
    recordsets.Open();
    Db().Execute("DROP TABLE TrunkSummary");
    TrunkSetCounts counts;
    std::string error;
    EXPECT_EQ(recordsets.FindTrunkSummary(1, 2, counts, error), LayoutModelSource::Lookup::Failed);
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace corvane
