#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/Connection.h"

namespace corvane {

// The five bytes that open every network frame body.
struct QuillexNetworkHeader {
    static constexpr size_t kSize = 5;
    static constexpr uint16_t kNoSession = 0xFFFF;
    static constexpr uint16_t kStandbySession = 0xFFFE;

    uint16_t session = kNoSession;
    uint8_t code = 0;
    uint8_t status = 0;   // high nibble of byte 3; bit 3 is the error bit
    uint16_t number = 0;  // 12 bits

    // The body must hold at least kSize bytes.
    static QuillexNetworkHeader Parse(std::span<const uint8_t> body);
    void AppendTo(std::vector<uint8_t>& body) const;
};

// Why a datagram is not a network frame.
enum class NetworkFrameError {
    kNone,
    kTooShort,     // one byte or none
    kNoStart,      // the first byte is not the start byte
    kBareSpecial,  // a byte that must be escaped stands bare inside the frame
    kBadEscape,    // the byte after an escape is not one that is escaped
    kEscapeAtEnd,  // an escape right before the end
    kNoEnd,        // the last byte is not the end byte
    kShortBody,    // no room for the header and the checksum
    kTooLong,      // longer than the largest frame
};

// The network frame: start byte, escaped body, end byte, one per datagram. The body is the
// header, the payload and the negated sum of the bytes before it.
struct QuillexNetworkFrame {
    static constexpr uint8_t kStart = 0xD5;
    static constexpr uint8_t kEscape = 0xDA;
    static constexpr uint8_t kEnd = 0xDD;
    static constexpr size_t kMaxBody = QuillexNetworkHeader::kSize + CConnection::kMaxPayload + 1;
    static constexpr size_t kMaxFrame = 2 + 2 * kMaxBody;

    // The seven values that are sent behind an escape byte.
    static bool IsEscaped(uint8_t b);

    // False, with the frame emptied, when the body is longer than the largest.
    static bool Encode(std::span<const uint8_t> body, std::vector<uint8_t>& frame);
    // The body is emptied first and holds the unescaped bytes only on success.
    static NetworkFrameError Decode(std::span<const uint8_t> frame, std::vector<uint8_t>& body);
};

// 0 minus the sum of the bytes, modulo 256; a body with its checksum sums to 0.
uint8_t NetworkFrameChecksum(std::span<const uint8_t> bytes);

}  // namespace corvane
