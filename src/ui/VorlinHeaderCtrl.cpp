#include "ui/VorlinHeaderCtrl.h"

#include <QPainter>
#include <QStyleOptionHeader>

#include "ui/AppResources.h"

namespace corvane {
namespace {

// Room between the text and the arrow.
constexpr int kArrowGap = 4;

}  // namespace

CVorlinHeaderCtrl::CVorlinHeaderCtrl(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent),
      ascending_(CAppResources::PaletteBitmap(CAppResources::kSortAscending, palette())),
      descending_(CAppResources::PaletteBitmap(CAppResources::kSortDescending, palette())) {}

const QPixmap& CVorlinHeaderCtrl::SortArrow(int logicalIndex) const {
    static const QPixmap none;
    if (!isSortIndicatorShown() || sortIndicatorSection() != logicalIndex) {
        return none;
    }
    return sortIndicatorOrder() == Qt::AscendingOrder ? ascending_ : descending_;
}

void CVorlinHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) {
        return;
    }
    // The style's own indicator is left out: its direction is the style's, not the program's.
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.sortIndicator = QStyleOptionHeader::None;
    painter->save();
    painter->setClipRect(rect);
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    QStyleOptionHeader label = option;
    label.rect = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    const QPixmap& arrow = SortArrow(logicalIndex);
    if (!arrow.isNull()) {
        label.rect.setRight(label.rect.right() - arrow.width() - kArrowGap);
    }
    if (label.rect.isValid()) {
        style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);
    }
    if (!arrow.isNull()) {
        // Right of the text where the label's alignment put it.
        const QSize text(
            std::min(label.fontMetrics.horizontalAdvance(label.text), label.rect.width()),
            label.rect.height());
        const QRect placed =
            QStyle::alignedRect(layoutDirection(), label.textAlignment, text, label.rect);
        painter->drawPixmap(placed.right() + 1 + kArrowGap,
                            rect.top() + (rect.height() - arrow.height()) / 2, arrow);
    }
    painter->restore();
}

}  // namespace corvane
