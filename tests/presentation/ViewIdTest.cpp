#include "presentation/ViewId.h"

#include <gtest/gtest.h>

#include <climits>

namespace corvane {
namespace {

TEST(ViewId, PacksKindIndexAndSubAsTheTreeItemsCarryThem) {
    const struct {
        ViewKind kind;
        int index;
        int sub;
        uint32_t packed;
    } cases[] = {
        {ViewKind::TrunkSummary, kViewIdAll, kViewIdAll, 0x7FFFFFFF},  // "Quillex"
        {ViewKind::Intercoms, kViewIdAll, kViewIdAll, 0x1FFFFFFF},
        {ViewKind::Requests, kViewIdAll, kViewIdAll, 0x3FFFFFFF},
        {ViewKind::GraphicalUsage, 0, kViewIdAll, 0x80003FFF},  // "Graphical Usage"
        {ViewKind::Alphas, 256, 8, 0x40400008},
        {ViewKind::Trunks, 1, kViewIdAll, 0x20007FFF},
        {ViewKind::GraphicalUsage, 999, kViewIdAll, 0x80F9FFFF},
    };
    for (const auto& c : cases) {
        const ViewId id = MakeViewId(c.kind, c.index, c.sub);
        EXPECT_EQ(static_cast<uint32_t>(id), c.packed) << std::hex << c.packed;
        const ViewIdParts parts = SplitViewId(id);
        EXPECT_EQ(parts.kind, c.kind);
        EXPECT_EQ(parts.index, c.index);
        EXPECT_EQ(parts.sub, c.sub);
    }
    EXPECT_LT(MakeViewId(ViewKind::GraphicalUsage, 0, kViewIdAll), 0);
}

TEST(ViewId, AnyOrAValueBeyondFourteenBitsKeepsToItsField) {
    // A filter's "any" names the same item as the tree's "all".
    EXPECT_EQ(MakeViewId(ViewKind::Trunks, INT_MAX, INT_MAX),
              MakeViewId(ViewKind::Trunks, kViewIdAll, kViewIdAll));
    EXPECT_EQ(MakeViewId(ViewKind::Alphas, 0x4005, 0x10002), MakeViewId(ViewKind::Alphas, 5, 2));
    EXPECT_EQ(SplitViewId(0x0FFFFFFF).kind, ViewKind::None);
    EXPECT_EQ(SplitViewId(static_cast<ViewId>(0x9FFFFFFFu)).kind, ViewKind::None);
}

TEST(ViewId, TheSwitchFilterIsTheKindsOwnWithTheIdsSelectors) {
    const auto trunks = NewViewFilter(ViewKind::Trunks, 5, kViewIdAll);
    EXPECT_EQ(trunks->Kind(), FilterKind::Trunks);
    EXPECT_EQ(trunks->Selector(1), 5);
    EXPECT_EQ(trunks->Selector(2), kViewIdAll);
    EXPECT_EQ(trunks->Selector(3), 15);  // the masks keep their defaults
    EXPECT_EQ(trunks->changed, 0);
    // The graphical kind has no filter of its own; its layout index travels in selector 1.
    const auto layout = NewViewFilter(ViewKind::GraphicalUsage, 3, kViewIdAll);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->Selector(1), 3);
}

TEST(ViewId, AFrameShowsAnIdOnlyWithTheSameKindSelectorsAndNoFurtherChoice) {
    const ViewId intercom5Requests = MakeViewId(ViewKind::Requests, 5, kViewIdAll);
    CRequestFilterData requests;
    requests.SetIntercom1(5);
    EXPECT_TRUE(ShowsViewId(ViewKind::Requests, &requests, intercom5Requests));
    requests.ShowState(requeststate::kQueued, false);  // a mask is the operator's, not a choice
    EXPECT_TRUE(ShowsViewId(ViewKind::Requests, &requests, intercom5Requests));
    requests.SetTrunk(12);
    EXPECT_FALSE(ShowsViewId(ViewKind::Requests, &requests, intercom5Requests));
    requests.SetTrunk(CVorlinFilterData::kAny);
    requests.SetIntercom1(6);
    EXPECT_FALSE(ShowsViewId(ViewKind::Requests, &requests, intercom5Requests));
    EXPECT_FALSE(ShowsViewId(ViewKind::Trunks, nullptr, intercom5Requests));
    EXPECT_TRUE(ShowsViewId(ViewKind::Requests, nullptr, intercom5Requests));
}

}  // namespace
}  // namespace corvane
