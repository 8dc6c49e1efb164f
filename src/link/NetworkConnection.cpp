#include "link/NetworkConnection.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "link/NetworkFrame.h"
#include "platform/Format.h"

namespace corvane {

CNetworkConnection::CNetworkConnection(IConnectionOwner& owner, const CDiagLogSource& log,
                                       NetworkLinkSettings settings, const IClock& clock)
    : CConnection(owner, log), settings_(settings), clock_(clock) {}

CNetworkConnection::~CNetworkConnection() {
    CloseSocket();
}

void CNetworkConnection::CloseSocket() {
    if (socket_ >= 0) {
        ::close(socket_);
        socket_ = -1;
    }
}

sockaddr_in CNetworkConnection::MakeAddress(uint32_t address) const {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(settings_.port);
    a.sin_addr.s_addr = address;
    return a;
}

bool CNetworkConnection::Open(const std::string& mainAddress, const std::string& partnerAddress) {
    CloseSocket();
    addresses_.clear();
    current_ = 2;
    socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0) {
        Log().Printf(2, "Could not create the socket, error %d!", errno);
        return false;
    }
    for (const std::string* text : {&mainAddress, &partnerAddress}) {
        in_addr parsed{};
        if (text->empty() || ::inet_pton(AF_INET, text->c_str(), &parsed) != 1) {
            continue;
        }
        if (parsed.s_addr != htonl(INADDR_ANY) && parsed.s_addr != htonl(INADDR_NONE)) {
            addresses_.push_back(MakeAddress(parsed.s_addr));
        }
    }
    return !addresses_.empty();
}

bool CNetworkConnection::HasSession() const {
    return session_ != QuillexNetworkHeader::kNoSession;
}

std::vector<std::string> CNetworkConnection::Addresses() const {
    std::vector<std::string> texts;
    for (const sockaddr_in& a : addresses_) {
        const uint32_t host = ntohl(a.sin_addr.s_addr);
        texts.push_back(StrFormat("%u.%u.%u.%u", host >> 24, (host >> 16) & 0xFF,
                                  (host >> 8) & 0xFF, host & 0xFF));
    }
    return texts;
}

void CNetworkConnection::BeginMessage(int code) {
    number_ = (number_ + 1) & 0xFFF;
    code_ = code;
    transmit_.clear();
    QuillexNetworkHeader header;
    header.session = session_;
    header.code = static_cast<uint8_t>(code);
    header.number = number_;
    header.AppendTo(transmit_);
    toleratedMask_ = 0x0FFF;
}

void CNetworkConnection::EndMessage(int flags) {
    transmit_.push_back(NetworkFrameChecksum(transmit_));
    toleratedMask_ = (flags & 1) != 0 ? 0x8000 : 0x0000;
    status_ = 0x0FFF;
}

const uint8_t* CNetworkConnection::GetReplyData() const {
    return receive_.size() > QuillexNetworkHeader::kSize
               ? receive_.data() + QuillexNetworkHeader::kSize
               : nullptr;
}

int CNetworkConnection::GetReplyLength() const {
    return receive_.size() > QuillexNetworkHeader::kSize
               ? static_cast<int>(receive_.size() - QuillexNetworkHeader::kSize - 1)
               : 0;
}

bool CNetworkConnection::SendFrame(const std::vector<uint8_t>& frame) {
    if (socket_ < 0 || current_ >= addresses_.size()) {
        return false;
    }
    const sockaddr_in& to = addresses_[current_];
    const ssize_t sent = ::sendto(socket_, frame.data(), frame.size(), MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&to), sizeof(to));
    return sent >= 0 && static_cast<size_t>(sent) == frame.size();
}

// Datagrams that are not the awaited reply are skipped; the wait for the reply goes on to the
// end of the reply window, so a stale or foreign datagram does not cut it short.
bool CNetworkConnection::ReceiveReply() {
    if (socket_ < 0) {
        return false;
    }
    datagram_.resize(QuillexNetworkFrame::kMaxFrame + 1);  // one more: an over-long one shows
    const SteadyTime deadline = clock_.Steady() + settings_.replyWait;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock_.Steady());
        pollfd p{socket_, POLLIN, 0};
        const int n = ::poll(&p, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            Log().Printf(2, "Error %d Occurred While Waiting!", errno);
            return false;
        }
        if (n == 0) {
            Log().Printf(2, "Timeout Occurred While Waiting!");
            return false;
        }
        if ((p.revents & POLLIN) == 0) {
            Log().Printf(2, "Unexpected Result Occurred While Waiting!");
            return false;
        }
        sockaddr_in from{};
        socklen_t fromLength = sizeof(from);
        const ssize_t got = ::recvfrom(socket_, datagram_.data(), datagram_.size(), MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (got < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            Log().Printf(2, "Error %d Occurred While Reading!", errno);
            return false;
        }
        if (got == 0) {
            Log().Printf(2, "Disconnect Occurred While Reading!");
            return false;
        }
        Log().Printf(3, "Process Received Reply");
        if (const char* failure = CheckDatagram(from, fromLength, static_cast<size_t>(got))) {
            Log().Printf(2, "%s", failure);
            continue;
        }
        status_ = static_cast<uint16_t>(QuillexNetworkHeader::Parse(receive_).status << 12);
        return true;
    }
}

const char* CNetworkConnection::CheckDatagram(const sockaddr_in& from, socklen_t fromLength,
                                              size_t length) {
    // Only the port is compared: a controller may answer from another address of its own.
    const sockaddr_in& to = addresses_[current_];
    if (fromLength != sizeof(sockaddr_in) || from.sin_family != AF_INET ||
        from.sin_port != to.sin_port) {
        return "Wrong Reply Source!";
    }
    const std::span<const uint8_t> bytes(datagram_.data(), length);
    if (QuillexNetworkFrame::Decode(bytes, receive_) != NetworkFrameError::kNone) {
        return "Wrong Reply Format!";
    }
    if (NetworkFrameChecksum(receive_) != 0) {
        return "Wrong Reply Checksum!";
    }
    const QuillexNetworkHeader header = QuillexNetworkHeader::Parse(receive_);
    if (header.code != static_cast<uint8_t>(code_)) {
        return "Wrong Reply Type!";
    }
    if (header.number != number_) {
        return "Wrong Reply Number!";
    }
    return nullptr;
}

void CNetworkConnection::Transact(const ReplyHandler& handler) {
    std::vector<uint8_t> frame;
    if (!QuillexNetworkFrame::Encode(transmit_, frame)) {
        Log().Printf(2, "Message Too Long: %zu bytes!", transmit_.size());
        DieLink();
    }
    for (int failures = 0;;) {
        const char* failure = nullptr;
        CheckAbort();
        if (!SendFrame(frame)) {
            failure = "Transmit Error Occurred!";
        } else {
            CheckAbort();
            if (!ReceiveReply()) {
                failure = "Receive Error Occurred!";
            } else {
                const uint16_t session = QuillexNetworkHeader::Parse(receive_).session;
                if (session == QuillexNetworkHeader::kNoSession) {
                    Log().Printf(2, "Null Reply Session!");
                    DieLink();
                }
                if (session == QuillexNetworkHeader::kStandbySession) {
                    Log().Printf(2, "Standby Reply Session!");
                    DieLink();
                }
                if (session != session_) {
                    failure = "Wrong Reply Session!";
                } else if ((status_ & ~toleratedMask_) != 0) {
                    failure = "Reply Errors!";
                } else if (!handler || !handler()) {
                    failure = "Reply Invalid!";
                } else {
                    Log().Printf(3, "Reply Valid");
                    MarkCommunicating();
                    return;
                }
            }
        }
        Log().Printf(2, "%s", failure);
        if (++failures >= kMaxTransactFailures) {
            DieLink();
        }
    }
}

void CNetworkConnection::Forget() {
    status_ = 0x0FFF;
    receive_.clear();
}

void CNetworkConnection::DieLink() {
    session_ = QuillexNetworkHeader::kNoSession;
    Forget();
    Die();
}

}  // namespace corvane
