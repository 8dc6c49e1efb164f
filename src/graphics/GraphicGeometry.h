#pragma once

#include <cstdint>

namespace corvane {

// Logical coordinates of a graphical layout stay within this bound, so that sums, products
// and squares of them never overflow; whatever computes a coordinate clamps to it.
inline constexpr int32_t kMaxGraphicCoordinate = 1 << 28;

int32_t ClampCoordinate(int64_t value);
bool IsWithinCoordinateBound(int64_t value);

struct GraphicPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const GraphicPoint&, const GraphicPoint&) = default;
};

struct GraphicSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const GraphicSize&, const GraphicSize&) = default;
};

// A rectangle contains its left and top edges but not its right and bottom edges.
struct GraphicRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    friend bool operator==(const GraphicRect&, const GraphicRect&) = default;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    // The midpoint, each half truncated toward zero.
    GraphicPoint Centre() const;
    GraphicRect Normalized() const;
    bool Contains(GraphicPoint p) const;
    // Whether the two (normalised) rectangles share an area that is not empty.
    bool Intersects(const GraphicRect& other) const;
    GraphicRect Inflated(int64_t by) const;
};

// A rectangle of the given size whose centre is the given point.
GraphicRect CentredRect(GraphicPoint centre, GraphicSize size);

}  // namespace corvane
