#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <optional>

class QPainter;

namespace corvane {

// One-unit lines and frames written straight into the pixels of the image a painter draws on,
// for the many thin trunk sets and caption frames of a large layout: the painter's own
// cosmetic lines cost several times as much per pixel. Only where that gives the same result:
// an opaque 32-bit image, no clipping, a whole-pixel translation, plain source-over drawing,
// and no scale but the image's own whole device pixel ratio, by which the ends are scaled
// while the lines stay one pixel wide. Coordinates are the painter's logical ones; whatever
// lies outside the image is left out, and a line's pixels do not depend on how much of it is
// drawn.
class CImageRaster {
public:
    // None where the painter's state asks for more than this can do.
    static std::optional<CImageRaster> For(QPainter& painter);

    // Every pixel from one end to the other, both ends included; dotted: every other one,
    // counted from the first end.
    void Line(QPoint from, QPoint to, QRgb color, bool dotted);
    // A one-unit frame just inside the half-open rectangle.
    void Frame(const QRect& rect, QRgb color);

private:
    CImageRaster(QImage& image, int scale, QPoint offset);
    void Row(int y, int x0, int x1, QRgb color);
    void Column(int x, int y0, int y1, QRgb color);

    uint32_t* bits_;
    qsizetype stride_;  // in pixels
    int width_;
    int height_;
    int scale_;      // the device pixel ratio
    QPoint offset_;  // device point = logical point * scale + offset
};

}  // namespace corvane
