#include "ui/AppResources.h"

#include <QImage>
#include <QPalette>

// Resources of a static library must be registered by name from outside any namespace.
static void InitCorvaneResources() {
    Q_INIT_RESOURCE(corvane);
}

namespace corvane {
namespace {

QString IconResource(int id) {
    CAppResources::Register();
    return QStringLiteral(":/corvane/icon%1.png").arg(id);
}

// Greys of the drawing become the palette's shades, as bitmaps mapped to the system colours.
QPixmap Mapped(QImage image, const QPalette& palette) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    const std::pair<QRgb, QColor> map[] = {
        {qRgb(0, 0, 0), palette.color(QPalette::ButtonText)},
        {qRgb(128, 128, 128), palette.color(QPalette::Dark)},
        {qRgb(192, 192, 192), palette.color(QPalette::Button)},
        {qRgb(255, 255, 255), palette.color(QPalette::Light)},
    };
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            for (const auto& [from, to] : map) {
                if (qAlpha(line[x]) != 0 && (line[x] & 0xFFFFFF) == (from & 0xFFFFFF)) {
                    line[x] = qRgba(to.red(), to.green(), to.blue(), qAlpha(line[x]));
                }
            }
        }
    }
    return QPixmap::fromImage(image);
}

// Cuts a strip into 16 x 16 images; pure green becomes transparent.
bool AddStrip(std::vector<QPixmap>& list, const QImage& strip) {
    if (strip.isNull() || strip.height() != 16 || strip.width() % 16 != 0) {
        return false;
    }
    QImage argb = strip.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0x00FF00) {
                line[x] = 0;
            }
        }
    }
    for (int x = 0; x < argb.width(); x += 16) {
        list.push_back(QPixmap::fromImage(argb.copy(x, 0, 16, 16)));
    }
    return true;
}

}  // namespace

void CAppResources::Register() {
    static const bool registered = (InitCorvaneResources(), true);
    (void)registered;
}

QString CAppResources::BitmapResource(int id) {
    Register();
    return QStringLiteral(":/corvane/bitmap%1.png").arg(id);
}

QPixmap CAppResources::PaletteBitmap(int id, const QPalette& palette) {
    const QImage image(BitmapResource(id));
    return image.isNull() ? QPixmap() : Mapped(image, palette);
}

bool CAppResources::Load(const QPalette& palette) {
    Register();
    Release();
    fixedFont_ = QFont("Courier New", 9);
    fixedFont_.setStyleHint(QFont::TypeWriter);
    bool complete = true;
    for (int id : {kSortAscending, kSortDescending}) {
        bitmaps_[id] = PaletteBitmap(id, palette);
        complete = complete && !bitmaps_[id].isNull();
    }
    for (int id : kIconIds) {
        icons_[id] = QIcon(IconResource(id));
        complete = complete && !icons_[id].availableSizes().isEmpty();
    }
    icons_[kProgramIcon] = QIcon(IconResource(kProgramIcon));
    complete = AddStrip(imageList_, QImage(BitmapResource(kTreeImages))) && complete;
    complete = AddStrip(imageList_, QImage(BitmapResource(kMoreTreeImages))) && complete;
    return complete;
}

void CAppResources::Release() {
    bitmaps_.clear();
    icons_.clear();
    imageList_.clear();
}

const QPixmap& CAppResources::Bitmap(int id) const {
    static const QPixmap none;
    const auto it = bitmaps_.find(id);
    return it == bitmaps_.end() ? none : it->second;
}

const QIcon& CAppResources::Icon(int id) const {
    static const QIcon none;
    const auto it = icons_.find(id);
    return it == icons_.end() ? none : it->second;
}

}  // namespace corvane
