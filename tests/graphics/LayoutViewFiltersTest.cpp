#include "graphics/LayoutViewFilters.h"

#include <gtest/gtest.h>

#include <climits>

#include "graphics/IntercomPairKey.h"

namespace corvane {
namespace {

// Selectors 1 to 6 of a filter.
std::vector<int> Selectors(const CVorlinFilterData& filter) {
    std::vector<int> s;
    for (int n = 1; n <= 6; ++n) {
        s.push_back(filter.Selector(n));
    }
    return s;
}

TEST(LayoutViewFilters, APairOpensItsListsWithBothIntercomsAlso256) {
    const int any = INT_MAX;
    const struct {
        int a;
        int b;
        ViewKind kind;
        int first;   // selector of the smaller number
        int second;  // selector of the larger number
    } cases[] = {
        {7, 3, ViewKind::Trunks, 1, 2},     {3, 7, ViewKind::Requests, 1, 4},
        {5, 256, ViewKind::Trunks, 1, 2},   {256, 5, ViewKind::Requests, 1, 4},
        {255, 256, ViewKind::Trunks, 1, 2},
    };
    for (const auto& c : cases) {
        const auto filter = PairViewFilter(c.kind, MakePairKey(c.a, c.b));
        ASSERT_NE(filter, nullptr);
        EXPECT_EQ(filter->Selector(c.first), std::min(c.a, c.b)) << c.a << "-" << c.b;
        EXPECT_EQ(filter->Selector(c.second), std::max(c.a, c.b)) << c.a << "-" << c.b;
        EXPECT_NE(filter->Selector(c.second), 0) << "intercom 256 is no intercom 0";
    }
    EXPECT_EQ(PairViewFilter(ViewKind::TrunkSummary, MakePairKey(1, 2)), nullptr);
    const auto one = IntercomViewFilter(ViewKind::Requests, 256);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(Selectors(*one)[0], 256);
    EXPECT_EQ(Selectors(*one)[3], any);
    EXPECT_EQ(IntercomViewFilter(ViewKind::TrunkSummary, 9)->Selector(1), 9);
    EXPECT_EQ(IntercomViewFilter(ViewKind::Alarms, 9), nullptr);
}

}  // namespace
}  // namespace corvane
