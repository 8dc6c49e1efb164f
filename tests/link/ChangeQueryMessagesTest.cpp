#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "link/ChangeQueryMessages.h"
#include "link/QuillexMessageCode.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

struct ChangeCase {
    friend void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    ChangeArea area;
    Bytes payload;
    bool accepted;
    int bitCount;
    std::vector<int> matrices;  // MarkedItems below 255
    std::vector<int> trunks;    // MarkedItems below 10000
};

class ChangeReplyTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeReplyTest, ChecksTheLengthBeforeAndAfterTheCountAndMarksTheSetBits) {
    const ChangeCase& c = GetParam();
    const auto map = DecodeChangeReply(c.area, c.payload);
    if (!c.accepted) {
        ASSERT_FALSE(map);
        EXPECT_EQ(map.Failure(), ChangeReplyName(c.area) + ": Incorrect response length");
        return;
    }
    ASSERT_TRUE(map);
    EXPECT_EQ(map->bitCount, c.bitCount);
    EXPECT_EQ(map->payload, c.payload);
    EXPECT_EQ(MarkedItems(*map, kQuillexMatrices), c.matrices);
    EXPECT_EQ(MarkedItems(*map, kQuillexTrunks), c.trunks);
}

Bytes Map(int bits, std::vector<int> set) {
    Bytes p{static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
    p.resize(2 + (static_cast<size_t>(bits) + 7) / 8, 0);
    for (const int i : set) {
        p[2 + static_cast<size_t>(i) / 8] |= static_cast<uint8_t>(1 << (i % 8));
    }
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ChangeReplyTest,
    ::testing::Values(
        ChangeCase{"NoBitsIsValidWithTwoBytes", ChangeArea::kMatrixNames, {0, 0}, true, 0, {}, {}},
        ChangeCase{"NoBitsWithAMapByte", ChangeArea::kMatrixNames, {0, 0, 0}, false, 0, {}, {}},
        ChangeCase{"Empty", ChangeArea::kMatrixCommStat, {}, false, 0, {}, {}},
        ChangeCase{"OneByteOnlyNoCount", ChangeArea::kTrunkUsage, {0x10}, false, 0, {}, {}},
        ChangeCase{"MapShort", ChangeArea::kTrunkUsage, {0, 9, 0xFF}, false, 0, {}, {}},
        ChangeCase{"MapLong", ChangeArea::kTrunkUsage, {0, 8, 0xFF, 0x00}, false, 0, {}, {}},
        ChangeCase{
            "HugeCountWithNoMap", ChangeArea::kTrunkDefinitions, {0xFF, 0xFF}, false, 0, {}, {}},
        ChangeCase{
            "CountAboveZeroNoBitSet", ChangeArea::kFailedRequests, {0, 3, 0}, true, 3, {}, {}},
        ChangeCase{"LsbFirstAndBitsPastTheCountIgnored",
                   ChangeArea::kMatrixOosPorts,
                   {0, 10, 0x81, 0xFF},
                   true,
                   10,
                   {0, 7, 8, 9},
                   {0, 7, 8, 9}},
        ChangeCase{"MatricesStopAt255TrunksGoOn",
                   ChangeArea::kTrunkUsage,
                   Map(300, {0, 254, 255, 299}),
                   true,
                   300,
                   {0, 254},
                   {0, 254, 255, 299}},
        ChangeCase{"TrunksStopAt10000",
                   ChangeArea::kTrunkDefinitions,
                   Map(10008, {9999, 10000, 10007}),
                   true,
                   10008,
                   {},
                   {9999}}),
    [](const auto& info) { return info.param.name; });

TEST(ChangeReplyTest, AlphasReadTheFirstByteOfEachMatrixPairAsTheEightLists) {
    // Matrix 0: kinds 0 and 8 (bits 0 and 7); matrix 1: second byte only (not read);
    // matrix 2: kind 6 (bit 6).
    const auto map = DecodeChangeReply(ChangeArea::kMatrixAlphas,
                                       Bytes{0, 48, 0x81, 0x00, 0x00, 0xFF, 0x40, 0x00});
    ASSERT_TRUE(map);
    const auto marks = MarkedAlphaLists(*map);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].matrix, 0);
    EXPECT_EQ(marks[0].kind, 0);
    EXPECT_EQ(marks[1].matrix, 0);
    EXPECT_EQ(marks[1].kind, 8);
    EXPECT_EQ(marks[2].matrix, 2);
    EXPECT_EQ(marks[2].kind, 6);
}

TEST(ChangeReplyTest, AlphasMarkAtMost255Matrices) {
    const auto map = DecodeChangeReply(ChangeArea::kMatrixAlphas,
                                       Map(16 * 257, {16 * 254, 16 * 255, 16 * 256 + 3}));
    ASSERT_TRUE(map);
    const auto marks = MarkedAlphaLists(*map);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].matrix, 254);
}

TEST(ChangeReplyTest, OverallMarksTheSevenAreasInOrder) {
    const auto map = DecodeChangeReply(ChangeArea::kOverall, Bytes{0, 8, 0xC5});
    ASSERT_TRUE(map);
    // Bits 0, 2, 6 (bit 7 stands for no area).
    EXPECT_EQ(MarkedAreas(*map),
              (std::vector<ChangeArea>{ChangeArea::kMatrixNames, ChangeArea::kMatrixCommStat,
                                       ChangeArea::kMatrixOosPorts}));
    EXPECT_TRUE(MarkedAreas(*DecodeChangeReply(ChangeArea::kOverall, Bytes{0, 0})).empty());
    // Any count above 0 reads bits 0-6 of the first byte.
    for (const Bytes& reply : {Bytes{0, 1, 0x7F}, Bytes{0, 3, 0xFF}, Bytes{0, 16, 0x7F, 0xFF}}) {
        EXPECT_EQ(MarkedAreas(*DecodeChangeReply(ChangeArea::kOverall, reply)).size(), 7u);
    }
}

TEST(ChangeReplyTest, AlphasReadTheWholeFirstByteOfAMatrixWhateverTheCount) {
    const auto map = DecodeChangeReply(ChangeArea::kMatrixAlphas, Bytes{0, 1, 0xFF});
    ASSERT_TRUE(map);
    std::vector<int> kinds;
    for (const AlphaListMark& m : MarkedAlphaLists(*map)) {
        EXPECT_EQ(m.matrix, 0);
        kinds.push_back(m.kind);
    }
    EXPECT_EQ(kinds, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 8}));
    // 17 bits take three bytes; the third, matrix 1's first, is read whole.
    EXPECT_EQ(MarkedAlphaLists(
                  *DecodeChangeReply(ChangeArea::kMatrixAlphas, Bytes{0, 17, 0x00, 0x00, 0x81}))
                  .size(),
              2u);
}

}  // namespace
}  // namespace corvane
