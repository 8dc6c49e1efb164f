#include "ui/views/QtGraphicPainter.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "ui/views/ImageRaster.h"

namespace corvane {
namespace {

constexpr ColorRef kInk = Rgb(200, 0, 0);
constexpr ColorRef kFill = Rgb(0, 0, 200);
constexpr QRgb kWhite = 0xFFFFFFFF;

QImage Canvas(int w = 80, int h = 60, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, format);
    image.fill(Qt::white);
    return image;
}

QRgb Ink() {
    return CQtGraphicPainter::ToQColor(kInk).rgb();
}

QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

// Draws through a graphic painter on a painter of the image; clipped draws go the painter's
// own way, unclipped ones straight into the pixels where they can.
template <typename F>
void Draw(QImage& image, F draw, bool clipped = false) {
    CCaptionStamps stamps;
    QPainter painter(&image);
    if (clipped) {
        painter.setClipRect(image.rect());
    }
    CQtGraphicPainter graphic(painter, stamps);
    draw(graphic);
}

TEST(QtGraphicPainter, EllipsesAndFramesStayInsideTheirHalfOpenRectangles) {
    for (bool clipped : {false, true}) {
        QImage image = Canvas();
        Draw(
            image,
            [](GraphicPainter& p) {
                p.Ellipse({10, 10, 30, 30}, kInk, kFill);
                p.Frame({40, 10, 60, 30}, kInk);
            },
            clipped);
        EXPECT_EQ(At(image, 10, 20), Ink()) << clipped;
        EXPECT_EQ(At(image, 29, 20), Ink()) << clipped;
        EXPECT_EQ(At(image, 30, 20), kWhite) << clipped;
        EXPECT_EQ(At(image, 20, 29), Ink()) << clipped;
        EXPECT_EQ(At(image, 20, 30), kWhite) << clipped;
        EXPECT_EQ(At(image, 20, 20), CQtGraphicPainter::ToQColor(kFill).rgb()) << clipped;
        EXPECT_EQ(At(image, 40, 10), Ink()) << clipped;
        EXPECT_EQ(At(image, 59, 29), Ink()) << clipped;
        EXPECT_EQ(At(image, 60, 20), kWhite) << clipped;
        EXPECT_EQ(At(image, 50, 30), kWhite) << clipped;
        EXPECT_EQ(At(image, 50, 20), kWhite) << "a frame is not filled";
    }
}

TEST(QtGraphicPainter, WideLinesAreCentredWithRoundCapsAndThinOnesDotted) {
    QImage image = Canvas();
    Draw(image, [](GraphicPainter& p) {
        p.Line({20, 20}, {60, 20}, 6, kInk, GraphicPainter::LineStyle::Solid);
        p.Line({10, 50}, {70, 50}, 1, kInk, GraphicPainter::LineStyle::Dotted);
    });
    int rows = 0;
    for (int y = 10; y < 30; ++y) {
        rows += At(image, 40, y) == Ink() ? 1 : 0;
    }
    EXPECT_EQ(rows, 6);
    EXPECT_EQ(At(image, 62, 20), Ink()) << "the round cap reaches past the end";
    EXPECT_EQ(At(image, 62, 17), kWhite) << "but is no square";
    EXPECT_EQ(At(image, 66, 20), kWhite);
    for (int x = 10; x <= 70; ++x) {
        EXPECT_EQ(At(image, x, 50), x % 2 == 0 ? Ink() : kWhite) << x;
        EXPECT_EQ(At(image, x, 51), kWhite) << x;
    }
}

TEST(QtGraphicPainter, TextIsCentredOpaqueAndNotClipped) {
    QImage image = Canvas(200, 60);
    const std::string text = " Northern Exchange ";
    GraphicSize extent;
    Draw(image, [&](GraphicPainter& p) {
        extent = p.TextExtent(text);
        // A rectangle far smaller than the text, centred on (100, 30).
        p.Text({95, 25, 105, 35}, text, kInk, kFill);
    });
    const QFontMetrics metrics{QFont()};
    EXPECT_EQ(extent.cx, metrics.horizontalAdvance(QString::fromStdString(text)));
    EXPECT_EQ(extent.cy, metrics.height());
    const int left = 100 - extent.cx / 2;
    const int top = 30 - extent.cy / 2;
    const QRgb fill = CQtGraphicPainter::ToQColor(kFill).rgb();
    EXPECT_EQ(At(image, left + 1, top + 1), fill) << "the background, outside the rectangle";
    EXPECT_EQ(At(image, left + extent.cx - 2, top + extent.cy - 2), fill);
    EXPECT_EQ(At(image, left - 2, 30), kWhite);
    EXPECT_EQ(At(image, 100, top - 2), kWhite);
    int inked = 0;
    for (int x = left; x < left + extent.cx; ++x) {
        for (int y = top; y < top + extent.cy; ++y) {
            inked += At(image, x, y) != fill ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 20) << "the text itself";
}

TEST(QtGraphicPainter, ATextWiderThanAStampIsCutToItsWidth) {
    QImage image = Canvas(CCaptionStamps::kMaxWidth + 200, 60);
    const int centre = image.width() / 2;
    const std::string text(3000, 'W');
    GraphicSize extent;
    Draw(image, [&](GraphicPainter& p) {
        extent = p.TextExtent(text);
        p.Text({centre - 5, 25, centre + 5, 35}, text, kInk, kFill);
    });
    EXPECT_EQ(extent.cx, CCaptionStamps::kMaxWidth);
    const QRgb fill = CQtGraphicPainter::ToQColor(kFill).rgb();
    const int half = CCaptionStamps::kMaxWidth / 2;
    EXPECT_EQ(At(image, centre - half, 30 - extent.cy / 2), fill);
    EXPECT_EQ(At(image, centre + half - 1, 30 + extent.cy / 2 - 1), fill);
    EXPECT_EQ(At(image, centre - half - 1, 30), kWhite);
    EXPECT_EQ(At(image, centre + half, 30), kWhite);
}

TEST(CaptionStamps, ATextIsDrawnOnceForItsColoursAndWhatIsInUseOutlivesTheBound) {
    CCaptionStamps stamps;
    const QFont font;
    const auto stamp = [&](const std::string& text, const QColor& ink) {
        return stamps.Stamp(text, ink, Qt::white, font, 1).cacheKey();
    };
    // Equal colours are one stamp whatever lies in the padding bytes of the QColor.
    alignas(QColor) unsigned char zeros[sizeof(QColor)];
    alignas(QColor) unsigned char ones[sizeof(QColor)];
    std::memset(zeros, 0, sizeof(zeros));
    std::memset(ones, 0xFF, sizeof(ones));
    const QColor* inkOnZeros = new (zeros) QColor(200, 0, 0);
    const QColor* inkOnOnes = new (ones) QColor(200, 0, 0);
    EXPECT_EQ(stamp(" North ", *inkOnZeros), stamp(" North ", *inkOnOnes));
    EXPECT_NE(stamp(" North ", Qt::black), stamp(" North ", *inkOnZeros));

    // Far more texts than the cache keeps: the one drawn again and again is never redrawn.
    const qint64 kept = stamp(" North ", Qt::black);
    for (int i = 0; i < 3000; ++i) {
        stamp(std::to_string(i), Qt::black);
        ASSERT_EQ(stamp(" North ", Qt::black), kept) << i;
    }
}

TEST(QtGraphicPainter, ThePaintersOwnStateComesBack) {
    QImage image = Canvas();
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 3));
    painter.setBrush(Qt::yellow);
    painter.setBackgroundMode(Qt::TransparentMode);
    {
        CCaptionStamps stamps;
        CQtGraphicPainter graphic(painter, stamps);
        graphic.Ellipse({0, 0, 10, 10}, kInk, kFill);
        graphic.Text({0, 0, 10, 10}, "x", kInk, kFill);
        graphic.Line({0, 0}, {9, 9}, 4, kInk, GraphicPainter::LineStyle::Solid);
    }
    EXPECT_EQ(painter.pen(), QPen(Qt::green, 3));
    EXPECT_EQ(painter.brush().color(), QColor(Qt::yellow));
    EXPECT_EQ(painter.backgroundMode(), Qt::TransparentMode);
}

// The pixels of a one-unit line drawn straight into the image.
QImage RasterLine(QPoint from, QPoint to, QSize size, QPoint origin) {
    QImage image = Canvas(size.width(), size.height());
    QPainter painter(&image);
    painter.translate(-origin);
    std::optional<CImageRaster> raster = CImageRaster::For(painter);
    EXPECT_TRUE(raster.has_value());
    raster->Line(from, to, qRgb(200, 0, 0), false);
    return image;
}

TEST(ImageRaster, ALineHasOnePixelPerStepAndTheSamePixelsHoweverMuchIsDrawn) {
    const struct {
        QPoint from;
        QPoint to;
    } lines[] = {{{3, 5}, {97, 41}},
                 {{90, 2}, {7, 77}},
                 {{50, 50}, {50, 50}},
                 {{0, 70}, {99, 70}},
                 {{-4000, -1000}, {4100, 1050}}};
    for (const auto& l : lines) {
        const QImage whole = RasterLine(l.from, l.to, {100, 80}, {0, 0});
        const int steps =
            std::max(std::abs(l.to.x() - l.from.x()), std::abs(l.to.y() - l.from.y()));
        int pixels = 0;
        for (int y = 0; y < 80; ++y) {
            int inRow = 0;
            for (int x = 0; x < 100; ++x) {
                inRow += At(whole, x, y) != kWhite ? 1 : 0;
            }
            pixels += inRow;
        }
        if (whole.rect().contains(l.from) && whole.rect().contains(l.to)) {
            EXPECT_EQ(pixels, steps + 1);
            EXPECT_NE(At(whole, l.from.x(), l.from.y()), kWhite);
            EXPECT_NE(At(whole, l.to.x(), l.to.y()), kWhite);
        }
        // A part of the picture, as a repaint of an exposed strip draws it.
        const QPoint origin(37, 23);
        const QImage part = RasterLine(l.from, l.to, {30, 20}, origin);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 30; ++x) {
                ASSERT_EQ(At(part, x, y), At(whole, x + origin.x(), y + origin.y()))
                    << x << "," << y;
            }
        }
    }
}

// On a screen of two device pixels a unit the lines and frames stay one pixel wide, as the
// painter's own cosmetic ones, between ends twice as far apart.
TEST(ImageRaster, AtAWholeDevicePixelRatioTheEndsAreScaled) {
    QImage straight = Canvas(160, 120);
    QImage painted = Canvas(160, 120);
    for (QImage* image : {&straight, &painted}) {
        image->setDevicePixelRatio(2);
        Draw(
            *image,
            [](GraphicPainter& p) {
                p.Frame({40, 10, 60, 30}, kInk);
                p.Line({5, 40}, {70, 40}, 1, kInk, GraphicPainter::LineStyle::Solid);
                p.Line({70, 2}, {70, 57}, 1, kInk, GraphicPainter::LineStyle::Solid);
            },
            image == &painted);
    }
    int inked = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            ASSERT_EQ(At(straight, x, y), At(painted, x, y)) << x << "," << y;
            inked += At(straight, x, y) != kWhite ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 300);
    // A slanted line has one pixel for each of its device steps, its ends included.
    QImage slanted = Canvas(160, 120);
    slanted.setDevicePixelRatio(2);
    Draw(slanted, [](GraphicPainter& p) {
        p.Line({3, 50}, {77, 58}, 1, kInk, GraphicPainter::LineStyle::Solid);
    });
    int pixels = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            pixels += At(slanted, x, y) != kWhite ? 1 : 0;
        }
    }
    EXPECT_EQ(pixels, 2 * (77 - 3) + 1);
    EXPECT_NE(At(slanted, 6, 100), kWhite);
    EXPECT_NE(At(slanted, 154, 116), kWhite);
}

TEST(ImageRaster, OnlyPlainPaintersOnOpaqueImagesAreWrittenStraight) {
    QImage image = Canvas();
    QImage indexed(10, 10, QImage::Format_Indexed8);
    indexed.setColorCount(2);
    const struct {
        const char* name;
        std::function<void(QPainter&)> set;
        bool raster;
    } cases[] = {
        {"plain", [](QPainter&) {}, true},
        {"translated", [](QPainter& p) { p.translate(-30, 12); }, true},
        {"half a unit", [](QPainter& p) { p.translate(0.5, 0); }, false},
        {"scaled", [](QPainter& p) { p.scale(2, 2); }, false},
        {"clipped", [](QPainter& p) { p.setClipRect(0, 0, 5, 5); }, false},
        {"antialiased", [](QPainter& p) { p.setRenderHint(QPainter::Antialiasing); }, false},
        {"translucent", [](QPainter& p) { p.setOpacity(0.5); }, false},
    };
    for (const auto& c : cases) {
        QPainter painter(&image);
        c.set(painter);
        EXPECT_EQ(CImageRaster::For(painter).has_value(), c.raster) << c.name;
    }
    for (const auto& [ratio, raster] : {std::pair(2.0, true), std::pair(1.5, false)}) {
        QImage scaled = Canvas(20, 20);
        scaled.setDevicePixelRatio(ratio);
        QPainter painter(&scaled);
        EXPECT_EQ(CImageRaster::For(painter).has_value(), raster) << ratio;
        painter.scale(2, 2);
        EXPECT_FALSE(CImageRaster::For(painter).has_value()) << "scaled at " << ratio;
    }
    QImage transparent = Canvas(10, 10, QImage::Format_ARGB32);
    QPainter painter(&transparent);
    EXPECT_FALSE(CImageRaster::For(painter).has_value()) << "not premultiplied";
}

}  // namespace
}  // namespace corvane
