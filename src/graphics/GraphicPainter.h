#pragma once

#include <string>

#include "graphics/GraphicGeometry.h"
#include "settings/ColorSettings.h"

namespace corvane {

// The settings that decide what of a layout is visible.
struct GraphicOptions {
    bool autoHideEmptyTrunkSets = false;  // setting AutoHideEmptyTrunkSets
};

// The few drawing primitives the graphic objects need, in logical units (one unit a pixel).
// The graphical view implements it over its toolkit's painter; the objects choose the
// geometry and the colours.
class GraphicPainter {
public:
    enum class LineStyle { Solid, Dotted };

    virtual ~GraphicPainter() = default;

    // The ellipse inscribed in the rectangle, a solid 1-unit outline around the fill.
    virtual void Ellipse(const GraphicRect& rect, ColorRef outline, ColorRef fill) = 0;
    // A line of the given width in logical units, centred on the segment.
    virtual void Line(GraphicPoint from, GraphicPoint to, int width, ColorRef color,
                      LineStyle style) = 0;
    // The size that Text takes for the text on one line.
    virtual GraphicSize TextExtent(const std::string& text) = 0;
    // The text on one line centred in the rectangle, without prefix processing or clipping,
    // on an opaque background; the painter's own colours are left as they were.
    virtual void Text(const GraphicRect& rect, const std::string& text, ColorRef textColor,
                      ColorRef background) = 0;
    // A 1-unit frame just inside the rectangle.
    virtual void Frame(const GraphicRect& rect, ColorRef color) = 0;
};

// What drawing a layout needs besides the painter.
struct GraphicDrawContext {
    const ColorSettings& colors;
    GraphicOptions options;
};

}  // namespace corvane
