#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// A 6-byte hardware address, in wire order; starts cleared. Ordered byte by byte.
struct MacAddress {
    static constexpr std::size_t kLength = 6;

    std::array<std::uint8_t, kLength> bytes{};

    void Clear() { bytes.fill(0); }
    // Both return the number of bytes copied.
    std::size_t CopyFrom(std::span<const std::uint8_t, kLength> source);
    std::size_t CopyTo(std::span<std::uint8_t, kLength> target) const;

    friend bool operator==(const MacAddress&, const MacAddress&) = default;
    friend auto operator<=>(const MacAddress&, const MacAddress&) = default;
};

// "00:1a:2b:3c:4d:5e", lowercase.
std::string FormatMacAddress(const MacAddress& address);

// Takes "001A2B3C4D5E" or "00:1a:2b:3c:4d:5e" (either case). The value is cleared first; on
// false the bytes read before the fault stay.
bool ParseMacAddress(std::string_view text, MacAddress& address);

// 0-9, A-F, a-f give their value; anything else 0.
int HexDigitValue(char c);

// Returned by ParseIPv4HostOrder for a text that is not a dotted address.
inline constexpr std::uint32_t kInvalidIPv4 = 0xFFFFFFFF;

// "-" for 0, else the dotted text.
std::string FormatIPv4HostOrder(std::uint32_t address);

// An empty text or "-" gives 0 and the text becomes "-"; a dotted address gives its value in
// host order; anything else gives kInvalidIPv4 (as does "255.255.255.255").
std::uint32_t ParseIPv4HostOrder(std::string& text);

}  // namespace corvane
