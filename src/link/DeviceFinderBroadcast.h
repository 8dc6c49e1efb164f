#pragma once

#include <cstdint>
#include <vector>

namespace corvane {

// The mask of a prefix length (0 to 32; longer counts as 32), host order.
uint32_t PrefixMask(int prefixLength);

// The directed broadcast address of a local address: (address AND mask) OR NOT mask.
uint32_t BroadcastAddressFor(uint32_t address, int prefixLength);

// One directed broadcast address (host order) per IPv4 address of every interface that is up,
// can broadcast and is not the loopback; each address once.
std::vector<uint32_t> LocalBroadcastAddresses();

}  // namespace corvane
