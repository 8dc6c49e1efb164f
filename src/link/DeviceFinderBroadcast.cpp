#include "link/DeviceFinderBroadcast.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <bit>

namespace corvane {

uint32_t PrefixMask(int prefixLength) {
    if (prefixLength <= 0) {
        return 0;
    }
    if (prefixLength >= 32) {
        return 0xFFFFFFFFu;
    }
    return ~(0xFFFFFFFFu >> prefixLength);
}

uint32_t BroadcastAddressFor(uint32_t address, int prefixLength) {
    const uint32_t mask = PrefixMask(prefixLength);
    return (address & mask) | ~mask;
}

std::vector<uint32_t> LocalBroadcastAddresses() {
    std::vector<uint32_t> addresses;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return addresses;
    }
    for (const ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
        const unsigned flags = a->ifa_flags;
        if (a->ifa_addr == nullptr || a->ifa_netmask == nullptr ||
            a->ifa_addr->sa_family != AF_INET || (flags & IFF_UP) == 0 ||
            (flags & IFF_BROADCAST) == 0 || (flags & IFF_LOOPBACK) != 0) {
            continue;
        }
        const uint32_t address =
            ntohl(reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr.s_addr);
        const uint32_t mask =
            ntohl(reinterpret_cast<const sockaddr_in*>(a->ifa_netmask)->sin_addr.s_addr);
        // The mask's leading ones are the on-link prefix.
        const uint32_t broadcast = BroadcastAddressFor(address, std::countl_one(mask));
        if (std::find(addresses.begin(), addresses.end(), broadcast) == addresses.end()) {
            addresses.push_back(broadcast);
        }
    }
    freeifaddrs(list);
    return addresses;
}

}  // namespace corvane
