#include "ui/views/ListTableModel.h"

#include <QTimer>

#include "log/DiagLogSource.h"
#include "model/ListRowKeys.h"
#include "presentation/LineShading.h"
#include "store/DaoException.h"

namespace corvane {
namespace {

QColor ToQColor(ColorRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

ColorRef ToColorRef(const QColor& c) {
    return Rgb(c.red(), c.green(), c.blue());
}

const CDiagLogSource& ListLog() {
    static const CDiagLogSource log("ListView", "List Views", 0);
    return log;
}

}  // namespace

CListTableModel::CListTableModel(const IListCellNames& names, QObject* parent)
    : QAbstractTableModel(parent), names_(names) {}

void CListTableModel::SetRecordset(CListRecordset* recordset,
                                   std::vector<ListColumnSetup> columns) {
    beginResetModel();
    recordset_ = recordset;
    columns_ = std::move(columns);
    rows_ = 0;
    if (recordset_ != nullptr && recordset_->IsOpen()) {
        rows_ = static_cast<int>(recordset_->GetRecordCount());
    }
    endResetModel();
}

void CListTableModel::ResetRows() {
    SetRecordset(recordset_, columns_);
}

void CListTableModel::RefreshRows() {
    if (recordset_ == nullptr || rows_ == 0 || columns_.empty()) {
        return;
    }
    recordset_->RefreshRowValues();
    // The views repaint what they show; only those rows are read.
    emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(columns_.size()) - 1));
}

void CListTableModel::SetShading(int mask, ColorRef offset, QColor window) {
    shadingMask_ = mask;
    shadingOffset_ = offset;
    window_ = window;
}

void CListTableModel::SetAlarmDeviceFields(int deviceTypeField, int contextField) {
    deviceTypeField_ = deviceTypeField;
    contextField_ = contextField;
}

void CListTableModel::SetCellColorRule(CellColorRule rule) {
    colorRule_ = std::move(rule);
}

int CListTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int CListTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

int CListTableModel::FieldOf(int column) const {
    return column >= 0 && column < static_cast<int>(columns_.size()) ? columns_[column].field : -1;
}

int CListTableModel::ColumnOfField(int field) const {
    for (size_t c = 0; c < columns_.size(); ++c) {
        if (columns_[c].field == field) {
            return static_cast<int>(c);
        }
    }
    return -1;
}

void CListTableModel::ReportError(const std::string& description) const {
    if (errorShown_) {
        return;
    }
    errorShown_ = true;
    // Never from inside a paint: the box runs an event loop of its own.
    QTimer::singleShot(0, [description] {
        ReportDaoException(CDaoException(description, 0), "Error\nDescription: %s");
    });
}

void CListTableModel::LogCellFailure(int row, int field, const char* what) const {
    if (cellFailureLogged_) {
        return;
    }
    cellFailureLogged_ = true;
    ListLog().Printf(0, "Row %d, field %d shown empty: %s (not logged again for this list)", row,
                     field, what);
}

std::string CListTableModel::FieldText(int row, int field) const {
    if (recordset_ == nullptr || row < 0 || row >= rows_ || field < 0) {
        return {};
    }
    try {
        const DaoValue value = recordset_->GetRowValue(row, field);
        std::optional<AlarmDeviceCells> alarm;
        if (deviceTypeField_ >= 0 && contextField_ >= 0) {
            alarm = AlarmDeviceCells{recordset_->GetRowValue(row, deviceTypeField_).ToText(),
                                     recordset_->GetRowValue(row, contextField_).ToText()};
        }
        std::string text = ListCellText(value, names_, alarm ? &*alarm : nullptr,
                                        std::chrono::system_clock::now());
        errorShown_ = false;
        return text;
    } catch (const CDaoException& e) {
        ReportError(e.Description());
        return {};
    } catch (const std::exception& e) {
        // Nothing may leave a cell read: the view asks for cells while it paints.
        LogCellFailure(row, field, e.what());
        return {};
    } catch (...) {
        LogCellFailure(row, field, "unknown exception");
        return {};
    }
}

std::string CListTableModel::CellText(int row, int column) const {
    return FieldText(row, FieldOf(column));
}

std::optional<long long> CListTableModel::RowKey(int row) const {
    if (recordset_ == nullptr || row < 0 || row >= rows_) {
        return std::nullopt;
    }
    try {
        if (recordset_->IsKeyset()) {
            const DaoValue key = recordset_->GetRowKey(row);
            if (key.IsInteger()) {
                return key.AsInteger();
            }
        }
    } catch (const CDaoException& e) {
        ReportError(e.Description());
        return std::nullopt;
    }
    const int key = ParseListKey(CellText(row, 0));
    return key == INT_MAX ? std::nullopt : std::optional<long long>(key);
}

QVariant CListTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(CellText(index.row(), index.column()));
        case Qt::BackgroundRole:
        case Qt::ForegroundRole: {
            std::optional<CellColors> own;
            if (colorRule_) {
                own = colorRule_(index.row(), index.column());
            }
            if (role == Qt::ForegroundRole) {
                return own ? QVariant(own->text) : QVariant();
            }
            const QColor base = own ? own->background : window_;
            if (!IsShadedRow(index.row(), shadingMask_)) {
                return own ? QVariant(base) : QVariant();
            }
            return ToQColor(ShadeColor(ToColorRef(base), shadingOffset_));
        }
        default:
            return {};
    }
}

QVariant CListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(columns_.size())) {
        return {};
    }
    return QString::fromStdString(columns_[section].title);
}

}  // namespace corvane
