#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "link/ControllerMessages.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

struct HelloCase {
    friend void PrintTo(const HelloCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    Bytes payload;
    const char* failure;  // nullptr: accepted
    HelloReply expected;
};

class HelloReplyTest : public ::testing::TestWithParam<HelloCase> {};

TEST_P(HelloReplyTest, DecodesEachBitOrRefuses) {
    const HelloCase& c = GetParam();
    const auto reply = DecodeHelloReply(c.payload);
    if (c.failure != nullptr) {
        ASSERT_FALSE(reply);
        EXPECT_EQ(reply.Failure(), c.failure);
        return;
    }
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->capabilitiesSupported, c.expected.capabilitiesSupported);
    EXPECT_EQ(reply->reReadEverything, c.expected.reReadEverything);
    EXPECT_EQ(reply->overallQueryNow, c.expected.overallQueryNow);
    EXPECT_EQ(reply->setAllChangeFlagsSupported, c.expected.setAllChangeFlagsSupported);
    EXPECT_EQ(reply->alphaSizeFromSetting, c.expected.alphaSizeFromSetting);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, HelloReplyTest,
    ::testing::Values(
        HelloCase{"ReadyOnly", {0x01}, nullptr, {}},
        HelloCase{"Capabilities", {0x81}, nullptr, {true, false, false, false, false}},
        HelloCase{"ReReadEverything", {0x03}, nullptr, {false, true, false, false, false}},
        HelloCase{"OverallNow", {0x05}, nullptr, {false, false, true, false, false}},
        HelloCase{"SetAllChangeFlags", {0x09}, nullptr, {false, false, false, true, false}},
        HelloCase{"AlphaSizeFromSetting", {0x21}, nullptr, {false, false, false, false, true}},
        HelloCase{"EverythingAndBit6Ignored", {0xFF}, nullptr, {true, true, true, true, true}},
        HelloCase{"NotReadyIsRefusedWithoutALine", {0xFE}, "", {}},
        HelloCase{"Empty", {}, "Hello Reply: Incorrect response length", {}},
        HelloCase{"TwoBytes", {0x01, 0x00}, "Hello Reply: Incorrect response length", {}}),
    [](const auto& info) { return info.param.name; });

TEST(AlphaSizeTest, TakesTheSettingOnlyWhenAskedAndOnlyASizeThatExists) {
    struct Case {
        bool fromSetting;
        int setting;
        int size;
        int code;
        int perPage;
    };
    const Case cases[] = {
        {false, 8, 4, 0, 128},
        {true, 4, 4, 1, 128},
        {true, 6, 6, 2, 85},
        {true, 8, 8, 3, 64},
        // A setting that is no alpha size must not reach the division.
        {true, 0, 4, 1, 128},
        {true, -6, 4, 1, 128},
        {true, 5, 4, 1, 128},
        {true, 512, 4, 1, 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        const int size = AlphaSizeFor(c.fromSetting, c.setting);
        EXPECT_EQ(size, c.size);
        EXPECT_EQ(AlphaSizeCode(c.fromSetting, size), c.code);
        EXPECT_EQ(AlphasPerPage(size), c.perPage);
    }
    EXPECT_EQ(AlphasPerPage(0), 128);
}

TEST(QxVersionReplyTest, TakesAnyPayloadAsTextUpToAZeroByte) {
    EXPECT_EQ(DecodeQxVersionReply(Bytes{}), "");
    const std::string v = "QX 4.20 build 7";
    EXPECT_EQ(DecodeQxVersionReply(Bytes(v.begin(), v.end())), v);
    EXPECT_EQ(DecodeQxVersionReply(Bytes{'V', '1', 0, 'x'}), "V1");
}

TEST(CapabilitiesReplyTest, ReadsTheFourBitsOfTheFirstByte) {
    struct Case {
        Bytes payload;
        bool network, compatibility, outOfService, extended;
    };
    const Case cases[] = {
        {{0x00}, false, false, false, false}, {{0x01}, true, false, false, false},
        {{0x02}, false, true, false, false},  {{0x04}, false, false, true, false},
        {{0x08}, false, false, false, true},  {{0xFF, 0x00, 0x12}, true, true, true, true},
    };
    for (const Case& c : cases) {
        const auto reply = DecodeCapabilitiesReply(c.payload);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->networkInformation, c.network);
        EXPECT_EQ(reply->periodicCompatibility, c.compatibility);
        EXPECT_EQ(reply->outOfService, c.outOfService);
        EXPECT_EQ(reply->extendedIntercoms, c.extended);
    }
    const auto empty = DecodeCapabilitiesReply(Bytes{});
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.Failure(), "Capabilities Reply: Incorrect response length");
}

TEST(DateAndTimeReplyTest, PlacesTheYearInItsCenturyAndChecksTheLength) {
    const auto modern = DecodeDateAndTimeReply(Bytes{26, 12, 10, 23, 59, 58});
    ASSERT_TRUE(modern);
    EXPECT_EQ(modern->year, 2026);
    EXPECT_EQ(modern->month, 12);
    EXPECT_EQ(modern->day, 10);
    EXPECT_EQ(modern->hour, 23);
    EXPECT_EQ(modern->minute, 59);
    EXPECT_EQ(modern->second, 58);
    // What Set Date Time writes (year % 2000 + 100) reads back as the same year.
    EXPECT_EQ(DecodeDateAndTimeReply(Bytes{126, 1, 1, 0, 0, 0})->year, 2026);
    EXPECT_EQ(DecodeDateAndTimeReply(Bytes{99, 1, 1, 0, 0, 0})->year, 2099);
    EXPECT_EQ(DecodeDateAndTimeReply(Bytes{100, 1, 1, 0, 0, 0})->year, 2000);
    for (const Bytes& wrong : {Bytes{}, Bytes{26, 12, 10, 23, 59}, Bytes(7, 1)}) {
        const auto reply = DecodeDateAndTimeReply(wrong);
        ASSERT_FALSE(reply);
        EXPECT_EQ(reply.Failure(), "Get Date and Time Reply: Incorrect response length");
    }
}

}  // namespace
}  // namespace corvane
