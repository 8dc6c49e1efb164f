#include "graphics/GraphicGeometry.h"

#include <gtest/gtest.h>

#include "graphics/IntercomPairKey.h"

namespace corvane {
namespace {

TEST(GraphicGeometryTest, RectanglesHoldTheirLeftAndTopEdgesOnly) {
    const GraphicRect r{10, 20, 30, 40};
    const struct {
        GraphicPoint p;
        bool inside;
    } cases[] = {
        {{10, 20}, true}, {{29, 39}, true},  {{30, 20}, false}, {{10, 40}, false},
        {{9, 25}, false}, {{15, 19}, false}, {{20, 30}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.Contains(c.p), c.inside) << c.p.x << "," << c.p.y;
    }
}

TEST(GraphicGeometryTest, IntersectionNeedsASharedArea) {
    const GraphicRect r{0, 0, 10, 10};
    const struct {
        GraphicRect other;
        bool meets;
    } cases[] = {
        {{5, 5, 15, 15}, true},   {{10, 0, 20, 10}, false},  // touching edges share no area
        {{15, 15, 5, 5}, true},                              // taken normalised
        {{3, 3, 3, 8}, false},                               // no width
        {{-5, -5, 20, 20}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.Intersects(c.other), c.meets) << c.other.left << "," << c.other.top;
    }
}

TEST(GraphicGeometryTest, CentresTruncateTowardZero) {
    EXPECT_EQ((GraphicRect{0, 0, 5, 5}).Centre(), (GraphicPoint{2, 2}));
    EXPECT_EQ((GraphicRect{-5, -5, 0, 0}).Centre(), (GraphicPoint{-2, -2}));
    EXPECT_EQ(CentredRect({100, 50}, {10, 10}), (GraphicRect{95, 45, 105, 55}));
    EXPECT_EQ(CentredRect({0, 0}, {7, 3}), (GraphicRect{-3, -1, 4, 2}));
}

TEST(GraphicGeometryTest, CoordinatesStayWithinTheBound) {
    EXPECT_EQ(ClampCoordinate(int64_t{1} << 40), kMaxGraphicCoordinate);
    EXPECT_EQ(ClampCoordinate(-(int64_t{1} << 40)), -kMaxGraphicCoordinate);
    EXPECT_EQ((GraphicRect{0, 0, 1, 1}).Inflated(int64_t{1} << 40),
              (GraphicRect{-kMaxGraphicCoordinate, -kMaxGraphicCoordinate, kMaxGraphicCoordinate,
                           kMaxGraphicCoordinate}));
}

TEST(IntercomPairKeyTest, SmallerNumberInTheHighByte) {
    const struct {
        int a, b;
        int32_t key;
    } cases[] = {
        {1, 2, 0x0102},     {2, 1, 0x0102},   {7, 7, 0},
        {255, 3, 0x03FF},   {1, 256, 0x0100},  // 256 taken modulo 256
        {255, 256, 0xFF00},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakePairKey(c.a, c.b), c.key) << c.a << "," << c.b;
    }
}

TEST(IntercomPairKeyTest, SplittingGivesThePairBackIncludingIntercom256) {
    for (int a = 1; a <= 256; ++a) {
        for (int b = a + 1; b <= 256; ++b) {
            const auto [smaller, larger] = SplitPairKey(MakePairKey(b, a));
            ASSERT_EQ(smaller, a);
            ASSERT_EQ(larger, b);
        }
    }
    EXPECT_EQ(SplitPairKey(0), (std::pair<int, int>{0, 0}));
}

}  // namespace
}  // namespace corvane
