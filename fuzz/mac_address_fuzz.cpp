// The hardware and IPv4 address parsers on arbitrary text: no crash, and whatever they accept
// formats back into a text that parses to the same value.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "log/MacAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    corvane::MacAddress mac;
    if (corvane::ParseMacAddress(input, mac)) {
        corvane::MacAddress again;
        if (!corvane::ParseMacAddress(corvane::FormatMacAddress(mac), again) || again != mac) {
            std::abort();
        }
    }

    std::string text = input;
    const std::uint32_t address = corvane::ParseIPv4HostOrder(text);
    if (address != corvane::kInvalidIPv4) {
        std::string formatted = corvane::FormatIPv4HostOrder(address);
        if (corvane::ParseIPv4HostOrder(formatted) != address) {
            std::abort();
        }
    }
    return 0;
}
