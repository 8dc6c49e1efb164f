#pragma once

#include <QAccessibleWidget>
#include <QModelIndex>
#include <QPointer>
#include <map>
#include <utility>

class QTableView;

namespace corvane {

// What a list shows a screen reader: the column headers and the rows on screen, never the
// whole table. Qt's own table interface creates one interface for every cell it is asked for,
// up to (rows + 1) x (columns + 1), keeps each until the next reset or view switch and then
// removes them one by one; a screen reader that listed a trunk list of thousands of rows
// froze the window for minutes. Here row r of the table is the r-th row on screen, and each
// cell reads what its place on screen shows at the moment it is asked, so at most one
// interface exists per place on screen.
class CListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit CListAccessible(QTableView* view);

    // The place on screen of a model index: its child number in this interface; -1 when the
    // index is not on screen.
    static int ChildIndexOf(const QTableView& view, const QModelIndex& index);
    // Tells an active screen reader of an event at an index on screen, by that number;
    // ObjectReorder is of the table itself.
    static void Notify(QTableView& view, QAccessible::Event type, const QModelIndex& index);

    // QAccessibleInterface
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface; rows are those on screen, from the top.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }  // the lists select whole rows
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    // The cells read the model when asked; a change leaves nothing to mend.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

protected:
    ~CListAccessible() override;

private:
    QTableView* View() const;
    // The cell at a place on screen (row -1: the column's header), made on first use.
    QAccessibleInterface* Cell(int row, int column) const;

    mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

// One place of a list on screen: a column's header (row -1) or the cell of a row on screen,
// showing whatever model row is there when it is asked.
class CListAccessibleCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CListAccessibleCell(QTableView* view, int row, int column);

    const QTableView* View() const { return view_; }
    int Row() const { return row_; }
    int Column() const { return column_; }
    // The model index shown here now; invalid for a header and a place below the last row.
    QModelIndex Index() const;

    // QAccessibleInterface
    bool isValid() const override { return !view_.isNull(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<QTableView> view_;
    const int row_;
    const int column_;
};

}  // namespace corvane
