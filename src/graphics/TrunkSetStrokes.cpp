#include "graphics/TrunkSetStrokes.h"

#include <algorithm>
#include <cmath>

namespace corvane {
namespace {

using u128 = unsigned __int128;

int32_t StrokeWidth(uint32_t trunks) {
    return static_cast<int32_t>(std::min<uint32_t>(trunks, kMaxTrunkStrokeWidth));
}

// ⌊√(⌊⌊d²·side²/4⌋ / len²⌋) + 0.5⌋, exact in integers up to the root.
int64_t Offset(uint64_t d2, uint64_t side2, uint64_t len2) {
    const u128 q = (u128{d2} * side2 / 4) / len2;
    return static_cast<int64_t>(std::floor(std::sqrt(static_cast<long double>(q)) + 0.5L));
}

}  // namespace

std::vector<TrunkSetStroke> TrunkSetStrokes(GraphicPoint first, GraphicPoint second,
                                            const TrunkSetCounts& counts) {
    first = {ClampCoordinate(first.x), ClampCoordinate(first.y)};
    second = {ClampCoordinate(second.x), ClampCoordinate(second.y)};
    // Counts compare as unsigned, so damaged negative counts draw like huge ones.
    const auto total = static_cast<uint32_t>(counts.total);
    const uint32_t unavailable = static_cast<uint32_t>(counts.inUse) +
                                 static_cast<uint32_t>(counts.maint) +
                                 static_cast<uint32_t>(counts.oos);
    const uint32_t sum = static_cast<uint32_t>(counts.allocated) + unavailable;

    std::vector<TrunkSetStroke> strokes;
    bool bands = false;
    if (total > sum) {
        strokes.push_back({first, second, StrokeWidth(total), DisplayColor::TrunksIdle, false});
        bands = sum > 0;
    } else if (sum > unavailable) {
        strokes.push_back({first, second, StrokeWidth(sum), DisplayColor::TrunksAllocated, false});
        bands = unavailable > 0;
    } else if (unavailable > 0) {
        strokes.push_back(
            {first, second, StrokeWidth(unavailable), DisplayColor::TrunksUnavailable, false});
    } else {
        strokes.push_back({first, second, 1, DisplayColor::TrunksUnavailable, true});
    }

    const int64_t dx = int64_t{first.x} - second.x;
    const int64_t dy = int64_t{first.y} - second.y;
    const auto dx2 = static_cast<uint64_t>(dx * dx);
    const auto dy2 = static_cast<uint64_t>(dy * dy);
    const uint64_t len2 = dx2 + dy2;
    if (!bands || len2 == 0) {
        return strokes;
    }
    const int64_t sign = dx * (int64_t{second.y} - first.y) < 0 ? -1 : 1;
    const auto band = [&](uint32_t width, DisplayColor color) {
        const uint64_t d = total > width ? total - width : width - total;
        const uint64_t d2 = d * d;
        const int64_t oy = Offset(d2, dx2, len2);
        const int64_t ox = sign * Offset(d2, dy2, len2);
        strokes.push_back({{ClampCoordinate(first.x - ox), ClampCoordinate(first.y - oy)},
                           {ClampCoordinate(second.x - ox), ClampCoordinate(second.y - oy)},
                           StrokeWidth(width),
                           color,
                           false});
    };
    if (total != sum && sum > unavailable) {
        band(sum, DisplayColor::TrunksAllocated);
    }
    if (unavailable > 0) {
        band(unavailable, DisplayColor::TrunksUnavailable);
    }
    return strokes;
}

}  // namespace corvane
