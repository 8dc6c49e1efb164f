#include <gtest/gtest.h>

#include <string>

#include "mail/SMTPBodyFramer.h"

namespace corvane {
namespace {

const std::string k76(76, 'x');

TEST(SMTPBodyFramerTest, FramesBodyLinesForTheWire) {
    const struct {
        const char* name;
        std::string body;
        std::string wire;
    } cases[] = {
        {"empty", "", ""},
        {"plain", "one\r\ntwo", "one\r\ntwo"},
        {"a 200-character line becomes 76, 76 and 48", std::string(200, 'a'),
         std::string(76, 'a') + "\r\n" + std::string(76, 'a') + "\r\n" + std::string(48, 'a')},
        {"a line of exactly 76 stays whole", k76 + "\r\nnext", k76 + "\r\nnext"},
        {"a dot at the very start is stuffed", ".hidden", "..hidden"},
        {"a dot after a line end is stuffed", "a\r\n.b\r\n", "a\r\n..b\r\n"},
        {"a lone dot cannot end the data", "a\r\n.\r\nb", "a\r\n..\r\nb"},
        {"a dot that breaking brings to a line start", k76 + ".tail", k76 + "\r\n..tail"},
        {"a dot inside a line stays", "a.b", "a.b"},
        {"bare LF becomes CR LF", "a\nb\n", "a\r\nb\r\n"},
        {"bare CR becomes CR LF", "a\rb", "a\r\nb"},
        {"a dot after a bare LF", "a\n.b", "a\r\n..b"},
        {"CR LF CR", "a\r\n\rb", "a\r\n\r\nb"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameBody(c.body, false), c.wire) << c.name;
    }
}

TEST(SMTPBodyFramerTest, StuffsHeaderLinesToo) {
    EXPECT_EQ(StuffDots("X: 1\r\n.Y\r\n\r\n"), "X: 1\r\n..Y\r\n\r\n");
}

std::string DecodeQuotedPrintable(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && text.compare(i, 3, "=\r\n") == 0) {
            i += 2;
        } else if (text[i] == '=' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

size_t LongestLine(const std::string& text) {
    size_t longest = 0;
    size_t start = 0;
    while (true) {
        const size_t end = text.find("\r\n", start);
        longest = std::max(longest, (end == std::string::npos ? text.size() : end) - start);
        if (end == std::string::npos) {
            return longest;
        }
        start = end + 2;
    }
}

TEST(SMTPBodyFramerTest, QuotedPrintableEncodesWhatPlainTextCannotCarry) {
    const struct {
        std::string text;
        std::string encoded;
    } cases[] = {
        {"caf\xE9 = 1", "caf=E9 =3D 1"},
        {"end \r\nnext\t", "end=20\r\nnext=09"},  // blanks at a line's end
        {"tab\tinside", "tab\tinside"},
        {std::string("nul\0byte", 8), "nul=00byte"},
        {"\x7F", "=7F"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeQuotedPrintable(c.text), c.encoded);
    }
}

TEST(SMTPBodyFramerTest, QuotedPrintableSoftBreaksKeepLinesWithinTheWidth) {
    for (const std::string& line :
         {std::string(200, 'q'), std::string(150, '\xE9'), std::string(75, 'q') + "\xE9",
          std::string(74, 'q') + "==", std::string(76, 'q')}) {
        const std::string encoded = EncodeQuotedPrintable(line + "\r\nend");
        EXPECT_LE(LongestLine(encoded), kSMTPLineWidth) << encoded;
        EXPECT_EQ(DecodeQuotedPrintable(encoded), line + "\r\nend");
        // Breaking long lines afterwards finds nothing to break.
        EXPECT_EQ(FrameBody(line + "\r\nend", true), StuffDots(encoded));
    }
}

}  // namespace
}  // namespace corvane
