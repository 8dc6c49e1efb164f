#include "presentation/ListCellText.h"

#include <gtest/gtest.h>

#include "document/VorlinDoc.h"
#include "store/AlarmContext.h"

namespace corvane {
namespace {

class FixedNames final : public IListCellNames {
public:
    std::string IntercomName(int intercom) const override {
        return "Icom" + std::to_string(intercom);
    }
    const CNameTables& Names() const override { return tables; }
    CNameTables tables;
};

std::string M(char letter) {
    return std::string("\x01") + letter;
}

std::string Port(int type, int number) {
    return "[" + CVorlinDoc::GetAlphaDisplayName(type, number) + "]";
}

TEST(ListCellText, Markers) {
    const FixedNames names;
    const WallTime now = std::chrono::system_clock::now();
    const struct {
        DaoValue value;
        std::string shown;
    } cases[] = {
        {DaoValue(), ""},
        {DaoValue(42), "42"},
        {DaoValue("plain"), "plain"},
        {DaoValue(M('b') + "-1"), "Y"},
        {DaoValue(M('b') + "0"), "-"},
        {DaoValue(M('c') + "0PARTY"), ""},
        {DaoValue(M('c') + "-1PARTY"), "PARTY"},
        {DaoValue(M('c') + "-1" + M('g') + "PL3"), Port(1, 3)},
        {DaoValue(M('c') + "0" + M('g')), ""},
        {DaoValue(M('t') + "0/-1/0"), "-/L/-"},
        {DaoValue(M('t') + "-1/-1/-1"), "T/L/I"},
        {DaoValue(M('t') + "-1/0/0"), "T/-/-"},
        {DaoValue(M('g') + "PP1"), Port(0, 1)},
        {DaoValue(M('g') + "IL1024"), Port(8, 1024)},
        {DaoValue(M('g') + "PP"), ""},  // no number: nothing made up
        {DaoValue(M('g') + "PPx1"), ""},
        {DaoValue(M('g') + "PP-1"), ""},
        {DaoValue(M('g') + "PP1025"), ""},
        {DaoValue(M('g') + "MX3"), ""},  // the intercom's own type has no ports
        {DaoValue(M('g') + "ZZ3"), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ListCellText(c.value, names, nullptr, now), c.shown) << c.value.ToText();
    }
}

// Texts too short for their marker, the bare markers of null values, nested markers and
// control bytes: each shows a sound cell and none leaves the call.
TEST(ListCellText, ShortNullNestedAndControlByteTexts) {
    const FixedNames names;
    const AlarmDeviceCells alarm{names.tables.deviceTypes[devicetype::kIntercom], ""};
    const WallTime now = std::chrono::system_clock::now();
    std::string deep;
    for (size_t i = 0; deep.size() < 160 * 1024; ++i) {
        deep += M('c') + "-1";
    }
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"\x01", ""},
        {M('b'), ""},
        {M('c'), ""},
        {M('t'), ""},
        {M('g'), ""},
        {M('a'), ""},
        {M('z'), ""},
        {M('z') + "rest", "rest"},
        // Talk, listen and inactive: all three null, some null, too short.
        {M('t') + "//", ""},
        {M('t') + "-1//", ""},
        {M('t') + "//-1", ""},
        {M('t') + "AB", ""},
        {M('t') + "0/0/0", "-/-/-"},
        {M('g') + "P", ""},
        {M('g') + "PP1", Port(0, 1)},
        {M('b') + "-1-1", "YY"},
        {M('a') + "3", "Icom3"},
        // A conditional before a bare or short marker, and nested conditionals.
        {M('c') + "-1" + M('g'), ""},
        {M('c') + "-1" + M('t') + "AB", ""},
        {M('c') + "-1" + M('c'), ""},
        {M('c') + "-1", ""},
        {M('c') + "-1" + M('c') + "-1" + M('b') + "-1", "Y"},
        {M('c') + "-1" + M('c') + "0" + M('b') + "-1", ""},
        {deep + M('b') + "-1", "Y"},
        {deep + M('c') + "0" + M('b') + "-1", ""},
        // Other control bytes mark nothing; the marker inside a text marks nothing either.
        {"\x02tAB", "\x02tAB"},
        {"A" + M('t') + "AB", "A" + M('t') + "AB"},
        {"\x7ftAB", "\x7ftAB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ListCellText(DaoValue(c.text), names, &alarm, now), c.shown)
            << testing::PrintToString(c.text.substr(0, 40));
    }
}

TEST(ListCellText, AlarmDevices) {
    const FixedNames names;
    const WallTime now = std::chrono::system_clock::now();
    const auto& types = names.tables.deviceTypes;
    const std::string twoAlphas = FormatContextTwoAlphas(4, "DESK", "OPS");
    const std::string fiveFields = FormatContextFiveFields(4, "A1", "A2", "A3", "T/-", "A4");
    const struct {
        std::string device;
        std::string type;
        std::string context;
        std::string shown;
    } cases[] = {
        {M('a') + "5", types[devicetype::kIntercom], "", "Icom5"},
        {M('a') + "7", types[devicetype::kTrunk], twoAlphas, "#7 (DESK/ OPS)"},
        {M('a') + "7", types[devicetype::kTrunk], "x", "#7"},
        {M('a') + "9", types[devicetype::kRequest], fiveFields, "#9 (  A1/  A2)"},
        {M('a') + "9", types[devicetype::kRequest], "", "#9"},
        {M('a') + "1", types[devicetype::kQuillex], "", ""},
        {M('a') + "1", "Something else", "", ""},
        {M('a') + "x", types[devicetype::kIntercom], "", ""},
    };
    for (const auto& c : cases) {
        const AlarmDeviceCells row{c.type, c.context};
        EXPECT_EQ(ListCellText(DaoValue(c.device), names, &row, now), c.shown) << c.type;
    }
}

TEST(ListCellText, DatesShowTheirTimeOnTheirDayOnly) {
    const FixedNames names;
    WallTime morning;
    ASSERT_TRUE(ParseDaoDate("2026-12-10 08:05:09", morning));
    WallTime evening;
    ASSERT_TRUE(ParseDaoDate("2026-12-10 22:00:00", evening));
    WallTime nextDay;
    ASSERT_TRUE(ParseDaoDate("2026-12-11 00:00:01", nextDay));
    EXPECT_EQ(ListCellText(DaoValue::Date(morning), names, nullptr, evening), "08:05:09");
    const std::string otherDay = ListCellText(DaoValue::Date(morning), names, nullptr, nextDay);
    EXPECT_NE(otherDay, "08:05:09");
    EXPECT_NE(otherDay.find("08:05:09"), std::string::npos) << otherDay;
    EXPECT_NE(otherDay.find("2026"), std::string::npos) << otherDay;
}

}  // namespace
}  // namespace corvane
