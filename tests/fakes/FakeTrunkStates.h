#pragma once

#include <cstdint>

namespace corvane::testing {

// The trunk state name the program shows for a fake trunk's status byte (bit 3, out of
// service, aside).
inline const char* TrunkStateName(uint8_t status) {
    switch (status & ~0x08) {
        case 2:
            return "Alloc";
        case 3:
            return "In Use";
        case 4:
            return "Maint";
        default:
            return "Idle";
    }
}

}  // namespace corvane::testing
