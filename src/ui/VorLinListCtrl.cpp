#include "ui/VorLinListCtrl.h"

#include <QApplication>
#include <QHeaderView>

#include "presentation/ColumnAutoSize.h"
#include "presentation/SortData.h"
#include "ui/VorlinHeaderCtrl.h"

namespace corvane {

CVorLinListCtrl::CVorLinListCtrl(QWidget* parent) : QTreeWidget(parent) {
    setHeader(new CVorlinHeaderCtrl(this));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    QHeaderView* bar = header();
    bar->setSectionsClickable(true);
    bar->setSectionsMovable(true);
    bar->setStretchLastSection(false);
    connect(bar, &QHeaderView::sectionClicked, this, &CVorLinListCtrl::SetSortColumn);
    disconnect(bar, SIGNAL(sectionHandleDoubleClicked(int)), this,
               SLOT(resizeColumnToContents(int)));
    connect(bar, &QHeaderView::sectionHandleDoubleClicked, this, [this](int column) {
        const Qt::KeyboardModifiers keys = QApplication::keyboardModifiers();
        AutoSizeColumn(column, keys & Qt::ShiftModifier, keys & Qt::ControlModifier,
                       keys & Qt::AltModifier);
    });
}

void CVorLinListCtrl::SetRedrawOff() {
    header()->setUpdatesEnabled(false);
    setUpdatesEnabled(false);
}

void CVorLinListCtrl::SetRedrawOn() {
    header()->setUpdatesEnabled(true);
    setUpdatesEnabled(true);
}

int CVorLinListCtrl::FindItemByData(const QVariant& data) const {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->data(0, Qt::UserRole) == data) {
            return i;
        }
    }
    return -1;
}

void CVorLinListCtrl::AutoSizeColumn(int column, bool shift, bool control, bool alt) {
    SetRedrawOff();
    const QHeaderView* bar = header();
    const QString title = headerItem() != nullptr ? headerItem()->text(column) : QString();
    ColumnMeasures m;
    m.contents = sizeHintForColumn(column);
    m.contentsAndHeader = std::max(m.contents, bar->sectionSizeHint(column));
    m.headerText = bar->fontMetrics().horizontalAdvance(title.left(127)) +
                   bar->fontMetrics().horizontalAdvance(QStringLiteral("   "));
    m.lastColumn = bar->visualIndex(column) == columnCount() - 1;
    m.lastColumnFits = bar->length() <= viewport()->width();
    setColumnWidth(column, AutoSizeColumnWidth(m, shift, control, alt));
    SetRedrawOn();
    header()->repaint();
}

void CVorLinListCtrl::SetSortColumn(int column) {
    if (sortColumn_ >= 0) {
        ascending_ = column == sortColumn_ ? !ascending_ : true;
    }
    if (column < 0) {
        sortColumn_ = -1;
        ascending_ = true;
        header()->setSortIndicatorShown(false);
        return;
    }
    sortColumn_ = column;
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
    SortItems();
}

void CVorLinListCtrl::SortItems() {
    if (sortColumn_ < 0) {
        return;
    }
    const int kind = sortKind_ ? sortKind_(sortColumn_, ascending_) : sortkind::kText;
    // The rows go out and come back in their new order: the selection and the current row
    // are the same items afterwards.
    const QList<QTreeWidgetItem*> selected = selectedItems();
    QTreeWidgetItem* current = currentItem();
    const int currentColumn = this->currentColumn();
    std::vector<std::string> texts;
    QList<QTreeWidgetItem*> items;
    while (topLevelItemCount() > 0) {
        QTreeWidgetItem* item = takeTopLevelItem(0);
        texts.push_back(item->text(sortColumn_).toStdString());
        items.push_back(item);
    }
    QList<QTreeWidgetItem*> sorted;
    for (const size_t i : SortOrder(texts, ascending_ ? kind : -kind)) {
        sorted.push_back(items[static_cast<qsizetype>(i)]);
    }
    addTopLevelItems(sorted);
    if (current != nullptr) {
        setCurrentItem(current, currentColumn, QItemSelectionModel::NoUpdate);
    }
    for (QTreeWidgetItem* item : selected) {
        item->setSelected(true);
    }
}

}  // namespace corvane
