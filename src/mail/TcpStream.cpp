#include "mail/TcpStream.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace corvane {
namespace {

// The longest single wait, so that a cancel is seen soon.
constexpr std::chrono::milliseconds kWaitSlice{100};

struct AddrInfoDeleter {
    void operator()(addrinfo* info) const { freeaddrinfo(info); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoDeleter>;

AddrInfoList Resolve(const std::string& host, int port, int family) {
    addrinfo hints{};
    hints.ai_family = family;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &list) != 0) {
        return nullptr;
    }
    return AddrInfoList(list);
}

}  // namespace

CTcpStream::CTcpStream(const IClock& clock, const std::atomic<bool>* cancel)
    : clock_(clock), cancel_(cancel) {}

CTcpStream::~CTcpStream() {
    Close();
}

void CTcpStream::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

SMTPError CTcpStream::Wait(short events, Milliseconds timeout) {
    const SteadyTime deadline = clock_.Steady() + timeout;
    while (true) {
        if (cancel_ != nullptr && cancel_->load()) {
            return SMTPError::kCancelled;
        }
        const auto left = std::chrono::duration_cast<Milliseconds>(deadline - clock_.Steady());
        if (left <= Milliseconds::zero()) {
            return SMTPError::kTimedOut;
        }
        pollfd p{fd_, events, 0};
        const int n = ::poll(&p, 1, static_cast<int>(std::min(left, kWaitSlice).count()));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SMTPError::kSocketFailure;
        }
        if (n > 0) {
            // Errors and hang-ups show in the read or write that follows.
            return SMTPError::kNone;
        }
    }
}

SMTPError CTcpStream::ConnectTo(const void* address, unsigned length,
                                const std::string& bindAddress, Milliseconds timeout) {
    const auto* a = static_cast<const sockaddr*>(address);
    fd_ = ::socket(a->sa_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0) {
        return SMTPError::kSocketFailure;
    }
    if (!bindAddress.empty()) {
        AddrInfoList local = Resolve(bindAddress, 0, a->sa_family);
        if (!local) {
            return SMTPError::kHostNotFound;
        }
        if (::bind(fd_, local->ai_addr, local->ai_addrlen) != 0) {
            return SMTPError::kSocketFailure;
        }
    }
    if (::connect(fd_, a, length) == 0) {
        return SMTPError::kNone;
    }
    if (errno != EINPROGRESS) {
        return errno == ECONNREFUSED ? SMTPError::kConnectionRefused : SMTPError::kSocketFailure;
    }
    if (const SMTPError waited = Wait(POLLOUT, timeout); waited != SMTPError::kNone) {
        return waited;
    }
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
        return SMTPError::kSocketFailure;
    }
    if (error != 0) {
        return error == ECONNREFUSED ? SMTPError::kConnectionRefused : SMTPError::kSocketFailure;
    }
    return SMTPError::kNone;
}

SMTPError CTcpStream::Connect(const std::string& host, int port, const std::string& bindAddress,
                              Milliseconds timeout) {
    Close();
    if (host.empty()) {
        return SMTPError::kHostNotFound;
    }
    if (port <= 0 || port > 65535) {
        return SMTPError::kInvalidParameter;
    }
    AddrInfoList list = Resolve(host, port, AF_UNSPEC);
    if (!list) {
        return SMTPError::kHostNotFound;
    }
    // Each address of the name in turn; the last failure is the answer.
    SMTPError result = SMTPError::kHostNotFound;
    for (const addrinfo* a = list.get(); a != nullptr; a = a->ai_next) {
        result = ConnectTo(a->ai_addr, a->ai_addrlen, bindAddress, timeout);
        if (result == SMTPError::kNone || result == SMTPError::kCancelled) {
            break;
        }
        Close();
    }
    if (result != SMTPError::kNone) {
        Close();
    }
    return result;
}

SMTPError CTcpStream::SendAll(std::string_view bytes, Milliseconds timeout) {
    if (fd_ < 0) {
        return SMTPError::kNotConnected;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (const SMTPError waited = Wait(POLLOUT, timeout); waited != SMTPError::kNone) {
                return waited;
            }
            continue;
        }
        return n < 0 && errno != EPIPE && errno != ECONNRESET ? SMTPError::kSocketFailure
                                                              : SMTPError::kConnectionClosed;
    }
    return SMTPError::kNone;
}

SMTPError CTcpStream::Receive(char* buffer, size_t room, size_t& received, Milliseconds timeout) {
    received = 0;
    if (fd_ < 0) {
        return SMTPError::kNotConnected;
    }
    while (true) {
        if (const SMTPError waited = Wait(POLLIN, timeout); waited != SMTPError::kNone) {
            return waited;
        }
        const ssize_t n = ::recv(fd_, buffer, room, 0);
        if (n > 0) {
            received = static_cast<size_t>(n);
            return SMTPError::kNone;
        }
        if (n == 0) {
            return SMTPError::kConnectionClosed;
        }
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
            continue;
        }
        return errno == ECONNRESET ? SMTPError::kConnectionClosed : SMTPError::kSocketFailure;
    }
}

}  // namespace corvane
