#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace corvane::testing {

// What a fake device says about itself.
struct FakeDeviceInfo {
    int deviceType = 7;
    bool active = true;
    uint16_t connections1 = 0;
    uint16_t connections2 = 0;
    uint32_t partnerAddress = 0;  // host order
    std::string name = "Fake";    // single-byte characters, up to 255
    std::string description;
    // Appended after the description when set: frame index, frame count.
    std::optional<std::pair<uint8_t, uint8_t>> frame;
};

// One query as the fake decoded it.
struct FakeDeviceQuery {
    bool valid = false;  // framed, long enough, checksum held
    uint16_t session = 0;
    int command = -1;
    int sequence = -1;
    uint8_t flagBits = 0;  // bits 3, 6 and 7 of header byte 3
    size_t payloadSize = 0;
    uint32_t fromAddress = 0;  // host order
    uint16_t fromPort = 0;
};

// The discovery codec of the fake, of its own: the frame and the reply payload.
namespace fakedevice {
std::vector<uint8_t> Frame(const std::vector<uint8_t>& bodyWithoutChecksum);
// False unless framed and escaped as devices send it, with a checksum that holds.
bool Unframe(const std::vector<uint8_t>& datagram, std::vector<uint8_t>& bodyWithoutChecksum);
std::vector<uint8_t> Header(int command, int sequence, uint8_t flagBits = 0);
std::vector<uint8_t> ReplyPayload(const FakeDeviceInfo& info);
std::vector<uint8_t> ReplyDatagram(int command, int sequence, const FakeDeviceInfo& info);
}  // namespace fakedevice

// A device on a loopback address that answers discovery queries: it listens on a UDP port
// of its own and answers each query for its command to the port the query came from (or to
// the given reply port). Serve() runs it on a thread of its own until Stop() or destruction.
class FakeDevice {
public:
    // address: host order, inside 127.0.0.0/8; port 0 takes any free one.
    FakeDevice(uint32_t address, FakeDeviceInfo info, int answersCommand = 209);
    ~FakeDevice();
    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    uint32_t Address() const { return address_; }
    uint16_t Port() const { return port_; }
    // 0 answers to the query's own port.
    void SetReplyPort(uint16_t port) { replyPort_ = port; }
    void SetInfo(const FakeDeviceInfo& info);

    // Waits up to the bound for one query and answers it; the decoded query, if one came.
    std::optional<FakeDeviceQuery> ServeOne(int boundMs = 2000);
    void Serve();
    void Stop();
    // Sends bytes as they are from the device's socket.
    bool SendRaw(const std::vector<uint8_t>& datagram, uint32_t toAddress, uint16_t toPort);

    std::vector<FakeDeviceQuery> Queries() const;

private:
    std::optional<FakeDeviceQuery> ReadAndAnswer(int boundMs);

    uint32_t address_;
    int answersCommand_;
    int fd_ = -1;
    uint16_t port_ = 0;
    std::atomic<uint16_t> replyPort_{0};
    mutable std::mutex mutex_;  // info_ and queries_
    FakeDeviceInfo info_;
    std::vector<FakeDeviceQuery> queries_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Host-order loopback address 127.0.0.n.
constexpr uint32_t Loopback(uint8_t n) {
    return 0x7F000000u | n;
}

}  // namespace corvane::testing
