#include "log/MacAddress.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdio>

namespace corvane {

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::size_t MacAddress::CopyFrom(std::span<const std::uint8_t, kLength> source) {
    std::copy(source.begin(), source.end(), bytes.begin());
    return kLength;
}

std::size_t MacAddress::CopyTo(std::span<std::uint8_t, kLength> target) const {
    std::copy(bytes.begin(), bytes.end(), target.begin());
    return kLength;
}

std::string FormatMacAddress(const MacAddress& address) {
    const auto& b = address.bytes;
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", b[0], b[1], b[2], b[3], b[4],
                  b[5]);
    return text;
}

bool ParseMacAddress(std::string_view text, MacAddress& address) {
    address.Clear();
    std::string withColons;
    if (text.size() == 17) {
        // Seen as ":xx" six times, a colon before every pair.
        withColons = ":" + std::string(text);
    } else if (text.size() != 12) {
        return false;
    }
    const bool colons = !withColons.empty();
    const std::string_view digits = colons ? std::string_view(withColons) : text;
    const std::size_t step = colons ? 3 : 2;
    for (std::size_t i = 0; i < MacAddress::kLength; ++i) {
        std::size_t at = i * step;
        if (colons && digits[at++] != ':') {
            return false;
        }
        const char high = digits[at];
        const char low = digits[at + 1];
        if (!IsHexDigit(high) || !IsHexDigit(low)) {
            return false;
        }
        address.bytes[i] = static_cast<std::uint8_t>(HexDigitValue(high) * 16 + HexDigitValue(low));
    }
    return true;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return 0;
}

std::string FormatIPv4HostOrder(std::uint32_t address) {
    if (address == 0) {
        return "-";
    }
    const in_addr network{htonl(address)};
    char text[INET_ADDRSTRLEN];
    // Cannot fail: the buffer holds the longest dotted text.
    inet_ntop(AF_INET, &network, text, sizeof text);
    return text;
}

std::uint32_t ParseIPv4HostOrder(std::string& text) {
    if (text.empty() || text == "-") {
        text = "-";
        return 0;
    }
    if (std::count(text.begin(), text.end(), '.') < 3) {
        return kInvalidIPv4;
    }
    in_addr network{};
    // An embedded NUL would let inet_pton accept a text cut short.
    if (text.find('\0') != std::string::npos || inet_pton(AF_INET, text.c_str(), &network) != 1) {
        return kInvalidIPv4;
    }
    return ntohl(network.s_addr);
}

}  // namespace corvane
