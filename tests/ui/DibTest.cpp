#include "ui/Dib.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "ui/AppResources.h"

namespace corvane {
namespace {

// A 2 x 2 picture: red, green / blue, white.
QImage Quad() {
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(255, 255, 255));
    return image;
}

QImage Canvas(int w, int h) {
    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    return canvas;
}

TEST(Dib, AnEmptyBitmapDrawsNothing) {
    CDib dib;
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(dib.GetSize(), QSize(0, 0));
    QImage canvas = Canvas(4, 4);
    const QImage before = canvas;
    {
        QPainter painter(&canvas);
        EXPECT_FALSE(dib.Draw(painter));
    }
    EXPECT_EQ(canvas, before);
    EXPECT_FALSE(dib.Attach(QImage()));
    EXPECT_FALSE(dib.LoadFromFile("/nonexistent/splash.bmp"));
    EXPECT_TRUE(dib.IsEmpty());
}

TEST(Dib, SameSizeCopiesAndAnotherSizeStretches) {
    struct Case {
        QRect target;
        QPoint probe;
        QRgb colour;
    };
    const Case cases[] = {
        {QRect(1, 1, 2, 2), QPoint(2, 1), qRgb(0, 255, 0)},
        {QRect(1, 1, 2, 2), QPoint(0, 0), qRgb(0, 0, 0)},
        {QRect(0, 0, 4, 4), QPoint(1, 1), qRgb(255, 0, 0)},
        {QRect(0, 0, 4, 4), QPoint(3, 3), qRgb(255, 255, 255)},
        {QRect(0, 0, 4, 4), QPoint(0, 2), qRgb(0, 0, 255)},
    };
    CDib dib;
    ASSERT_TRUE(dib.Attach(Quad()));
    EXPECT_EQ(dib.GetSize(), QSize(2, 2));
    for (const Case& c : cases) {
        QImage canvas = Canvas(4, 4);
        {
            QPainter painter(&canvas);
            ASSERT_TRUE(dib.Draw(painter, &c.target));
        }
        EXPECT_EQ(canvas.pixel(c.probe), c.colour) << c.probe.x() << "," << c.probe.y();
    }
}

TEST(Dib, ASourceWithoutATargetIsDrawnWhereItLies) {
    CDib dib;
    ASSERT_TRUE(dib.Attach(Quad()));
    QImage canvas = Canvas(4, 4);
    {
        QPainter painter(&canvas);
        const QRect source(1, 1, 1, 1);
        ASSERT_TRUE(dib.Draw(painter, nullptr, &source));
    }
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 0)) << "not at the origin";
    EXPECT_EQ(canvas.pixel(1, 0), qRgb(0, 0, 0));
}

TEST(Dib, ColourTables) {
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9)});
    CDib dib;
    ASSERT_TRUE(dib.Attach(indexed));
    QRgb entries[256] = {};
    EXPECT_EQ(dib.GetColorTable(entries, 256), 3);
    EXPECT_EQ(entries[2], qRgb(7, 8, 9));
    EXPECT_EQ(dib.GetColorTable(entries, 2), 2);
    ASSERT_TRUE(dib.Attach(Quad()));
    EXPECT_EQ(dib.GetColorTable(entries, 256), 0);
    dib.DeleteObject();
    EXPECT_TRUE(dib.IsEmpty());
}

TEST(Dib, TheSplashBitmapLoadsFromTheResources) {
    CDib dib;
    ASSERT_TRUE(dib.LoadFromResource(CAppResources::BitmapResource(142)));
    EXPECT_EQ(dib.GetSize(), QSize(400, 240));
}

}  // namespace
}  // namespace corvane
