#include "presentation/SortData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace corvane {
namespace {

std::vector<std::string> Sorted(std::vector<std::string> v, int kind) {
    std::stable_sort(v.begin(), v.end(), [kind](const std::string& a, const std::string& b) {
        return CompareSortTexts(a, b, kind) < 0;
    });
    return v;
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
    EXPECT_EQ(CompareSortTexts("1.2", "1.9", sortkind::kReal), 0);  // less than 1 apart
    EXPECT_LT(CompareSortTexts("1.2", "2.3", sortkind::kReal), 0);
    EXPECT_EQ(CompareSortTexts("x", "2026-12-10", sortkind::kDateTime), 0);
    EXPECT_EQ(CompareSortTexts("a", "b", sortkind::kNone), 0);
    EXPECT_EQ(CompareSortTexts("a", "b", 99), 0);
    EXPECT_LT(CompareSortTexts("-9223372036854775807", "9223372036854775807", sortkind::kInteger),
              0);
    EXPECT_GT(CompareSortTexts("1e308", "-1e308", sortkind::kReal), 0);
}

TEST(SortDataTest, DefaultSortData) {
    const CVorlinSortData sort;
    EXPECT_TRUE(sort.ascending);
    EXPECT_EQ(sort.column, 1);
}

}  // namespace
}  // namespace corvane
