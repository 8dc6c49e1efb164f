#include "ui/views/ImageRaster.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace corvane {
namespace {

// The largest whole device pixel ratio drawn straight.
constexpr int kMaxScale = 8;

}  // namespace

std::optional<CImageRaster> CImageRaster::For(QPainter& painter) {
    auto* image = dynamic_cast<QImage*>(painter.device());
    if (image == nullptr || image->isNull() ||
        (image->format() != QImage::Format_RGB32 &&
         image->format() != QImage::Format_ARGB32_Premultiplied) ||
        painter.hasClipping() || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter.testRenderHint(QPainter::Antialiasing)) {
        return std::nullopt;
    }
    // The image's own whole device pixel ratio scales the ends of the lines, which stay one
    // pixel wide as cosmetic ones do; any other scale is the painter's to draw.
    const qreal ratio = image->devicePixelRatio();
    if (ratio != std::floor(ratio) || ratio < 1 || ratio > kMaxScale) {
        return std::nullopt;
    }
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != ratio || t.m22() != ratio ||
        t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy())) {
        return std::nullopt;
    }
    return CImageRaster(*image, static_cast<int>(ratio),
                        QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy())));
}

CImageRaster::CImageRaster(QImage& image, int scale, QPoint offset)
    : bits_(reinterpret_cast<uint32_t*>(image.bits())),
      stride_(image.bytesPerLine() / 4),
      width_(image.width()),
      height_(image.height()),
      scale_(scale),
      offset_(offset) {}

void CImageRaster::Line(QPoint from, QPoint to, QRgb color, bool dotted) {
    const uint32_t pixel = 0xFF000000u | color;
    // The major axis is walked one pixel a step; the minor one follows the exact line, rounded
    // half up, so that any part of the line can be walked alone.
    const int64_t x0 = scale_ * int64_t{from.x()} + offset_.x();
    const int64_t y0 = scale_ * int64_t{from.y()} + offset_.y();
    const int64_t dx = scale_ * (int64_t{to.x()} - from.x());
    const int64_t dy = scale_ * (int64_t{to.y()} - from.y());
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int64_t major = xMajor ? std::abs(dx) : std::abs(dy);
    const int64_t minor = xMajor ? std::abs(dy) : std::abs(dx);
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t majorStart = xMajor ? x0 : y0;
    const int64_t minorStart = xMajor ? y0 : x0;
    const int64_t majorLimit = xMajor ? width_ : height_;
    const int64_t minorLimit = xMajor ? height_ : width_;
    // The steps whose major coordinate lies in the image.
    int64_t first = 0;
    int64_t last = major;
    if (majorStep > 0) {
        first = std::max<int64_t>(first, -majorStart);
        last = std::min<int64_t>(last, majorLimit - 1 - majorStart);
    } else {
        first = std::max<int64_t>(first, majorStart - (majorLimit - 1));
        last = std::min<int64_t>(last, majorStart);
    }
    if (first > last) {
        return;
    }
    const int64_t twoMajor = 2 * std::max<int64_t>(major, 1);
    int64_t numerator = 2 * first * minor + std::max<int64_t>(major, 1);
    int64_t offset = numerator / twoMajor;
    int64_t remainder = numerator % twoMajor;
    for (int64_t i = first; i <= last; ++i) {
        const int64_t m = majorStart + majorStep * i;
        const int64_t n = minorStart + minorStep * offset;
        if (n >= 0 && n < minorLimit && (!dotted || i % 2 == 0)) {
            const int64_t x = xMajor ? m : n;
            const int64_t y = xMajor ? n : m;
            bits_[y * stride_ + x] = pixel;
        }
        remainder += 2 * minor;
        while (remainder >= twoMajor) {
            remainder -= twoMajor;
            ++offset;
        }
    }
}

void CImageRaster::Row(int y, int x0, int x1, QRgb color) {
    if (y < 0 || y >= height_) {
        return;
    }
    const int from = std::max(x0, 0);
    const int to = std::min(x1, width_ - 1);
    if (from <= to) {
        std::fill(bits_ + y * stride_ + from, bits_ + y * stride_ + to + 1, 0xFF000000u | color);
    }
}

void CImageRaster::Column(int x, int y0, int y1, QRgb color) {
    if (x < 0 || x >= width_) {
        return;
    }
    const int from = std::max(y0, 0);
    const int to = std::min(y1, height_ - 1);
    for (int y = from; y <= to; ++y) {
        bits_[y * stride_ + x] = 0xFF000000u | color;
    }
}

void CImageRaster::Frame(const QRect& rect, QRgb color) {
    if (rect.width() < 1 || rect.height() < 1) {
        return;
    }
    // Logical coordinates are bound far inside int, so the device ones are too.
    const QRect r(QPoint(scale_ * rect.left(), scale_ * rect.top()) + offset_,
                  QPoint(scale_ * rect.right(), scale_ * rect.bottom()) + offset_);
    Row(r.top(), r.left(), r.right(), color);
    Row(r.bottom(), r.left(), r.right(), color);
    Column(r.left(), r.top(), r.bottom(), color);
    Column(r.right(), r.top(), r.bottom(), color);
}

}  // namespace corvane
