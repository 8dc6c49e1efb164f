#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "link/SerialFrame.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Ascii(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TEST(SerialFrameCrc8Test, GivesTheCheckValuesAndZeroOverABodyWithItsCrc) {
    EXPECT_EQ(SerialFrameCrc8(Ascii("123456789")), 0x64);
    EXPECT_EQ(SerialFrameCrc8(Ascii("abc")), 0x53);
    EXPECT_EQ(SerialFrameCrc8(Bytes{}), 0x5A);

    Bytes body{36, 1, 0xF0, 0x00, 0xFF};
    body.push_back(SerialFrameCrc8(body));
    EXPECT_EQ(SerialFrameCrc8(body), 0);
}

struct EncodeCase {
    friend void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    Bytes body;
    Bytes wire;
};

class SerialFrameEncodeTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(SerialFrameEncodeTest, StuffsTheDelimitersAndDecodesBack) {
    const EncodeCase& c = GetParam();
    Bytes wire;
    ASSERT_TRUE(QuillexSerialFrame::Encode(c.body, wire));
    EXPECT_EQ(wire, c.wire);
    Bytes body;
    ASSERT_EQ(QuillexSerialFrame::Decode(wire, body), SerialFrameError::kNone);
    EXPECT_EQ(body, c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, SerialFrameEncodeTest,
    ::testing::Values(
        EncodeCase{"Plain", {0x24, 0x01, 0x7B}, {0xF0, 0x24, 0x01, 0x7B, 0xF2}},
        EncodeCase{"StartByte", {0x24, 0xF0, 0x00}, {0xF0, 0x24, 0xF1, 0x70, 0x00, 0xF2}},
        EncodeCase{"EscapeByte", {0x24, 0xF1, 0x00}, {0xF0, 0x24, 0xF1, 0x71, 0x00, 0xF2}},
        EncodeCase{"EndByte", {0x24, 0xF2, 0x00}, {0xF0, 0x24, 0xF1, 0x72, 0x00, 0xF2}},
        EncodeCase{"NeighboursStayBare", {0xEF, 0xF3, 0xFF}, {0xF0, 0xEF, 0xF3, 0xFF, 0xF2}},
        EncodeCase{"CrcIsEscapedToo",
                   {0xF2, 0xF2, 0xF0},
                   {0xF0, 0xF1, 0x72, 0xF1, 0x72, 0xF1, 0x70, 0xF2}}),
    [](const auto& info) { return info.param.name; });

TEST(SerialFrameTest, EveryByteValueSurvivesARoundTrip) {
    Bytes body;
    for (int b = 0; b < 256; ++b) {
        body.push_back(static_cast<uint8_t>(b));
    }
    Bytes wire;
    ASSERT_TRUE(QuillexSerialFrame::Encode(body, wire));
    EXPECT_EQ(wire.size(), body.size() + 2 + 3);  // three delimiters escaped
    Bytes back;
    ASSERT_EQ(QuillexSerialFrame::Decode(wire, back), SerialFrameError::kNone);
    EXPECT_EQ(back, body);
}

struct MalformedCase {
    friend void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    Bytes wire;
    SerialFrameError error;
};

class SerialFrameMalformedTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(SerialFrameMalformedTest, IsRejectedAndLeavesNoBody) {
    const MalformedCase& c = GetParam();
    Bytes body{1, 2, 3};
    EXPECT_EQ(QuillexSerialFrame::Decode(c.wire, body), c.error);
    EXPECT_TRUE(body.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SerialFrameMalformedTest,
    ::testing::Values(
        MalformedCase{"Empty", {}, SerialFrameError::kTooShort},
        MalformedCase{"OneByte", {0xF0}, SerialFrameError::kTooShort},
        MalformedCase{"NoStart", {0x24, 0x01, 0x00, 0xF2}, SerialFrameError::kNoStart},
        MalformedCase{
            "BareStartInside", {0xF0, 0x24, 0xF0, 0x01, 0xF2}, SerialFrameError::kBareDelimiter},
        MalformedCase{"BareEndInside",
                      {0xF0, 0x24, 0xF2, 0x01, 0x02, 0xF2},
                      SerialFrameError::kBareDelimiter},
        MalformedCase{
            "EscapeOfNothing", {0xF0, 0x24, 0xF1, 0x10, 0x01, 0xF2}, SerialFrameError::kBadEscape},
        MalformedCase{
            "EscapeAtEnd", {0xF0, 0x24, 0x01, 0x02, 0xF1, 0xF2}, SerialFrameError::kEscapeAtEnd},
        MalformedCase{"NoEnd", {0xF0, 0x24, 0x01, 0x02, 0x03}, SerialFrameError::kNoEnd},
        MalformedCase{"EmptyBody", {0xF0, 0xF2}, SerialFrameError::kShortBody},
        MalformedCase{"TwoByteBody", {0xF0, 0x24, 0x01, 0xF2}, SerialFrameError::kShortBody},
        MalformedCase{"TooLong", Bytes(QuillexSerialFrame::kMaxFrame + 1, 0x00),
                      SerialFrameError::kTooLong}),
    [](const auto& info) { return info.param.name; });

TEST(SerialFrameTest, HoldsTheLargestBodyAndNoMore) {
    Bytes wire;
    const Bytes largest(QuillexSerialFrame::kMaxBody, 0xF1);  // every byte escaped
    ASSERT_TRUE(QuillexSerialFrame::Encode(largest, wire));
    EXPECT_EQ(wire.size(), QuillexSerialFrame::kMaxFrame);
    Bytes body;
    EXPECT_EQ(QuillexSerialFrame::Decode(wire, body), SerialFrameError::kNone);

    EXPECT_FALSE(QuillexSerialFrame::Encode(Bytes(QuillexSerialFrame::kMaxBody + 1, 0), wire));
    EXPECT_TRUE(wire.empty());

    // Short enough on the wire, but the body it holds is over the bound.
    Bytes bare{0xF0};
    bare.insert(bare.end(), QuillexSerialFrame::kMaxBody + 1, 0x11);
    bare.push_back(0xF2);
    EXPECT_EQ(QuillexSerialFrame::Decode(bare, body), SerialFrameError::kTooLong);
}

}  // namespace
}  // namespace corvane
