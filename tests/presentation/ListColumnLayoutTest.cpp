#include "presentation/ListColumnLayout.h"

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"

namespace corvane {
namespace {

using Ints = std::vector<int>;

TEST(ListColumnLayout, SavedWidthsAndOrderComeBackAndMissingWidthsAreMarked) {
    CProfileStore profile;
    profile.Load("");
    ASSERT_TRUE(SaveListColumnLayout(profile, "IcomListColumnWidths", "IcomListColumnOrder",
                                     {{40, 300, 0x1234}, {2, 0, 1}}));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(profile.GetProfileBinary("Preferences", "IcomListColumnWidths", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 40, 1, 44, 0x12, 0x34}));  // high byte first
    ASSERT_TRUE(profile.GetProfileBinary("Preferences", "IcomListColumnOrder", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));

    const ListColumnLayout four =
        LoadListColumnLayout(profile, "IcomListColumnWidths", "IcomListColumnOrder", 4);
    EXPECT_EQ(four.widths, (Ints{40, 300, 0x1234, ListColumnLayout::kNoWidth}));
    EXPECT_EQ(four.order, (Ints{2, 0, 1, 3}));
    const ListColumnLayout two =
        LoadListColumnLayout(profile, "IcomListColumnWidths", "IcomListColumnOrder", 2);
    EXPECT_EQ(two.widths, (Ints{40, 300}));
    EXPECT_EQ(two.order, (Ints{0, 1}));
}

TEST(ListColumnLayout, AColumnWithoutAWidthOfItsOwnIsSavedWithout) {
    CProfileStore profile;
    profile.Load("");
    const ListColumnLayout saved{{ListColumnLayout::kNoWidth, 80, ListColumnLayout::kNoWidth},
                                 {0, 1, 2}};
    ASSERT_TRUE(
        SaveListColumnLayout(profile, "RequestListColumnWidths", "RequestListColumnOrder", saved));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(profile.GetProfileBinary("Preferences", "RequestListColumnWidths", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xFF, 0xFF, 0, 80, 0xFF, 0xFF}));
    EXPECT_EQ(LoadListColumnLayout(profile, "RequestListColumnWidths", "RequestListColumnOrder", 3)
                  .widths,
              saved.widths);
}

TEST(ListColumnLayout, ASavedOrderIsTakenOnlyAsFarAsItIsSound) {
    const struct {
        Ints saved;
        int columns;
        Ints sound;
    } cases[] = {
        {{}, 3, {0, 1, 2}},
        {{2, 1, 0}, 3, {2, 1, 0}},
        {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, 7, {6, 5, 4, 3, 2, 1, 0}},  // saved with 11 columns
        {{1, 1, 1}, 3, {1, 0, 2}},
        {{-1, 2, 99}, 3, {2, 0, 1}},
        {{0, 1}, 0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SoundColumnOrder(c.saved, c.columns), c.sound);
    }
}

TEST(ListColumnLayout, HiddenColumnsKeepTheirSavedPlaces) {
    // Saved: 0 1 2 3 4; column 1 hidden; on screen the shown ones now read 4 0 3 2.
    EXPECT_EQ(MergeColumnOrder({0, 1, 2, 3, 4}, {4, 0, 3, 2}, {false, true, false, false, false}),
              (Ints{4, 1, 0, 3, 2}));
    // Nothing hidden: the screen's order.
    EXPECT_EQ(MergeColumnOrder({0, 1, 2}, {2, 0, 1}, {false, false, false}), (Ints{2, 0, 1}));
}

TEST(ListColumnLayout, AColumnShownAgainStandsAfterTheShownColumnsBeforeItInTheSavedOrder) {
    const std::vector<bool> hidden = {false, false, true, false};
    // Saved 0 1 2 3: two shown columns precede 2, so it stands after two shown ones.
    EXPECT_EQ(OrderWithColumnShown({3, 2, 0, 1}, {0, 1, 2, 3}, hidden, 2), (Ints{3, 0, 2, 1}));
    // First in the saved order: first on screen.
    EXPECT_EQ(OrderWithColumnShown({0, 1, 3, 2}, {2, 0, 1, 3}, hidden, 2), (Ints{2, 0, 1, 3}));
    // Last: after every shown column.
    EXPECT_EQ(OrderWithColumnShown({2, 0, 1, 3}, {0, 1, 3, 2}, hidden, 2), (Ints{0, 1, 3, 2}));
}

}  // namespace
}  // namespace corvane
