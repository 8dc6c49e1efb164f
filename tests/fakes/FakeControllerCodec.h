#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The fake controller's own reading and writing of the controller frames, written from the
// frame definitions apart from the program's codec, so one bug cannot hide on both sides.
namespace corvane::testing::fakewire {

// Serial frame: F0, body with F0..F2 sent as F1 (b & 7F), F2. Body: code, number, payload,
// CRC-8 (reflected 0x9B, start 5A).
uint8_t Crc8(const std::vector<uint8_t>& bytes);

struct SerialMessage {
    uint8_t code = 0;
    uint8_t number = 0;
    std::vector<uint8_t> payload;
};

std::vector<uint8_t> SerialBody(const SerialMessage& m);
std::vector<uint8_t> SerialWrap(const std::vector<uint8_t>& body);
// Unwraps a frame from its start byte to its end byte; no value when malformed.
std::optional<std::vector<uint8_t>> SerialUnwrap(const std::vector<uint8_t>& frame);
// A whole check: unwraps, tests the CRC and splits the body.
std::optional<SerialMessage> SerialParse(const std::vector<uint8_t>& frame);

// Network frame: D5, body with 1A 9E A5 AD D5 DA DD each behind a DA, DD. Body: session (2),
// code, status nibble and number bits 8-11, number bits 0-7, payload, negated sum.
uint8_t NegatedSum(const std::vector<uint8_t>& bytes);

struct UdpMessage {
    uint16_t session = 0xFFFF;
    uint8_t code = 0;
    uint8_t status = 0;   // 4 bits
    uint16_t number = 0;  // 12 bits
    std::vector<uint8_t> payload;
};

std::vector<uint8_t> UdpBody(const UdpMessage& m);
std::vector<uint8_t> UdpWrap(const std::vector<uint8_t>& body);
std::optional<std::vector<uint8_t>> UdpUnwrap(const std::vector<uint8_t>& datagram);
std::optional<UdpMessage> UdpParse(const std::vector<uint8_t>& datagram);

}  // namespace corvane::testing::fakewire
