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
        {DaoValue(M('b')), M('b')},  // too short to carry a marker
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
