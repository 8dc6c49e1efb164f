#include "presentation/LineShading.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(LineShading, EachChannelIsShadedOnItsOwnAndStopsAtZero) {
    EXPECT_EQ(ShadeColor(Rgb(255, 255, 255), Rgb(10, 10, 10)), Rgb(245, 245, 245));
    // A channel below its offset stays at 0 and does not borrow from its neighbour.
    EXPECT_EQ(ShadeColor(Rgb(5, 200, 0), Rgb(10, 10, 10)), Rgb(0, 190, 0));
    EXPECT_EQ(ShadeColor(Rgb(0, 0, 9), Rgb(0, 1, 10)), Rgb(0, 0, 0));
}

TEST(LineShading, TheMaskPicksTheShadedRows) {
    std::vector<int> shaded;
    for (int row = 0; row < 8; ++row) {
        if (IsShadedRow(row, 2)) {
            shaded.push_back(row);
        }
    }
    EXPECT_EQ(shaded, (std::vector<int>{2, 3, 6, 7}));
    EXPECT_FALSE(IsShadedRow(5, 0));
}

}  // namespace
}  // namespace corvane
