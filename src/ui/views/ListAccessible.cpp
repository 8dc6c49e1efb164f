#include "ui/views/ListAccessible.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

namespace corvane {
namespace {

// The model rows on screen: the first and how many.
struct ShownRows {
    int first = 0;
    int count = 0;
};

ShownRows RowsOnScreen(const QTableView& view) {
    const QAbstractItemModel* model = view.model();
    const int height = view.viewport()->height();
    const int first = view.rowAt(0);
    if (model == nullptr || height <= 0 || first < 0) {
        return {};
    }
    int last = view.rowAt(height - 1);
    if (last < 0) {
        last = model->rowCount() - 1;
    }
    return {first, std::max(last - first + 1, 0)};
}

int Columns(const QTableView& view) {
    return view.model() != nullptr ? view.model()->columnCount() : 0;
}

}  // namespace

// --- The table ---

CListAccessible::CListAccessible(QTableView* view) : QAccessibleWidget(view, QAccessible::Table) {}

CListAccessible::~CListAccessible() {
    for (const auto& [place, id] : cells_) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

QTableView* CListAccessible::View() const {
    return static_cast<QTableView*>(widget());
}

int CListAccessible::ChildIndexOf(const QTableView& view, const QModelIndex& index) {
    const ShownRows shown = RowsOnScreen(view);
    const int columns = Columns(view);
    const int row = index.isValid() ? index.row() - shown.first : -1;
    if (row < 0 || row >= shown.count || index.column() >= columns) {
        return -1;
    }
    return (row + 1) * columns + index.column();
}

void CListAccessible::Notify(QTableView& view, QAccessible::Event type, const QModelIndex& index) {
    if (!QAccessible::isActive()) {
        return;
    }
    const int child = ChildIndexOf(view, index);
    if (child < 0 && type != QAccessible::ObjectReorder) {
        return;
    }
    QAccessibleEvent event(&view, type);
    event.setChild(child);
    QAccessible::updateAccessibility(&event);
}

QAccessibleInterface* CListAccessible::Cell(int row, int column) const {
    const auto place = std::make_pair(row, column);
    if (const auto found = cells_.find(place); found != cells_.end()) {
        return QAccessible::accessibleInterface(found->second);
    }
    auto* cell = new CListAccessibleCell(View(), row, column);
    cells_.emplace(place, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int CListAccessible::childCount() const {
    return (RowsOnScreen(*View()).count + 1) * Columns(*View());
}

QAccessibleInterface* CListAccessible::child(int index) const {
    const int columns = Columns(*View());
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    return Cell(index / columns - 1, index % columns);
}

int CListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const CListAccessibleCell*>(child);
    if (cell == nullptr || cell->View() != View()) {
        return -1;
    }
    const int index = (cell->Row() + 1) * Columns(*View()) + cell->Column();
    return index < childCount() ? index : -1;
}

QAccessibleInterface* CListAccessible::childAt(int x, int y) const {
    const QTableView& view = *View();
    const QPoint global(x, y);
    const QHeaderView* header = view.horizontalHeader();
    const QPoint inHeader = header->mapFromGlobal(global);
    if (header->isVisible() && header->rect().contains(inHeader)) {
        const int column = header->logicalIndexAt(inHeader);
        return column >= 0 ? Cell(-1, column) : nullptr;
    }
    const int index = ChildIndexOf(view, view.indexAt(view.viewport()->mapFromGlobal(global)));
    return index >= 0 ? child(index) : nullptr;
}

QAccessibleInterface* CListAccessible::focusChild() const {
    const int index = ChildIndexOf(*View(), View()->currentIndex());
    return View()->hasFocus() && index >= 0 ? child(index) : nullptr;
}

void* CListAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* CListAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return nullptr;
    }
    return Cell(row, column);
}

QList<QAccessibleInterface*> CListAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    const QItemSelectionModel* selection = View()->selectionModel();
    const ShownRows shown = RowsOnScreen(*View());
    const int columns = columnCount();
    for (int row = 0; selection != nullptr && row < shown.count; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (selection->isSelected(View()->model()->index(shown.first + row, column))) {
                cells.append(Cell(row, column));
            }
        }
    }
    return cells;
}

int CListAccessible::selectedCellCount() const {
    return static_cast<int>(selectedCells().size());
}

QString CListAccessible::columnDescription(int column) const {
    return View()->model() != nullptr
               ? View()->model()->headerData(column, Qt::Horizontal).toString()
               : QString();
}

int CListAccessible::columnCount() const {
    return Columns(*View());
}

int CListAccessible::rowCount() const {
    return RowsOnScreen(*View()).count;
}

QList<int> CListAccessible::selectedRows() const {
    QList<int> rows;
    for (int row = 0; row < rowCount(); ++row) {
        if (isRowSelected(row)) {
            rows.append(row);
        }
    }
    return rows;
}

int CListAccessible::selectedRowCount() const {
    return static_cast<int>(selectedRows().size());
}

bool CListAccessible::isRowSelected(int row) const {
    const ShownRows shown = RowsOnScreen(*View());
    const QItemSelectionModel* selection = View()->selectionModel();
    return selection != nullptr && row >= 0 && row < shown.count &&
           selection->isRowSelected(shown.first + row, View()->rootIndex());
}

bool CListAccessible::selectRow(int row) {
    const ShownRows shown = RowsOnScreen(*View());
    QItemSelectionModel* selection = View()->selectionModel();
    if (selection == nullptr || row < 0 || row >= shown.count ||
        View()->selectionMode() == QAbstractItemView::NoSelection) {
        return false;
    }
    QItemSelectionModel::SelectionFlags flags =
        QItemSelectionModel::Select | QItemSelectionModel::Rows;
    if (View()->selectionMode() == QAbstractItemView::SingleSelection) {
        flags |= QItemSelectionModel::Clear;
    }
    selection->select(View()->model()->index(shown.first + row, 0), flags);
    return true;
}

bool CListAccessible::unselectRow(int row) {
    const ShownRows shown = RowsOnScreen(*View());
    QItemSelectionModel* selection = View()->selectionModel();
    if (selection == nullptr || row < 0 || row >= shown.count) {
        return false;
    }
    selection->select(View()->model()->index(shown.first + row, 0),
                      QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    return true;
}

// --- One place on screen ---

CListAccessibleCell::CListAccessibleCell(QTableView* view, int row, int column)
    : view_(view), row_(row), column_(column) {}

QModelIndex CListAccessibleCell::Index() const {
    if (view_.isNull() || view_->model() == nullptr || row_ < 0) {
        return {};
    }
    const ShownRows shown = RowsOnScreen(*view_);
    return row_ < shown.count ? view_->model()->index(shown.first + row_, column_) : QModelIndex();
}

QAccessibleInterface* CListAccessibleCell::parent() const {
    return view_.isNull() ? nullptr : QAccessible::queryAccessibleInterface(view_.data());
}

QString CListAccessibleCell::text(QAccessible::Text type) const {
    if (type != QAccessible::Name || view_.isNull() || view_->model() == nullptr) {
        return {};
    }
    if (row_ < 0) {
        return view_->model()->headerData(column_, Qt::Horizontal).toString();
    }
    return Index().data(Qt::DisplayRole).toString();
}

QRect CListAccessibleCell::rect() const {
    if (view_.isNull() || !view_->isVisible()) {
        return {};
    }
    if (row_ < 0) {
        const QHeaderView* header = view_->horizontalHeader();
        const QRect section(header->sectionViewportPosition(column_), 0,
                            header->sectionSize(column_), header->height());
        return QRect(header->viewport()->mapToGlobal(section.topLeft()), section.size());
    }
    const QRect cell = view_->visualRect(Index());
    return cell.isValid() ? QRect(view_->viewport()->mapToGlobal(cell.topLeft()), cell.size())
                          : QRect();
}

QAccessible::Role CListAccessibleCell::role() const {
    return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State CListAccessibleCell::state() const {
    QAccessible::State state;
    if (row_ < 0) {
        return state;
    }
    const QModelIndex index = Index();
    if (!index.isValid()) {
        state.invisible = true;  // below the last row
        return state;
    }
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    state.focused = view_->hasFocus() && view_->currentIndex() == index;
    if (view_->selectionMode() == QAbstractItemView::ExtendedSelection) {
        state.extSelectable = true;
        state.multiSelectable = true;
    }
    return state;
}

void* CListAccessibleCell::interface_cast(QAccessible::InterfaceType type) {
    return type == QAccessible::TableCellInterface
               ? static_cast<QAccessibleTableCellInterface*>(this)
               : nullptr;
}

bool CListAccessibleCell::isSelected() const {
    const QModelIndex index = Index();
    return index.isValid() && view_->selectionModel() != nullptr &&
           view_->selectionModel()->isSelected(index);
}

QList<QAccessibleInterface*> CListAccessibleCell::columnHeaderCells() const {
    QAccessibleInterface* table = parent();
    if (table == nullptr || row_ < 0) {
        return {};
    }
    // The headers are the table's first row of children.
    QAccessibleInterface* header = table->child(column_);
    return header != nullptr ? QList<QAccessibleInterface*>{header}
                             : QList<QAccessibleInterface*>{};
}

}  // namespace corvane
