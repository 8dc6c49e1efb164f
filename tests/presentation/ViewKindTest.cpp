#include "presentation/ViewKind.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ViewKind, EachListKindMapsToItsListFilterAndQueryKinds) {
    const struct {
        int number;
        ListKind list;
        FilterKind filter;
        ListQueryKind query;
    } cases[] = {
        {1, ListKind::Intercoms, FilterKind::Intercoms, ListQueryKind::Intercoms},
        {2, ListKind::Trunks, FilterKind::Trunks, ListQueryKind::Trunks},
        {3, ListKind::Requests, FilterKind::Requests, ListQueryKind::Requests},
        {4, ListKind::Alphas, FilterKind::Alphas, ListQueryKind::Alphas},
        {5, ListKind::Alarms, FilterKind::Alarms, ListQueryKind::Alarms},
        {6, ListKind::TrunkConflicts, FilterKind::DupTrunks, ListQueryKind::DupTrunks},
        {7, ListKind::TrunkSummary, FilterKind::Summary, ListQueryKind::Summary},
    };
    for (const auto& c : cases) {
        const ViewKind kind = ViewKindOf(c.number);
        EXPECT_TRUE(IsListViewKind(kind));
        EXPECT_EQ(ViewKindNumber(kind), c.number);
        EXPECT_EQ(ListKindOf(kind), c.list);
        EXPECT_EQ(FilterKindOf(kind), c.filter);
        EXPECT_EQ(ListQueryKindOf(kind), c.query);
        EXPECT_EQ(ViewKindOf(c.filter), kind);
        ASSERT_NE(NewFilterOf(kind), nullptr);
        EXPECT_EQ(NewFilterOf(kind)->Kind(), c.filter);
    }
}

TEST(ViewKind, OtherNumbersAndTheGraphicalKindHaveNoList) {
    for (const int number : {0, 9, -1, 1000}) {
        EXPECT_EQ(ViewKindOf(number), ViewKind::None);
    }
    for (const ViewKind kind : {ViewKind::None, ViewKind::GraphicalUsage}) {
        EXPECT_FALSE(IsListViewKind(kind));
        EXPECT_FALSE(ListKindOf(kind));
        EXPECT_EQ(NewFilterOf(kind), nullptr);
    }
    EXPECT_EQ(TraitsOf(ViewKind::GraphicalUsage).frameIcon, 112);
    EXPECT_EQ(TraitsOf(ViewKind::None).frameIcon, 108);
    EXPECT_STREQ(TraitsOf(ViewKind::TrunkConflicts).formHeightKey, "DupTrunkFormHeight");
    EXPECT_EQ(TraitsOf(ViewKind::Trunks).helpId, 0x200C0);
}

}  // namespace
}  // namespace corvane
