#include "link/DeviceFinderSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "link/DeviceFinderBroadcast.h"
#include "link/DeviceFinderFrame.h"

namespace corvane {

namespace {

sockaddr_in SocketAddress(uint32_t address, uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(address);
    return sa;
}

}  // namespace

CDeviceFinderSocket::CDeviceFinderSocket(DeviceFinderOptions options)
    : options_(std::move(options)), buffer_(DeviceFinderFrame::kWireSize) {
    if (!options_.broadcastAddresses) {
        options_.broadcastAddresses = LocalBroadcastAddresses;
    }
}

CDeviceFinderSocket::~CDeviceFinderSocket() {
    Close();
}

bool CDeviceFinderSocket::Open(bool listen) {
    if (fd_ >= 0) {
        return false;
    }
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const int on = 1;
    if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        ::close(fd);
        return false;
    }
    if (listen) {
        const sockaddr_in local = SocketAddress(options_.listenAddress, options_.replyPort);
        if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
            ::close(fd);
            return false;
        }
    }
    fd_ = fd;
    return true;
}

void CDeviceFinderSocket::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

uint16_t CDeviceFinderSocket::LocalPort() const {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (fd_ < 0 || getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

bool CDeviceFinderSocket::SendTo(const std::vector<uint8_t>& wire, uint32_t address) {
    const sockaddr_in to = SocketAddress(address, options_.queryPort);
    return sendto(fd_, wire.data(), wire.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                  sizeof to) == static_cast<ssize_t>(wire.size());
}

int CDeviceFinderSocket::SendQuery(int command, uint32_t address) {
    if (fd_ < 0) {
        return 0;
    }
    sequence_ = (sequence_ + 1) & 0x7FF;
    const std::vector<uint8_t> wire =
        DeviceFinderFrame::Encode(DeviceFinderFrame::QueryBody(command, sequence_));
    if (address != kBroadcast) {
        return SendTo(wire, address) ? 1 : 0;
    }
    int sent = 0;
    for (const uint32_t broadcast : options_.broadcastAddresses()) {
        sent += SendTo(wire, broadcast) ? 1 : 0;
    }
    return sent;
}

bool CDeviceFinderSocket::Receive(DeviceFinderReply& reply) {
    if (fd_ < 0) {
        return false;
    }
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = recvfrom(fd_, buffer_.data(), buffer_.size(), MSG_TRUNC,
                               reinterpret_cast<sockaddr*>(&from), &fromLength);
    // A datagram longer than the buffer was cut short: no device sends one.
    if (n <= 0 || static_cast<size_t>(n) > buffer_.size() || from.sin_family != AF_INET) {
        return false;
    }
    DeviceFinderReply decoded;
    decoded.sourceAddress = ntohl(from.sin_addr.s_addr);
    if (!DecodeDeviceFinderReply(std::span(buffer_.data(), static_cast<size_t>(n)), decoded)) {
        return false;
    }
    reply = std::move(decoded);
    return true;
}

}  // namespace corvane
