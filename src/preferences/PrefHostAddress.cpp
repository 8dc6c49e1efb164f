#include "preferences/PrefHostAddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "platform/Format.h"

namespace corvane {
namespace {

std::string Dotted(in_addr address) {
    const uint32_t a = ntohl(address.s_addr);
    return StrFormat("%d.%d.%d.%d", static_cast<int>(a >> 24), static_cast<int>((a >> 16) & 0xFF),
                     static_cast<int>((a >> 8) & 0xFF), static_cast<int>(a & 0xFF));
}

}  // namespace

std::string ResolveHostToDottedIP(const std::string& host) {
    if (host.empty()) {
        return {};
    }
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) == 1 && address.s_addr != 0 &&
        address.s_addr != 0xFFFFFFFFu) {
        return Dotted(address);
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return {};
    }
    std::string result;
    if (found->ai_family == AF_INET && found->ai_addr != nullptr) {
        result = Dotted(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr);
    }
    freeaddrinfo(found);
    return result;
}

std::string TrimBlanks(const std::string& text) {
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

}  // namespace corvane
