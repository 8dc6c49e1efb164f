#include "presentation/ListInfoTexts.h"

#include <gtest/gtest.h>

#include "presentation/FilterData.h"

namespace corvane {
namespace {

TEST(ListInfoTextsTest, RowCountsFillTheFirstTextOnly) {
    EXPECT_EQ(AlphaInfoText(1, 412), "412 Alphas");
    EXPECT_EQ(AlphaInfoText(2, 412), "");
    EXPECT_EQ(DupTrunkInfoText(1, 0), "0 Trunk Conflicts");
    EXPECT_EQ(DupTrunkInfoText(10, 3), "");
}

TEST(ListInfoTextsTest, TotalsTextsStayEmptyWithoutTheirTotals) {
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(RequestInfoText(n, std::nullopt), "") << n;
        EXPECT_EQ(AlarmInfoText(n, std::nullopt), "") << n;
        EXPECT_EQ(SummaryInfoText(n, std::nullopt, 1, true), "") << n;
    }
}

TEST(ListInfoTextsTest, RequestAndAlarmTotals) {
    const RequestTotals requests{20, 4, 9, 3};
    const char* const expectedRequests[] = {"20 Requests", "4 Queued", "9 Active", "3 Allocated",
                                            ""};
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(RequestInfoText(n, requests), expectedRequests[n - 1]);
    }
    const AlarmTotals alarms{12, 5, 4, 2, 1};
    const char* const expectedAlarms[] = {"12 Alarms", "5 Active",     "4 Resolved",
                                          "2 Stale",   "1 Unresolved", ""};
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(AlarmInfoText(n, alarms), expectedAlarms[n - 1]);
    }
}

TEST(ListInfoTextsTest, TheSummaryOfAllIntercomsHalvesItsTrunkCounts) {
    EXPECT_EQ(SummaryDivisor(1), 1);
    EXPECT_EQ(SummaryDivisor(256), 1);
    EXPECT_EQ(SummaryDivisor(257), 2);
    EXPECT_EQ(SummaryDivisor(CVorlinFilterData::kAny), 2);

    // Every intercom's totals: each trunk is counted at both its ends.
    const SummaryTotals all{40, 784, 120, 90, 16, 8};
    const int divisor = SummaryDivisor(CVorlinFilterData::kAny);
    const char* const expected[] = {"392 Trunks",    "60 Allocated",     "45 In Use",
                                    "8 Maintenance", "4 Out-of-service", "40 Intercoms"};
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(SummaryInfoText(n, all, divisor, true), expected[n - 1]) << n;
    }
    EXPECT_EQ(SummaryInfoText(7, all, divisor, true), "");
    // One intercom's counts as counted.
    EXPECT_EQ(SummaryInfoText(1, all, SummaryDivisor(3), true), "784 Trunks");
}

TEST(ListInfoTextsTest, SummaryWithoutIntercomsOrOutOfServiceState) {
    const SummaryTotals none{0, 5, 5, 5, 5, 5};
    EXPECT_EQ(SummaryInfoText(1, none, 1, true), "0 Trunks");
    EXPECT_EQ(SummaryInfoText(5, none, 1, true), "0 Out-of-service");
    EXPECT_EQ(SummaryInfoText(6, none, 1, true), "0 Intercoms");
    const SummaryTotals some{2, 10, 0, 0, 0, 3};
    EXPECT_EQ(SummaryInfoText(5, some, 1, false), "");
    EXPECT_EQ(SummaryInfoText(6, some, 1, false), "2 Intercoms");
}

}  // namespace
}  // namespace corvane
