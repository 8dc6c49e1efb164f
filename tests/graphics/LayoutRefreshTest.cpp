#include <gtest/gtest.h>

#include "LayoutFixtures.h"
#include "graphics/LayoutModelSource.h"

namespace corvane {
namespace {

using testing::FakeModel;

class LayoutRefreshTest : public ::testing::Test {
protected:
    CGraphicLayout layout;
    CIcomObj& north = layout.AddIntercom(1, {50, 50}, "?");
    CIcomObj& south = layout.AddIntercom(256, {150, 50}, "?");
    CTrunkSetObj& set = layout.AddTrunkSet(north, south, {});
    FakeModel model;
};

TEST(LayoutRefreshTextTest, NamelessIntercomsShowTheirNumber) {
    const struct {
        int number;
        const char* name;
        const char* text;
    } cases[] = {{7, "North   ", "North"},
                 {7, "", "MX07"},
                 {7, "   ", "MX07"},
                 {123, "", "MX123"},
                 {3, " a b ", " a b"}};
    for (const auto& c : cases) {
        EXPECT_EQ(IntercomCaptionText(c.number, c.name), c.text) << c.name;
    }
    EXPECT_TRUE(IsOnlineComState("OK (main)"));
    EXPECT_FALSE(IsOnlineComState("Lost"));
    EXPECT_FALSE(IsOnlineComState("O"));
}

TEST_F(LayoutRefreshTest, IntercomsTakeNameStateAndRemoteMarkFromTheModel) {
    model.intercoms[1] = {"North  ", "OK", 9600};
    const LayoutRefreshResult result = RefreshLayout(layout, model, hint::kIntercomNames);
    EXPECT_TRUE(result.changed);
    EXPECT_TRUE(result.errors.empty());
    EXPECT_EQ(north.Caption()->GetText(), " North ");
    EXPECT_TRUE(north.IsOnline());
    EXPECT_TRUE(north.HasBaud9600Mark());
    EXPECT_EQ(south.Caption()->GetText(), " MX256 ") << "not in the model";
    EXPECT_FALSE(south.IsOnline());

    EXPECT_FALSE(RefreshLayout(layout, model, hint::kIntercomsEdited).changed);
    model.intercoms[1].baudRate = 38400;
    EXPECT_TRUE(RefreshIntercoms(layout, model).changed);
    EXPECT_FALSE(north.HasBaud9600Mark());
}

TEST_F(LayoutRefreshTest, TrunkSetsTakeTheirSummaryCountsOrZeros) {
    model.summary[{1, 256}] = {10, 3, 0, 2, 0};
    LayoutRefreshResult result = RefreshLayout(layout, model, hint::kSummaryEdited);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(model.asked, (std::vector<std::pair<int, int>>{{1, 256}}));
    EXPECT_EQ(set.Counts(), (TrunkSetCounts{10, 3, 0, 2, 0}));
    EXPECT_EQ(set.Caption()->GetText(), " 5 / 3 / 2 ");

    model.summary.clear();
    EXPECT_TRUE(RefreshTrunkSetCounts(layout, model).changed);
    EXPECT_EQ(set.Caption()->GetText(), " <no trunks> ");
    EXPECT_FALSE(RefreshTrunkSetCounts(layout, model).changed);
}

TEST_F(LayoutRefreshTest, FailedLookupsAreReportedAndTheRestGoesOn) {
    CIcomObj& west = layout.AddIntercom(3, {50, 150}, "West");
    layout.AddTrunkSet(north, west, {});
    model.failingIntercom = 256;
    model.intercoms[3] = {"West", "OK", 0};
    model.summary[{1, 3}] = {2, 0, 0, 0, 0};

    const LayoutRefreshResult result =
        RefreshLayout(layout, model, hint::kSummaryEdited | hint::kIntercomNames);
    EXPECT_TRUE(result.changed);
    ASSERT_EQ(result.errors.size(), 2u);
    EXPECT_EQ(result.errors[0].format, kTrunkUsageErrorFormat);
    EXPECT_EQ(result.errors[0].description, "database is locked");
    EXPECT_EQ(result.errors[1].format, kIntercomNameErrorFormat);
    EXPECT_EQ(result.errors[1].description, "disk I/O error");
    EXPECT_EQ(layout.FindTrunkSet(0x0103)->Counts().total, 2);
    EXPECT_TRUE(west.IsOnline());
    EXPECT_EQ(south.Caption()->GetText(), " ? ") << "left as it was";
}

TEST_F(LayoutRefreshTest, OtherHintsAskNothing) {
    const LayoutRefreshResult result = RefreshLayout(layout, model, hint::kTrunksEdited);
    EXPECT_FALSE(result.changed);
    EXPECT_TRUE(model.asked.empty());
}

}  // namespace
}  // namespace corvane
