#include "store/AlarmContext.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(AlarmContextTest, AlphaWidthFollowsTheSetting) {
    EXPECT_EQ(GetAlphaFormat(4), "%4.4s");
    EXPECT_EQ(GetAlphaFormat(5), "%4.4s");
    EXPECT_EQ(GetAlphaFormat(6), "%6.6s");
    EXPECT_EQ(GetAlphaFormat(8), "%8.8s");
    EXPECT_EQ(GetAlphaFormat(0), "%4.4s");
}

TEST(AlarmContextTest, FieldsAreCutAndRightAligned) {
    EXPECT_EQ(FormatContextFiveFields(4, "MX01", "MX02", "CAM1", "T/-", "DIR"),
              "MX01MX02CAM1T/- DIR");
    EXPECT_EQ(FormatContextOneAlpha(6, "ABCDEFGH"), "ABCDEF");
    EXPECT_EQ(FormatContextOneAlpha(8, "AB"), "      AB");
    EXPECT_EQ(FormatContextTwoAlphas(5, "North", "S"), "Nort   S");
}

TEST(AlarmContextTest, ReadersTakeTheWidthFromTheLength) {
    std::string a1 = "keep", a2 = "keep", a3 = "keep", flags = "keep", a4 = "keep";
    struct Five {
        std::string text;
        bool ok;
        const char* first;
        const char* flags;
        const char* last;
    };
    const Five fives[] = {
        {"MX01MX02CAM1T/- DIR", true, "MX01", "T/-", " DIR"},
        {"MX01MX02CAM1T/- DIRignored", true, "MX01", "T/-", " DIR"},
        {std::string(27, 'x'), true, "xxxxxx", "xxx", "xxxxxx"},
        {std::string(35, 'y'), true, "yyyyyyyy", "yyy", "yyyyyyyy"},
        {std::string(18, 'z'), false, "keep", "keep", "keep"},
        {"", false, "keep", "keep", "keep"},
    };
    for (const auto& f : fives) {
        a1 = flags = a4 = "keep";
        EXPECT_EQ(ParseContextFiveFields(f.text, a1, a2, a3, flags, a4), f.ok) << f.text;
        EXPECT_EQ(a1, f.first) << f.text;
        EXPECT_EQ(flags, f.flags) << f.text;
        EXPECT_EQ(a4, f.last) << f.text;
    }
    EXPECT_TRUE(ParseContextTwoAlphas("   NorthSouth ", a1, a2));  // 14: width 6
    EXPECT_EQ(a1, "   Nor");
    EXPECT_EQ(a2, "thSout");
    EXPECT_FALSE(ParseContextTwoAlphas("1234567", a1, a2));
    std::string one = "keep";
    EXPECT_TRUE(ParseContextOneAlpha("  AB", one));
    EXPECT_EQ(one, "AB");
    EXPECT_TRUE(ParseContextOneAlpha(" ABCDEF ", one));  // 8: width 8, trimmed
    EXPECT_EQ(one, "ABCDEF");
    one = "keep";
    EXPECT_FALSE(ParseContextOneAlpha("ABC", one));
    EXPECT_EQ(one, "keep");
}

}  // namespace
}  // namespace corvane
