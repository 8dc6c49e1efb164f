#include <gtest/gtest.h>

#include <vector>

#include "fakes/FakeDevice.h"
#include "link/DeviceFinderFrame.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::FakeDeviceInfo;
namespace fakedevice = testing::fakedevice;

FakeDeviceInfo SampleInfo() {
    FakeDeviceInfo info;
    info.deviceType = 9;
    info.active = false;
    info.connections1 = 0x0102;
    info.connections2 = 0x0A0B;
    info.partnerAddress = 0xC0A80A08;
    info.name = "QX North";
    info.description = "Rack 2";
    return info;
}

TEST(DeviceFinderFrame, QueryAsTheDevicesReadIt) {
    struct Case {
        int command;
        int sequence;
    };
    for (const Case c : {Case{209, 1}, Case{222, 0x7FF}, Case{0x3DE, 0x2A5}}) {
        SCOPED_TRACE(c.command);
        const Bytes wire =
            DeviceFinderFrame::Encode(DeviceFinderFrame::QueryBody(c.command, c.sequence));
        Bytes body;
        ASSERT_TRUE(fakedevice::Unframe(wire, body));
        EXPECT_EQ(body, fakedevice::Header(c.command, c.sequence));
        EXPECT_EQ(DeviceFinderFrame::Command(body), c.command);
        EXPECT_EQ(DeviceFinderFrame::Sequence(body), c.sequence);
    }
}

TEST(DeviceFinderFrame, EscapesSpecialBytesAndTheChecksum) {
    // Body D5 00: checksum 0x2B; body 2B 00 ... gives checksum D5, which is escaped too.
    EXPECT_EQ(DeviceFinderFrame::Encode(Bytes{0xD5, 0x00}),
              (Bytes{0xD5, 0xDA, 0xD5, 0x00, 0x2B, 0xDD}));
    EXPECT_EQ(DeviceFinderFrame::Encode(Bytes{0x2B}), (Bytes{0xD5, 0x2B, 0xDA, 0xD5, 0xDD}));
    for (const uint8_t special : {0x1A, 0x9E, 0xA5, 0xAD, 0xD5, 0xDA, 0xDD}) {
        const Bytes body{special, 0x01};
        Bytes decoded;
        ASSERT_TRUE(DeviceFinderFrame::Decode(DeviceFinderFrame::Encode(body), decoded));
        EXPECT_EQ(decoded, body);
    }
}

TEST(DeviceFinderFrame, DecodeRejectsMalformedDatagrams) {
    struct Case {
        const char* what;
        Bytes datagram;
    };
    const Case cases[] = {
        {"empty", {}},
        {"no start byte", {0x00, 0x01, 0xDD}},
        {"no end byte", {0xD5, 0x01, 0x02}},
        {"escape at the end", {0xD5, 0x01, 0xDA}},
        {"second start byte", {0xD5, 0x01, 0xD5, 0x02, 0xDD}},
        {"no checksum", {0xD5, 0xDD}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes body{1, 2, 3};
        EXPECT_FALSE(DeviceFinderFrame::Decode(c.datagram, body));
        EXPECT_TRUE(body.empty());
    }
}

TEST(DeviceFinderReply, DecodesEveryField) {
    FakeDeviceInfo info = SampleInfo();
    info.frame = std::make_pair(uint8_t{1}, uint8_t{2});
    DeviceFinderReply reply;
    reply.sourceAddress = 0x7F000005;
    ASSERT_TRUE(DecodeDeviceFinderReply(fakedevice::ReplyDatagram(209, 17, info), reply));
    EXPECT_EQ(reply.command, 209);
    EXPECT_EQ(reply.deviceType, 9);
    EXPECT_FALSE(reply.active);
    EXPECT_EQ(reply.connections1, 0x0102);
    EXPECT_EQ(reply.connections2, 0x0A0B);
    EXPECT_EQ(reply.partnerAddress, 0xC0A80A08u);
    EXPECT_EQ(reply.sourceAddress, 0x7F000005u);
    EXPECT_EQ(reply.name, "QX North");
    EXPECT_EQ(reply.description, "Rack 2");
    EXPECT_EQ(reply.frameIndex, 1);
    EXPECT_EQ(reply.frameCount, 2);
    EXPECT_EQ(reply.mac1, MacAddress{});
    EXPECT_EQ(reply.mac2, MacAddress{});
}

TEST(DeviceFinderReply, EndingAfterTheDescriptionMeansNoFrame) {
    DeviceFinderReply reply;
    reply.frameIndex = 3;
    ASSERT_TRUE(DecodeDeviceFinderReply(fakedevice::ReplyDatagram(222, 1, SampleInfo()), reply));
    EXPECT_EQ(reply.frameIndex, 0);
    EXPECT_EQ(reply.frameCount, 0);

    // One byte after the description is not a frame either.
    Bytes body = fakedevice::Header(222, 1);
    const Bytes payload = fakedevice::ReplyPayload(SampleInfo());
    body.insert(body.end(), payload.begin(), payload.end());
    body.push_back(4);
    ASSERT_TRUE(DecodeDeviceFinderReply(fakedevice::Frame(body), reply));
    EXPECT_EQ(reply.frameCount, 0);
}

TEST(DeviceFinderReply, AWrongChecksumIsAccepted) {
    Bytes wire = fakedevice::ReplyDatagram(209, 1, SampleInfo());
    ASSERT_NE(wire[wire.size() - 2], 0x00);
    wire[wire.size() - 2] ^= 0x01;  // the checksum; 0x01 flips no escaped value here
    DeviceFinderReply reply;
    EXPECT_TRUE(DecodeDeviceFinderReply(wire, reply));
    EXPECT_EQ(reply.name, "QX North");
}

TEST(DeviceFinderReply, TextsAreSingleByteCharactersUpToANul) {
    FakeDeviceInfo info = SampleInfo();
    info.name = "Z\xFCrich";
    info.description = std::string("Hall\0pad", 8);
    DeviceFinderReply reply;
    ASSERT_TRUE(DecodeDeviceFinderReply(fakedevice::ReplyDatagram(209, 1, info), reply));
    EXPECT_EQ(reply.name, "Z\xC3\xBCrich");
    EXPECT_EQ(reply.description, "Hall");
}

// Replies the decoder must drop, each built by the fake's codec.
TEST(DeviceFinderReply, Rejects) {
    const Bytes payload = fakedevice::ReplyPayload(SampleInfo());
    const auto withHeader = [&payload](Bytes header, size_t payloadBytes) {
        header.insert(header.end(), payload.begin(),
                      payload.begin() + static_cast<long>(payloadBytes));
        return fakedevice::Frame(header);
    };
    // Type, flags, counts, partner, name length 8, name, description length 6, description.
    const size_t full = payload.size();
    struct Case {
        const char* what;
        Bytes datagram;
    };
    const Case cases[] = {
        {"flag bit 3", withHeader(fakedevice::Header(209, 1, 0x08), full)},
        {"flag bit 6", withHeader(fakedevice::Header(209, 1, 0x40), full)},
        {"flag bit 7", withHeader(fakedevice::Header(209, 1, 0x80), full)},
        {"another command", withHeader(fakedevice::Header(210, 1), full)},
        {"command bits 8-9", withHeader(fakedevice::Header(209 + 256, 1), full)},
        {"header only", withHeader(fakedevice::Header(209, 1), 0)},
        {"no text lengths", withHeader(fakedevice::Header(209, 1), 10)},
        {"name cut short", withHeader(fakedevice::Header(209, 1), 15)},
        {"no description length", withHeader(fakedevice::Header(209, 1), 19)},
        {"description cut short", withHeader(fakedevice::Header(209, 1), full - 1)},
        {"not framed", Bytes(payload)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceFinderReply reply;
        reply.name = "untouched";
        EXPECT_FALSE(DecodeDeviceFinderReply(c.datagram, reply));
        EXPECT_EQ(reply.name, "untouched");
    }
}

TEST(DeviceFinderReply, EmptyTextsAreFine) {
    FakeDeviceInfo info = SampleInfo();
    info.name.clear();
    info.description.clear();
    DeviceFinderReply reply;
    ASSERT_TRUE(DecodeDeviceFinderReply(fakedevice::ReplyDatagram(209, 1, info), reply));
    EXPECT_EQ(reply.name, "");
    EXPECT_EQ(reply.description, "");
}

}  // namespace
}  // namespace corvane
