#include "graphics/LayoutEditing.h"

#include <gtest/gtest.h>

#include "LayoutFixtures.h"
#include "graphics/IntercomPairKey.h"

namespace corvane {
namespace {

using testing::FakeModel;

class LayoutEditingTest : public ::testing::Test {
protected:
    LayoutEditingTest() {
        model.intercoms[1] = {"North   ", "OK (main)", 9600};
        model.intercoms[2] = {"", "Lost", 38400};
        model.intercoms[3] = {"East", "OK", 38400};
        model.intercoms[256] = {"West", "OK", 38400};
        model.intercoms[300] = {"Beyond", "OK", 38400};
        model.summary[{1, 3}] = {6, 1, 1, 0, 0};
        model.summary[{3, 256}] = {2, 0, 0, 0, 0};
    }
    CGraphicLayout layout;
    FakeModel model;
    GraphicOptions options;
};

TEST_F(LayoutEditingTest, ShowingAnIntercomMakesItsBoxFromTheModelAtThePoint) {
    const struct {
        int number;
        const char* caption;
        bool online;
        bool remote;
    } cases[] = {{1, " North ", true, true}, {2, " MX02 ", false, false}, {9, " ? ", false, false}};
    for (const auto& c : cases) {
        const LayoutEditResult result = ShowIntercom(layout, model, c.number, true, {100, 60});
        EXPECT_TRUE(result.modified);
        EXPECT_TRUE(result.refresh);
        const CIcomObj* box = layout.FindIntercom(c.number);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetRect(), (GraphicRect{84, 44, 116, 76}));
        EXPECT_EQ(box->Caption()->GetText(), c.caption);
        EXPECT_EQ(box->IsOnline(), c.online) << c.number;
        EXPECT_EQ(box->HasBaud9600Mark(), c.remote) << c.number;
        EXPECT_EQ(layout.Intercoms().begin().operator*(), box) << "at the head";
    }
    // A box there already is only shown or hidden; hiding one that is not there changes nothing.
    EXPECT_TRUE(ShowIntercom(layout, model, 1, false, {0, 0}).modified);
    EXPECT_FALSE(layout.FindIntercom(1)->VisibleFlag());
    EXPECT_EQ(layout.FindIntercom(1)->GetRect(), (GraphicRect{84, 44, 116, 76}));
    EXPECT_FALSE(ShowIntercom(layout, model, 5, false, {0, 0}).modified);
    EXPECT_EQ(layout.FindIntercom(5), nullptr);

    model.failingIntercom = 3;
    const LayoutEditResult failed = ShowIntercom(layout, model, 3, true, {0, 0});
    ASSERT_EQ(failed.errors.size(), 1u);
    EXPECT_EQ(failed.errors[0].format, kIntercomNameErrorFormat);
    EXPECT_EQ(layout.FindIntercom(3)->Caption()->GetText(), " ? ");
}

TEST_F(LayoutEditingTest, ATrunkSetNeedsBothBoxesAndTakesTheSummaryCounts) {
    ShowIntercom(layout, model, 1, true, {0, 0});
    LayoutEditResult result = ShowTrunkSet(layout, model, 1, 3, true);
    EXPECT_FALSE(result.modified);
    EXPECT_FALSE(result.refresh) << "no box for 3: nothing to draw again";
    EXPECT_EQ(layout.TrunkSets().GetCount(), 0u);

    ShowIntercom(layout, model, 3, true, {100, 0});
    result = ShowTrunkSet(layout, model, 1, 3, true);
    EXPECT_TRUE(result.modified);
    const CTrunkSetObj* set = layout.FindTrunkSet(MakePairKey(1, 3));
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->FirstEnd(), layout.FindIntercom(1));
    EXPECT_EQ(set->Counts(), (TrunkSetCounts{6, 1, 1, 0, 0}));
    EXPECT_EQ(set->Caption()->GetText(), " 4 / 1 / 1 ");

    EXPECT_TRUE(ShowTrunkSet(layout, model, 3, 1, false).modified) << "the same pair";
    EXPECT_FALSE(set->VisibleFlag());

    // Intercom 256 pairs like any other.
    ShowIntercom(layout, model, 256, true, {200, 0});
    ShowTrunkSet(layout, model, 3, 256, true);
    ASSERT_NE(layout.FindTrunkSet(MakePairKey(3, 256)), nullptr);
    EXPECT_EQ(layout.FindTrunkSet(MakePairKey(3, 256))->Counts().total, 2);
    EXPECT_EQ(SplitPairKey(MakePairKey(3, 256)), (std::pair<int, int>{3, 256}));
}

TEST_F(LayoutEditingTest, AllOtherVisibleIntercomsGetASetOnlyWhereThereAreTrunks) {
    for (int n : {1, 2, 3, 256}) {
        ShowIntercom(layout, model, n, true, {n, 0});
    }
    model.summary[{3, 1}] = {6, 1, 1, 0, 0};
    model.summary[{3, 2}] = {0, 0, 0, 0, 0};
    layout.FindIntercom(256)->Show(false);
    const LayoutEditResult result = ShowTrunkSetsToVisible(layout, model, 3, options);
    EXPECT_TRUE(result.modified);
    EXPECT_NE(layout.FindTrunkSet(MakePairKey(3, 1)), nullptr);
    EXPECT_EQ(layout.FindTrunkSet(MakePairKey(3, 2)), nullptr) << "no trunks";
    EXPECT_EQ(layout.FindTrunkSet(MakePairKey(3, 256)), nullptr) << "hidden";

    model.failingIntercom = 2;
    const LayoutEditResult failed = ShowTrunkSetsToVisible(layout, model, 3, options);
    ASSERT_EQ(failed.errors.size(), 1u);
    EXPECT_EQ(failed.errors[0].format, kTrunkUsageErrorFormat);
}

TEST_F(LayoutEditingTest, TheMenusOfferTheIntercomsThatAreMissingOrHidden) {
    std::vector<LayoutModelSource::IntercomEntry> byName;
    std::string error;
    ASSERT_EQ(model.ListIntercoms(byName, error), LayoutModelSource::Lookup::Found);

    IntercomsToShow toShow = FindIntercomsToShow(layout, byName);
    EXPECT_EQ(toShow.items, (std::vector<MenuIntercom>{{3, "East"}, {1, "North"}, {256, "West"}}))
        << "no nameless intercom, none beyond 256";
    EXPECT_EQ(toShow.hidden, 0);

    ShowIntercom(layout, model, 1, true, {0, 0});
    ShowIntercom(layout, model, 2, true, {0, 50});
    ShowIntercom(layout, model, 3, true, {0, 100});
    layout.FindIntercom(3)->Show(false);
    toShow = FindIntercomsToShow(layout, byName);
    EXPECT_EQ(toShow.items, (std::vector<MenuIntercom>{{3, "East"}, {256, "West"}}));
    EXPECT_EQ(toShow.hidden, 1);

    // Partners of 1: visible boxes without a visible set to it; a nameless one by number.
    EXPECT_EQ(FindTrunkSetPartners(layout, 1, byName, options),
              (std::vector<MenuIntercom>{{2, "MX02"}}));
    layout.FindIntercom(3)->Show(true);
    ShowTrunkSet(layout, model, 1, 2, true);
    EXPECT_EQ(FindTrunkSetPartners(layout, 1, byName, options),
              (std::vector<MenuIntercom>{{3, "East"}}));
    layout.FindTrunkSet(MakePairKey(1, 2))->Show(false);
    EXPECT_EQ(FindTrunkSetPartners(layout, 1, byName, options),
              (std::vector<MenuIntercom>{{2, "MX02"}, {3, "East"}}));
}

}  // namespace
}  // namespace corvane
