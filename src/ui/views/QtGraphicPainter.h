#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "graphics/GraphicPainter.h"
#include "ui/views/ImageRaster.h"

namespace corvane {

// Caption texts drawn once on their background for a font: a layout shows the same few texts
// many times, and laying out and drawing a text costs far more than copying its picture.
class CCaptionStamps {
public:
    // A wider text is cut short with an ellipsis, so that no caption outgrows a window.
    static constexpr int kMaxWidth = 1024;

    // The text centred on its background, as wide as the text (at most kMaxWidth) and as high
    // as the font. For one font and pixel ratio a stamp is its text and its two colours; the
    // cache starts again when the font or the ratio changes.
    const QImage& Stamp(const std::string& text, QColor textColor, QColor background,
                        const QFont& font, qreal pixelRatio);
    // The width of the text's stamp.
    static int Width(const QFontMetrics& metrics, const QString& text);

private:
    // Past either bound the stamps used least recently, half of them, go.
    static constexpr size_t kMaxStamps = 2048;
    static constexpr qsizetype kMaxBytes = qsizetype{32} << 20;

    struct Entry {
        QImage image;
        uint64_t lastUse = 0;
    };
    void DropOlderHalf();

    QFont font_;
    qreal pixelRatio_ = 1;
    // The text's bytes, then the two colours' rgba values.
    std::unordered_map<std::string, Entry> stamps_;
    std::string key_;
    uint64_t uses_ = 0;
    qsizetype bytes_ = 0;
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
