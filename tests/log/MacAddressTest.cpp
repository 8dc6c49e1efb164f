#include "log/MacAddress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace corvane {
namespace {

MacAddress Mac(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4,
               std::uint8_t b5) {
    MacAddress mac;
    mac.bytes = {b0, b1, b2, b3, b4, b5};
    return mac;
}

TEST(MacAddressTest, StartsClearedAndCopiesSixBytes) {
    MacAddress mac;
    EXPECT_EQ(mac, Mac(0, 0, 0, 0, 0, 0));
    const std::uint8_t raw[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(mac.CopyFrom(raw), 6u);
    EXPECT_EQ(mac, Mac(1, 2, 3, 4, 5, 6));
    std::uint8_t out[6] = {};
    EXPECT_EQ(mac.CopyTo(out), 6u);
    EXPECT_EQ(out[5], 6);
    mac.Clear();
    EXPECT_EQ(mac, MacAddress());
}

TEST(MacAddressTest, OrderIsDecidedByFirstDifferingByte) {
    EXPECT_LT(Mac(0, 0, 0, 0, 0, 9), Mac(0, 0, 0, 0, 1, 0));
    EXPECT_LT(Mac(1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF), Mac(2, 0, 0, 0, 0, 0));
    EXPECT_FALSE(Mac(1, 2, 3, 4, 5, 6) < Mac(1, 2, 3, 4, 5, 6));
    EXPECT_NE(Mac(1, 2, 3, 4, 5, 6), Mac(1, 2, 3, 4, 5, 7));
}

TEST(MacAddressTest, FormatsLowercaseWithColons) {
    EXPECT_EQ(FormatMacAddress(Mac(0x00, 0x1A, 0x2B, 0xC3, 0xD4, 0xFF)), "00:1a:2b:c3:d4:ff");
    EXPECT_EQ(FormatMacAddress(MacAddress()), "00:00:00:00:00:00");
}

TEST(MacAddressTest, ParsesBothFormsInEitherCase) {
    const MacAddress expected = Mac(0x00, 0x1A, 0x2B, 0xC3, 0xD4, 0xFF);
    for (const char* text : {"00:1a:2b:c3:d4:ff", "00:1A:2B:C3:D4:FF", "001a2bc3d4ff",
                             "001A2BC3D4FF", "001a2BC3d4Ff"}) {
        MacAddress mac;
        EXPECT_TRUE(ParseMacAddress(text, mac)) << text;
        EXPECT_EQ(mac, expected) << text;
    }
}

TEST(MacAddressTest, RefusesBadTextsKeepingBytesReadSoFar) {
    struct Case {
        std::string text;
        MacAddress kept;
    };
    const Case cases[] = {
        {"00-1a-2b-c3-d4-ff", Mac(0, 0, 0, 0, 0, 0)},
        {"00:1a:2b-c3:d4:ff", Mac(0x00, 0x1A, 0x2B, 0, 0, 0)},
        {"00:1a:2b:c3:d4:fg", Mac(0x00, 0x1A, 0x2B, 0xC3, 0xD4, 0)},
        {"001a2bc3 4ff", Mac(0x00, 0x1A, 0x2B, 0xC3, 0, 0)},
        {"0x1a2bc3d4ff", Mac(0, 0, 0, 0, 0, 0)},
        {":00:1a:2b:c3:d4:f", Mac(0, 0, 0, 0, 0, 0)},
        {"00:1a:2b:c3:d4:ff:", Mac(0, 0, 0, 0, 0, 0)},
        {"001a2bc3d4f", Mac(0, 0, 0, 0, 0, 0)},
        {"", Mac(0, 0, 0, 0, 0, 0)},
        {std::string("001a2b\0c3d4f", 12), Mac(0x00, 0x1A, 0x2B, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        MacAddress mac = Mac(9, 9, 9, 9, 9, 9);
        EXPECT_FALSE(ParseMacAddress(c.text, mac)) << c.text;
        EXPECT_EQ(mac, c.kept) << c.text;
    }
}

TEST(MacAddressTest, HexDigitValue) {
    struct Case {
        char c;
        int value;
    };
    const Case cases[] = {{'0', 0}, {'9', 9}, {'a', 10}, {'f', 15}, {'A', 10}, {'F', 15},
                          {'g', 0}, {'G', 0}, {':', 0},  {'/', 0},  {'@', 0},  {'\xff', 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(HexDigitValue(c.c), c.value) << c.c;
    }
}

TEST(IPv4HostOrderTest, FormatsZeroAsDashElseDotted) {
    EXPECT_EQ(FormatIPv4HostOrder(0), "-");
    EXPECT_EQ(FormatIPv4HostOrder(0x7F000001), "127.0.0.1");
    EXPECT_EQ(FormatIPv4HostOrder(0xC0A80AFE), "192.168.10.254");
    EXPECT_EQ(FormatIPv4HostOrder(0xFFFFFFFF), "255.255.255.255");
}

TEST(IPv4HostOrderTest, ParsesDottedTextToHostOrder) {
    struct Case {
        std::string text;
        std::uint32_t value;
        std::string textAfter;
    };
    const Case cases[] = {
        {"127.0.0.2", 0x7F000002, "127.0.0.2"},
        {"10.1.2.3", 0x0A010203, "10.1.2.3"},
        {"", 0, "-"},
        {"-", 0, "-"},
        {"0.0.0.0", 0, "0.0.0.0"},
        {"10.1.2", kInvalidIPv4, "10.1.2"},
        {"10", kInvalidIPv4, "10"},
        {"10.1.2.256", kInvalidIPv4, "10.1.2.256"},
        {"10.1.2.3.4", kInvalidIPv4, "10.1.2.3.4"},
        {"a.b.c.d", kInvalidIPv4, "a.b.c.d"},
        {" 10.1.2.3", kInvalidIPv4, " 10.1.2.3"},
        {std::string("10.1.2.3\0.9", 11), kInvalidIPv4, std::string("10.1.2.3\0.9", 11)},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(ParseIPv4HostOrder(text), c.value) << c.text;
        EXPECT_EQ(text, c.textAfter);
    }
}

TEST(IPv4HostOrderTest, FormattedTextParsesBack) {
    for (std::uint32_t address : {0u, 1u, 0x7F000001u, 0xC0A80AFEu, 0x01020304u}) {
        std::string text = FormatIPv4HostOrder(address);
        EXPECT_EQ(ParseIPv4HostOrder(text), address) << text;
    }
}

}  // namespace
}  // namespace corvane
