#include <climits>

#include "ListTestDatabase.h"
#include "store/ComboFillers.h"

namespace corvane::testing {
namespace {

class ComboFillersTest : public ListDatabaseTest {
protected:
    void SetUp() override {
        ListDatabaseTest::SetUp();
        AddAll();
    }
};

TEST_F(ComboFillersTest, Intercoms) {
    EXPECT_EQ(FillIntercomCombo(Db(), true, false),
              (ChoiceList{{"All intercoms", INT_MAX}, {"Studio", 1}, {"Control", 5}}));
    // A nameless intercom, when listed, has an empty name.
    EXPECT_EQ(FillIntercomCombo(Db(), false, true),
              (ChoiceList{{"None", INT_MAX}, {"Studio", 1}, {"", 2}, {"Control", 5}}));
    Exec("UPDATE Intercoms SET IntercomName = '   ' WHERE IntercomIndex = 5");
    EXPECT_EQ(FillIntercomCombo(Db(), true, false),
              (ChoiceList{{"All intercoms", INT_MAX}, {"Studio", 1}}));
    EXPECT_TRUE(ui.DatabaseErrors().empty());
}

TEST_F(ComboFillersTest, AlphasOfOneTypeOrOfAll) {
    int selected = -1;
    const int pp2 = (0 << 16) | 2;
    EXPECT_EQ(FillAlphaCombo(Db(), 1, 0, pp2, selected),
              (ChoiceList{{"All", INT_MAX}, {"DESK1 - [N001]", 1}, {"DESK2 - [N002]", 2}}));
    EXPECT_EQ(selected, 2);

    const int pl3 = (1 << 16) | 3;
    // Type 7 is no port type: every alpha of the intercom, by number.
    EXPECT_EQ(FillAlphaCombo(Db(), 1, 7, pl3, selected), (ChoiceList{{"All", INT_MAX},
                                                                     {"DESK1 - [N001]", 1},
                                                                     {"DESK2 - [N002]", 2},
                                                                     {"PARTY - [PL03]", pl3}}));
    EXPECT_EQ(selected, 3);
    FillAlphaCombo(Db(), 1, INT_MAX, 12345, selected);
    EXPECT_EQ(selected, 0);

    // A stored code that names no type counts as type 0.
    Exec(
        "INSERT INTO Alphas (AsgnKey, IntercomIndex, Function, Number, Alpha) VALUES "
        "(9, 2, 'ZZ', 150, 'ODD')");
    EXPECT_EQ(FillAlphaCombo(Db(), 2, INT_MAX, INT_MAX, selected),
              (ChoiceList{{"All", INT_MAX},
                          {"OPS - [N001]", 1},
                          {"IFB - [IF04]", (2 << 16) | 4},
                          {"ODD - [N150]", 150}}));
    EXPECT_EQ(selected, 0);
}

TEST_F(ComboFillersTest, Ports) {
    EXPECT_EQ(FillPortCombo(Db(), 1, true),
              (ChoiceList{{"All ports", INT_MAX}, {"DESK1 - [N001]", 1}, {"DESK2 - [N002]", 2}}));
    EXPECT_EQ(FillPortCombo(Db(), 2, false), (ChoiceList{{"None", INT_MAX}, {"OPS - [N001]", 1}}));
    EXPECT_EQ(FillPortCombo(Db(), INT_MAX, true), (ChoiceList{{"All ports", INT_MAX}}));
    EXPECT_EQ(FillPortCombo(Db(), 257, false), (ChoiceList{{"None", INT_MAX}}));
}

TEST_F(ComboFillersTest, Trunks) {
    EXPECT_EQ(FillTrunkCombo(Db()), (ChoiceList{{"All trunks", INT_MAX},
                                                {"Trunk 1", 1},
                                                {"Trunk 2", 2},
                                                {"Trunk 3", 3},
                                                {"Trunk 4", 4}}));
}

TEST_F(ComboFillersTest, AFailureIsReportedAndLeavesTheTopEntry) {
    Exec("DROP VIEW AllNames");
    Exec("DROP VIEW PortNames");
    Exec("DROP TABLE Trunks");
    Exec("DROP TABLE Intercoms");
    int selected = -1;
    EXPECT_EQ(FillIntercomCombo(Db(), true, true), (ChoiceList{{"All intercoms", INT_MAX}}));
    EXPECT_EQ(FillAlphaCombo(Db(), 1, 0, 1, selected), (ChoiceList{{"All", INT_MAX}}));
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(FillPortCombo(Db(), 1, false), (ChoiceList{{"None", INT_MAX}}));
    EXPECT_EQ(FillTrunkCombo(Db()), (ChoiceList{{"All trunks", INT_MAX}}));
    const auto errors = ui.DatabaseErrors();
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0].rfind("Error, initializing intercom combobox\nDescription: %s|", 0), 0u);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(errors[i].rfind("Error, initializing port combobox\nDescription: %s|", 0), 0u)
            << errors[i];
    }
}

TEST_F(ComboFillersTest, RecordsetIntercomName) {
    CIntercomsRS rs(Db());
    rs.Open();
    EXPECT_EQ(GetRecordsetIntercomName(rs), "Studio");
    rs.MoveNext();
    EXPECT_EQ(GetRecordsetIntercomName(rs), "");
}

}  // namespace
}  // namespace corvane::testing
