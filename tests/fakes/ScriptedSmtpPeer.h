#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace corvane::testing {

// A server on 127.0.0.1 that plays a fixed script to one client, for the replies a real
// server does not give: several lines in one packet, silence, hang-ups, floods, nonsense.
// Every wait is bounded, so a client that goes astray ends the script instead of hanging it.
class ScriptedSmtpPeer {
public:
    struct Step {
        enum Kind { kSend, kReadLine, kReadData, kHangUp, kReset } kind;
        std::string bytes;
    };
    static Step Send(std::string bytes) { return {Step::kSend, std::move(bytes)}; }
    static Step ReadLine() { return {Step::kReadLine, ""}; }
    // Reads the lines of a message up to its closing ".".
    static Step ReadData() { return {Step::kReadData, ""}; }
    static Step HangUp() { return {Step::kHangUp, ""}; }
    // Closes with a TCP reset, so that the client's next write meets a dead socket.
    static Step Reset() { return {Step::kReset, ""}; }

    explicit ScriptedSmtpPeer(std::vector<Step> steps) : steps_(std::move(steps)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&a), size);
        ::listen(listener_, 1);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Play(); });
    }
    ~ScriptedSmtpPeer() {
        Join();
        ::close(listener_);
    }

    int Port() const { return port_; }
    // Waits for the script to end.
    void Join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    // The lines the client sent, without their CR LF.
    std::vector<std::string> Lines() {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    static constexpr int kWaitMs = 10000;

    bool WaitReadable(int fd) {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, kWaitMs) > 0;
    }

    bool ReadOneLine(int fd, std::string& pending) {
        while (pending.find("\r\n") == std::string::npos) {
            char buffer[4096];
            if (!WaitReadable(fd)) {
                return false;
            }
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                return false;
            }
            pending.append(buffer, static_cast<size_t>(n));
        }
        const size_t end = pending.find("\r\n");
        std::lock_guard lock(mutex_);
        lines_.push_back(pending.substr(0, end));
        pending.erase(0, end + 2);
        return true;
    }

    void Play() {
        if (!WaitReadable(listener_)) {
            return;
        }
        int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            return;
        }
        std::string pending;
        for (const Step& step : steps_) {
            if (step.kind == Step::kSend) {
                ::send(fd, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL);
            } else if (step.kind == Step::kReadLine) {
                if (!ReadOneLine(fd, pending)) {
                    break;
                }
            } else if (step.kind == Step::kReadData) {
                bool ok = true;
                while ((ok = ReadOneLine(fd, pending)) && Lines().back() != ".") {
                }
                if (!ok) {
                    break;
                }
            } else {
                if (step.kind == Step::kReset) {
                    linger l{1, 0};
                    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
                }
                ::close(fd);
                return;
            }
        }
        // Past the script: keep what the client still sends until it closes.
        while (ReadOneLine(fd, pending)) {
        }
        ::close(fd);
    }

    std::vector<Step> steps_;
    int listener_ = -1;
    int port_ = 0;
    std::mutex mutex_;
    std::vector<std::string> lines_;
    std::thread thread_;
};

// A loopback port on which nothing listens: bound once to find it free, then let go.
inline int ClosedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    ::close(fd);
    return ntohs(a.sin_port);
}

}  // namespace corvane::testing
