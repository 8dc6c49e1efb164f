#pragma once

#include <QTreeWidget>
#include <functional>

namespace corvane {

// The sortable report list of the dialogs: a header click sorts the rows by that column, the
// same column again the other way, with the arrow in the header; the compare kind of a column
// (sortkind:: in presentation/SortData.h) is asked of the owner. A double click on a header
// divider sizes the column to its header or its contents. Rows keep their own data when
// sorted.
class CVorLinListCtrl : public QTreeWidget {
    Q_OBJECT

public:
    // The compare kind of a column; without one every column compares as text.
    using SortKindSource = std::function<int(int column, bool ascending)>;

    explicit CVorLinListCtrl(QWidget* parent = nullptr);

    void SetSortKindSource(SortKindSource source) { sortKind_ = std::move(source); }
    void SetRedrawOff();
    void SetRedrawOn();
    // The first row whose data (Qt::UserRole of column 0) equals data, -1 when none.
    int FindItemByData(const QVariant& data) const;
    // The column's width by the list's sizing rule, with the keys given.
    void AutoSizeColumn(int column, bool shift, bool control, bool alt);
    // A column sorts ascending; the same column again descending; a negative one clears.
    void SetSortColumn(int column);
    int SortColumn() const { return sortColumn_; }
    bool IsAscending() const { return ascending_; }
    // Sorts by the sort column again (after rows were added).
    void SortItems();

private:
    SortKindSource sortKind_;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

}  // namespace corvane
