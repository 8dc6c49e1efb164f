#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <optional>

#include "graphics/GraphicPainter.h"
#include "ui/views/ImageRaster.h"

namespace corvane {

// Caption texts drawn once on their background for a font: a layout shows the same few texts
// many times, and laying out and drawing a text costs far more than copying its picture.
class CCaptionStamps {
public:
    // The text centred on its background, as wide as the text and as high as the font; the
    // cache starts again when the font or the pixel ratio changes or it grows past its bound.
    const QImage& Stamp(const std::string& text, QColor textColor, QColor background,
                        const QFont& font, qreal pixelRatio);

private:
    static constexpr qsizetype kMaxStamps = 2048;
    QFont font_;
    qreal pixelRatio_ = 1;
    QHash<QByteArray, QImage> stamps_;
};

// The graphic objects' primitives on a QPainter, one logical unit a pixel, without
// antialiasing, drawn as the layouts were first drawn:
// - Line: a solid pen as many units wide as asked, centred on the segment, with round caps
//   and joins; Dotted: one unit wide, dots and gaps of one unit each.
// - Ellipse and Frame: inside the half-open rectangle, from (left, top) to (right - 1,
//   bottom - 1), the outline one unit wide.
// - Text: one line centred on the rectangle's centre, neither clipped to it nor taken for
//   mnemonics or markup, on its background colour (opaque) as wide as the text and as high as
//   the font; TextExtent is that size, from QFontMetrics of the painter's font.
// One-unit lines and frames go straight into the pixels where the painter allows it
// (CImageRaster). Each call sets the pen and brush it needs; the painter's own are back when
// this object goes.
class CQtGraphicPainter final : public GraphicPainter {
public:
    CQtGraphicPainter(QPainter& painter, CCaptionStamps& stamps);
    ~CQtGraphicPainter() override;
    CQtGraphicPainter(const CQtGraphicPainter&) = delete;
    CQtGraphicPainter& operator=(const CQtGraphicPainter&) = delete;

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
    CCaptionStamps& stamps_;
    QFontMetrics metrics_;
    std::optional<CImageRaster> raster_;
};

}  // namespace corvane
