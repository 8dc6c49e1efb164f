#include "presentation/ListHintReaction.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct Case {
    ListKind kind;
    ViewUpdateHint hint;
    bool sort, filter, requery, repaint;
};

TEST(ListHintReactionTest, ListViewsReactByTheirMasks) {
    const Case cases[] = {
        {ListKind::Intercoms, 0x4, false, false, false, false},  // added without edited: nothing
        {ListKind::Intercoms, 0xC, false, false, true, true},
        {ListKind::Intercoms, 0x8, false, false, false, true},
        {ListKind::Alarms, 0x400, false, false, false, false},
        {ListKind::Alarms, 0xC00, false, false, true, true},
        {ListKind::Alarms, 0x1C00, false, false, true, true},
        {ListKind::Alphas, 0x2, false, false, false, true},
        {ListKind::Alphas, 0x3, false, false, true, true},
        {ListKind::Requests, 0x10, false, false, false, true},  // names repaint the requests
        {ListKind::Requests, 0x300, false, false, true, true},
        {ListKind::Trunks, 0x40, false, false, false, true},
        {ListKind::Trunks, 0xC0, false, false, true, true},
        {ListKind::Trunks, 0x400000, false, false, false, true},
        {ListKind::TrunkSummary, 0x30000, false, false, true, true},
        {ListKind::TrunkSummary, 0x20000, false, false, false, false},
        {ListKind::TrunkSummary, 0x810010, false, false, false, true},
        {ListKind::TrunkConflicts, 0x60, false, false, true, true},
        {ListKind::Trunks, 0x4000, false, true, true, true},
        {ListKind::Trunks, 0xC000, true, false, true, true},  // sort wins over filter
        {ListKind::Alphas, 0x800, false, false, false, false},
    };
    for (const Case& c : cases) {
        const ListHintReaction r = ReactToHint(c.kind, c.hint, true, true);
        EXPECT_EQ(r.applySort, c.sort) << static_cast<int>(c.kind) << " " << std::hex << c.hint;
        EXPECT_EQ(r.applyFilter, c.filter) << static_cast<int>(c.kind) << " " << std::hex << c.hint;
        EXPECT_EQ(r.requery, c.requery) << static_cast<int>(c.kind) << " " << std::hex << c.hint;
        EXPECT_EQ(r.repaint, c.repaint) << static_cast<int>(c.kind) << " " << std::hex << c.hint;
    }
}

TEST(ListHintReactionTest, NoRecordsetOrNoFirstUpdateStopsEarly) {
    const ListHintReaction none = ReactToHint(ListKind::Trunks, 0xC000, false, true);
    EXPECT_FALSE(none.applySort || none.applyFilter || none.requery || none.repaint);
    const ListHintReaction early = ReactToHint(ListKind::Trunks, 0x4000, true, false);
    EXPECT_TRUE(early.applyFilter);  // the filter is taken over even before the first update
    EXPECT_FALSE(early.requery || early.repaint);
}

TEST(ListHintReactionTest, OpeningHintsRequeryAndShowTheServiceColumn) {
    for (ListKind kind :
         {ListKind::Intercoms, ListKind::Alphas, ListKind::Requests, ListKind::Alarms,
          ListKind::TrunkConflicts, ListKind::TrunkSummary, ListKind::Trunks}) {
        const ListHintRule& rule = ListHintRuleOf(kind);
        EXPECT_NE(rule.openingHint & rule.requeryMask, 0u) << static_cast<int>(kind);
    }
    EXPECT_NE(ListHintRuleOf(ListKind::TrunkSummary).openingHint & hint::kControllerCapabilities,
              0u);
}

}  // namespace
}  // namespace corvane
