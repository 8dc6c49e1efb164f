#include "presentation/FilterData.h"

#include <gtest/gtest.h>

#include <map>

namespace corvane {
namespace {

class Names final : public FilterNameSource {
public:
    std::string IntercomName(int intercom) const override {
        const auto it = names.find(intercom);
        return it == names.end() ? "" : it->second;
    }
    bool IsValidFunctionType(int type) const override {
        return type >= 0 && type <= 8 && type != 7;
    }
    std::string FunctionTypeCode(int type) const override { return "T" + std::to_string(type); }
    std::string AssignmentAlpha(int, int assignment) const override {
        return assignment == (1 << 16 | 5) ? "DESK5" : "";
    }
    std::map<int, std::string> names{{1, "North"}, {2, "South"}};
};

TEST(FilterDataTest, NewFiltersShowEverything) {
    const CTrunkFilterData trunks;
    EXPECT_EQ(trunks.StateMask(), 15);
    EXPECT_EQ(trunks.ResultMask(), 31);
    EXPECT_EQ(trunks.ServiceMask(), 3);
    EXPECT_EQ(trunks.Intercom(), CVorlinFilterData::kAny);
    const CAlarmFilterData alarms;
    EXPECT_EQ(alarms.StateMask(), 15);
    EXPECT_EQ(alarms.CategoryMask(), 63);
    EXPECT_EQ(CRequestFilterData().StateMask(), 15);
    EXPECT_EQ(trunks.changed, 0);
}

TEST(FilterDataTest, MaskSettersKeepOnlyTheirBits) {
    CTrunkFilterData trunks;
    trunks.SetResultMask(0xFF);
    EXPECT_EQ(trunks.ResultMask(), 0x1F);
    trunks.SetServiceMask(0xFF);
    EXPECT_EQ(trunks.ServiceMask(), 0x3);
    trunks.ShowState(trunkstate::kInUse, false);
    EXPECT_EQ(trunks.StateMask(), 0xB);
    EXPECT_FALSE(trunks.ShowsState(trunkstate::kInUse));
    CAlarmFilterData alarms;
    alarms.SetCategoryMask(0x7F);
    EXPECT_EQ(alarms.CategoryMask(), 0x3F);
}

TEST(FilterDataTest, CopiesTakeSelectorsButNotTheChangedByte) {
    CTrunkFilterData a;
    a.SetIntercom(3);
    a.changed = 1;
    CTrunkFilterData b;
    b.AssignSelectors(a);
    EXPECT_EQ(b.Intercom(), 3);
    EXPECT_EQ(b.changed, 0);
    const auto clone = a.Clone();
    EXPECT_EQ(clone->Kind(), FilterKind::Trunks);
    EXPECT_EQ(clone->Selector(1), 3);
}

TEST(FilterDataTest, ASwitchedFrameTakesTheGivenSelectorsButKeepsItsMasks) {
    // The tree switches a request frame with intercom 5 and nothing else chosen.
    CRequestFilterData own;
    own.SetTrunk(12);
    own.SetStateMask(requeststate::kActive);
    CAlphaFilterData given;
    given.SetIntercom(5);
    given.changed = 1;
    TakeSwitchedFilter(own, given);
    EXPECT_EQ(own.Intercom1(), 5);
    EXPECT_EQ(own.Trunk(), CVorlinFilterData::kAny);
    EXPECT_EQ(own.StateMask(), requeststate::kActive);
    EXPECT_EQ(own.changed, 1);

    CTrunkFilterData trunks;
    trunks.SetResultMask(testresult::kFailure);
    CTrunkFilterData fresh;
    fresh.SetIntercom(3);
    TakeSwitchedFilter(trunks, fresh);
    EXPECT_EQ(trunks.Intercom(), 3);
    EXPECT_EQ(trunks.ResultMask(), testresult::kFailure);
    EXPECT_EQ(trunks.StateMask(), 15);
}

TEST(FilterDataTest, Titles) {
    const Names names;
    CTrunkFilterData trunks;
    EXPECT_EQ(trunks.GetTitle(&names), "Trunks");
    trunks.SetOtherIntercom(2);
    EXPECT_EQ(trunks.GetTitle(&names), "South Trunks");
    trunks.SetIntercom(1);
    EXPECT_EQ(trunks.GetTitle(&names), "North/South Trunks");
    EXPECT_EQ(trunks.GetTitle(nullptr), "Trunks");

    CRequestFilterData requests;
    requests.SetIntercom2(2);
    EXPECT_EQ(requests.GetTitle(&names), "South Requests");
    requests.SetIntercom1(1);
    requests.SetFunctionType(3);
    EXPECT_EQ(requests.GetTitle(&names), "North/South T3 Requests");
    requests.SetAssignment(1 << 16 | 5);
    requests.SetTrunk(42);
    EXPECT_EQ(requests.GetTitle(&names), "North/South Requests for DESK5 on Trunk 42");
    // Without the document's names only the fixed word: no trunk either.
    EXPECT_EQ(requests.GetTitle(nullptr), "Requests");

    CAlphaFilterData alphas;
    alphas.SetIntercom(1);
    alphas.SetFunctionType(7);  // not a valid type: no code
    EXPECT_EQ(alphas.GetTitle(&names), "North Alphas");
    alphas.SetFunctionType(8);
    EXPECT_EQ(alphas.GetTitle(&names), "North T8 Alphas");

    CSummaryFilterData summary;
    summary.SetIntercom(2);
    EXPECT_EQ(summary.GetTitle(&names), "South Trunk Summary");
    EXPECT_EQ(CIcomFilterData().GetTitle(&names), "Intercoms");
    EXPECT_EQ(CAlarmFilterData().GetTitle(&names), "Alarms");
    EXPECT_EQ(CDupTrunkFilterData().GetTitle(nullptr), "Trunk Definition Conflicts");
}

}  // namespace
}  // namespace corvane
