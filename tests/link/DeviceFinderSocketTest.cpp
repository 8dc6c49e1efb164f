#include <gtest/gtest.h>

#include <poll.h>

#include <vector>

#include "fakes/FakeDevice.h"
#include "link/DeviceFinderBroadcast.h"
#include "link/DeviceFinderSocket.h"

namespace corvane {
namespace {

using testing::FakeDevice;
using testing::FakeDeviceInfo;
using testing::Loopback;

// Waits, bounded, for a datagram on the finder's socket.
bool Readable(const CDeviceFinderSocket& finder, int boundMs = 2000) {
    pollfd p{finder.Handle(), POLLIN, 0};
    return poll(&p, 1, boundMs) == 1;
}

// A finder on a free loopback port whose queries go to the fake's port, and whose
// broadcasts go to the given loopback addresses.
DeviceFinderOptions LoopbackOptions(uint16_t devicePort, std::vector<uint32_t> broadcasts = {}) {
    DeviceFinderOptions options;
    options.queryPort = devicePort;
    options.replyPort = 0;
    options.listenAddress = Loopback(1);
    options.broadcastAddresses = [broadcasts] { return broadcasts; };
    return options;
}

TEST(DeviceFinderBroadcast, AddressPerPrefix) {
    struct Case {
        uint32_t address;
        int prefix;
        uint32_t broadcast;
    };
    const Case cases[] = {
        {0xC0A80A07, 24, 0xC0A80AFF},  // 192.168.10.7/24
        {0x0A010203, 8, 0x0AFFFFFF},  {0xAC100505, 20, 0xAC100FFF}, {0xC0A80A07, 32, 0xC0A80A07},
        {0xC0A80A07, 0, 0xFFFFFFFF},  {0xC0A80A07, 40, 0xC0A80A07}, {0xC0A80A07, -1, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        EXPECT_EQ(BroadcastAddressFor(c.address, c.prefix), c.broadcast);
    }
}

TEST(DeviceFinderBroadcast, LocalAddressesLeaveOutTheLoopback) {
    for (const uint32_t address : LocalBroadcastAddresses()) {
        EXPECT_NE(address >> 24, 127u);
    }
}

TEST(DeviceFinderSocket, OpenOnceAndClose) {
    CDeviceFinderSocket finder(LoopbackOptions(1));
    EXPECT_FALSE(finder.IsOpen());
    ASSERT_TRUE(finder.Open(true));
    EXPECT_NE(finder.LocalPort(), 0);
    EXPECT_FALSE(finder.Open(true));
    finder.Close();
    EXPECT_FALSE(finder.IsOpen());
    EXPECT_EQ(finder.Handle(), -1);
    EXPECT_TRUE(finder.Open(false));
}

TEST(DeviceFinderSocket, ABusyReplyPortFailsToOpen) {
    CDeviceFinderSocket first(LoopbackOptions(1));
    ASSERT_TRUE(first.Open(true));
    DeviceFinderOptions options = LoopbackOptions(1);
    options.replyPort = first.LocalPort();
    CDeviceFinderSocket second(options);
    EXPECT_FALSE(second.Open(true));
    EXPECT_FALSE(second.IsOpen());
}

TEST(DeviceFinderSocket, ClosedSocketSendsAndReadsNothing) {
    CDeviceFinderSocket finder(LoopbackOptions(1, {Loopback(2)}));
    DeviceFinderReply reply;
    EXPECT_EQ(finder.SendQuery(209, Loopback(2)), 0);
    EXPECT_FALSE(finder.Receive(reply));
}

TEST(DeviceFinderSocket, AQueryAndItsAnswerOnLoopback) {
    FakeDeviceInfo info;
    info.deviceType = 7;
    info.name = "QX Main";
    info.partnerAddress = 0x7F000003;
    info.connections1 = 8;
    info.connections2 = 5;
    FakeDevice device(Loopback(2), info, 209);
    ASSERT_TRUE(device.IsOpen());
    CDeviceFinderSocket finder(LoopbackOptions(device.Port()));
    ASSERT_TRUE(finder.Open(true));

    ASSERT_EQ(finder.SendQuery(209, Loopback(2)), 1);
    const auto query = device.ServeOne();
    ASSERT_TRUE(query.has_value());
    EXPECT_TRUE(query->valid);
    EXPECT_EQ(query->session, 0xFFFF);
    EXPECT_EQ(query->command, 209);
    EXPECT_EQ(query->sequence, 1);
    EXPECT_EQ(query->flagBits, 0);
    EXPECT_EQ(query->payloadSize, 0u);
    EXPECT_EQ(query->fromPort, finder.LocalPort());

    ASSERT_TRUE(Readable(finder));
    DeviceFinderReply reply;
    ASSERT_TRUE(finder.Receive(reply));
    EXPECT_EQ(reply.sourceAddress, Loopback(2));
    EXPECT_EQ(reply.name, "QX Main");
    EXPECT_EQ(reply.partnerAddress, 0x7F000003u);
    EXPECT_EQ(reply.connections1, 8);
    EXPECT_EQ(reply.connections2, 5);
    EXPECT_FALSE(finder.Receive(reply));  // nothing more waiting
}

TEST(DeviceFinderSocket, ABroadcastGoesToEveryAddressTheSourceGives) {
    FakeDevice first(Loopback(2), FakeDeviceInfo{}, 222);
    FakeDevice second(Loopback(3), FakeDeviceInfo{}, 222);
    ASSERT_TRUE(first.IsOpen() && second.IsOpen());
    // Both fakes share no port, so each broadcast address is tried on the first's port;
    // the second's own port gets a direct query.
    CDeviceFinderSocket finder(LoopbackOptions(first.Port(), {Loopback(2), Loopback(3)}));
    ASSERT_TRUE(finder.Open(true));
    EXPECT_EQ(finder.SendQuery(222, CDeviceFinderSocket::kBroadcast), 2);
    const auto query = first.ServeOne();
    ASSERT_TRUE(query.has_value());
    EXPECT_EQ(query->command, 222);
    ASSERT_TRUE(Readable(finder));
    DeviceFinderReply reply;
    ASSERT_TRUE(finder.Receive(reply));
    EXPECT_EQ(reply.sourceAddress, Loopback(2));
    EXPECT_EQ(reply.command, 222);
}

TEST(DeviceFinderSocket, NoBroadcastAddressesMeansNothingSent) {
    FakeDevice device(Loopback(2), FakeDeviceInfo{});
    CDeviceFinderSocket finder(LoopbackOptions(device.Port(), {}));
    ASSERT_TRUE(finder.Open(true));
    EXPECT_EQ(finder.SendQuery(209, CDeviceFinderSocket::kBroadcast), 0);
    EXPECT_FALSE(device.ServeOne(50).has_value());
}

TEST(DeviceFinderSocket, TheSequenceAdvancesAndWrapsAtElevenBits) {
    CDeviceFinderSocket finder(LoopbackOptions(1, {}));
    ASSERT_TRUE(finder.Open(false));
    EXPECT_EQ(finder.Sequence(), 0);
    finder.SendQuery(209, CDeviceFinderSocket::kBroadcast);
    EXPECT_EQ(finder.Sequence(), 1);
    for (int i = 0; i < 0x7FF; ++i) {
        finder.SendQuery(209, CDeviceFinderSocket::kBroadcast);
    }
    EXPECT_EQ(finder.Sequence(), 0);
}

TEST(DeviceFinderSocket, GarbageAndOverlongDatagramsAreDropped) {
    FakeDevice device(Loopback(2), FakeDeviceInfo{});
    CDeviceFinderSocket finder(LoopbackOptions(device.Port()));
    ASSERT_TRUE(finder.Open(true));
    const std::vector<std::vector<uint8_t>> datagrams = {
        {0x01, 0x02, 0x03},
        testing::fakedevice::ReplyDatagram(210, 1, FakeDeviceInfo{}),
        std::vector<uint8_t>(5000, 0x41),
    };
    for (const auto& datagram : datagrams) {
        ASSERT_TRUE(device.SendRaw(datagram, Loopback(1), finder.LocalPort()));
        ASSERT_TRUE(Readable(finder));
        DeviceFinderReply reply;
        EXPECT_FALSE(finder.Receive(reply));
    }
    // An overlong datagram that still ends in a valid reply is dropped, not read in part.
    std::vector<uint8_t> longReply(4100, 0x41);
    const auto good = testing::fakedevice::ReplyDatagram(209, 1, FakeDeviceInfo{});
    std::copy(good.begin(), good.end(), longReply.begin());
    ASSERT_TRUE(device.SendRaw(longReply, Loopback(1), finder.LocalPort()));
    ASSERT_TRUE(Readable(finder));
    DeviceFinderReply reply;
    EXPECT_FALSE(finder.Receive(reply));
}

}  // namespace
}  // namespace corvane
