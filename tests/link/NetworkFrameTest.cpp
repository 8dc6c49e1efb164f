#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "link/NetworkFrame.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(NetworkFrameChecksumTest, IsTheNegatedSumModulo256) {
    EXPECT_EQ(NetworkFrameChecksum(Bytes{}), 0x00);
    EXPECT_EQ(NetworkFrameChecksum(Bytes{0x01, 0x02, 0x03}), 0xFA);
    EXPECT_EQ(NetworkFrameChecksum(Bytes{0x80, 0x80}), 0x00);
    EXPECT_EQ(NetworkFrameChecksum(Bytes{0xFF, 0xFF, 0xFF}), 0x03);

    Bytes body{0xFF, 0xFF, 77, 0x00, 0x01};
    body.push_back(NetworkFrameChecksum(body));
    unsigned sum = 0;
    for (const uint8_t b : body) {
        sum += b;
    }
    EXPECT_EQ(sum % 256, 0u);
}

TEST(NetworkHeaderTest, PacksSessionCodeStatusAndTwelveBitNumber) {
    QuillexNetworkHeader h;
    h.session = 0x1234;
    h.code = 36;
    h.status = 0x8;
    h.number = 0xABC;
    Bytes body;
    h.AppendTo(body);
    EXPECT_EQ(body, (Bytes{0x12, 0x34, 36, 0x8A, 0xBC}));
    const QuillexNetworkHeader back = QuillexNetworkHeader::Parse(body);
    EXPECT_EQ(back.session, 0x1234);
    EXPECT_EQ(back.code, 36);
    EXPECT_EQ(back.status, 0x8);
    EXPECT_EQ(back.number, 0xABC);
}

TEST(NetworkFrameTest, EscapesExactlyTheSevenSpecialBytes) {
    Bytes body;
    for (int b = 0; b < 256; ++b) {
        body.push_back(static_cast<uint8_t>(b));
    }
    Bytes wire;
    ASSERT_TRUE(QuillexNetworkFrame::Encode(body, wire));
    ASSERT_EQ(wire.size(), body.size() + 2 + 7);
    EXPECT_EQ(wire.front(), 0xD5);
    EXPECT_EQ(wire.back(), 0xDD);
    size_t at = 1;
    for (int b = 0; b < 256; ++b) {
        const bool special =
            b == 0x1A || b == 0x9E || b == 0xA5 || b == 0xAD || b == 0xD5 || b == 0xDA || b == 0xDD;
        if (special) {
            EXPECT_EQ(wire[at++], 0xDA) << "before " << b;
        }
        EXPECT_EQ(wire[at++], b);
    }
    Bytes back;
    ASSERT_EQ(QuillexNetworkFrame::Decode(wire, back), NetworkFrameError::kNone);
    EXPECT_EQ(back, body);
}

TEST(NetworkFrameTest, SendsTheSerialDelimitersBare) {
    Bytes wire;
    ASSERT_TRUE(QuillexNetworkFrame::Encode(Bytes{0xF0, 0xF1, 0xF2, 0, 0, 0}, wire));
    EXPECT_EQ(wire, (Bytes{0xD5, 0xF0, 0xF1, 0xF2, 0, 0, 0, 0xDD}));
}

struct MalformedCase {
    friend void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    Bytes wire;
    NetworkFrameError error;
};

class NetworkFrameMalformedTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(NetworkFrameMalformedTest, IsRejectedAndLeavesNoBody) {
    const MalformedCase& c = GetParam();
    Bytes body{1, 2, 3};
    EXPECT_EQ(QuillexNetworkFrame::Decode(c.wire, body), c.error);
    EXPECT_TRUE(body.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, NetworkFrameMalformedTest,
    ::testing::Values(
        MalformedCase{"Empty", {}, NetworkFrameError::kTooShort},
        MalformedCase{"OneByte", {0xD5}, NetworkFrameError::kTooShort},
        MalformedCase{"NoStart", {0x00, 1, 2, 3, 4, 5, 6, 0xDD}, NetworkFrameError::kNoStart},
        MalformedCase{"Bare1A", {0xD5, 1, 2, 0x1A, 4, 5, 6, 0xDD}, NetworkFrameError::kBareSpecial},
        MalformedCase{"Bare9E", {0xD5, 1, 2, 0x9E, 4, 5, 6, 0xDD}, NetworkFrameError::kBareSpecial},
        MalformedCase{"BareA5", {0xD5, 1, 2, 0xA5, 4, 5, 6, 0xDD}, NetworkFrameError::kBareSpecial},
        MalformedCase{"BareAD", {0xD5, 1, 2, 0xAD, 4, 5, 6, 0xDD}, NetworkFrameError::kBareSpecial},
        MalformedCase{
            "BareStart", {0xD5, 1, 0xD5, 3, 4, 5, 6, 0xDD}, NetworkFrameError::kBareSpecial},
        MalformedCase{
            "BareEnd", {0xD5, 1, 0xDD, 3, 4, 5, 6, 0xDD}, NetworkFrameError::kBareSpecial},
        MalformedCase{"EscapeOfPlainByte",
                      {0xD5, 1, 0xDA, 0x20, 4, 5, 6, 0xDD},
                      NetworkFrameError::kBadEscape},
        MalformedCase{
            "EscapeAtEnd", {0xD5, 1, 2, 3, 4, 5, 6, 0xDA, 0xDD}, NetworkFrameError::kEscapeAtEnd},
        MalformedCase{"NoEnd", {0xD5, 1, 2, 3, 4, 5, 6, 7}, NetworkFrameError::kNoEnd},
        MalformedCase{"HeaderOnly", {0xD5, 1, 2, 3, 4, 5, 0xDD}, NetworkFrameError::kShortBody},
        MalformedCase{"EmptyBody", {0xD5, 0xDD}, NetworkFrameError::kShortBody},
        MalformedCase{"TooLong", Bytes(QuillexNetworkFrame::kMaxFrame + 1, 0x00),
                      NetworkFrameError::kTooLong}),
    [](const auto& info) { return info.param.name; });

TEST(NetworkFrameTest, HoldsTheLargestBodyAndNoMore) {
    Bytes wire;
    ASSERT_TRUE(QuillexNetworkFrame::Encode(Bytes(QuillexNetworkFrame::kMaxBody, 0xDA), wire));
    EXPECT_EQ(wire.size(), QuillexNetworkFrame::kMaxFrame);
    Bytes body;
    EXPECT_EQ(QuillexNetworkFrame::Decode(wire, body), NetworkFrameError::kNone);
    EXPECT_FALSE(QuillexNetworkFrame::Encode(Bytes(QuillexNetworkFrame::kMaxBody + 1, 0), wire));
    EXPECT_TRUE(wire.empty());
}

}  // namespace
}  // namespace corvane
