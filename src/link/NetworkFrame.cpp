#include "link/NetworkFrame.h"

namespace corvane {

QuillexNetworkHeader QuillexNetworkHeader::Parse(std::span<const uint8_t> body) {
    QuillexNetworkHeader h;
    if (body.size() < kSize) {
        return h;
    }
    h.session = static_cast<uint16_t>(body[0] << 8 | body[1]);
    h.code = body[2];
    h.status = body[3] >> 4;
    h.number = static_cast<uint16_t>((body[3] & 0x0F) << 8 | body[4]);
    return h;
}

void QuillexNetworkHeader::AppendTo(std::vector<uint8_t>& body) const {
    body.push_back(static_cast<uint8_t>(session >> 8));
    body.push_back(static_cast<uint8_t>(session));
    body.push_back(code);
    body.push_back(static_cast<uint8_t>((status & 0x0F) << 4 | ((number >> 8) & 0x0F)));
    body.push_back(static_cast<uint8_t>(number));
}

bool QuillexNetworkFrame::IsEscaped(uint8_t b) {
    switch (b) {
        case 0x1A:
        case 0x9E:
        case 0xA5:
        case 0xAD:
        case kStart:
        case kEscape:
        case kEnd:
            return true;
        default:
            return false;
    }
}

bool QuillexNetworkFrame::Encode(std::span<const uint8_t> body, std::vector<uint8_t>& frame) {
    frame.clear();
    if (body.size() > kMaxBody) {
        return false;
    }
    frame.reserve(2 + 2 * body.size());
    frame.push_back(kStart);
    for (const uint8_t b : body) {
        if (IsEscaped(b)) {
            frame.push_back(kEscape);
        }
        frame.push_back(b);
    }
    frame.push_back(kEnd);
    return true;
}

NetworkFrameError QuillexNetworkFrame::Decode(std::span<const uint8_t> frame,
                                              std::vector<uint8_t>& body) {
    body.clear();
    if (frame.size() > kMaxFrame) {
        return NetworkFrameError::kTooLong;
    }
    if (frame.size() <= 1) {
        return NetworkFrameError::kTooShort;
    }
    if (frame.front() != kStart) {
        return NetworkFrameError::kNoStart;
    }
    const size_t last = frame.size() - 1;
    std::vector<uint8_t> out;
    out.reserve(last);
    for (size_t i = 1; i < last; ++i) {
        const uint8_t b = frame[i];
        if (b != kEscape) {
            if (IsEscaped(b)) {
                return NetworkFrameError::kBareSpecial;
            }
            out.push_back(b);
            continue;
        }
        if (i + 1 == last) {
            return NetworkFrameError::kEscapeAtEnd;
        }
        const uint8_t value = frame[++i];
        if (!IsEscaped(value)) {
            return NetworkFrameError::kBadEscape;
        }
        out.push_back(value);
    }
    if (frame[last] != kEnd) {
        return NetworkFrameError::kNoEnd;
    }
    if (out.size() <= QuillexNetworkHeader::kSize) {
        return NetworkFrameError::kShortBody;
    }
    if (out.size() > kMaxBody) {
        return NetworkFrameError::kTooLong;
    }
    body = std::move(out);
    return NetworkFrameError::kNone;
}

uint8_t NetworkFrameChecksum(std::span<const uint8_t> bytes) {
    unsigned sum = 0;
    for (const uint8_t b : bytes) {
        sum += b;
    }
    return static_cast<uint8_t>(0u - sum);
}

}  // namespace corvane
