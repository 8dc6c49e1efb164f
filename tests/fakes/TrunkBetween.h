#pragma once

#include "model/TrunkData.h"

namespace corvane::testing {

// A trunk definition between two intercom ports, numbers as the caller gives them.
inline TrunkDefinition TrunkBetween(int trunk, int icom1, int port1, int icom2, int port2) {
    TrunkDefinition d;
    d.trunk = trunk;
    d.end1Intercom = icom1;
    d.end1Number = port1;
    d.end2Intercom = icom2;
    d.end2Number = port2;
    return d;
}

}  // namespace corvane::testing
