#pragma once

#include <QHeaderView>
#include <QImage>
#include <algorithm>

namespace corvane::testing {

// Which way the sort arrow of a header points: 1 up, -1 down, 0 when none is drawn. It is
// found from the header drawn as it is and drawn with the other order: where the two differ,
// the darker of them holds its arrow. An arrow pointing up is wider than one pointing down in
// its lower half, so that is where its own ink lies.
inline int SortArrowDirection(QHeaderView& header) {
    const int section = header.sortIndicatorSection();
    const Qt::SortOrder order = header.sortIndicatorOrder();
    const QImage shown = header.grab().toImage();
    header.setSortIndicator(section,
                            order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
    const QImage other = header.grab().toImage();
    header.setSortIndicator(section, order);
    const auto ink = [&](int x, int y) {
        return qGray(shown.pixel(x, y)) < qGray(other.pixel(x, y));
    };
    int top = shown.height();
    int bottom = -1;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) != other.pixel(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    int upper = 0;
    int lower = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (ink(x, y)) {
                (2 * (y - top) < bottom - top ? upper : lower) += 1;
            }
        }
    }
    return lower > upper ? 1 : upper > lower ? -1 : 0;
}

}  // namespace corvane::testing
