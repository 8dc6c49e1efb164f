#include <gtest/gtest.h>

#include <string>

#include "mail/Base64Coder.h"

namespace corvane {
namespace {

struct Vector {
    std::string bytes;
    std::string text;
};

// RFC 4648, section 10.
const Vector kRfcVectors[] = {
    {"", ""},
    {"f", "Zg=="},
    {"fo", "Zm8="},
    {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="},
    {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
};

TEST(Base64CoderTest, EncodesAndDecodesTheRfcVectors) {
    for (const Vector& v : kRfcVectors) {
        CBase64Coder coder;
        coder.EncodeText(v.bytes.c_str());
        EXPECT_EQ(std::string(coder.GetText(), coder.GetTextLength()), v.text) << v.bytes;
        EXPECT_EQ(coder.GetText()[coder.GetTextLength()], '\0');

        coder.DecodeText(v.text.c_str());
        EXPECT_EQ(
            std::string(reinterpret_cast<const char*>(coder.GetBinary()), coder.GetBinaryLength()),
            v.bytes)
            << v.text;
        EXPECT_EQ(coder.GetBinary()[coder.GetBinaryLength()], 0);
    }
}

TEST(Base64CoderTest, RoundTripsEveryByteValueAcrossBufferGrowth) {
    for (const size_t size : {1u, 2u, 3u, 255u, 256u, 3071u, 3072u, 4096u, 10000u}) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
        }
        const std::string text = CBase64Coder::EncodeString(bytes);
        EXPECT_EQ(text.size(), (size + 2) / 3 * 4);
        EXPECT_EQ(CBase64Coder::DecodeString(text), bytes) << size;
    }
}

TEST(Base64CoderTest, DecodesWhatServersSendAroundTheAlphabet) {
    const struct {
        std::string text;
        std::string bytes;
    } cases[] = {
        {"VXNlcm5hbWU6", "Username:"},
        {"VXNl\r\ncm5hbWU6", "Username:"},   // a line break inside
        {" VXNlcm5h bWU6 \t", "Username:"},  // blanks around and inside
        {"Zg", "f"},                         // final groups without padding
        {"Zm8", "fo"},
        {"Zm9v!Yg==", "foob"},  // a byte outside the alphabet is skipped
        {"\xDAm9v", "foo"},     // an alphabet byte with bit 7 set
        {"Zm8\xBD", "fo"},      // 0xBD pads like "="
        {"Z", ""},              // one character carries no byte
        {"====", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CBase64Coder::DecodeString(c.text), c.bytes) << c.text;
    }
}

TEST(Base64CoderTest, ALaterShorterResultLeavesNothingOfTheEarlierOne) {
    CBase64Coder coder;
    coder.EncodeText("a much longer text than the next one");
    coder.EncodeText("foo");
    EXPECT_STREQ(coder.GetText(), "Zm9v");
    coder.DecodeText("Zm9vYmFyYmF6");
    coder.DecodeText("Zg==");
    EXPECT_STREQ(reinterpret_cast<const char*>(coder.GetBinary()), "f");
}

TEST(Base64CoderTest, NoTextLeavesTheResultsAsTheyWere) {
    CBase64Coder coder;
    EXPECT_STREQ(coder.GetText(), "");
    coder.EncodeText("foo");
    coder.EncodeText(nullptr);
    coder.DecodeText(nullptr);
    EXPECT_STREQ(coder.GetText(), "Zm9v");
    EXPECT_EQ(coder.GetBinaryLength(), 3u);
}

}  // namespace
}  // namespace corvane
