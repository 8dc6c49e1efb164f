#include "fakes/FakeDevice.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace corvane::testing {

namespace fakedevice {

namespace {
constexpr uint8_t kBegin = 0xD5;
constexpr uint8_t kEsc = 0xDA;
constexpr uint8_t kFinish = 0xDD;
constexpr std::array<uint8_t, 7> kNeedsEscape = {0x1A, 0x9E, 0xA5, 0xAD, 0xD5, 0xDA, 0xDD};

bool NeedsEscape(uint8_t b) {
    for (const uint8_t e : kNeedsEscape) {
        if (b == e) {
            return true;
        }
    }
    return false;
}
}  // namespace

std::vector<uint8_t> Frame(const std::vector<uint8_t>& body) {
    std::vector<uint8_t> out{kBegin};
    uint8_t sum = 0;
    for (const uint8_t b : body) {
        sum = static_cast<uint8_t>(sum + b);
    }
    std::vector<uint8_t> all = body;
    all.push_back(static_cast<uint8_t>(0x100 - sum));
    for (const uint8_t b : all) {
        if (NeedsEscape(b)) {
            out.push_back(kEsc);
        }
        out.push_back(b);
    }
    out.push_back(kFinish);
    return out;
}

bool Unframe(const std::vector<uint8_t>& datagram, std::vector<uint8_t>& body) {
    body.clear();
    if (datagram.size() < 3 || datagram.front() != kBegin || datagram.back() != kFinish) {
        return false;
    }
    for (size_t i = 1; i + 1 < datagram.size(); ++i) {
        uint8_t b = datagram[i];
        if (b == kEsc) {
            if (i + 2 >= datagram.size() || !NeedsEscape(datagram[i + 1])) {
                return false;
            }
            b = datagram[++i];
        } else if (NeedsEscape(b)) {
            return false;
        }
        body.push_back(b);
    }
    uint8_t sum = 0;
    for (const uint8_t b : body) {
        sum = static_cast<uint8_t>(sum + b);
    }
    if (body.empty() || sum != 0) {
        body.clear();
        return false;
    }
    body.pop_back();
    return true;
}

std::vector<uint8_t> Header(int command, int sequence, uint8_t flagBits) {
    return {0xFF, 0xFF, static_cast<uint8_t>(command % 256),
            static_cast<uint8_t>(((command / 256 % 4) * 16 + sequence / 256 % 8) | flagBits),
            static_cast<uint8_t>(sequence % 256)};
}

std::vector<uint8_t> ReplyPayload(const FakeDeviceInfo& info) {
    std::vector<uint8_t> p;
    p.push_back(static_cast<uint8_t>(info.deviceType));
    p.push_back(info.active ? 1 : 0);
    p.push_back(static_cast<uint8_t>(info.connections1 / 256));
    p.push_back(static_cast<uint8_t>(info.connections1 % 256));
    p.push_back(static_cast<uint8_t>(info.connections2 / 256));
    p.push_back(static_cast<uint8_t>(info.connections2 % 256));
    for (int shift = 24; shift >= 0; shift -= 8) {
        p.push_back(static_cast<uint8_t>(info.partnerAddress >> shift));
    }
    for (const std::string* text : {&info.name, &info.description}) {
        p.push_back(static_cast<uint8_t>(text->size()));
        p.insert(p.end(), text->begin(), text->end());
    }
    if (info.frame) {
        p.push_back(info.frame->first);
        p.push_back(info.frame->second);
    }
    return p;
}

std::vector<uint8_t> ReplyDatagram(int command, int sequence, const FakeDeviceInfo& info) {
    std::vector<uint8_t> body = Header(command, sequence);
    const std::vector<uint8_t> payload = ReplyPayload(info);
    body.insert(body.end(), payload.begin(), payload.end());
    return Frame(body);
}

}  // namespace fakedevice

namespace {
sockaddr_in To(uint32_t address, uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(address);
    return sa;
}
}  // namespace

FakeDevice::FakeDevice(uint32_t address, FakeDeviceInfo info, int answersCommand)
    : address_(address), answersCommand_(answersCommand), info_(std::move(info)) {
    if ((address >> 24) != 127) {
        return;  // loopback only
    }
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        return;
    }
    sockaddr_in local = To(address, 0);
    socklen_t length = sizeof local;
    if (bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    port_ = ntohs(local.sin_port);
}

FakeDevice::~FakeDevice() {
    Stop();
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void FakeDevice::SetInfo(const FakeDeviceInfo& info) {
    std::lock_guard lock(mutex_);
    info_ = info;
}

std::vector<FakeDeviceQuery> FakeDevice::Queries() const {
    std::lock_guard lock(mutex_);
    return queries_;
}

bool FakeDevice::SendRaw(const std::vector<uint8_t>& datagram, uint32_t toAddress,
                         uint16_t toPort) {
    if (fd_ < 0 || (toAddress >> 24) != 127) {
        return false;
    }
    const sockaddr_in to = To(toAddress, toPort);
    return sendto(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                  sizeof to) == static_cast<ssize_t>(datagram.size());
}

std::optional<FakeDeviceQuery> FakeDevice::ReadAndAnswer(int boundMs) {
    if (fd_ < 0) {
        return std::nullopt;
    }
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, boundMs) <= 0) {
        return std::nullopt;
    }
    std::vector<uint8_t> datagram(8192);
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = recvfrom(fd_, datagram.data(), datagram.size(), MSG_DONTWAIT,
                               reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n < 0) {
        return std::nullopt;
    }
    datagram.resize(static_cast<size_t>(n));
    FakeDeviceQuery q;
    q.fromAddress = ntohl(from.sin_addr.s_addr);
    q.fromPort = ntohs(from.sin_port);
    std::vector<uint8_t> body;
    if (fakedevice::Unframe(datagram, body) && body.size() >= 5) {
        q.valid = true;
        q.session = static_cast<uint16_t>(body[0] * 256 + body[1]);
        q.command = body[2] + (body[3] / 16 % 4) * 256;
        q.sequence = (body[3] % 8) * 256 + body[4];
        q.flagBits = body[3] & 0xC8;
        q.payloadSize = body.size() - 5;
    }
    FakeDeviceInfo info;
    {
        std::lock_guard lock(mutex_);
        queries_.push_back(q);
        info = info_;
    }
    if (q.valid && q.command == answersCommand_) {
        const uint16_t port = replyPort_.load() != 0 ? replyPort_.load() : q.fromPort;
        SendRaw(fakedevice::ReplyDatagram(q.command, q.sequence, info), q.fromAddress, port);
    }
    return q;
}

std::optional<FakeDeviceQuery> FakeDevice::ServeOne(int boundMs) {
    return ReadAndAnswer(boundMs);
}

void FakeDevice::Serve() {
    if (thread_.joinable() || fd_ < 0) {
        return;
    }
    stop_ = false;
    thread_ = std::thread([this] {
        while (!stop_.load()) {
            ReadAndAnswer(20);
        }
    });
}

void FakeDevice::Stop() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace corvane::testing
