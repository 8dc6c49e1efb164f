#include "graphics/TrunkSetStrokes.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using DC = DisplayColor;

struct StrokeCase {
    const char* name;
    GraphicPoint from, to;
    TrunkSetCounts counts;
    std::vector<TrunkSetStroke> strokes;
};

TEST(TrunkSetStrokesTest, WidthsAndBandsFollowTheCounts) {
    const GraphicPoint a{0, 100};
    const GraphicPoint b{200, 100};
    const StrokeCase cases[] = {
        {"10 trunks, 3 allocated, 2 in maintenance",
         a,
         b,
         {10, 3, 0, 2, 0},
         {{a, b, 10, DC::TrunksIdle, false},
          {{0, 98}, {200, 98}, 5, DC::TrunksAllocated, false},
          {{0, 96}, {200, 96}, 2, DC::TrunksUnavailable, false}}},
        {"all idle", a, b, {7, 0, 0, 0, 0}, {{a, b, 7, DC::TrunksIdle, false}}},
        {"none idle, some unavailable",
         a,
         b,
         {6, 4, 1, 1, 0},
         {{a, b, 6, DC::TrunksAllocated, false},
          {{0, 98}, {200, 98}, 2, DC::TrunksUnavailable, false}}},
        {"all allocated", a, b, {4, 4, 0, 0, 0}, {{a, b, 4, DC::TrunksAllocated, false}}},
        {"all unavailable", a, b, {3, 0, 1, 1, 1}, {{a, b, 3, DC::TrunksUnavailable, false}}},
        {"no trunks", a, b, {0, 0, 0, 0, 0}, {{a, b, 1, DC::TrunksUnavailable, true}}},
        {"idle with only unavailable",
         a,
         b,
         {10, 0, 4, 0, 0},
         {{a, b, 10, DC::TrunksIdle, false},
          {{0, 97}, {200, 97}, 4, DC::TrunksUnavailable, false}}},
        {"one centre draws the widest line only",
         a,
         a,
         {10, 3, 0, 2, 0},
         {{a, a, 10, DC::TrunksIdle, false}}},
        {"damaged counts stay within the widest pen",
         a,
         b,
         {-1, 0, 0, 0, 0},
         {{a, b, kMaxTrunkStrokeWidth, DC::TrunksIdle, false}}},
    };
    for (const StrokeCase& c : cases) {
        EXPECT_EQ(TrunkSetStrokes(c.from, c.to, c.counts), c.strokes) << c.name;
    }
}

TEST(TrunkSetStrokesTest, BandsShiftPerpendicularTowardSmallerY) {
    const TrunkSetCounts counts{10, 0, 0, 2, 0};  // d = 8: half the difference is 4
    const struct {
        GraphicPoint from, to;
        GraphicPoint bandFrom;
    } cases[] = {
        {{0, 0}, {0, 200}, {-4, 0}},     // vertical: sideways
        {{0, 0}, {100, 100}, {3, -3}},   // falling: up and right
        {{0, 100}, {100, 0}, {-3, 97}},  // rising: up and left
        {{100, 0}, {0, 0}, {100, -4}},   // leftward: still up
    };
    for (const auto& c : cases) {
        const std::vector<TrunkSetStroke> strokes = TrunkSetStrokes(c.from, c.to, counts);
        ASSERT_EQ(strokes.size(), 2u);
        EXPECT_EQ(strokes[1].from, c.bandFrom) << c.to.x << "," << c.to.y;
        EXPECT_EQ(strokes[1].to.x - strokes[1].from.x, c.to.x - c.from.x);
        EXPECT_EQ(strokes[1].to.y - strokes[1].from.y, c.to.y - c.from.y);
    }
}

}  // namespace
}  // namespace corvane
