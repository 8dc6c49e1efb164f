#include <gtest/gtest.h>

#include "LayoutFixtures.h"

namespace corvane {
namespace {

// Three intercoms in a row with trunk sets 1-2 and 2-3.
class GraphicLayoutTest : public ::testing::Test {
protected:
    CGraphicLayout layout;
    CIcomObj& one = layout.AddIntercom(1, {50, 50}, "One");
    CIcomObj& two = layout.AddIntercom(2, {250, 50}, "Two");
    CIcomObj& three = layout.AddIntercom(3, {450, 50}, "Three");
    CTrunkSetObj& oneTwo = layout.AddTrunkSet(one, two, {4, 0, 0, 0, 0});
    CTrunkSetObj& twoThree = layout.AddTrunkSet(two, three, {4, 0, 0, 0, 0});
};

TEST_F(GraphicLayoutTest, NewObjectsGoToTheHeadsOfTheirLists) {
    EXPECT_EQ(*layout.Intercoms().begin(), &three);
    EXPECT_EQ(*layout.TrunkSets().begin(), &twoThree);
    EXPECT_EQ(*layout.IntercomCaptions().begin(), three.Caption());
    EXPECT_EQ(*layout.TrunkSetCaptions().begin(), twoThree.Caption());
    EXPECT_EQ(two.TrunkSets().GetCount(), 2u);
    EXPECT_EQ(*two.TrunkSets().begin(), &twoThree);
    EXPECT_EQ(layout.FindIntercom(2), &two);
    EXPECT_EQ(layout.FindTrunkSet(0x0203), &twoThree);
    EXPECT_EQ(layout.FindTrunkSet(0x0103), nullptr);
    EXPECT_TRUE(layout.NeedsLoading());
    EXPECT_FALSE(layout.IsModified());
}

TEST_F(GraphicLayoutTest, HitTestingAsksCaptionsBeforeBoxesBeforeTrunkSets) {
    const struct {
        GraphicPoint point;
        HitCode code;
        int32_t key;
    } cases[] = {
        {{150, 50}, HitCode::TrunkSetCaption, 0x0102},  // on the set, under its caption
        {{120, 50}, HitCode::TrunkSet, 0x0102},
        {{60, 50}, HitCode::Intercom, 1},  // inside the box, on the set as well
        {{50, 82}, HitCode::IntercomCaption, 1},
        {{50, 150}, HitCode::Nothing, 0},
    };
    for (const auto& c : cases) {
        const GraphicHit hit = layout.HitTestAll(c.point, {});
        EXPECT_EQ(hit.code, c.code) << c.point.x << "," << c.point.y;
        EXPECT_EQ(hit.key, c.key) << c.point.x << "," << c.point.y;
        EXPECT_EQ(hit.object != nullptr, c.code != HitCode::Nothing);
    }
}

TEST_F(GraphicLayoutTest, ListsFindShowAndRemoveByKey) {
    const GraphicOptions options;
    EXPECT_TRUE(layout.Intercoms().IsShown(2, options));
    two.Show(false);
    EXPECT_FALSE(layout.Intercoms().IsShown(2, options));
    EXPECT_FALSE(layout.TrunkSets().IsShown(0x0102, options));
    EXPECT_FALSE(layout.Intercoms().IsShown(9, options));
    layout.Intercoms().ShowAll(true);
    EXPECT_TRUE(layout.TrunkSets().IsShown(0x0102, options));

    EXPECT_TRUE(two.TrunkSets().Remove(&oneTwo));
    EXPECT_FALSE(two.TrunkSets().Remove(&oneTwo));
    two.TrunkSets().AddTail(&oneTwo);  // back, for the layout to delete it once
}

TEST_F(GraphicLayoutTest, TheExtentReachesTheFarthestObjectPlusTen) {
    // Box three ends at (466, 66); its caption, 10 by 10 below the box, at y 87.
    EXPECT_EQ(layout.GetExtent(), (GraphicSize{476, 97}));
    GraphicSize size{1000, 5};
    layout.Intercoms().GetExtent(size);
    EXPECT_EQ(size, (GraphicSize{1000, 66}));
    EXPECT_EQ(CGraphicLayout().GetExtent(), (GraphicSize{10, 10}));
}

TEST_F(GraphicLayoutTest, SelectionKeepsCaptionsAtItsHeadAndOthersAtItsTail) {
    EXPECT_TRUE(layout.SelectObject(one));
    EXPECT_TRUE(layout.SelectObject(*one.Caption()));
    EXPECT_TRUE(layout.SelectObject(two));
    EXPECT_FALSE(layout.SelectObject(two));
    const std::vector<CGraphicObj*> order(layout.Selection().begin(), layout.Selection().end());
    EXPECT_EQ(order, (std::vector<CGraphicObj*>{one.Caption(), &one, &two}));

    EXPECT_TRUE(layout.DeselectObject(one));
    EXPECT_FALSE(layout.DeselectObject(one));
    EXPECT_FALSE(one.IsSelected());
    EXPECT_EQ(layout.Selection().GetCount(), 2u);

    layout.ClearSelection();
    EXPECT_TRUE(layout.Selection().IsEmpty());
    EXPECT_FALSE(two.IsSelected());
    EXPECT_FALSE(one.Caption()->IsSelected());
}

TEST_F(GraphicLayoutTest, RubberBandSelectsWhatItMeetsAndDropsWhatItLeaves) {
    CGraphicObjList& selection = layout.Selection();
    const GraphicOptions options;
    // Around box one and its caption, drawn from the bottom right.
    EXPECT_TRUE(layout.Intercoms().SelectInRect({100, 100, 0, 0}, options, selection));
    EXPECT_TRUE(layout.IntercomCaptions().SelectInRect({100, 100, 0, 0}, options, selection));
    EXPECT_TRUE(one.IsSelected());
    EXPECT_TRUE(one.Caption()->IsSelected());
    EXPECT_FALSE(two.IsSelected());
    EXPECT_EQ(*selection.begin(), one.Caption());
    EXPECT_FALSE(layout.Intercoms().SelectInRect({0, 0, 100, 100}, options, selection));

    // Hidden objects are neither selected nor dropped.
    three.Show(false);
    EXPECT_TRUE(layout.Intercoms().SelectInRect({200, 0, 500, 100}, options, selection));
    EXPECT_FALSE(one.IsSelected());
    EXPECT_TRUE(two.IsSelected());
    EXPECT_FALSE(three.IsSelected());
    EXPECT_EQ(selection.GetCount(), 2u);  // one's caption and two
}

TEST_F(GraphicLayoutTest, RemovingHiddenIntercomsTakesTheirCaptionsAndTrunkSets) {
    layout.SelectObject(two);
    layout.SelectObject(*oneTwo.Caption());
    two.Show(false);
    EXPECT_EQ(layout.RemoveHiddenIntercoms(), 1u);
    EXPECT_EQ(layout.Intercoms().GetCount(), 2u);
    EXPECT_EQ(layout.IntercomCaptions().GetCount(), 2u);
    EXPECT_TRUE(layout.TrunkSets().IsEmpty());
    EXPECT_TRUE(layout.TrunkSetCaptions().IsEmpty());
    EXPECT_TRUE(layout.Selection().IsEmpty());
    EXPECT_TRUE(one.TrunkSets().IsEmpty());
    EXPECT_TRUE(three.TrunkSets().IsEmpty());
    EXPECT_EQ(layout.FindIntercom(2), nullptr);
    EXPECT_EQ(layout.RemoveHiddenIntercoms(), 0u);
}

TEST_F(GraphicLayoutTest, RemovingTwoHiddenEndsOfOneSetDeletesItOnce) {
    one.Show(false);
    two.Show(false);
    EXPECT_EQ(layout.RemoveHiddenIntercoms(), 2u);
    EXPECT_TRUE(layout.TrunkSets().IsEmpty());
    EXPECT_TRUE(layout.TrunkSetCaptions().IsEmpty());
    EXPECT_EQ(layout.Intercoms().GetCount(), 1u);
    EXPECT_TRUE(three.TrunkSets().IsEmpty());
}

TEST_F(GraphicLayoutTest, DeletingAllObjectsEmptiesEveryList) {
    layout.SelectObject(one);
    layout.DeleteAllObjects();
    for (const CGraphicObjList* list :
         {&layout.Intercoms(), &layout.TrunkSets(), &layout.IntercomCaptions(),
          &layout.TrunkSetCaptions(), &layout.Selection()}) {
        EXPECT_TRUE(list->IsEmpty());
    }
}

}  // namespace
}  // namespace corvane
