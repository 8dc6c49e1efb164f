#pragma once

#include <netinet/in.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/FakeControllerCodec.h"

namespace corvane::testing {

enum class FakeWire { kSerial, kUdp };
enum class FakeNode { kMain = 0, kPartner = 1 };

// One request as the fake received it.
struct FakeRequest {
    FakeWire wire = FakeWire::kSerial;
    FakeNode node = FakeNode::kMain;
    bool valid = false;  // the frame unwrapped and its check value held
    int code = -1;
    int number = -1;
    uint16_t session = 0xFFFF;  // network only
    std::vector<uint8_t> payload;
    std::vector<uint8_t> raw;  // the frame as it came
};

struct FakeReply {
    std::vector<uint8_t> payload;
    // Serial: XORed into the reply code (0x80 the error bit, 0x40 the other); network: the
    // status nibble (8 the error bit).
    uint8_t errorBits = 0;
};

// Answers one request of the message set; no value means no answer.
using FakeHandler = std::function<std::optional<FakeReply>(const FakeRequest&)>;

enum class FakeFault {
    kDrop,            // no answer
    kLate,            // the answer after the delay
    kGarble,          // a wrong CRC or checksum
    kWrongNumber,     // another message number
    kWrongSession,    // another session (network)
    kNullSession,     // session 0xFFFF (network)
    kStandbySession,  // session 0xFFFE (network)
    kSplit,           // the frame in two parts, the second after the delay
    kOverLong,        // a payload longer than any legitimate frame
    kOtherAddress,    // the answer from another address of the controller, on the same port
    kWrongPort,       // first a copy from another port of the same host, then the answer
    kRaw,             // the given bytes instead of the answer
};

struct FakeFaultPlan {
    explicit FakeFaultPlan(FakeFault f = FakeFault::kDrop, int n = 1, int onlyCode = -1)
        : fault(f), times(n), code(onlyCode) {}

    FakeFault fault = FakeFault::kDrop;
    int times = 1;  // how many answers it spoils
    int code = -1;  // only answers to this code; -1 any
    std::chrono::milliseconds delay{40};
    std::vector<uint8_t> raw;
    // For kRaw: builds the bytes from the request (its number, say) in place of raw.
    std::function<std::vector<uint8_t>(const FakeRequest&)> craft;
};

struct FakeControllerOptions {
    std::string mainAddress = "127.0.0.1";
    std::string partnerAddress = "127.0.0.2";
    std::string otherAddress = "127.0.0.3";  // where other-address answers come from
    uint16_t udpPort = 0;                    // 0: a free port, the same on every address
    // Keeps every request for Requests(); a long-running fake turns it off and counts only.
    bool recordRequests = true;
};

// What the fake has received and sent since it started.
struct FakeTraffic {
    size_t requests = 0;  // frames received, valid or not
    size_t bytesIn = 0;
    size_t bytesOut = 0;
};

// A trunking controller for tests: answers over a pseudo-terminal and over UDP on a main and
// a partner address, with sessions, a record of every request and injected faults. It runs
// its own thread; every call is safe from any thread.
class FakeController {
public:
    static constexpr int kHelloCode = 36;
    static constexpr int kGetPartnerCode = 61;
    static constexpr int kEstablishSessionCode = 77;
    static constexpr size_t kOverLongPayload = 20000;

    explicit FakeController(FakeControllerOptions options = {});
    ~FakeController();
    FakeController(const FakeController&) = delete;
    FakeController& operator=(const FakeController&) = delete;

    // Opens a pseudo-terminal pair and answers on its master; the slave's name is the port.
    bool StartSerial();
    std::string SerialPortName() const;
    // Closes the terminal: the line hangs up.
    void HangUpSerial();
    // Binds main, partner and the stranger address on one port.
    bool StartUdp();
    uint16_t UdpPort() const;
    void Stop();

    void SetHandler(int code, FakeHandler handler);
    void SetReply(int code, std::vector<uint8_t> payload, uint8_t errorBits = 0);

    // No answer from the node; the main stands for the serial line too.
    void SetSilent(FakeNode node, bool silent);
    void SetStandby(FakeNode node, bool standby);        // offers the standby session
    void SetRefuseSessions(FakeNode node, bool refuse);  // offers session 0xFFFF
    void SetPartnerAnswer(FakeNode node, std::array<uint8_t, 4> address);
    void DropSessions();  // as after a restart of the controller
    uint16_t Session(FakeNode node) const;

    void InjectFault(FakeFaultPlan plan);

    std::vector<FakeRequest> Requests() const;
    size_t RequestCount() const;
    // Waits until at least count requests have come, at most the limit.
    bool WaitForRequests(size_t count,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    void ClearRequests();
    FakeTraffic Traffic() const;

private:
    struct Node {
        int socket = -1;
        int otherPortSocket = -1;
        sockaddr_in address{};
        bool silent = false;
        bool standby = false;
        bool refuse = false;
        uint16_t session = 0xFFFF;
        std::array<uint8_t, 4> partnerAnswer{};
    };
    struct Outgoing {
        std::chrono::steady_clock::time_point due;
        int socket = -1;  // -1: the serial line
        sockaddr_in to{};
        std::vector<uint8_t> bytes;
        size_t sent = 0;
    };

    // Called on the fake's thread with the lock held.
    void OnSerialBytes(const uint8_t* bytes, size_t count);
    void OnDatagram(size_t node, const sockaddr_in& from, std::vector<uint8_t> bytes);
    std::optional<FakeReply> Answer(const FakeRequest& request, uint16_t& replySession);
    std::optional<FakeFaultPlan> TakeFault(int code);
    void SendSerial(const FakeRequest& request, const FakeReply& reply);
    void SendUdp(size_t node, const sockaddr_in& to, const FakeRequest& request,
                 const FakeReply& reply, uint16_t session);
    void Schedule(int socket, const sockaddr_in& to, std::vector<uint8_t> bytes,
                  std::chrono::milliseconds delay);
    void Record(FakeRequest request);

    // The thread and its wire work, in FakeControllerWire.cpp.
    void EnsureThread();
    void Run();
    void Wake() const;
    void FlushDue();
    int NextTimeoutMs() const;
    void CloseSerial();

    FakeControllerOptions options_;
    mutable std::mutex mutex_;
    mutable std::condition_variable recorded_;
    std::thread thread_;
    bool stop_ = false;
    bool hangUpRequested_ = false;
    int wakeFd_ = -1;

    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
    std::vector<uint8_t> serialIn_;

    uint16_t udpPort_ = 0;
    std::array<Node, 2> nodes_;
    int otherAddressSocket_ = -1;
    uint16_t nextSession_ = 0x1230;

    std::map<int, FakeHandler> handlers_;
    std::deque<FakeFaultPlan> faults_;
    std::vector<FakeRequest> requests_;
    FakeTraffic traffic_;
    std::vector<Outgoing> outgoing_;  // in order of due time
};

}  // namespace corvane::testing
