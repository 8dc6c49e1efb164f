#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "link/CompatibilityMessages.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Rows(const std::vector<std::array<int, 4>>& rows) {
    Bytes p{0xAA, 0xBB, 0xCC, 0xDD};  // not read
    for (const auto& r : rows) {
        p.push_back(static_cast<uint8_t>(r[0]));
        p.push_back(static_cast<uint8_t>(r[1]));
        p.push_back(static_cast<uint8_t>(r[2] >> 8));
        p.push_back(static_cast<uint8_t>(r[2]));
        p.push_back(static_cast<uint8_t>(r[3] >> 8));
        p.push_back(static_cast<uint8_t>(r[3]));
    }
    return p;
}

TEST(CompatibilityReplyTest, DecodesRowsAndRefusesALengthThatIsNotFourPlusTheRowsAsked) {
    const auto rows = DecodeCompatibilityReply(Rows({{2, 7, 0x0102, 90}, {3, 0, 0, 0}}), 2);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 2u);
    EXPECT_EQ((*rows)[0].state, 2);
    EXPECT_EQ((*rows)[0].byteValue, 7);
    EXPECT_EQ((*rows)[0].wordValue1, 0x0102);
    EXPECT_EQ((*rows)[0].wordValue2, 90);
    EXPECT_EQ((*rows)[1].state, 3);
    EXPECT_TRUE(DecodeCompatibilityReply(Rows({}), 0)->empty());
    struct Wrong {
        Bytes payload;
        int count;
    };
    const std::vector<std::array<int, 4>> one{{1, 0, 0, 0}};
    for (const Wrong& wrong :
         {Wrong{{}, 0}, Wrong{{1, 2, 3}, 0}, Wrong{Bytes(5, 0), 0}, Wrong{Bytes(4 + 6 + 5, 0), 1},
          Wrong{Rows(one), 31}, Wrong{Rows(one), 0}, Wrong{Rows({}), 31}}) {
        const auto refused = DecodeCompatibilityReply(wrong.payload, wrong.count);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.Failure(), "Compatibility Reply: Incorrect response length");
    }
}

TEST(CompatibilityReplyTest, KeepsNoRowPastIntercom254) {
    const auto rows =
        DecodeCompatibilityReply(Rows(std::vector<std::array<int, 4>>(300, {1, 0, 0, 0})), 300);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 255u);
}

class CompatibilityRecordsTest : public ::testing::Test {
protected:
    std::optional<bool> Apply(const std::vector<std::array<int, 4>>& rows) {
        return HandleCompatibilityReply(Rows(rows), static_cast<int>(rows.size()), records, log);
    }
    std::array<CAuthStat, 255> records;
    CDiagLogSource log;
};

TEST_F(CompatibilityRecordsTest, AnIdenticalReplyChangesNothing) {
    EXPECT_EQ(Apply({{2, 1, 5, 90}, {0, 0, 0, 0}}), true);
    EXPECT_EQ(Apply({{2, 1, 5, 90}, {0, 0, 0, 0}}), false);
    EXPECT_EQ(Apply({}), false);
}

TEST_F(CompatibilityRecordsTest, FewerMinutesIsAChangeWithoutAFlag) {
    Apply({{2, 0, 0, 90}});
    records[0].ClearChangeFlags();
    EXPECT_EQ(Apply({{2, 0, 0, 89}}), true);
    EXPECT_EQ(records[0].ChangeFlags(), 0);
    EXPECT_EQ(records[0].WordValue2(), 89);
}

TEST_F(CompatibilityRecordsTest, IncompatibleThenIsolatedKeepsBothFlagsUntilCleared) {
    Apply({{2, 0, 0, 10}});
    Apply({{3, 0, 0, 0}});
    EXPECT_EQ(records[0].ChangeFlags(), CAuthStat::kRoseToTwo | CAuthStat::kBecameThree);
    EXPECT_EQ(records[0].ClearChangeFlags(), CAuthStat::kRoseToTwo | CAuthStat::kBecameThree);
    EXPECT_EQ(records[0].ChangeFlags(), 0);
}

TEST_F(CompatibilityRecordsTest, RefusedReplyTouchesNoRecord) {
    EXPECT_EQ(HandleCompatibilityReply(Bytes(11, 3), 1, records, log), std::nullopt);
    EXPECT_EQ(records[0].State(), 0);
}

TEST(AuthStatTest, SetStateMarksOnlyTheTransitionsItNames) {
    struct Case {
        int from;
        int to;
        bool changed;
        uint8_t flags;
    };
    const Case cases[] = {
        {0, 0, false, 0},
        {0, 1, true, CAuthStat::kBecameOneFromZero},
        {0, 2, true, CAuthStat::kRoseToTwo},
        {1, 2, true, CAuthStat::kRoseToTwo},
        {3, 2, true, 0},
        {0, 3, true, CAuthStat::kBecameThree},
        {2, 3, true, CAuthStat::kBecameThree},
        {2, 1, true, 0},
        {3, 0, true, 0},
        {0, 7, true, 0},
    };
    for (const Case& c : cases) {
        CAuthStat s;
        s.SetState(c.from);
        s.ClearChangeFlags();
        EXPECT_EQ(s.SetState(c.to), c.changed) << c.from << "->" << c.to;
        EXPECT_EQ(s.ChangeFlags(), c.flags) << c.from << "->" << c.to;
        EXPECT_EQ(s.State(), c.to);
    }
}

TEST(AuthStatTest, ValuesReportChangesAndRecordsCompareByStateAndValues) {
    CAuthStat a;
    CAuthStat b;
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a.SetByteValue(4));
    EXPECT_FALSE(a.SetByteValue(4));
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(b.SetByteValue(4));
    EXPECT_TRUE(a.SetWordValue1(1));
    EXPECT_TRUE(b.SetWordValue1(1));
    EXPECT_TRUE(a.SetWordValue2(2));
    EXPECT_FALSE(a == b);
    b.SetWordValue2(2);
    a.SetState(2);
    b.SetState(2);
    a.ClearChangeFlags();
    EXPECT_TRUE(a == b);  // the change flags are not compared
}

}  // namespace
}  // namespace corvane
