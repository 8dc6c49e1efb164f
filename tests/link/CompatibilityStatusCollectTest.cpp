#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "link/AuthStat.h"
#include "presentation/CompatibilityStatusReport.h"

namespace corvane {
namespace {

TEST(CompatibilityStatusCollect, ReadsStatesTwoAndThreeAndClearsOnlyTheirFlags) {
    std::array<CAuthStat, 255> stats;
    stats[0].SetState(1);  // became 1 from 0: not listed, flag kept
    stats[4].SetState(2);
    stats[4].SetWordValue2(90);
    stats[9].SetState(2);
    stats[9].SetState(3);  // rose to 2 and became 3
    stats[254].SetState(3);
    stats[254].ClearChangeFlags();

    const auto entries = CollectCompatibilityStatusEntries(
        [&stats](int i) { return &stats[static_cast<size_t>(i)]; },
        [](int i) { return "Intercom " + std::to_string(i + 1); });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].index, 4);
    EXPECT_EQ(entries[0].state, 2);
    EXPECT_EQ(entries[0].minutes, 90);
    EXPECT_EQ(entries[0].flags, CAuthStat::kRoseToTwo);
    EXPECT_EQ(entries[0].name, "Intercom 5");
    EXPECT_EQ(entries[1].index, 9);
    EXPECT_EQ(entries[1].flags, CAuthStat::kRoseToTwo | CAuthStat::kBecameThree);
    EXPECT_EQ(entries[2].index, 254);
    EXPECT_EQ(entries[2].flags, 0);

    EXPECT_EQ(stats[0].ChangeFlags(), CAuthStat::kBecameOneFromZero);
    EXPECT_EQ(stats[4].ChangeFlags(), 0);
    EXPECT_EQ(stats[9].ChangeFlags(), 0);
}

TEST(CompatibilityStatusCollect, AnIntercomThatBecameIsolatedBetweenRefreshesIsReportedIsolated) {
    CAuthStat stat;
    stat.SetState(2);
    stat.SetWordValue2(5);
    const auto source = [&stat](int i) { return i == 3 ? &stat : nullptr; };
    const auto name = [](int) { return std::string("East"); };
    CompatibilityStatusReport first =
        BuildCompatibilityStatusReport(CollectCompatibilityStatusEntries(source, name));
    EXPECT_EQ(first.message.rfind("There seems to be a communication problem", 0), 0u);

    stat.SetState(3);
    CompatibilityStatusReport second =
        BuildCompatibilityStatusReport(CollectCompatibilityStatusEntries(source, name));
    EXPECT_EQ(second.message.rfind("Intercom #4 (East) seems to be incompatible", 0), 0u);
    EXPECT_EQ(second.rows.at(0).status, "Isolated");

    stat.SetState(0);
    EXPECT_TRUE(
        BuildCompatibilityStatusReport(CollectCompatibilityStatusEntries(source, name)).close);
}

TEST(CompatibilityStatusCollect, NoSourceListsNothing) {
    EXPECT_TRUE(CollectCompatibilityStatusEntries(nullptr, nullptr).empty());
    EXPECT_TRUE(CollectCompatibilityStatusEntries([](int) { return nullptr; }, nullptr).empty());
}

}  // namespace
}  // namespace corvane
