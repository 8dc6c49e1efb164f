#pragma once

#include <cstdint>
#include <vector>

#include "graphics/GraphicGeometry.h"
#include "graphics/TrunkSetObj.h"
#include "settings/ColorSettings.h"

namespace corvane {

// Pens wider than the model has trunks only come from damaged counts.
inline constexpr int32_t kMaxTrunkStrokeWidth = 10000;

// One line of a trunk set's picture.
struct TrunkSetStroke {
    GraphicPoint from;
    GraphicPoint to;
    int32_t width = 1;
    DisplayColor color = DisplayColor::TrunksIdle;
    bool dotted = false;
    friend bool operator==(const TrunkSetStroke&, const TrunkSetStroke&) = default;
};

// The lines that draw a trunk set from the first centre to the second, widest first, one
// unit of width per trunk: idle, allocated and unavailable side by side, each narrower band
// shifted toward smaller y so that it shares one edge with the widest line. Ends that share
// one centre draw the widest line only.
std::vector<TrunkSetStroke> TrunkSetStrokes(GraphicPoint first, GraphicPoint second,
                                            const TrunkSetCounts& counts);

}  // namespace corvane
