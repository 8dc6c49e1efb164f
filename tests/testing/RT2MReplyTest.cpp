#include <gtest/gtest.h>

#include "settings/AppSettings.h"
#include "testing/RT2MBand.h"
#include "testing/RT2MErrorTable.h"
#include "testing/RT2MParameters.h"
#include "testing/RT2MReply.h"

namespace corvane {
namespace {

TEST(RT2MReplyTest, ErrorListsParseStrictly) {
    EXPECT_EQ(ParseRT2MErrorList("0"), std::vector<unsigned>{0});
    EXPECT_EQ(ParseRT2MErrorList("203,0\r"), (std::vector<unsigned>{203, 0}));
    for (const char* bad : {"", ",", "1,", ",1", "1,,2", "-1", "1 2", "12a", "123456", "0x10"}) {
        EXPECT_FALSE(ParseRT2MErrorList(bad)) << bad;
    }
    std::string many = "1";
    for (int i = 0; i < 64; ++i) {
        many += ",1";
    }
    EXPECT_FALSE(ParseRT2MErrorList(many));
}

TEST(RT2MReplyTest, LevelsAndHeadroomParseStrictly) {
    const auto level = ParseRT2MLevel("21/-1.2500E+01 DB");
    ASSERT_TRUE(level);
    EXPECT_EQ(level->bin, 21u);
    EXPECT_DOUBLE_EQ(level->decibels, -12.5);
    EXPECT_DOUBLE_EQ(*ParseRT2MHeadroom("+20 DB"), 20.0);
    EXPECT_DOUBLE_EQ(*ParseRT2MHeadroom("2.5e1DB"), 25.0);
    for (const char* bad : {"", "/1 DB", "21/ DB", "21/1", "21/1 DBX", "x/1 DB", "21/1e DB",
                            "21/1e999 DB", "21/nan DB", "999999/1 DB", "21/2000 DB"}) {
        EXPECT_FALSE(ParseRT2MLevel(bad)) << bad;
    }
    for (const char* bad : {"", "DB", "1", "1 dB", "--1 DB", "1.2.3 DB", "inf DB"}) {
        EXPECT_FALSE(ParseRT2MHeadroom(bad)) << bad;
    }
}

TEST(RT2MReplyTest, TheLastCompleteLineIsTheResponse) {
    const RT2MReceived r = SplitRT2MReceived("0\r\n203\r\n21/1");
    ASSERT_TRUE(r.response);
    EXPECT_EQ(*r.response, "203");
    EXPECT_EQ(r.stale, std::vector<std::string>{"0"});
    EXPECT_EQ(r.incomplete, "21/1");
    EXPECT_FALSE(SplitRT2MReceived("no end").response);
}

TEST(RT2MReplyTest, ErrorClasses) {
    EXPECT_EQ(RT2MErrorTable().size(), 141u);
    struct Case {
        unsigned code;
        int actionClass;
    };
    for (const Case c :
         {Case{0, 0}, Case{400, 1}, Case{149, 2}, Case{205, 3}, Case{145, 4}, Case{180, 5},
          Case{203, 6}, Case{210, 6}, Case{438, 7}, Case{650, 7}, Case{999, 7}, Case{166, 7}}) {
        EXPECT_EQ(LookupRT2MError(c.code).actionClass, c.actionClass) << c.code;
    }
    EXPECT_STREQ(LookupRT2MError(700).text, "Service required - please report to the manufacturer");
    EXPECT_STREQ(LookupRT2MError(800).text, "Unknown error");
}

TEST(RT2MParametersTest, BandsByFrequency) {
    EXPECT_EQ(ChooseRT2MBand(1000).nominalHz, 1000);
    EXPECT_EQ(ChooseRT2MBand(1004).nominalHz, 1500);
    EXPECT_EQ(ChooseRT2MBand(-5).nominalHz, 500);
    EXPECT_EQ(ChooseRT2MBand(9999).bin, 27u);
    EXPECT_EQ(RT2MAnalysisDelay(4096), 684u);
    EXPECT_EQ(RT2MAnalysisDelay(333), 854u);
}

TEST(RT2MParametersTest, LatencyCandidates) {
    struct Case {
        int l1, l2, l3;
        std::vector<unsigned> want;
    };
    for (const Case& c : {Case{2000, 3500, 5000, {2000, 3500, 5000}},
                          Case{8, 3500, 5000, {3500, 5000}}, Case{9, 3500, 2000, {9, 3500}},
                          Case{0, -4, 8, {3500}}, Case{20000, 2000, 99999, {9674, 9674}}}) {
        RT2MParameters p;
        p.trunkLatency[0] = c.l1;
        p.trunkLatency[1] = c.l2;
        p.trunkLatency[2] = c.l3;
        EXPECT_EQ(RT2MLatencyCandidates(p, 284), c.want) << c.l1;
    }
}

TEST(RT2MParametersTest, SettingsAreClamped) {
    AppSettings s;
    s.OutputLevel = 10;
    s.PretriggerLength = 9000;
    s.InputImpedance = "phantom";
    s.OutputImpedance = "300";
    s.InputMICSensitivity = 1;
    s.NoiseFloor = 500;
    const RT2MParameters p = RT2MParametersFrom(s);
    EXPECT_EQ(RT2MTenths(p.outputLevelDb), -200);
    EXPECT_EQ(p.pretriggerLength, 5000u);
    EXPECT_EQ(p.inputImpedance, "PHANTOM");
    EXPECT_EQ(p.outputImpedance, "600");
    EXPECT_DOUBLE_EQ(p.micSensitivity, 5.0);
    EXPECT_DOUBLE_EQ(p.noiseFloor, 100.0);
    EXPECT_EQ(RT2MTriggerTimeout(2000), 2100u);
    EXPECT_EQ(RT2MTriggerTimeout(58), 100u);
    EXPECT_GE(RT2MTestTimeoutSeconds(p, ChooseRT2MBand(1000)), 5);
}

}  // namespace
}  // namespace corvane
