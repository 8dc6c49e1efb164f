#pragma once

#include <QFontMetrics>
#include <QPainter>

#include "graphics/GraphicPainter.h"

namespace corvane {

// The graphic objects' primitives on a QPainter, one logical unit a pixel, without
// antialiasing, drawn as the layouts were first drawn:
// - Line: a solid pen as many units wide as asked, centred on the segment, with round caps
//   and joins; Dotted: one unit wide, dots and gaps of one unit each.
// - Ellipse and Frame: inside the half-open rectangle, from (left, top) to (right - 1,
//   bottom - 1), the outline one unit wide.
// - Text: one line centred on the rectangle's centre, neither clipped to it nor taken for
//   mnemonics, its background filled behind the text (opaque); TextExtent is the text's width
//   and the font's height from QFontMetrics of the painter's font.
// Pen, brush, background and background mode are the painter's own again after each call.
class CQtGraphicPainter final : public GraphicPainter {
public:
    explicit CQtGraphicPainter(QPainter& painter);

    void Ellipse(const GraphicRect& rect, ColorRef outline, ColorRef fill) override;
    void Line(GraphicPoint from, GraphicPoint to, int width, ColorRef color,
              LineStyle style) override;
    GraphicSize TextExtent(const std::string& text) override;
    void Text(const GraphicRect& rect, const std::string& text, ColorRef textColor,
              ColorRef background) override;
    void Frame(const GraphicRect& rect, ColorRef color) override;

    static QColor ToQColor(ColorRef color);

private:
    QPainter& painter_;
    QFontMetrics metrics_;
};

}  // namespace corvane
