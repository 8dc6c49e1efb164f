// The fake controller's thread: the pseudo-terminal master, the UDP sockets and the timed
// queue of what it sends.
#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "fakes/FakeController.h"

namespace corvane::testing {
namespace {

using Clock = std::chrono::steady_clock;

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

bool SetNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

int BoundSocket(const std::string& address, uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return -1;
    }
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1 ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof(a)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

uint16_t BoundPort(int fd) {
    sockaddr_in a{};
    socklen_t length = sizeof(a);
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
        return 0;
    }
    return ntohs(a.sin_port);
}

}  // namespace

bool FakeController::StartSerial() {
    std::lock_guard lock(mutex_);
    if (master_ >= 0) {
        return true;
    }
    termios raw{};
    ::cfmakeraw(&raw);
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        master_ = slave_ = -1;
        return false;
    }
    // The fake keeps the slave open too, so the master never sees a hang-up before the
    // program opens its side.
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    SetNonBlocking(master_);
    slaveName_ = name;
    EnsureThread();
    Wake();
    return true;
}

std::string FakeController::SerialPortName() const {
    std::lock_guard lock(mutex_);
    return slaveName_;
}

void FakeController::HangUpSerial() {
    std::unique_lock lock(mutex_);
    if (!thread_.joinable()) {
        CloseSerial();
        return;
    }
    hangUpRequested_ = true;
    Wake();
    recorded_.wait(lock, [&] { return !hangUpRequested_; });
}

void FakeController::CloseSerial() {
    CloseFd(master_);
    CloseFd(slave_);
    serialIn_.clear();
    std::erase_if(outgoing_, [](const Outgoing& o) { return o.socket < 0; });
}

bool FakeController::StartUdp() {
    std::lock_guard lock(mutex_);
    if (nodes_[0].socket >= 0) {
        return true;
    }
    const std::string* addresses[2] = {&options_.mainAddress, &options_.partnerAddress};
    for (int attempt = 0; attempt < 50; ++attempt) {
        nodes_[0].socket = BoundSocket(*addresses[0], options_.udpPort);
        const uint16_t port = nodes_[0].socket >= 0 ? BoundPort(nodes_[0].socket) : 0;
        bool ok = port != 0;
        if (ok) {
            nodes_[1].socket = BoundSocket(*addresses[1], port);
            otherAddressSocket_ = BoundSocket(options_.otherAddress, port);
            for (size_t n = 0; n < 2; ++n) {
                nodes_[n].otherPortSocket = BoundSocket(*addresses[n], 0);
            }
            ok = nodes_[1].socket >= 0 && otherAddressSocket_ >= 0 &&
                 nodes_[0].otherPortSocket >= 0 && nodes_[1].otherPortSocket >= 0;
        }
        if (ok) {
            udpPort_ = port;
            EnsureThread();
            Wake();
            return true;
        }
        for (Node& n : nodes_) {
            CloseFd(n.socket);
            CloseFd(n.otherPortSocket);
        }
        CloseFd(otherAddressSocket_);
        if (options_.udpPort != 0) {
            break;  // a given port is not searched for
        }
    }
    return false;
}

uint16_t FakeController::UdpPort() const {
    std::lock_guard lock(mutex_);
    return udpPort_;
}

void FakeController::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        Wake();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    std::lock_guard lock(mutex_);
    CloseSerial();
    for (Node& n : nodes_) {
        CloseFd(n.socket);
        CloseFd(n.otherPortSocket);
    }
    CloseFd(otherAddressSocket_);
    CloseFd(wakeFd_);
    outgoing_.clear();
}

void FakeController::EnsureThread() {
    if (thread_.joinable() || stop_) {
        return;
    }
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    thread_ = std::thread([this] { Run(); });
}

void FakeController::Wake() const {
    if (wakeFd_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof(one));
    }
}

void FakeController::Schedule(int socket, const sockaddr_in& to, std::vector<uint8_t> bytes,
                              std::chrono::milliseconds delay) {
    traffic_.bytesOut += bytes.size();
    Outgoing o;
    o.due = Clock::now() + delay;
    o.socket = socket;
    o.to = to;
    o.bytes = std::move(bytes);
    const auto at = std::upper_bound(outgoing_.begin(), outgoing_.end(), o.due,
                                     [](auto due, const Outgoing& x) { return due < x.due; });
    outgoing_.insert(at, std::move(o));
}

// Sends what is due. Serial bytes go out in order: a part the terminal has no room for holds
// back every later serial part.
void FakeController::FlushDue() {
    const auto now = Clock::now();
    bool serialHeld = false;
    for (auto it = outgoing_.begin(); it != outgoing_.end();) {
        if (it->due > now) {
            break;
        }
        if (it->socket >= 0) {
            ::sendto(it->socket, it->bytes.data(), it->bytes.size(), MSG_NOSIGNAL,
                     reinterpret_cast<const sockaddr*>(&it->to), sizeof(it->to));
            it = outgoing_.erase(it);
            continue;
        }
        if (master_ < 0) {
            it = outgoing_.erase(it);
            continue;
        }
        while (!serialHeld && it->sent < it->bytes.size()) {
            const ssize_t n =
                ::write(master_, it->bytes.data() + it->sent, it->bytes.size() - it->sent);
            if (n > 0) {
                it->sent += static_cast<size_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                serialHeld = true;
            }
        }
        if (it->sent == it->bytes.size()) {
            it = outgoing_.erase(it);
        } else {
            ++it;
        }
    }
}

int FakeController::NextTimeoutMs() const {
    const auto now = Clock::now();
    for (const Outgoing& o : outgoing_) {
        if (o.due > now) {
            return static_cast<int>(
                std::chrono::ceil<std::chrono::milliseconds>(o.due - now).count());
        }
    }
    return -1;
}

void FakeController::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (hangUpRequested_) {
            CloseSerial();
            hangUpRequested_ = false;
            recorded_.notify_all();
        }
        FlushDue();
        const bool serialWaiting = std::any_of(
            outgoing_.begin(), outgoing_.end(),
            [now = Clock::now()](const Outgoing& o) { return o.socket < 0 && o.due <= now; });
        std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
        if (master_ >= 0) {
            fds.push_back({master_, static_cast<short>(POLLIN | (serialWaiting ? POLLOUT : 0)), 0});
        }
        for (const Node& n : nodes_) {
            if (n.socket >= 0) {
                fds.push_back({n.socket, POLLIN, 0});
            }
        }
        const int timeout = NextTimeoutMs();
        lock.unlock();
        ::poll(fds.data(), fds.size(), timeout);
        lock.lock();

        uint64_t wakes = 0;
        [[maybe_unused]] const ssize_t w = ::read(wakeFd_, &wakes, sizeof(wakes));
        if (master_ >= 0) {
            uint8_t buffer[4096];
            for (;;) {
                const ssize_t n = ::read(master_, buffer, sizeof(buffer));
                if (n <= 0) {
                    break;
                }
                OnSerialBytes(buffer, static_cast<size_t>(n));
            }
        }
        for (size_t node = 0; node < nodes_.size(); ++node) {
            if (nodes_[node].socket < 0) {
                continue;
            }
            for (;;) {
                std::vector<uint8_t> datagram(65536);
                sockaddr_in from{};
                socklen_t length = sizeof(from);
                const ssize_t n = ::recvfrom(nodes_[node].socket, datagram.data(), datagram.size(),
                                             0, reinterpret_cast<sockaddr*>(&from), &length);
                if (n < 0) {
                    break;
                }
                datagram.resize(static_cast<size_t>(n));
                OnDatagram(node, from, std::move(datagram));
            }
        }
    }
}

}  // namespace corvane::testing
