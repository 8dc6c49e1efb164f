#include "ui/AppResources.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

namespace corvane {
namespace {

TEST(AppResources, EverythingDrawnForTheProgramLoads) {
    CAppResources resources;
    ASSERT_TRUE(resources.Load(QApplication::palette()));
    for (int id : CAppResources::kIconIds) {
        SCOPED_TRACE(id);
        const QIcon& icon = resources.Icon(id);
        ASSERT_FALSE(icon.isNull());
        EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
    }
    EXPECT_FALSE(resources.Icon(CAppResources::kProgramIcon).isNull());
    EXPECT_TRUE(resources.Icon(999).isNull());
    EXPECT_FALSE(resources.Bitmap(140).isNull());
    EXPECT_FALSE(resources.Bitmap(141).isNull());
    EXPECT_TRUE(resources.Bitmap(142).isNull());  // the splash is not a shared bitmap
    EXPECT_EQ(resources.FixedFont().family(), "Courier New");
    EXPECT_EQ(resources.FixedFont().pointSize(), 9);
}

TEST(AppResources, TheTreeImagesAreSixteenSquareWithGreenTransparent) {
    CAppResources resources;
    ASSERT_TRUE(resources.Load(QApplication::palette()));
    const auto& images = resources.ImageList();
    ASSERT_EQ(images.size(), 11u);  // the tree uses images 0 to 10
    for (const QPixmap& image : images) {
        EXPECT_EQ(image.size(), QSize(16, 16));
        const QImage pixels = image.toImage();
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QRgb p = pixels.pixel(x, y);
                ASSERT_FALSE(qAlpha(p) != 0 && (p & 0xFFFFFF) == 0x00FF00);
            }
        }
    }
    EXPECT_EQ(qAlpha(images[0].toImage().pixel(0, 0)), 0);
    resources.Release();
    EXPECT_TRUE(resources.ImageList().empty());
}

}  // namespace
}  // namespace corvane
