#include "store/DaoValue.h"

#include <gtest/gtest.h>

#include "fakes/ManualClock.h"

namespace corvane {
namespace {

TEST(DaoValueTest, DeclaredTypesCarryKindAndWidth) {
    struct Case {
        const char* declared;
        DaoType type;
        int width;
        bool known;
    };
    const Case cases[] = {
        {"BOOLEAN", DaoType::Boolean, 0, true},       {"smallint", DaoType::Integer, 0, true},
        {"INTEGER", DaoType::Long, 0, true},          {"DATETIME", DaoType::Date, 0, true},
        {"TEXT(20)", DaoType::Text, 20, true},        {"TEXT(0)", DaoType::Text, 0, false},
        {"TEXT(2x)", DaoType::Text, 0, false},        {"VARCHAR(9)", DaoType::Text, 0, false},
        {"TEXT(999999999)", DaoType::Text, 0, false},
    };
    for (const auto& c : cases) {
        const DaoColumnType t = ParseDeclaredType(c.declared);
        EXPECT_EQ(t.type, c.type) << c.declared;
        EXPECT_EQ(t.width, c.width) << c.declared;
        EXPECT_EQ(t.known, c.known) << c.declared;
        if (c.known) {
            EXPECT_EQ(ParseDeclaredType(DeclaredType(t.type, t.width)).width, t.width);
        }
    }
}

TEST(DaoValueTest, DatesAreLocalTextAndReadBack) {
    const WallTime t = testing::LocalWall(2024, 3, 9, 17, 4, 59);
    EXPECT_EQ(FormatDaoDate(t + std::chrono::milliseconds(700)), "2024-03-09 17:04:59");
    WallTime back;
    ASSERT_TRUE(ParseDaoDate("2024-03-09 17:04:59", back));
    EXPECT_EQ(back, t);
    // The hour cache must not carry over to another hour or day.
    ASSERT_TRUE(ParseDaoDate("2024-03-10 17:04:59", back));
    EXPECT_EQ(back, testing::LocalWall(2024, 3, 10, 17, 4, 59));
}

TEST(DaoValueTest, MalformedDatesAreRefused) {
    WallTime t;
    for (const char* text :
         {"", "2024-03-09", "2024-13-01 00:00:00", "2024-02-31 00:00:00", "2024-03-09T17:04:59",
          "2024-03-09 24:00:00", "abcd-ef-gh ij:kl:mn", "2024-03-09 17:04:59 ",
          "2824-03-09 17:04:59", "1000-01-01 00:00:00"}) {
        EXPECT_FALSE(ParseDaoDate(text, t)) << text;
    }
}

TEST(DaoValueTest, TextIsCutByCharactersNotBytes) {
    std::string ascii = "ABCDEFGH";
    EXPECT_TRUE(CutToWidth(ascii, 4));
    EXPECT_EQ(ascii, "ABCD");
    std::string wide = "\xC3\xA4\xC3\xB6\xC3\xBC";  // three two-byte characters
    EXPECT_FALSE(CutToWidth(wide, 3));
    EXPECT_TRUE(CutToWidth(wide, 2));
    EXPECT_EQ(wide, "\xC3\xA4\xC3\xB6");
    std::string unlimited = "long text";
    EXPECT_FALSE(CutToWidth(unlimited, 0));
}

TEST(DaoValueTest, TrueIsMinusOne) {
    EXPECT_EQ(DaoValue(true).AsInteger(), -1);
    EXPECT_EQ(DaoValue(false).AsInteger(), 0);
    EXPECT_TRUE(DaoValue().IsNull());
    EXPECT_EQ(DaoValue("x").ToText(), "x");
    EXPECT_EQ(DaoValue(42).ToText(), "42");
}

}  // namespace
}  // namespace corvane
