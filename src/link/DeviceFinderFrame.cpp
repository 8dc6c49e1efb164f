#include "link/DeviceFinderFrame.h"

#include "link/NetworkFrame.h"

namespace corvane {

namespace {

constexpr uint8_t kStart = QuillexNetworkFrame::kStart;
constexpr uint8_t kEscape = QuillexNetworkFrame::kEscape;
constexpr uint8_t kEnd = QuillexNetworkFrame::kEnd;

// Device names come as single-byte characters; kept as UTF-8, up to the first NUL the
// device may pad with.
std::string TextFromLatin1(std::span<const uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const uint8_t b : bytes) {
        if (b == 0) {
            break;
        }
        if (b < 0x80) {
            text.push_back(static_cast<char>(b));
        } else {
            text.push_back(static_cast<char>(0xC0 | (b >> 6)));
            text.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return text;
}

}  // namespace

std::vector<uint8_t> DeviceFinderFrame::QueryBody(int command, int sequence) {
    return {
        static_cast<uint8_t>(kSession >> 8),
        static_cast<uint8_t>(kSession & 0xFF),
        static_cast<uint8_t>(command & 0xFF),
        static_cast<uint8_t>(((command >> 8) & 0x03) << 4 | ((sequence >> 8) & 0x07)),
        static_cast<uint8_t>(sequence & 0xFF),
    };
}

std::vector<uint8_t> DeviceFinderFrame::Encode(std::span<const uint8_t> body) {
    std::vector<uint8_t> wire;
    wire.reserve(4 + 2 * body.size());
    wire.push_back(kStart);
    const auto put = [&wire](uint8_t b) {
        if (QuillexNetworkFrame::IsEscaped(b)) {
            wire.push_back(kEscape);
        }
        wire.push_back(b);
    };
    for (const uint8_t b : body) {
        put(b);
    }
    put(NetworkFrameChecksum(body));
    wire.push_back(kEnd);
    return wire;
}

bool DeviceFinderFrame::Decode(std::span<const uint8_t> datagram, std::vector<uint8_t>& body) {
    body.clear();
    if (datagram.empty() || datagram[0] != kStart) {
        return false;
    }
    for (size_t i = 1; i < datagram.size(); ++i) {
        const uint8_t b = datagram[i];
        if (b == kEnd) {
            // The checksum goes with the end byte; a frame without one carries no body.
            if (body.empty()) {
                return false;
            }
            body.pop_back();
            return true;
        }
        if (b == kStart) {
            break;
        }
        if (b == kEscape) {
            if (++i == datagram.size()) {
                break;
            }
            body.push_back(datagram[i]);
        } else {
            body.push_back(b);
        }
    }
    body.clear();
    return false;
}

int DeviceFinderFrame::Command(std::span<const uint8_t> body) {
    return body[2] | ((body[3] >> 4) & 0x03) << 8;
}

int DeviceFinderFrame::Sequence(std::span<const uint8_t> body) {
    return (body[3] & 0x07) << 8 | body[4];
}

bool ParseDeviceFinderPayload(std::span<const uint8_t> payload, DeviceFinderReply& reply) {
    constexpr size_t kFixed = 10;
    if (payload.size() < kFixed + 1) {
        return false;
    }
    DeviceFinderReply r;
    r.sourceAddress = reply.sourceAddress;
    r.command = reply.command;
    r.deviceType = payload[0];
    r.active = (payload[1] & 0x01) != 0;
    r.connections1 = payload[2] << 8 | payload[3];
    r.connections2 = payload[4] << 8 | payload[5];
    r.partnerAddress = static_cast<uint32_t>(payload[6]) << 24 |
                       static_cast<uint32_t>(payload[7]) << 16 |
                       static_cast<uint32_t>(payload[8]) << 8 | payload[9];
    size_t at = kFixed;
    const auto text = [&payload, &at](std::string& out) {
        if (at >= payload.size()) {
            return false;
        }
        const size_t length = payload[at++];
        if (length > payload.size() - at) {
            return false;
        }
        out = TextFromLatin1(payload.subspan(at, length));
        at += length;
        return true;
    };
    if (!text(r.name) || !text(r.description)) {
        return false;
    }
    if (payload.size() - at >= 2) {
        r.frameIndex = payload[at];
        r.frameCount = payload[at + 1];
    }
    reply = std::move(r);
    return true;
}

bool DecodeDeviceFinderReply(std::span<const uint8_t> datagram, DeviceFinderReply& reply) {
    std::vector<uint8_t> body;
    if (!DeviceFinderFrame::Decode(datagram, body) ||
        body.size() < DeviceFinderFrame::kMinReplyBody) {
        return false;
    }
    if ((body[3] & DeviceFinderFrame::kFlagBits) != 0) {
        return false;
    }
    const int command = DeviceFinderFrame::Command(body);
    if (command != devicefinder::kAskIntercoms && command != devicefinder::kAskControllers) {
        return false;
    }
    DeviceFinderReply decoded;
    decoded.sourceAddress = reply.sourceAddress;
    decoded.command = command;
    if (!ParseDeviceFinderPayload(std::span(body).subspan(DeviceFinderFrame::kHeaderSize),
                                  decoded)) {
        return false;
    }
    reply = std::move(decoded);
    return true;
}

}  // namespace corvane
