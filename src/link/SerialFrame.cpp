#include "link/SerialFrame.h"

#include <array>

namespace corvane {
namespace {

constexpr std::array<uint8_t, 256> MakeCrcTable() {
    std::array<uint8_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned value = i;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1) != 0 ? (value >> 1) ^ 0xD9 : value >> 1;
        }
        table[i] = static_cast<uint8_t>(value);
    }
    return table;
}

constexpr std::array<uint8_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

uint8_t SerialFrameCrc8(std::span<const uint8_t> bytes, uint8_t crc) {
    for (const uint8_t b : bytes) {
        crc = kCrcTable[crc ^ b];
    }
    return crc;
}

bool QuillexSerialFrame::Encode(std::span<const uint8_t> body, std::vector<uint8_t>& frame) {
    frame.clear();
    if (body.size() > kMaxBody) {
        return false;
    }
    frame.reserve(2 + 2 * body.size());
    frame.push_back(kStart);
    for (const uint8_t b : body) {
        if (IsDelimiter(b)) {
            frame.push_back(kEscape);
            frame.push_back(b & 0x7F);
        } else {
            frame.push_back(b);
        }
    }
    frame.push_back(kEnd);
    return true;
}

SerialFrameError QuillexSerialFrame::Decode(std::span<const uint8_t> frame,
                                            std::vector<uint8_t>& body) {
    body.clear();
    if (frame.size() > kMaxFrame) {
        return SerialFrameError::kTooLong;
    }
    if (frame.size() <= 1) {
        return SerialFrameError::kTooShort;
    }
    if (frame.front() != kStart) {
        return SerialFrameError::kNoStart;
    }
    const size_t last = frame.size() - 1;
    std::vector<uint8_t> out;
    out.reserve(last);
    for (size_t i = 1; i < last; ++i) {
        const uint8_t b = frame[i];
        if (b == kStart || b == kEnd) {
            return SerialFrameError::kBareDelimiter;
        }
        if (b != kEscape) {
            out.push_back(b);
            continue;
        }
        if (i + 1 == last) {
            return SerialFrameError::kEscapeAtEnd;
        }
        const uint8_t value = frame[++i] | 0x80;
        if (!IsDelimiter(value)) {
            return SerialFrameError::kBadEscape;
        }
        out.push_back(value);
    }
    if (frame[last] != kEnd) {
        return SerialFrameError::kNoEnd;
    }
    if (out.size() <= kHeaderSize) {
        return SerialFrameError::kShortBody;
    }
    if (out.size() > kMaxBody) {
        return SerialFrameError::kTooLong;
    }
    body = std::move(out);
    return SerialFrameError::kNone;
}

}  // namespace corvane
