#include <gtest/gtest.h>

#include <string>

#include "fakes/TrunkBetween.h"
#include "model/ChoiceLists.h"
#include "model/ListRowKeys.h"
#include "model/ModelTestSupport.h"

namespace corvane {
namespace {

using testing::DocTest;

class ModelQueriesTest : public DocTest {};

TEST_F(ModelQueriesTest, IntercomNames) {
    EXPECT_EQ(doc->GetIntercomName(7), "MX07");
    EXPECT_EQ(doc->GetIntercomName(99), "MX99");
    EXPECT_EQ(doc->GetIntercomName(100), "M100");
    EXPECT_EQ(doc->GetIntercomName(256), "M256");
    EXPECT_EQ(doc->GetIntercomName(999), "M999");  // no entry, still a name
    EXPECT_EQ(doc->GetIntercomName(-1), "MX-01");
    ASSERT_TRUE(doc->AddAlpha(6, 7, 0, "North Hall", alphaop::kStore, false));
    EXPECT_EQ(doc->GetIntercomName(7), "North Hall");
    EXPECT_EQ(doc->GetIntercomTexts(7).name, "North Hall");
    EXPECT_TRUE(doc->GetIntercomTexts(300).name.empty());
}

TEST_F(ModelQueriesTest, AlphaDisplayNames) {
    struct Case {
        int type, number;
        const char* name;
    } cases[] = {
        {0, 5, "N005"},   {0, 99, "N099"},  {1, 3, "PL03"},   {6, 42, "UR42"},   {8, 1, "IL01"},
        {0, 100, "N100"}, {5, 999, "I999"}, {8, 512, "B512"}, {2, 250, "F250"},  {7, 5, "??05"},
        {9, 5, "??05"},   {-1, 5, "??05"},  {7, 100, "?100"}, {0, 1000, "????"}, {0, -1, "????"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CVorlinModel::GetAlphaDisplayName(c.type, c.number), c.name)
            << c.type << "/" << c.number;
    }
}

TEST_F(ModelQueriesTest, TrunkIntercomsCommunicating) {
    ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(3, 1, 1, 2, 1), true));
    EXPECT_FALSE(doc->AreTrunkIntercomsCommunicating(3));
    ASSERT_TRUE(doc->SetIntercomCommStatus(1, "OK", true));
    EXPECT_TRUE(doc->IsIntercomCommunicating(1));
    EXPECT_FALSE(doc->AreTrunkIntercomsCommunicating(3));
    ASSERT_TRUE(doc->SetIntercomCommStatus(2, "OK - 2 links", true));
    EXPECT_TRUE(doc->AreTrunkIntercomsCommunicating(3));
    ASSERT_TRUE(doc->SetIntercomCommStatus(2, "Lost", true));
    EXPECT_FALSE(doc->AreTrunkIntercomsCommunicating(3));
    EXPECT_FALSE(doc->AreTrunkIntercomsCommunicating(4));  // never defined
    EXPECT_FALSE(doc->AreTrunkIntercomsCommunicating(-3));
    EXPECT_FALSE(doc->IsIntercomCommunicating(kNone));
}

TEST_F(ModelQueriesTest, Analyzer) {
    EXPECT_EQ(doc->GetAnalyzerType("Tonexa"), analyzer::kTonexa);
    EXPECT_EQ(doc->GetAnalyzerType("RT-2M"), analyzer::kRT2M);
    EXPECT_EQ(doc->GetAnalyzerType("Oscilloscope"), analyzer::kNone);
    EXPECT_FALSE(doc->IsAnalyzerConfigured());
    EXPECT_EQ(doc->GetAnalyzerDisplayName(), "Audio Analyzer");
    settings.Modify([](AppSettings& s) { s.AudioAnalyzer = "RT-2M"; });
    EXPECT_TRUE(doc->IsAnalyzerConfigured());
    EXPECT_EQ(doc->GetAnalyzerDisplayName(), "RT-2M");
    settings.Modify([](AppSettings& s) { s.AudioAnalyzer = "rt-2m"; });
    EXPECT_FALSE(doc->IsAnalyzerConfigured());
    EXPECT_EQ(CVorlinModel::GetAnalyzerDeviceType(analyzer::kTonexa), devicetype::kTonexa);
    EXPECT_EQ(CVorlinModel::GetAnalyzerDeviceType(analyzer::kRT2M), devicetype::kRT2M);
    EXPECT_EQ(CVorlinModel::GetAnalyzerDeviceType(analyzer::kNone), devicetype::kNoDevice);
    EXPECT_EQ(CVorlinModel::GetAnalyzerDeviceType(-1), devicetype::kNoDevice);
}

TEST_F(ModelQueriesTest, AlarmSetupKindOfRowNames) {
    struct Case {
        const char* device;
        const char* category;
        int kind;
    } cases[] = {
        {"Quillex", "Communication", 0}, {"Tonexa", "Device", 1},
        {"Intercom", "Busy", 2},         {"Trunk", "Test Failure", 3},
        {"Trunk", "Test Error", 4},      {"Trunk", "Loopback", kNone},
        {"Request", "Busy", 5},          {"RT-2M", "Loopback", 6},
        {"Router", "Busy", kNone},       {"", "", kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(doc->GetAlarmSetupKind(c.device, c.category), c.kind) << c.device;
    }
}

TEST(ChoiceListsTest, AlarmSetupKindsByConfiguredAnalyzer) {
    const CNameTables names;
    auto kinds = [&names](int analyzerType) {
        std::vector<int> data;
        for (const Choice& c : AlarmSetupKindChoices(names, analyzerType)) {
            data.push_back(c.data);
        }
        return data;
    };
    EXPECT_EQ(kinds(analyzer::kNone), (std::vector<int>{0, 2, 5}));
    EXPECT_EQ(kinds(analyzer::kTonexa), (std::vector<int>{0, 1, 2, 3, 5}));
    EXPECT_EQ(kinds(analyzer::kRT2M), (std::vector<int>{0, 2, 3, 5, 6}));
    EXPECT_EQ(AlarmSetupKindChoices(names, analyzer::kRT2M)[4].text, "RT-2M Events");
}

TEST(ChoiceListsTest, AnalyzersAndFunctionTypes) {
    const CNameTables names;
    EXPECT_EQ(AnalyzerChoices(names), (ChoiceList{{"None", 0}, {"Tonexa", 1}, {"RT-2M", 2}}));
    const ChoiceList types = FunctionTypeChoices();
    ASSERT_EQ(types.size(), 9u);
    EXPECT_EQ(types[0], (Choice{"All function types", kNone}));
    EXPECT_EQ(types[1], (Choice{"PP", 0}));
    EXPECT_EQ(types[8], (Choice{"IL", 8}));
    EXPECT_EQ(FindChoiceByData(types, 8), 8);
    EXPECT_EQ(FindChoiceByData(types, 7), -1);  // the intercom itself is no choice
    EXPECT_EQ(SelectChoiceByData(types, 7), 0);
    EXPECT_EQ(SelectChoiceByData(types, 3), 4);
    EXPECT_EQ(SelectChoiceByData({}, 3), -1);
}

TEST(ListRowKeysTest, KeysAndTrunkRows) {
    EXPECT_EQ(ParseListKey("42"), 42);
    EXPECT_EQ(ParseListKey("-3"), -3);
    EXPECT_EQ(ParseListKey(""), kNone);
    EXPECT_EQ(ParseListKey("12a"), kNone);
    EXPECT_EQ(ParseListKey("99999999999"), kNone);

    const CNameTables names;
    const SelectedTrunkRow row = ParseSelectedTrunkRow(names, "17", "Maint", "Y", "Skipped");
    EXPECT_EQ(row.trunk, 17);
    EXPECT_EQ(row.state, 3);
    EXPECT_EQ(row.outOfService, 1);
    EXPECT_EQ(row.testResult, 5);
    const SelectedTrunkRow other = ParseSelectedTrunkRow(names, "x", "Busy", "-", " ");
    EXPECT_EQ(other.trunk, kNone);
    EXPECT_EQ(other.state, 0);
    EXPECT_EQ(other.outOfService, 0);
    EXPECT_EQ(other.testResult, 6);
}

}  // namespace
}  // namespace corvane
