// The program's codec and the fake controller's, written apart, must read each other.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fakes/FakeControllerCodec.h"
#include "link/NetworkFrame.h"
#include "link/SerialFrame.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fakewire = testing::fakewire;

// Bodies rich in the bytes that need escaping, of lengths from tiny to long.
std::vector<Bytes> Payloads() {
    std::mt19937 random(20260101);
    const uint8_t special[] = {0xF0, 0xF1, 0xF2, 0x1A, 0x9E, 0xA5, 0xAD, 0xD5, 0xDA, 0xDD};
    std::vector<Bytes> payloads{{}};
    for (const size_t length : {1, 2, 7, 64, 1023, 1024, 1025, 4000}) {
        Bytes p(length);
        for (uint8_t& b : p) {
            b = random() % 3 == 0 ? special[random() % std::size(special)]
                                  : static_cast<uint8_t>(random());
        }
        payloads.push_back(p);
    }
    return payloads;
}

TEST(FrameAgreementTest, SerialFramesReadTheSameOnBothSides) {
    for (const Bytes& payload : Payloads()) {
        fakewire::SerialMessage m{0x24, 0xF1, payload};
        const Bytes fakeWire = fakewire::SerialWrap(fakewire::SerialBody(m));
        Bytes body;
        ASSERT_EQ(QuillexSerialFrame::Decode(fakeWire, body), SerialFrameError::kNone);
        EXPECT_EQ(SerialFrameCrc8(body), 0);
        EXPECT_EQ(body, fakewire::SerialBody(m));

        Bytes ours;
        ASSERT_TRUE(QuillexSerialFrame::Encode(body, ours));
        EXPECT_EQ(ours, fakeWire);
        const auto parsed = fakewire::SerialParse(ours);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->payload, payload);
    }
}

TEST(FrameAgreementTest, NetworkFramesReadTheSameOnBothSides) {
    for (const Bytes& payload : Payloads()) {
        fakewire::UdpMessage m{0xD5DA, 0x9E, 0x8, 0xDDD, payload};
        const Bytes fakeWire = fakewire::UdpWrap(fakewire::UdpBody(m));
        Bytes body;
        ASSERT_EQ(QuillexNetworkFrame::Decode(fakeWire, body), NetworkFrameError::kNone);
        EXPECT_EQ(NetworkFrameChecksum({body.data(), body.size() - 1}), body.back());
        const QuillexNetworkHeader h = QuillexNetworkHeader::Parse(body);
        EXPECT_EQ(h.session, 0xD5DA);
        EXPECT_EQ(h.code, 0x9E);
        EXPECT_EQ(h.status, 0x8);
        EXPECT_EQ(h.number, 0xDDD);

        Bytes ours;
        ASSERT_TRUE(QuillexNetworkFrame::Encode(body, ours));
        EXPECT_EQ(ours, fakeWire);
        const auto parsed = fakewire::UdpParse(ours);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->payload, payload);
    }
}

}  // namespace
}  // namespace corvane
