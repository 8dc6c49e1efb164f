#include <gtest/gtest.h>

#include "graphics/CaptionObj.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {
namespace {

struct HitCase {
    GraphicPoint point;
    HitCode code;
};

void ExpectHits(const CGraphicObj& obj, std::initializer_list<HitCase> cases,
                const GraphicOptions& options = {}) {
    for (const HitCase& c : cases) {
        EXPECT_EQ(obj.HitTest(c.point, options), c.code) << c.point.x << "," << c.point.y;
    }
}

TEST(HitTestTest, AnIntercomIsHitInsideItsBox) {
    CGraphicLayout layout;
    CIcomObj& intercom = layout.AddIntercom(1, {100, 50}, "North");  // (84,34)-(116,66)
    ExpectHits(intercom, {{{84, 34}, HitCode::Intercom},
                          {{115, 65}, HitCode::Intercom},
                          {{116, 50}, HitCode::Nothing},
                          {{100, 66}, HitCode::Nothing},
                          {{83, 50}, HitCode::Nothing}});
    ExpectHits(*intercom.Caption(),
               {{{95, 77}, HitCode::IntercomCaption}, {{105, 80}, HitCode::Nothing}});
    intercom.Show(false);
    ExpectHits(intercom, {{{100, 50}, HitCode::Nothing}});
    ExpectHits(*intercom.Caption(), {{{95, 77}, HitCode::Nothing}});
}

class TrunkSetHits : public ::testing::Test {
protected:
    CTrunkSetObj& Add(GraphicPoint from, GraphicPoint to, int32_t total) {
        CIcomObj& a = layout.AddIntercom(next, from, "a");
        CIcomObj& b = layout.AddIntercom(next + 1, to, "b");
        next += 2;
        return layout.AddTrunkSet(a, b, {total, 0, 0, 0, 0});
    }
    CGraphicLayout layout;
    int next = 1;
};

TEST_F(TrunkSetHits, AHorizontalSetIsHitWithinItsToleranceAndAlongItsSpan) {
    // Total 10: tolerance max(10 / 2 + 3, 6) = 8; the span widens by 9.
    const CTrunkSetObj& set = Add({50, 50}, {150, 50}, 10);
    ExpectHits(set, {{{100, 50}, HitCode::TrunkSet},
                     {{100, 58}, HitCode::TrunkSet},
                     {{100, 42}, HitCode::TrunkSet},
                     {{100, 59}, HitCode::Nothing},
                     {{100, 41}, HitCode::Nothing},
                     {{41, 50}, HitCode::TrunkSet},
                     {{40, 50}, HitCode::Nothing},
                     {{158, 50}, HitCode::TrunkSet},
                     {{159, 50}, HitCode::Nothing}});
    ExpectHits(*set.Caption(), {{{100, 50}, HitCode::TrunkSetCaption}});
}

TEST_F(TrunkSetHits, ToleranceGrowsWithTheTrunksButNotBelowSix) {
    const struct {
        int32_t total;
        int edge;  // the farthest hit distance
    } cases[] = {{0, 6}, {5, 6}, {6, 6}, {7, 6}, {8, 7}, {20, 13}, {-40, 6}};
    for (const auto& c : cases) {
        const CTrunkSetObj& set = Add({50, 500}, {450, 500}, c.total);
        EXPECT_EQ(set.HitTest({250, 500 + c.edge}, {}), HitCode::TrunkSet) << c.total;
        EXPECT_EQ(set.HitTest({250, 500 - c.edge - 1}, {}), HitCode::Nothing) << c.total;
    }
}

TEST_F(TrunkSetHits, DistancesFromASlantedSetRoundToTheNearestUnit) {
    const CTrunkSetObj& set = Add({0, 0}, {100, 100}, 10);  // tolerance 8
    ExpectHits(set, {{{50, 60}, HitCode::TrunkSet},         // 7.07
                     {{50, 62}, HitCode::TrunkSet},         // 8.49 rounds to 8
                     {{50, 63}, HitCode::Nothing},          // 9.19
                     {{60, 48}, HitCode::TrunkSet}});       // 8.49 on the other side
    int64_t distance = 0;
    ASSERT_TRUE(set.DistanceTo({50, 62}, distance));
    EXPECT_EQ(distance, 8);
}

TEST_F(TrunkSetHits, EndsOnOneCentreLeaveTheDecisionToTheSpan) {
    const CTrunkSetObj& set = Add({50, 50}, {50, 50}, 10);
    int64_t distance = 0;
    EXPECT_FALSE(set.DistanceTo({50, 50}, distance));
    ExpectHits(set, {{{58, 58}, HitCode::TrunkSet},
                     {{41, 41}, HitCode::TrunkSet},
                     {{59, 50}, HitCode::Nothing}});
}

TEST_F(TrunkSetHits, HiddenOrAutoHiddenSetsAreNotHit) {
    CTrunkSetObj& set = Add({50, 50}, {150, 50}, 0);
    ExpectHits(set, {{{100, 50}, HitCode::TrunkSet}});
    ExpectHits(set, {{{100, 50}, HitCode::Nothing}}, GraphicOptions{true});
    ExpectHits(*set.Caption(), {{{100, 50}, HitCode::Nothing}}, GraphicOptions{true});
    set.Show(false);
    ExpectHits(set, {{{100, 50}, HitCode::Nothing}});
}

TEST_F(TrunkSetHits, FarPointsAndHugeCountsStaySound) {
    const CTrunkSetObj& set = Add({-kMaxGraphicCoordinate, 0}, {kMaxGraphicCoordinate, 0}, 10);
    ExpectHits(set, {{{INT32_MAX, INT32_MAX}, HitCode::Nothing},
                     {{INT32_MIN, INT32_MIN}, HitCode::Nothing},
                     {{0, 0}, HitCode::TrunkSet}});
    const CTrunkSetObj& wide = Add({0, 0}, {100, 0}, INT32_MAX);
    ExpectHits(wide, {{{50, 1000}, HitCode::TrunkSet}});
}

}  // namespace
}  // namespace corvane
