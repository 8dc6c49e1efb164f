#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <map>
#include <vector>

class QPalette;

namespace corvane {

// The drawing resources the program shares: the fixed font, the header arrows, the tree's
// image list and the icons, all drawn for this program and kept as Qt resources.
class CAppResources {
public:
    // The 14 icons, in the order they are loaded.
    static constexpr int kIconIds[14] = {109, 110, 104, 105, 106, 111, 107,
                                         108, 112, 113, 114, 117, 116, 115};
    static constexpr int kProgramIcon = 102;
    static constexpr int kSortAscending = 140;
    static constexpr int kSortDescending = 141;
    static constexpr int kSplashBitmap = 142;
    static constexpr int kTreeImages = 144;
    static constexpr int kMoreTreeImages = 146;

    // Makes the resources reachable; called by everything below.
    static void Register();
    // The resource name of a bitmap, for CDib.
    static QString BitmapResource(int id);
    // A bitmap with its greys in the palette's shades; an empty pixmap when it is missing.
    static QPixmap PaletteBitmap(int id, const QPalette& palette);

    // Font, bitmaps, icons and image list; the arrows take the palette's colours. False when
    // a resource is missing.
    bool Load(const QPalette& palette);
    void Release();

    const QFont& FixedFont() const { return fixedFont_; }
    // 140 or 141; an empty pixmap for any other id.
    const QPixmap& Bitmap(int id) const;
    // One of the 14 icons or the program icon; an empty icon for any other id.
    const QIcon& Icon(int id) const;
    // 16 x 16 images, pure green transparent.
    const std::vector<QPixmap>& ImageList() const { return imageList_; }

private:
    QFont fixedFont_;
    std::map<int, QPixmap> bitmaps_;
    std::map<int, QIcon> icons_;
    std::vector<QPixmap> imageList_;
};

}  // namespace corvane
