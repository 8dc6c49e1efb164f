#pragma once

#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace corvane {

// A bitmap loaded from a file or the program's resources, drawn one to one or stretched.
// Qt draws in true colour, so no palette is selected; the colour table of an indexed bitmap
// is still available.
class CDib {
public:
    bool LoadFromFile(const QString& path);
    // A resource name such as ":/corvane/bitmap142.png".
    bool LoadFromResource(const QString& name);
    // Takes the image; a null image fails and leaves the bitmap empty.
    bool Attach(const QImage& image);
    void DeleteObject();

    bool IsEmpty() const { return image_.isNull(); }
    // (0, 0) while empty.
    QSize GetSize() const;
    // Copies at most count colour-table entries; 0 for a bitmap without a table.
    int GetColorTable(QRgb* entries, int count) const;

    // A null source is the whole bitmap; a null target is the source's own rectangle.
    // The same size copies one to one, another stretches. An empty bitmap fails and leaves
    // the painter untouched.
    bool Draw(QPainter& painter, const QRect* target = nullptr,
              const QRect* source = nullptr) const;

private:
    QImage image_;
};

}  // namespace corvane
