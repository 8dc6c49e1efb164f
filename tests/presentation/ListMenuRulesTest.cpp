#include "presentation/ListMenuRules.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

constexpr int kAny = CVorlinFilterData::kAny;

TEST(ListMenuRulesTest, TheViewsOfARowsIntercom) {
    struct Case {
        int command;
        ViewKind kind;
    };
    const Case cases[] = {{listmenu::kViewSummary, ViewKind::TrunkSummary},
                          {listmenu::kViewAlphas, ViewKind::Alphas},
                          {listmenu::kViewRequests, ViewKind::Requests},
                          {listmenu::kViewTrunks, ViewKind::Trunks}};
    for (const Case& c : cases) {
        const auto view = IntercomViewSwitch(c.command, 7);
        ASSERT_TRUE(view) << c.command;
        EXPECT_EQ(view->kind, c.kind);
        ASSERT_EQ(view->filter->Kind(), *FilterKindOf(c.kind));
        EXPECT_EQ(view->filter->Selector(1), 7);
        EXPECT_EQ(view->filter->Selector(2), kAny);
    }
    EXPECT_FALSE(IntercomViewSwitch(listmenu::kAcknowledge, 7));
}

TEST(ListMenuRulesTest, AnAlphasAssignment) {
    const auto filter = AssignmentRequestsFilter(4, "IF", 12);
    EXPECT_EQ(filter->Intercom1(), 4);
    EXPECT_EQ(filter->FunctionType(), 2);
    EXPECT_EQ(filter->Assignment(), 2 << 16 | 12);
    EXPECT_EQ(filter->StateMask(), 15);
    // "MX" is the intercom itself, no port.
    const auto names = AssignmentRequestsFilter(4, "MX", 12);
    EXPECT_EQ(names->FunctionType(), kAny);
    EXPECT_EQ(names->Assignment(), kAny);
}

TEST(ListMenuRulesTest, AConflictRowNeedsBothTrunks) {
    const auto filter = ConflictRequestsFilter(17, 240);
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->Trunk(), 17);
    EXPECT_EQ(filter->Intercom1(), kAny);
    EXPECT_EQ(ConflictRequestsFilter(17, kAny), nullptr);
    EXPECT_EQ(ConflictRequestsFilter(kAny, 17), nullptr);
    EXPECT_EQ(ConflictRequestsFilter(0, 17), nullptr);
}

TEST(ListMenuRulesTest, TheRequestMenuOffersTheEndsWithAnAlpha) {
    FoundRequest found;
    EXPECT_TRUE(RequestMenuItems(found).empty());
    found.captions[1] = "View requests involving M002:P074";
    auto items = RequestMenuItems(found);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, listmenu::kViewRequestsEnd2);
    EXPECT_EQ(items[0].end, 1);
    EXPECT_EQ(items[0].caption, "View requests involving M002:P074");
    found.captions[0] = "View requests involving M001:P037";
    items = RequestMenuItems(found);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, listmenu::kViewRequestsEnd1);
    EXPECT_EQ(items[1].id, listmenu::kViewRequestsEnd2);
}

TEST(ListMenuRulesTest, TheRequestsOfOneEndKeepTheFormsStates) {
    CRequestFilterData form;
    form.SetIntercom2(9);
    form.SetTrunk(300);
    form.SetStateMask(requeststate::kQueued | requeststate::kActive);
    const CRequestFilterData filter = RequestEndFilter(form, {3, 1, 12});
    EXPECT_EQ(filter.Intercom1(), 3);
    EXPECT_EQ(filter.FunctionType(), 1);
    EXPECT_EQ(filter.Assignment(), 1 << 16 | 12);
    EXPECT_EQ(filter.Intercom2(), kAny);
    EXPECT_EQ(filter.Trunk(), kAny);
    EXPECT_EQ(filter.StateMask(), requeststate::kQueued | requeststate::kActive);
    EXPECT_EQ(filter.changed, 1);
    // A request that is gone: its ends are unknown.
    const CRequestFilterData gone = RequestEndFilter(form, {});
    EXPECT_EQ(gone.Intercom1(), kAny);
    EXPECT_EQ(gone.Assignment(), kAny);
}

TEST(ListMenuRulesTest, TheSummaryOfARowsIntercom) {
    CSummaryFilterData form;
    const CSummaryFilterData filter = IntercomSummaryFilter(form, 5);
    EXPECT_EQ(filter.Intercom(), 5);
    EXPECT_EQ(filter.changed, 1);
    EXPECT_EQ(form.Intercom(), kAny);
}

}  // namespace
}  // namespace corvane
