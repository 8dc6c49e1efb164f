#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "link/DeviceFinderReply.h"

namespace corvane {

// Where a device finder sends and listens. Tests give loopback addresses and free ports.
struct DeviceFinderOptions {
    uint16_t queryPort = devicefinder::kQueryPort;
    uint16_t replyPort = devicefinder::kReplyPort;  // 0: any free port
    uint32_t listenAddress = 0;                     // host order; 0 for every local address
    // The addresses a broadcast query goes to (host order).
    std::function<std::vector<uint32_t>()> broadcastAddresses;
};

// Asks the devices on the local network who they are and reads their answers, one datagram
// at a time. Not thread-safe: one thread drives it, waking on Handle() becoming readable.
class CDeviceFinderSocket {
public:
    static constexpr uint32_t kBroadcast = 0xFFFFFFFFu;

    // Broadcasts go to LocalBroadcastAddresses() unless the options say otherwise.
    explicit CDeviceFinderSocket(DeviceFinderOptions options = {});
    ~CDeviceFinderSocket();
    CDeviceFinderSocket(const CDeviceFinderSocket&) = delete;
    CDeviceFinderSocket& operator=(const CDeviceFinderSocket&) = delete;

    // False when open already or when the socket cannot be made, allowed to broadcast or
    // (with listen) bound to the reply port.
    bool Open(bool listen);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // The descriptor to watch for reading; -1 while closed.
    int Handle() const { return fd_; }
    // The local port the socket is bound to (0 while closed).
    uint16_t LocalPort() const;

    // Sends a query for the command to the address (host order), or with kBroadcast to every
    // broadcast address; the number of datagrams sent.
    int SendQuery(int command, uint32_t address);
    // Reads one waiting datagram without blocking; true when it decoded into the reply.
    bool Receive(DeviceFinderReply& reply);

    // The sequence number of the latest query (11 bits).
    int Sequence() const { return sequence_; }

private:
    bool SendTo(const std::vector<uint8_t>& wire, uint32_t address);

    DeviceFinderOptions options_;
    int fd_ = -1;
    int sequence_ = 0;
    std::vector<uint8_t> buffer_;
};

}  // namespace corvane
