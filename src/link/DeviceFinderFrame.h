#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/DeviceFinderReply.h"

namespace corvane {

// The frame of discovery datagrams: the start byte, the escaped body and checksum, the end
// byte. The body opens with a five-byte header: session (high byte first), command bits 0-7,
// a byte with command bits 8-9 (bits 4-5), sequence bits 8-10 (bits 0-2) and flags (bits 3,
// 6, 7), and sequence bits 0-7.
struct DeviceFinderFrame {
    static constexpr size_t kHeaderSize = 5;
    static constexpr uint16_t kSession = 0xFFFF;
    static constexpr uint8_t kFlagBits = 0xC8;
    static constexpr size_t kWireSize = 4004;  // the largest datagram read
    // Header, type, flags, two counts, partner address and the two text lengths.
    static constexpr size_t kMinReplyBody = kHeaderSize + 12;

    // The header of a query for the command (10 bits) and sequence (11 bits), no payload.
    static std::vector<uint8_t> QueryBody(int command, int sequence);
    // Start byte, escaped body, escaped checksum (0 minus the body's sum), end byte.
    static std::vector<uint8_t> Encode(std::span<const uint8_t> body);
    // The unescaped body without its checksum byte, which is not tested. False, with the body
    // empty, when the datagram does not open with the start byte, holds a second start byte,
    // ends inside an escape or has no end byte.
    static bool Decode(std::span<const uint8_t> datagram, std::vector<uint8_t>& body);

    static int Command(std::span<const uint8_t> body);   // body of kHeaderSize bytes or more
    static int Sequence(std::span<const uint8_t> body);  // body of kHeaderSize bytes or more
};

// Decodes one datagram into the reply (source address left as it is). False, with the reply
// untouched, unless it is a well-formed reply to command 222 or 209 with no flag bits set
// and every field it announces inside the datagram.
bool DecodeDeviceFinderReply(std::span<const uint8_t> datagram, DeviceFinderReply& reply);

// Parses the payload after the header: false when a fixed field or a text runs past its end.
bool ParseDeviceFinderPayload(std::span<const uint8_t> payload, DeviceFinderReply& reply);

}  // namespace corvane
