#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "mail/SMTPError.h"
#include "platform/Clock.h"

namespace corvane {

// A TCP client socket whose every wait is bounded by a time-out and ends early when the
// cancel flag is set. Writes never raise SIGPIPE: a peer that hung up is an error value.
class CTcpStream {
public:
    using Milliseconds = std::chrono::milliseconds;

    CTcpStream(const IClock& clock, const std::atomic<bool>* cancel);
    ~CTcpStream();
    CTcpStream(const CTcpStream&) = delete;
    CTcpStream& operator=(const CTcpStream&) = delete;

    // Resolves the host (dotted address or name) and connects, bound to bindAddress first
    // when it is not empty.
    SMTPError Connect(const std::string& host, int port, const std::string& bindAddress,
                      Milliseconds timeout);
    SMTPError SendAll(std::string_view bytes, Milliseconds timeout);
    // Waits up to the time-out for bytes and reads at most room of them into buffer.
    SMTPError Receive(char* buffer, size_t room, size_t& received, Milliseconds timeout);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

private:
    // Waits for the events on the socket; kNone when they are there.
    SMTPError Wait(short events, Milliseconds timeout);
    SMTPError ConnectTo(const void* address, unsigned length, const std::string& bindAddress,
                        Milliseconds timeout);

    const IClock& clock_;
    const std::atomic<bool>* cancel_;
    int fd_ = -1;
};

}  // namespace corvane
