#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "presentation/ListCellText.h"
#include "settings/ColorSettings.h"
#include "store/ListControlSetup.h"
#include "store/ListRecordsets.h"

namespace corvane {

// The rows of a list recordset as a table: one row per record, one column per shown field,
// each cell read from the recordset when the view paints it and shown by its marker. Holds no
// copy of the data; no exception leaves a cell read: the cell stays empty, a database error
// is reported once, after the paint, until a read succeeds again, and any other failure is
// logged once for the list.
class CListTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Colours of one cell; none: the window's.
    struct CellColors {
        QColor background;
        QColor text;
    };
    using CellColorRule = std::function<std::optional<CellColors>(int row, int column)>;

    CListTableModel(const IListCellNames& names, QObject* parent);

    // An open recordset and its list columns; none empties the table.
    void SetRecordset(CListRecordset* recordset, std::vector<ListColumnSetup> columns);
    CListRecordset* Recordset() const { return recordset_; }
    // The recordset was requeried: its rows are new.
    void ResetRows();
    // Rows were edited: each shown row is read again when it is next painted.
    void RefreshRows();

    // Line shading ("AlternateLineShading" mask and offset) over the window colour.
    void SetShading(int mask, ColorRef offset, QColor window);
    // The alarm list's device cells are read with the row's device type and context fields.
    void SetAlarmDeviceFields(int deviceTypeField, int contextField);
    // The list's own colours of a cell, shaded like the others.
    void SetCellColorRule(CellColorRule rule);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A cell as the list shows it; empty outside the table or on a database error.
    std::string CellText(int row, int column) const;
    // The recordset field a column shows; -1 outside the columns.
    int FieldOf(int column) const;
    int ColumnOfField(int field) const;
    // The row's key: the recordset's key column, else the number in column 0; none when the
    // row has neither.
    std::optional<long long> RowKey(int row) const;

private:
    std::string FieldText(int row, int field) const;
    void ReportError(const std::string& description) const;
    void LogCellFailure(int row, int field, const char* what) const;

    const IListCellNames& names_;
    CListRecordset* recordset_ = nullptr;
    std::vector<ListColumnSetup> columns_;
    int rows_ = 0;
    int deviceTypeField_ = -1;
    int contextField_ = -1;
    int shadingMask_ = 0;
    ColorRef shadingOffset_ = 0;
    QColor window_ = Qt::white;
    CellColorRule colorRule_;
    mutable bool errorShown_ = false;
    mutable bool cellFailureLogged_ = false;
};

}  // namespace corvane
