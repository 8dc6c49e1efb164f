// The fake controller's answers: message handlers, sessions, faults and the record.
#include "fakes/FakeController.h"

#include <arpa/inet.h>

namespace corvane::testing {
namespace {

std::array<uint8_t, 4> AddressBytes(const std::string& text) {
    in_addr a{};
    ::inet_pton(AF_INET, text.c_str(), &a);
    const uint32_t host = ntohl(a.s_addr);
    return {static_cast<uint8_t>(host >> 24), static_cast<uint8_t>(host >> 16),
            static_cast<uint8_t>(host >> 8), static_cast<uint8_t>(host)};
}

}  // namespace

FakeController::FakeController(FakeControllerOptions options) : options_(std::move(options)) {
    nodes_[0].partnerAnswer = AddressBytes(options_.partnerAddress);
    nodes_[1].partnerAnswer = AddressBytes(options_.mainAddress);
    SetReply(kHelloCode, {0x01});
}

FakeController::~FakeController() {
    Stop();
}

void FakeController::SetHandler(int code, FakeHandler handler) {
    std::lock_guard lock(mutex_);
    handlers_[code] = std::move(handler);
}

void FakeController::SetReply(int code, std::vector<uint8_t> payload, uint8_t errorBits) {
    SetHandler(code, [payload = std::move(payload), errorBits](const FakeRequest&) {
        return std::optional<FakeReply>(FakeReply{payload, errorBits});
    });
}

void FakeController::SetSilent(FakeNode node, bool silent) {
    std::lock_guard lock(mutex_);
    nodes_[static_cast<size_t>(node)].silent = silent;
}

void FakeController::SetStandby(FakeNode node, bool standby) {
    std::lock_guard lock(mutex_);
    nodes_[static_cast<size_t>(node)].standby = standby;
}

void FakeController::SetRefuseSessions(FakeNode node, bool refuse) {
    std::lock_guard lock(mutex_);
    nodes_[static_cast<size_t>(node)].refuse = refuse;
}

void FakeController::SetPartnerAnswer(FakeNode node, std::array<uint8_t, 4> address) {
    std::lock_guard lock(mutex_);
    nodes_[static_cast<size_t>(node)].partnerAnswer = address;
}

void FakeController::DropSessions() {
    std::lock_guard lock(mutex_);
    for (Node& n : nodes_) {
        n.session = 0xFFFF;
    }
}

uint16_t FakeController::Session(FakeNode node) const {
    std::lock_guard lock(mutex_);
    return nodes_[static_cast<size_t>(node)].session;
}

void FakeController::InjectFault(FakeFaultPlan plan) {
    std::lock_guard lock(mutex_);
    faults_.push_back(std::move(plan));
}

std::vector<FakeRequest> FakeController::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

size_t FakeController::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

bool FakeController::WaitForRequests(size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return recorded_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

void FakeController::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

FakeTraffic FakeController::Traffic() const {
    std::lock_guard lock(mutex_);
    return traffic_;
}

void FakeController::Record(FakeRequest request) {
    ++traffic_.requests;
    traffic_.bytesIn += request.raw.size();
    if (options_.recordRequests) {
        requests_.push_back(std::move(request));
    }
    recorded_.notify_all();
}

std::optional<FakeFaultPlan> FakeController::TakeFault(int code) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->code != -1 && it->code != code) {
            continue;
        }
        FakeFaultPlan plan = *it;
        if (--it->times <= 0) {
            faults_.erase(it);
        }
        return plan;
    }
    return std::nullopt;
}

// The session rules of the network side, then the message handlers.
std::optional<FakeReply> FakeController::Answer(const FakeRequest& request,
                                                uint16_t& replySession) {
    if (request.wire == FakeWire::kUdp) {
        Node& node = nodes_[static_cast<size_t>(request.node)];
        if (request.code == kEstablishSessionCode) {
            if (node.standby) {
                replySession = 0xFFFE;
            } else if (node.refuse) {
                replySession = 0xFFFF;
            } else {
                node.session = nextSession_++;
                if (nextSession_ >= 0xFFFE) {
                    nextSession_ = 1;
                }
                replySession = node.session;
            }
            return FakeReply{};
        }
        replySession = node.session;
        if (request.code == kGetPartnerCode) {
            return FakeReply{{node.partnerAnswer.begin(), node.partnerAnswer.end()}, 0};
        }
        if (request.session != node.session || node.session == 0xFFFF) {
            replySession = 0xFFFF;  // not a session of this controller
            return FakeReply{};
        }
    }
    const auto handler = handlers_.find(request.code);
    if (handler == handlers_.end()) {
        return std::nullopt;
    }
    return handler->second(request);
}

void FakeController::SendSerial(const FakeRequest& request, const FakeReply& reply) {
    fakewire::SerialMessage m;
    m.code = static_cast<uint8_t>(request.code ^ (reply.errorBits & 0xC0));
    m.number = static_cast<uint8_t>(request.number);
    m.payload = reply.payload;
    const auto plan = TakeFault(request.code);
    const std::chrono::milliseconds none(0);
    if (!plan) {
        Schedule(-1, {}, fakewire::SerialWrap(fakewire::SerialBody(m)), none);
        return;
    }
    switch (plan->fault) {
        case FakeFault::kDrop:
            return;
        case FakeFault::kRaw:
            Schedule(-1, {}, plan->craft ? plan->craft(request) : plan->raw, none);
            return;
        case FakeFault::kWrongNumber:
            m.number = static_cast<uint8_t>((m.number + 1) % 255);
            break;
        case FakeFault::kOverLong:
            m.payload.assign(kOverLongPayload, 0x55);
            break;
        default:  // the session and source faults have no meaning on a serial line
            break;
    }
    std::vector<uint8_t> body = fakewire::SerialBody(m);
    if (plan->fault == FakeFault::kGarble) {
        body.back() ^= 0x55;
    }
    std::vector<uint8_t> frame = fakewire::SerialWrap(body);
    if (plan->fault == FakeFault::kSplit) {
        const size_t half = frame.size() / 2;
        Schedule(-1, {}, {frame.begin(), frame.begin() + static_cast<long>(half)}, none);
        Schedule(-1, {}, {frame.begin() + static_cast<long>(half), frame.end()}, plan->delay);
        return;
    }
    Schedule(-1, {}, std::move(frame), plan->fault == FakeFault::kLate ? plan->delay : none);
}

void FakeController::SendUdp(size_t node, const sockaddr_in& to, const FakeRequest& request,
                             const FakeReply& reply, uint16_t session) {
    fakewire::UdpMessage m;
    m.session = session;
    m.code = static_cast<uint8_t>(request.code);
    m.status = reply.errorBits & 0x0F;
    m.number = static_cast<uint16_t>(request.number);
    m.payload = reply.payload;
    const auto plan = TakeFault(request.code);
    const std::chrono::milliseconds none(0);
    int from = nodes_[node].socket;
    if (!plan) {
        Schedule(from, to, fakewire::UdpWrap(fakewire::UdpBody(m)), none);
        return;
    }
    switch (plan->fault) {
        case FakeFault::kDrop:
            return;
        case FakeFault::kRaw:
            Schedule(from, to, plan->craft ? plan->craft(request) : plan->raw, none);
            return;
        case FakeFault::kWrongNumber:
            m.number = (m.number + 1) & 0xFFF;
            break;
        case FakeFault::kWrongSession:
            m.session = m.session + 1 >= 0xFFFE ? 1 : m.session + 1;
            break;
        case FakeFault::kNullSession:
            m.session = 0xFFFF;
            break;
        case FakeFault::kStandbySession:
            m.session = 0xFFFE;
            break;
        case FakeFault::kOverLong:
            m.payload.assign(kOverLongPayload, 0x55);
            break;
        case FakeFault::kOtherAddress:
            Schedule(otherAddressSocket_, to, fakewire::UdpWrap(fakewire::UdpBody(m)), none);
            return;
        case FakeFault::kWrongPort: {
            const auto datagram = fakewire::UdpWrap(fakewire::UdpBody(m));
            Schedule(nodes_[node].otherPortSocket, to, datagram, none);
            Schedule(from, to, datagram, plan->delay);
            return;
        }
        default:
            break;
    }
    std::vector<uint8_t> body = fakewire::UdpBody(m);
    if (plan->fault == FakeFault::kGarble) {
        body.back() ^= 0x55;
    }
    std::vector<uint8_t> datagram = fakewire::UdpWrap(body);
    if (plan->fault == FakeFault::kSplit) {
        const size_t half = datagram.size() / 2;
        Schedule(from, to, {datagram.begin(), datagram.begin() + half}, none);
        Schedule(from, to, {datagram.begin() + half, datagram.end()}, plan->delay);
        return;
    }
    Schedule(from, to, std::move(datagram), plan->fault == FakeFault::kLate ? plan->delay : none);
}

void FakeController::OnSerialBytes(const uint8_t* bytes, size_t count) {
    constexpr size_t kMaxPending = 1 << 16;
    serialIn_.insert(serialIn_.end(), bytes, bytes + count);
    for (;;) {
        // A frame runs from the last start byte before an end byte to that end byte.
        size_t end = 0;
        while (end < serialIn_.size() && serialIn_[end] != 0xF2) {
            ++end;
        }
        if (end == serialIn_.size()) {
            if (serialIn_.size() > kMaxPending) {
                serialIn_.clear();
            }
            return;
        }
        size_t start = end;
        while (start > 0 && serialIn_[start] != 0xF0) {
            --start;
        }
        FakeRequest request;
        request.wire = FakeWire::kSerial;
        request.raw.assign(serialIn_.begin() + static_cast<long>(start),
                           serialIn_.begin() + static_cast<long>(end) + 1);
        serialIn_.erase(serialIn_.begin(), serialIn_.begin() + static_cast<long>(end) + 1);
        const auto message = fakewire::SerialParse(request.raw);
        if (message) {
            request.valid = true;
            request.code = message->code;
            request.number = message->number;
            request.payload = message->payload;
        }
        Record(request);
        if (!request.valid || nodes_[0].silent) {
            continue;
        }
        uint16_t session = 0xFFFF;
        if (const auto reply = Answer(request, session)) {
            SendSerial(request, *reply);
        }
    }
}

void FakeController::OnDatagram(size_t node, const sockaddr_in& from, std::vector<uint8_t> bytes) {
    FakeRequest request;
    request.wire = FakeWire::kUdp;
    request.node = static_cast<FakeNode>(node);
    request.raw = std::move(bytes);
    const auto message = fakewire::UdpParse(request.raw);
    if (message) {
        request.valid = true;
        request.code = message->code;
        request.number = message->number;
        request.session = message->session;
        request.payload = message->payload;
    }
    Record(request);
    if (!request.valid || nodes_[node].silent) {
        return;
    }
    uint16_t session = 0xFFFF;
    if (const auto reply = Answer(request, session)) {
        SendUdp(node, from, request, *reply, session);
    }
}

}  // namespace corvane::testing
