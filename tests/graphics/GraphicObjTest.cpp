#include <gtest/gtest.h>

#include "graphics/CaptionObj.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {
namespace {

const GraphicOptions kShowAll{};

TEST(GraphicObjTest, AnIntercomIsABoxOf32CentredOnItsPoint) {
    CIcomObj intercom;
    CIcomCaption caption;
    intercom.Init(5, 100, 50, &caption, "North");
    EXPECT_EQ(intercom.GetId(), 5);
    EXPECT_EQ(intercom.GetRect(), (GraphicRect{84, 34, 116, 66}));
    EXPECT_EQ(intercom.GetSize(), (GraphicSize{32, 32}));
    EXPECT_EQ(intercom.Caption(), &caption);
    EXPECT_EQ(caption.GetOwner(), &intercom);
    EXPECT_EQ(caption.GetId(), 5);
    // 10 by 10, its centre half a box height below the box.
    EXPECT_EQ(caption.GetRect(), (GraphicRect{95, 77, 105, 87}));
    EXPECT_EQ(caption.GetText(), " North ");
    EXPECT_TRUE(caption.NeedsMeasuring());
    EXPECT_TRUE(intercom.VisibleFlag());
    EXPECT_FALSE(intercom.IsSelected());
}

TEST(GraphicObjTest, CaptionTextsAreTrimmedAndFramedByOneBlank) {
    const struct {
        const char* in;
        const char* stored;
    } cases[] = {
        {"North", " North "},
        {"  North\t ", " North "},
        {"", "  "},
        {"a b", " a b "},
    };
    for (const auto& c : cases) {
        CIcomCaption caption;
        caption.SetOwner(nullptr, "x");
        EXPECT_TRUE(caption.SetText(c.in));
        EXPECT_EQ(caption.GetText(), c.stored);
        EXPECT_FALSE(caption.SetText(c.stored)) << "the same text once framed";
    }
}

TEST(GraphicObjTest, SettingTheSameTextAgainDoesNotAskForMeasuring) {
    CIcomCaption caption;
    caption.SetOwner(nullptr, "North");
    EXPECT_FALSE(caption.SetText(" North"));
    EXPECT_TRUE(caption.NeedsMeasuring());  // still from construction
    EXPECT_EQ(caption.GetId(), 0);
}

TEST(GraphicObjTest, FlagSettersSayWhetherTheyChanged) {
    CIcomObj intercom;
    EXPECT_TRUE(intercom.SetOnline(true));
    EXPECT_FALSE(intercom.SetOnline(true));
    EXPECT_TRUE(intercom.SetBaud9600Mark(true));
    EXPECT_FALSE(intercom.SetBaud9600Mark(true));
    EXPECT_TRUE(intercom.SetBaud9600Mark(false));
}

class TrunkSetFixture : public ::testing::Test {
protected:
    CGraphicLayout layout;
    CIcomObj& a = layout.AddIntercom(1, {50, 50}, "North");
    CIcomObj& b = layout.AddIntercom(2, {150, 50}, "South");
    CTrunkSetObj& set = layout.AddTrunkSet(a, b, {10, 3, 0, 2, 0});
};

TEST_F(TrunkSetFixture, ATrunkSetRunsBetweenTheEndCentres) {
    EXPECT_EQ(set.GetId(), 0x0102);
    EXPECT_EQ(set.GetRect(), (GraphicRect{50, 50, 150, 50}));
    EXPECT_EQ(set.Line(), (TrunkSetLine{0, 100, -5000, 0, 10000, 10000}));
    EXPECT_EQ(set.FirstEnd(), &a);
    EXPECT_EQ(set.SecondEnd(), &b);
    EXPECT_EQ(*a.TrunkSets().begin(), &set);
    EXPECT_EQ(*b.TrunkSets().begin(), &set);
    ASSERT_NE(set.Caption(), nullptr);
    EXPECT_EQ(set.Caption()->GetRect(), (GraphicRect{95, 45, 105, 55}));
    EXPECT_EQ(set.Caption()->GetText(), " 5 / 3 / 2 ");
    EXPECT_EQ(set.Caption()->GetId(), 0x0102);
}

TEST_F(TrunkSetFixture, CountsGiveTheCaptionItsThreeNumbers) {
    const struct {
        TrunkSetCounts counts;
        const char* text;
    } cases[] = {
        {{10, 3, 0, 2, 0}, " 5 / 3 / 2 "},
        {{0, 0, 0, 0, 0}, " <no trunks> "},
        {{4, 1, 1, 1, 1}, " 0 / 1 / 3 "},
        {{2, 3, 0, 0, 0}, " -1 / 3 / 0 "},  // more counted than there are
    };
    for (const auto& c : cases) {
        set.SetTrunkCounts(c.counts);
        EXPECT_EQ(set.Caption()->GetText(), c.text);
    }
}

TEST_F(TrunkSetFixture, SetTrunkCountsSaysWhetherACountChanged) {
    EXPECT_FALSE(set.SetTrunkCounts({10, 3, 0, 2, 0}));
    EXPECT_TRUE(set.SetTrunkCounts({10, 3, 0, 2, 1}));
    EXPECT_EQ(set.Counts(), (TrunkSetCounts{10, 3, 0, 2, 1}));
}

TEST_F(TrunkSetFixture, MovingAnIntercomKeepsItsBoxAndRecentresUnselectedCaptions) {
    a.MoveTo(10, 110);
    EXPECT_EQ(a.GetRect(), (GraphicRect{10, 110, 42, 142}));
    EXPECT_EQ(set.GetRect(), (GraphicRect{26, 126, 150, 50}));
    // The caption keeps its size and sits on the new midpoint.
    EXPECT_EQ(set.Caption()->GetRect(), (GraphicRect{83, 83, 93, 93}));

    layout.SelectObject(*set.Caption());
    b.MoveTo(300, 300);
    EXPECT_EQ(set.Caption()->GetRect(), (GraphicRect{83, 83, 93, 93}));
    EXPECT_EQ(set.GetRect(), (GraphicRect{26, 126, 316, 316}));
}

TEST_F(TrunkSetFixture, ATrunkSetIsNotMovedByItself) {
    set.MoveTo(500, 500);
    EXPECT_EQ(set.GetRect(), (GraphicRect{50, 50, 150, 50}));
}

TEST_F(TrunkSetFixture, CaptionsMoveByTheirTopLeftCorner) {
    CIcomCaption& caption = *a.Caption();
    caption.MoveTo(200, 300);
    EXPECT_EQ(caption.GetRect(), (GraphicRect{200, 300, 210, 310}));
    EXPECT_EQ(caption.GetTopLeft(), (GraphicPoint{200, 300}));
}

TEST_F(TrunkSetFixture, HidingAnIntercomHidesWhatHangsOnItButNotTheirFlags) {
    a.Show(false);
    EXPECT_FALSE(a.IsVisible(kShowAll));
    EXPECT_FALSE(a.Caption()->IsVisible(kShowAll));
    EXPECT_FALSE(set.IsVisible(kShowAll));
    EXPECT_FALSE(set.Caption()->IsVisible(kShowAll));
    EXPECT_TRUE(b.Caption()->IsVisible(kShowAll));
    EXPECT_TRUE(set.VisibleFlag());
    EXPECT_TRUE(set.Caption()->VisibleFlag());

    set.Caption()->Show(false);
    a.Show(true);
    EXPECT_TRUE(set.IsVisible(kShowAll));
    EXPECT_FALSE(set.Caption()->IsVisible(kShowAll)) << "hidden by itself stays hidden";
}

TEST_F(TrunkSetFixture, EmptyTrunkSetsHideOnlyWhenTheSettingSaysSo) {
    const GraphicOptions hideEmpty{true};
    EXPECT_TRUE(set.IsVisible(hideEmpty));
    set.SetTrunkCounts({});
    EXPECT_TRUE(set.IsVisible(kShowAll));
    EXPECT_FALSE(set.IsVisible(hideEmpty));
    EXPECT_FALSE(set.Caption()->IsVisible(hideEmpty));
}

TEST(GraphicObjTest, ATrunkSetWithoutBothEndsIsNeverVisible) {
    CTrunkSetObj set;
    EXPECT_FALSE(set.IsVisible({}));
    CTrunkSetCaption caption;
    caption.SetOwner(&set, "x");
    EXPECT_FALSE(caption.IsVisible({}));
    CTrunkSetCaption orphan;
    EXPECT_TRUE(orphan.IsVisible({}));
}

}  // namespace
}  // namespace corvane
