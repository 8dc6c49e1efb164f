#include "graphics/GraphicGeometry.h"

#include <algorithm>

namespace corvane {

int32_t ClampCoordinate(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, -kMaxGraphicCoordinate, kMaxGraphicCoordinate));
}

bool IsWithinCoordinateBound(int64_t value) {
    return value >= -kMaxGraphicCoordinate && value <= kMaxGraphicCoordinate;
}

GraphicPoint GraphicRect::Centre() const {
    return {static_cast<int32_t>((int64_t{left} + right) / 2),
            static_cast<int32_t>((int64_t{top} + bottom) / 2)};
}

GraphicRect GraphicRect::Normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

bool GraphicRect::Contains(GraphicPoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
}

bool GraphicRect::Intersects(const GraphicRect& other) const {
    const GraphicRect a = Normalized();
    const GraphicRect b = other.Normalized();
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

GraphicRect GraphicRect::Inflated(int64_t by) const {
    return {ClampCoordinate(left - by), ClampCoordinate(top - by), ClampCoordinate(right + by),
            ClampCoordinate(bottom + by)};
}

GraphicRect CentredRect(GraphicPoint centre, GraphicSize size) {
    const int64_t left = int64_t{centre.x} - size.cx / 2;
    const int64_t top = int64_t{centre.y} - size.cy / 2;
    return {ClampCoordinate(left), ClampCoordinate(top), ClampCoordinate(left + size.cx),
            ClampCoordinate(top + size.cy)};
}

}  // namespace corvane
