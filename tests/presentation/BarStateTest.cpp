#include "presentation/BarState.h"

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"

namespace corvane {
namespace {

constexpr const char* kPrefix = "Preferences\\ToolBars\\";

TEST(BarState, SavedBarsReadBack) {
    CProfileStore profile;
    profile.Load("");
    ASSERT_TRUE(SaveBarState(profile, kPrefix, {{59393, false}, {59392, true}}, 1920, 1080));
    EXPECT_EQ(profile.GetProfileInt("Preferences\\ToolBars\\-Summary", "Bars", 0), 2);
    EXPECT_EQ(profile.GetProfileInt("Preferences\\ToolBars\\-Summary", "ScreenCX", 0), 1920);
    EXPECT_EQ(profile.GetProfileInt("Preferences\\ToolBars\\-Bar0", "BarID", 0), 59393);
    const auto bars = LoadBarState(profile, kPrefix);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].id, 59393);
    EXPECT_FALSE(bars[0].visible);
    EXPECT_EQ(bars[1].id, 59392);
    EXPECT_TRUE(bars[1].visible);
}

TEST(BarState, UnusableCountsAndEntries) {
    struct Case {
        int bars;
        size_t found;
    };
    const Case cases[] = {{0, 0}, {-4, 0}, {1, 1}, {1000000, kMaxBars}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bars);
        CProfileStore profile;
        profile.Load("");
        profile.WriteProfileInt("Preferences\\ToolBars\\-Summary", "Bars", c.bars);
        for (int i = 0; i < kMaxBars + 2; ++i) {
            profile.WriteProfileInt("Preferences\\ToolBars\\-Bar" + std::to_string(i), "BarID",
                                    100 + i);
        }
        EXPECT_EQ(LoadBarState(profile, kPrefix).size(), c.found);
    }
    CProfileStore empty;
    empty.Load("");
    empty.WriteProfileInt("Preferences\\ToolBars\\-Summary", "Bars", 2);
    EXPECT_TRUE(LoadBarState(empty, kPrefix).empty());  // bars without an id are skipped
}

}  // namespace
}  // namespace corvane
