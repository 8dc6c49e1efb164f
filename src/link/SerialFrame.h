#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/Connection.h"

namespace corvane {

// Why a received block is not a serial frame.
enum class SerialFrameError {
    kNone,
    kTooShort,       // one byte or none
    kNoStart,        // the first byte is not the start byte
    kBareDelimiter,  // a start or end byte inside the frame
    kBadEscape,      // the byte after an escape does not stand for a delimiter
    kEscapeAtEnd,    // an escape right before the end
    kNoEnd,          // the last byte is not the end byte
    kShortBody,      // no room for code, number and CRC
    kTooLong,        // longer than the largest frame
};

// The serial frame: start byte, escaped body, end byte. The body is code, number, payload and
// the CRC-8 of the bytes before it.
struct QuillexSerialFrame {
    static constexpr uint8_t kStart = 0xF0;
    static constexpr uint8_t kEscape = 0xF1;
    static constexpr uint8_t kEnd = 0xF2;
    static constexpr size_t kHeaderSize = 2;  // code, number
    static constexpr size_t kMaxBody = kHeaderSize + CConnection::kMaxPayload + 1;
    // Every body byte escaped, plus the delimiters.
    static constexpr size_t kMaxFrame = 2 + 2 * kMaxBody;

    static bool IsDelimiter(uint8_t b) { return b >= kStart && b <= kEnd; }

    // False, with the frame emptied, when the body is longer than the largest.
    static bool Encode(std::span<const uint8_t> body, std::vector<uint8_t>& frame);
    // The body is emptied first and holds the unescaped bytes only on success.
    static SerialFrameError Decode(std::span<const uint8_t> frame, std::vector<uint8_t>& body);
};

constexpr uint8_t kSerialFrameCrcStart = 0x5A;

// Reflected CRC-8 of the polynomial 0x9B, no final XOR. Over a body with its CRC it gives 0.
uint8_t SerialFrameCrc8(std::span<const uint8_t> bytes, uint8_t crc = kSerialFrameCrcStart);

}  // namespace corvane
