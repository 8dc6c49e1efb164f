#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "link/AlphaMessages.h"
#include "link/RecordingModel.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;
using Calls = std::vector<std::string>;

AlphaPageQuery Query(int matrix, int kind, int start, int size = 4) {
    AlphaPageQuery q;
    q.matrix = matrix;
    q.kind = kind;
    q.startIndex = start;
    q.alphaSize = size;
    q.alphasPerPage = 512 / size;
    return q;
}

// A reply with count c and the given alphas, each padded with zero bytes to the size.
Bytes Reply(int count, const std::vector<std::string>& alphas, int size = 4) {
    Bytes p{static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
    for (const std::string& a : alphas) {
        Bytes bytes(a.begin(), a.end());
        bytes.resize(static_cast<size_t>(size), 0);
        p.insert(p.end(), bytes.begin(), bytes.end());
    }
    return p;
}

struct AlphaCase {
    friend void PrintTo(const AlphaCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    AlphaPageQuery query;
    Bytes payload;
    int nextStart;  // -1: refused
    Calls calls;
};

class AlphasReplyTest : public ::testing::TestWithParam<AlphaCase> {};

TEST_P(AlphasReplyTest, StoresThePageAndFindsTheNextStart) {
    const AlphaCase& c = GetParam();
    testing::RecordingModel model;
    CDiagLogSource log;
    const auto next = HandleAlphasReply(c.query, c.payload, model, log);
    if (c.nextStart < 0) {
        EXPECT_FALSE(next);
        EXPECT_FALSE(DecodeAlphasReply(c.query, c.payload));
        EXPECT_EQ(DecodeAlphasReply(c.query, c.payload).Failure(),
                  "Matrix Alphas Query Reply: Incorrect response length");
    } else {
        ASSERT_TRUE(next);
        EXPECT_EQ(*next, c.nextStart);
    }
    EXPECT_EQ(model.Calls(), c.calls);
}

std::vector<std::string> Numbered(int from, int count) {
    std::vector<std::string> v;
    for (int i = from; i < from + count; ++i) {
        v.push_back("A" + std::to_string(i % 1000));
    }
    return v;
}

Calls StoredCalls(int matrix, int kind, int from, int count) {
    Calls calls;
    for (int i = from; i < from + count; ++i) {
        calls.push_back("Alpha " + std::to_string(matrix) + " " + std::to_string(kind) + " " +
                        std::to_string(i) + " 'A" + std::to_string(i % 1000) + "' op0");
    }
    return calls;
}

Calls Concat(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, AlphasReplyTest,
    ::testing::Values(
        AlphaCase{"EmptyListTrimsAndEnds", Query(3, 1, 0), Reply(0, {}), 0, {"Alpha 3 1 0 '' op2"}},
        AlphaCase{"ShortList",
                  Query(3, 0, 0),
                  Reply(2, {"ABCD", std::string("\0xyz", 4)}),
                  0,
                  {"Alpha 3 0 2 '' op2", "Alpha 3 0 0 'ABCD' op0", "Alpha 3 0 1 '' op1"}},
        AlphaCase{"TextStopsAtAZeroByte",
                  Query(0, 8, 0, 8),
                  Reply(1, {"IFB1"}, 8),
                  0,
                  {"Alpha 0 8 1 '' op2", "Alpha 0 8 0 'IFB1' op0"}},
        AlphaCase{"FullFirstPageAsksForTheNext", Query(5, 2, 0), Reply(130, Numbered(0, 128)), 128,
                  Concat({"Alpha 5 2 130 '' op2"}, StoredCalls(5, 2, 0, 128))},
        AlphaCase{"SecondPageIsNotTrimmed", Query(5, 2, 128), Reply(130, Numbered(128, 2)), 0,
                  StoredCalls(5, 2, 128, 2)},
        AlphaCase{"ExactMultipleBringsOneMoreEmptyPage", Query(5, 2, 0),
                  Reply(128, Numbered(0, 128)), 128,
                  Concat({"Alpha 5 2 128 '' op2"}, StoredCalls(5, 2, 0, 128))},
        AlphaCase{"TheExtraPageIsEmpty", Query(5, 2, 128), Reply(128, {}), 0, {}},
        AlphaCase{"Size6PagesOf85", Query(1, 4, 0, 6), Reply(86, Numbered(0, 85), 6), 85,
                  Concat({"Alpha 1 4 86 '' op2"}, StoredCalls(1, 4, 0, 85))},
        AlphaCase{"NamesPassOnlyTheQueriedMatrix",
                  Query(2, 7, 0),
                  Reply(4, {"MX0", "MX1", "NAME", "MX3"}),
                  0,
                  {"Alpha 2 7 2 'NAME' op0"}},
        AlphaCase{"NamesOnALaterPage",
                  Query(130, 7, 128),
                  Reply(131, {"a", "b", "c"}),
                  0,
                  {"Alpha 130 7 130 'c' op0"}},
        AlphaCase{"ShrunkBelowTheStartEndsTheListAndTrimsIt",
                  Query(5, 2, 128),
                  Reply(100, {}),
                  0,
                  {"Alpha 5 2 100 '' op2"}},
        AlphaCase{"ShrunkNamesListEndsWithoutTrim", Query(200, 7, 128), Reply(100, {}), 0, {}},
        AlphaCase{"ShrunkButCarryingAlphas", Query(5, 2, 128), Reply(100, {"ABCD"}), -1, {}},
        AlphaCase{"Empty", Query(5, 2, 0), {}, -1, {}},
        AlphaCase{"CountCutShort", Query(5, 2, 0), {0x00}, -1, {}},
        AlphaCase{"OneAlphaShort", Query(5, 2, 0), Reply(3, {"A", "B"}), -1, {}},
        AlphaCase{"OneByteShort", Query(5, 2, 0), Bytes{0, 1, 'A', 'B', 'C'}, -1, {}},
        AlphaCase{"OneByteLong", Query(5, 2, 0), Bytes{0, 1, 'A', 'B', 'C', 'D', 'E'}, -1, {}},
        AlphaCase{"MorePagesThanAsked", Query(5, 2, 0), Reply(200, Numbered(0, 129)), -1, {}}),
    [](const auto& info) { return info.param.name; });

TEST(AlphasReplyTest, AQueryWithoutASizeIsRefusedRatherThanDivided) {
    AlphaPageQuery q = Query(1, 0, 0);
    q.alphaSize = 0;
    EXPECT_FALSE(DecodeAlphasReply(q, Reply(0, {})));
    q = Query(1, 0, 0);
    q.alphasPerPage = 0;
    EXPECT_FALSE(DecodeAlphasReply(q, Reply(0, {})));
}

TEST(AlphasReplyTest, PagingStopsWhereTheStartIndexNoLongerFitsTwelveBits) {
    const AlphaPageQuery q = Query(1, 0, 3968);
    const auto page = DecodeAlphasReply(q, Reply(65535, Numbered(3968, 128)));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->nextStart, 0);
}

TEST(AlphaListKindsTest, KnowsTheEightListsAndTheirTypeBytes) {
    const auto& kinds = AlphaListKinds();
    const int expectedKinds[] = {0, 1, 2, 3, 4, 5, 6, 8};
    for (size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(kinds[i].kind, expectedKinds[i]);
        EXPECT_EQ(kinds[i].typeByte, 16 * kinds[i].kind);
        EXPECT_TRUE(IsAlphaListKind(kinds[i].kind));
    }
    for (const int notAList : {-1, 7, 9, 256}) {
        EXPECT_FALSE(IsAlphaListKind(notAList));
    }
}

}  // namespace
}  // namespace corvane
