#include <gtest/gtest.h>

#include <string>

#include "testing/TonexaReply.h"

namespace corvane {
namespace {

TEST(TonexaCommandTest, TextsAndKinds) {
    struct Case {
        TonexaCommand command;
        const char* text;
        TonexaReplyKind kind;
    };
    const Case cases[] = {
        {TonexaKeepAliveCommand(), "\r", TonexaReplyKind::KeepAlive},
        {TonexaSetLevelCommand(10), "CL 10\r", TonexaReplyKind::SetLevel},
        {TonexaSetLevelCommand(-3), "CL -3\r", TonexaReplyKind::SetLevel},
        {TonexaSetFrequencyCommand(1004), "CF 1004\r", TonexaReplyKind::SetFrequency},
        {TonexaSetImpedanceCommand(0), "CI A\r", TonexaReplyKind::SetImpedance},
        {TonexaSetImpedanceCommand(1), "CI B\r", TonexaReplyKind::SetImpedance},
        {TonexaSetImpedanceCommand(-1), "CI B\r", TonexaReplyKind::SetImpedance},
        {TonexaSetImpedanceCommand(1000), "CI B\r", TonexaReplyKind::SetImpedance},
        {TonexaStartTestCommand(false), "CLO A\r", TonexaReplyKind::StartTest},
        {TonexaStartTestCommand(true), "CLN A\r", TonexaReplyKind::StartTest},
        {TonexaMeasurementCommand(false), "CLO\r", TonexaReplyKind::Measurement},
        {TonexaMeasurementCommand(true), "CLN\r", TonexaReplyKind::Measurement},
        {TonexaEndTestCommand(false), "CLO B\r", TonexaReplyKind::EndTest},
        {TonexaEndTestCommand(true), "CLN B\r", TonexaReplyKind::EndTest},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.command.text, c.text);
        EXPECT_EQ(c.command.kind, c.kind) << c.text;
    }
    EXPECT_STREQ(TonexaKeepAliveCommand().name, "Take Control");
    EXPECT_STREQ(TonexaMeasurementCommand(false).name, "Take Level Frequency Measurement");
}

TEST(TonexaReplyTest, MeasurementReplies) {
    struct Case {
        const char* reply;
        TonexaReplyError error;
        int32_t level;
        int32_t frequency;
    };
    using E = TonexaReplyError;
    const Case cases[] = {
        {"CLO\r\n-3.0,1004>", E::None, -30, 1004},
        {"CLO\r\n-12.5,1004>", E::None, -125, 1004},
        {"CLO\r\n0.0,0>", E::None, 0, 0},
        {"CLO\r\n7.4,999999>", E::None, 74, 999999},
        {"CLO\r\n9999.9,1>", E::None, 99999, 1},
        {"CLO\r\n-9999.9,1>", E::None, -99999, 1},
        // A level in whole dB is whole dB, not tenths.
        {"CLO\r\n-3,1004>", E::None, -30, 1004},
        {"CLO\r\n12,300>", E::None, 120, 300},
        // Bounds: five whole digits, two decimals, seven frequency digits.
        {"CLO\r\n12345.0,1004>", E::BadReading, 0, 0},
        {"CLO\r\n-3.05,1004>", E::BadReading, 0, 0},
        {"CLO\r\n-3.0,1234567>", E::BadReading, 0, 0},
        // Empty parts.
        {"CLO\r\n,1004>", E::BadReading, 0, 0},
        {"CLO\r\n-,1004>", E::BadReading, 0, 0},
        {"CLO\r\n-3.,1004>", E::BadReading, 0, 0},
        {"CLO\r\n.5,1004>", E::BadReading, 0, 0},
        {"CLO\r\n-3.0,>", E::BadReading, 0, 0},
        {"CLO\r\n-3.0>", E::BadReading, 0, 0},
        {"CLO\r\n>", E::BadReading, 0, 0},
        // Bytes with no place in a reading.
        {"CLO\r\n-1#.5,1004>", E::BadDigit, 0, 0},
        {"CLO\r\n+3.0,1004>", E::BadDigit, 0, 0},
        {"CLO\r\n--3.0,1004>", E::BadDigit, 0, 0},
        {"CLO\r\n3-.0,1004>", E::BadDigit, 0, 0},
        {"CLO\r\n3.0,1,004>", E::BadDigit, 0, 0},
        {"CLO\r\n3.0,,1004>", E::BadDigit, 0, 0},
        {"CLO\r\n3.0,10 4>", E::BadDigit, 0, 0},
        {"CLO\r\n3.0,1004>>", E::BadDigit, 0, 0},
        // Framing.
        {"CLN\r\n-3.0,1004>", E::WrongEcho, 0, 0},
        {"CL", E::WrongEcho, 0, 0},
        {"", E::WrongEcho, 0, 0},
        {"CLO\r-3.0,1004>", E::NoLineFeed, 0, 0},
        {"CLO\r", E::NoLineFeed, 0, 0},
        {"CLO\r\n-3.0,1004", E::NoPrompt, 0, 0},
    };
    const TonexaCommand sent = TonexaMeasurementCommand(false);
    for (const Case& c : cases) {
        const TonexaReplyCheck check = CheckTonexaReply(sent, c.reply);
        EXPECT_EQ(check.error, c.error) << c.reply;
        if (c.error == E::None) {
            EXPECT_EQ(check.reading.level, c.level) << c.reply;
            EXPECT_EQ(check.reading.frequency, c.frequency) << c.reply;
        }
    }
}

TEST(TonexaReplyTest, BadDigitNamesTheByte) {
    const TonexaReplyCheck check =
        CheckTonexaReply(TonexaMeasurementCommand(false), "CLO\r\n-1#.5,1004>");
    EXPECT_EQ(check.error, TonexaReplyError::BadDigit);
    EXPECT_EQ(check.badByte, '#');
}

TEST(TonexaReplyTest, PlainRepliesAreTheEchoLineFeedAndPrompt) {
    struct Case {
        TonexaCommand sent;
        const char* reply;
        bool valid;
    };
    const Case cases[] = {
        {TonexaKeepAliveCommand(), "\r\n>", true},
        {TonexaSetLevelCommand(10), "CL 10\r\n>", true},
        {TonexaStartTestCommand(true), "CLN A\r\n>", true},
        {TonexaKeepAliveCommand(), "\n>", false},
        {TonexaKeepAliveCommand(), "\r>", false},
        {TonexaKeepAliveCommand(), "\r\n", false},
        {TonexaKeepAliveCommand(), "\r\n>>", false},
        {TonexaSetLevelCommand(10), "CL 11\r\n>", false},
        {TonexaSetLevelCommand(10), "x\r\nCL 10\r\n>", false},
        {TonexaEndTestCommand(false), "CLO B\r\n", false},
        {TonexaEndTestCommand(false), "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckTonexaReply(c.sent, c.reply).Valid(), c.valid) << c.reply;
    }
}

TEST(TonexaReplyTest, NothingPendingAndOverlongRepliesAreInvalid) {
    EXPECT_EQ(CheckTonexaReply(TonexaCommand{}, "\r\n>").error, TonexaReplyError::NoCommand);
    const std::string overlong = "CLO\r\n" + std::string(kTonexaReplyCapacity, '1') + ">";
    EXPECT_EQ(CheckTonexaReply(TonexaMeasurementCommand(false), overlong).error,
              TonexaReplyError::TooLong);
}

}  // namespace
}  // namespace corvane
