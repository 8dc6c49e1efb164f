#include "ui/Dib.h"

#include <QPainter>

#include <algorithm>

namespace corvane {

bool CDib::LoadFromFile(const QString& path) {
    return Attach(QImage(path));
}

bool CDib::LoadFromResource(const QString& name) {
    return Attach(QImage(name));
}

bool CDib::Attach(const QImage& image) {
    DeleteObject();
    if (image.isNull()) {
        return false;
    }
    image_ = image;
    return true;
}

void CDib::DeleteObject() {
    image_ = QImage();
}

QSize CDib::GetSize() const {
    return image_.isNull() ? QSize(0, 0) : image_.size();
}

int CDib::GetColorTable(QRgb* entries, int count) const {
    const QList<QRgb> table = image_.colorTable();
    const int n = std::min(count, static_cast<int>(table.size()));
    std::copy_n(table.begin(), std::max(n, 0), entries);
    return std::max(n, 0);
}

bool CDib::Draw(QPainter& painter, const QRect* target, const QRect* source) const {
    if (image_.isNull()) {
        return false;
    }
    const QRect from = source != nullptr ? *source : image_.rect();
    const QRect to = target != nullptr ? *target : from;
    if (to.size() == from.size()) {
        painter.drawImage(to.topLeft(), image_, from);
    } else {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(to, image_, from);
        painter.restore();
    }
    return true;
}

}  // namespace corvane
