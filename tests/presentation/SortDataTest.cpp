#include "presentation/SortData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace corvane {
namespace {

std::vector<std::string> Sorted(const std::vector<std::string>& v, int kind) {
    std::vector<std::string> sorted;
    for (const size_t i : SortOrder(v, kind)) {
        sorted.push_back(v[i]);
    }
    return sorted;
}

std::string Shown(const char* stored, const char* format) {
    std::tm tm{};
    strptime(stored, "%Y-%m-%d %H:%M:%S", &tm);
    char text[128];
    std::strftime(text, sizeof text, format, &tm);
    return text;
}

TEST(SortDataTest, KindsOrderTexts) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Sorted({"10", "9", "100"}, sortkind::kInteger), (V{"9", "10", "100"}));
    EXPECT_EQ(Sorted({"10", "9", "100"}, -sortkind::kInteger), (V{"100", "10", "9"}));
    EXPECT_EQ(Sorted({"10", "9", "100"}, sortkind::kText), (V{"10", "100", "9"}));
    EXPECT_EQ(Sorted({"b", "", "a"}, sortkind::kTextEmptyLast), (V{"a", "b", ""}));
    EXPECT_EQ(Sorted({"b", "", "a"}, -sortkind::kTextEmptyLast), (V{"b", "a", ""}));
    EXPECT_EQ(Sorted({"b", "A", "a"}, sortkind::kTextNoCase), (V{"A", "a", "b"}));
    EXPECT_EQ(Sorted({"2026-12-10 10:00:00", "2026-12-09 23:59:59"}, sortkind::kDateTime),
              (V{"2026-12-09 23:59:59", "2026-12-10 10:00:00"}));
}

TEST(SortDataTest, EdgeComparisons) {
    EXPECT_LT(CompareSortTexts("1.2", "1.9", sortkind::kReal), 0);    // by sign, never truncated
    EXPECT_LT(CompareSortTexts("0.5", "0.25", -sortkind::kReal), 0);  // descending
    EXPECT_EQ(CompareSortTexts("nan", "1", sortkind::kReal), 0);
    EXPECT_LT(CompareSortTexts("1.2", "2.3", sortkind::kReal), 0);
    EXPECT_EQ(CompareSortTexts("x", "2026-12-10", sortkind::kDateTime), 0);
    EXPECT_EQ(CompareSortTexts("a", "b", sortkind::kNone), 0);
    EXPECT_EQ(CompareSortTexts("a", "b", 99), 0);
    EXPECT_LT(CompareSortTexts("-9223372036854775807", "9223372036854775807", sortkind::kInteger),
              0);
    EXPECT_GT(CompareSortTexts("1e308", "-1e308", sortkind::kReal), 0);
}

TEST(SortDataTest, DatesSortInTheFormsTheListsShowThem) {
    using V = std::vector<std::string>;
    // Other days in the locale's form, today as the time alone.
    const std::string older = Shown("2020-03-01 09:00:00", "%c");
    const std::string old = Shown("2024-11-30 23:00:00", "%c");
    const std::time_t now = std::time(nullptr);
    char today[16];
    std::strftime(today, sizeof today, "%H:%M:%S", std::localtime(&now));
    EXPECT_EQ(Sorted({today, old, older}, sortkind::kDateTime), (V{older, old, today}));
    EXPECT_EQ(Sorted({older, today, old}, -sortkind::kDateTime), (V{today, old, older}));
}

TEST(SortDataTest, KindsThatAreNoStrictOrderSortStablyAndSafely) {
    // Unreadable texts compare equal to everything; a large list of them mixed with dates must
    // neither crash nor lose a row, and rows that compare equal keep their order.
    std::vector<std::string> texts;
    for (int i = 0; i < 2000; ++i) {
        texts.push_back(i % 3 == 0 ? "x" : "2026-12-" + std::to_string(10 + i % 7) + " 10:00:00");
    }
    std::vector<size_t> order = SortOrder(texts, sortkind::kDateTime);
    std::vector<size_t> seen = order;
    std::sort(seen.begin(), seen.end());
    for (size_t i = 0; i < seen.size(); ++i) {
        ASSERT_EQ(seen[i], i);
    }
    EXPECT_EQ(SortOrder({"b", "a", "b", "a"}, sortkind::kNone), (std::vector<size_t>{0, 1, 2, 3}));
    EXPECT_EQ(SortOrder({"b", "a", "b", "a"}, sortkind::kText), (std::vector<size_t>{1, 3, 0, 2}));
}

TEST(SortDataTest, DefaultSortData) {
    const CVorlinSortData sort;
    EXPECT_TRUE(sort.ascending);
    EXPECT_EQ(sort.column, 1);
}

}  // namespace
}  // namespace corvane
