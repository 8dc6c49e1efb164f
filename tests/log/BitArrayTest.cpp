#include "log/BitArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const CBitArray& bits) {
    return Bytes(bits.Bytes().begin(), bits.Bytes().end());
}

TEST(BitArrayTest, EmptyArrayHasNoBitsAndAnswersNothing) {
    CBitArray bits;
    EXPECT_EQ(bits.GetSize(), 0u);
    EXPECT_TRUE(bits.Bytes().empty());
    EXPECT_FALSE(bits.Test(0));
    EXPECT_EQ(bits.FindFirst(), -1);
    EXPECT_EQ(bits.FindNext(), -1);
    EXPECT_EQ(bits.FindNextFrom(0), -1);
    EXPECT_EQ(bits.FindPrevious(-1), -1);
    EXPECT_EQ(bits.CountSet(0, 10), 0u);
    bits.Set(0);
    bits.SetAll(true);
    bits.SetRange(0, 5, true);
    EXPECT_EQ(bits.CountSet(), 0u);
}

TEST(BitArrayTest, ConstructionSetsOnlyListedBitsInRange) {
    const unsigned listed[] = {0, 9, 10, 4000000000u};
    CBitArray bits(10, listed);
    EXPECT_EQ(BytesOf(bits), (Bytes{0x01, 0x02}));
}

TEST(BitArrayTest, SetAllLeavesSpareBitsOfLastByteClear) {
    CBitArray bits(10);
    bits.SetAll(true);
    EXPECT_EQ(BytesOf(bits), (Bytes{0xFF, 0x03}));
    bits.SetAll(false);
    EXPECT_EQ(BytesOf(bits), (Bytes{0x00, 0x00}));
}

TEST(BitArrayTest, SetAndClearOneBitIgnoreOutOfRange) {
    CBitArray bits(12);
    bits.Set(11);
    bits.Set(12);
    bits.Set(-1);  // a negative bit number is out of range, not a write before the buffer
    EXPECT_EQ(BytesOf(bits), (Bytes{0x00, 0x08}));
    bits.Set(11, false);
    EXPECT_EQ(bits.CountSet(), 0u);
}

TEST(BitArrayTest, SetRangeStopsAtTheEnd) {
    struct Case {
        unsigned start, count;
        Bytes expected;
    };
    const Case cases[] = {
        {0, 3, {0x07, 0x00}},   {6, 4, {0xC0, 0x03}},
        {8, 100, {0x00, 0x03}}, {3, 0xFFFFFFFF, {0xF8, 0x03}},  // start + count would wrap
        {10, 5, {0x00, 0x00}},  {0xFFFFFFFF, 2, {0x00, 0x00}},
    };
    for (const Case& c : cases) {
        CBitArray bits(10);
        bits.SetRange(c.start, c.count, true);
        EXPECT_EQ(BytesOf(bits), c.expected) << c.start << "+" << c.count;
        bits.SetRange(c.start, c.count, false);
        EXPECT_EQ(bits.CountSet(), 0u) << c.start << "+" << c.count;
    }
}

TEST(BitArrayTest, SetFromListRefusesLongerListAndReplacesBits) {
    CBitArray bits(3);
    bits.SetAll(true);
    const unsigned tooMany[] = {0, 1, 2, 0};
    EXPECT_FALSE(bits.SetFromList(tooMany));
    EXPECT_EQ(bits.CountSet(), 3u);
    const unsigned some[] = {1, 7};
    EXPECT_TRUE(bits.SetFromList(some));
    EXPECT_EQ(BytesOf(bits), Bytes{0x02});
}

TEST(BitArrayTest, CountSetIsCutAtTheEnd) {
    struct Case {
        unsigned start, count, expected;
    };
    const Case cases[] = {
        {5, 12, 12}, {0, 40, 40}, {0, 41, 40}, {33, 100, 7},        {39, 1, 1},
        {40, 1, 0},  {41, 5, 0},  {7, 0, 0},   {1, 0xFFFFFFFF, 39},
    };
    CBitArray bits(40);
    bits.SetAll(true);
    for (const Case& c : cases) {
        EXPECT_EQ(bits.CountSet(c.start, c.count), c.expected) << c.start << "+" << c.count;
    }
}

TEST(BitArrayTest, CountSetOverPartialAndWholeBytes) {
    const unsigned listed[] = {2, 3, 8, 15, 16, 17, 30};
    const CBitArray bits(31, listed);
    struct Case {
        unsigned start, count, expected;
    };
    const Case cases[] = {{0, 31, 7}, {3, 13, 3}, {3, 14, 4}, {9, 7, 1}, {16, 15, 3}, {4, 4, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(bits.CountSet(c.start, c.count), c.expected) << c.start << "+" << c.count;
    }
}

TEST(BitArrayTest, CursorScanWalksSetBitsThenStays) {
    const unsigned listed[] = {1, 8, 19};
    CBitArray bits(20, listed);
    EXPECT_EQ(bits.FindNext(), 1);  // a fresh cursor scans from the start
    EXPECT_EQ(bits.FindFirst(), 1);
    EXPECT_EQ(bits.FindNext(), 8);
    EXPECT_EQ(bits.FindNext(), 19);
    EXPECT_EQ(bits.FindNext(), -1);
    EXPECT_EQ(bits.FindNext(), -1);
    EXPECT_EQ(bits.FindFirst(), 1);
}

TEST(BitArrayTest, ScansFromAPosition) {
    const unsigned listed[] = {0, 9, 23};
    const CBitArray bits(24, listed);
    struct Case {
        int pos, next, previous;
    };
    const Case cases[] = {
        {-5, 0, 23}, {-1, 0, 23},  {0, 0, 0},    {1, 9, 0},      {9, 9, 9},
        {10, 23, 9}, {23, 23, 23}, {24, -1, 23}, {1000, -1, 23},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bits.FindNextFrom(c.pos), c.next) << c.pos;
        EXPECT_EQ(bits.FindPrevious(c.pos), c.previous) << c.pos;
    }
    const unsigned late[] = {5};
    const CBitArray one(8, late);
    EXPECT_EQ(one.FindPrevious(4), -1);
    EXPECT_EQ(one.FindNextFrom(6), -1);
}

TEST(BitArrayTest, EqualityComparesSizeAndBits) {
    const unsigned a[] = {3};
    const unsigned b[] = {4};
    EXPECT_EQ(CBitArray(), CBitArray());
    EXPECT_EQ(CBitArray(0, a), CBitArray());
    EXPECT_EQ(CBitArray(8, a), CBitArray(8, a));
    EXPECT_NE(CBitArray(8, a), CBitArray(8, b));
    EXPECT_NE(CBitArray(8), CBitArray(9));
    EXPECT_NE(CBitArray(8), CBitArray());
}

TEST(BitArrayTest, CopyAndAssignmentTakeBitsAndResetCursor) {
    const unsigned listed[] = {2, 6};
    CBitArray source(30, listed);
    EXPECT_EQ(source.FindFirst(), 2);

    CBitArray copy(source);
    EXPECT_EQ(copy, source);
    EXPECT_EQ(copy.FindNext(), 2);

    CBitArray larger(100);
    larger.SetAll(true);
    EXPECT_EQ(larger.FindFirst(), 0);
    larger = source;
    EXPECT_EQ(larger, source);
    EXPECT_EQ(larger.GetSize(), 30u);
    EXPECT_EQ(larger.FindNext(), 2);

    larger = CBitArray();
    EXPECT_EQ(larger, CBitArray());
    EXPECT_EQ(larger.FindFirst(), -1);
}

TEST(BitArrayTest, ResizeClearsEveryBit) {
    for (unsigned n : {16u, 12u, 3u, 0u}) {
        CBitArray bits(16);
        bits.SetAll(true);
        EXPECT_EQ(bits.FindFirst(), 0);
        bits.Resize(n);
        EXPECT_EQ(bits.GetSize(), n);
        EXPECT_EQ(bits.Bytes().size(), (n + 7) / 8);
        EXPECT_EQ(bits.CountSet(), 0u) << n;
        EXPECT_EQ(bits.FindNext(), -1) << n;
    }
}

TEST(BitArrayTest, ResizeRefusesMoreBitsThanScansCanName) {
    CBitArray bits(5);
    EXPECT_THROW(bits.Resize(CBitArray::kMaxBits + 1u), std::length_error);
    EXPECT_EQ(bits.GetSize(), 5u);
}

TEST(BitArrayTest, CopyToKeepsOtherBitsOfLastTargetByte) {
    const unsigned listed[] = {0, 8, 9};
    const CBitArray bits(11, listed);
    Bytes target{0x00, 0xF8, 0xAA};
    EXPECT_TRUE(bits.CopyTo(target));
    EXPECT_EQ(target, (Bytes{0x01, 0xFB, 0xAA}));

    Bytes shortTarget{0x55};
    EXPECT_FALSE(bits.CopyTo(shortTarget));
    EXPECT_EQ(shortTarget, Bytes{0x55});
}

TEST(BitArrayTest, CopyFromTakesOnlyBitsInRange) {
    CBitArray bits(11);
    const Bytes source{0x81, 0xFE, 0x77};
    EXPECT_TRUE(bits.CopyFrom(source));
    EXPECT_EQ(BytesOf(bits), (Bytes{0x81, 0x06}));

    const Bytes shortSource{0xFF};
    EXPECT_FALSE(bits.CopyFrom(shortSource));
    EXPECT_EQ(BytesOf(bits), (Bytes{0x81, 0x06}));

    CBitArray whole(16);
    EXPECT_TRUE(whole.CopyFrom(Bytes{0x12, 0x34}));
    EXPECT_EQ(BytesOf(whole), (Bytes{0x12, 0x34}));
}

}  // namespace
}  // namespace corvane
