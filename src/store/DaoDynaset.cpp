// The dynaset: the rows of a query, read when opened or requeried. When the source is one
// table, each row carries its rowid, so edits and deletes go back to that table. A keyset
// reads only the keys when requeried, and a row's values by its key when they are asked for.
#include <sqlite3.h>

#include "store/DaoException.h"
#include "store/DaoFieldIo.h"
#include "store/DaoRecordset.h"
#include "store/DaoSqlText.h"

namespace corvane {

void CDaoRecordset::SetRowKey(int keyField, std::string keyExpression, bool keyWithinFilter) {
    rowKey_ = {keyField, std::move(keyExpression), keyWithinFilter};
}

void CDaoRecordset::RunDynaset() {
    const bool fromTable = !table_.empty();
    const std::string base =
        fromTable ? "SELECT rowid, * FROM " + QuoteIdentifier(table_) : source_;
    const std::string sql = ApplyFilterAndSort(base, m_strFilter, m_strSort);
    if (IsKeyset()) {
        if (fromTable || !bindings_.empty()) {
            throw CDaoException("A keyset opens unbound on a query.", SQLITE_MISUSE);
        }
        RunKeyset(sql);
        return;
    }
    DaoStatement stmt = db_.Prepare(sql, false);
    for (size_t i = 0; i < params_.size(); ++i) {
        stmt.Bind(static_cast<int>(i + 1), params_[i]);
    }
    const int skip = fromTable ? 1 : 0;
    std::vector<std::string> names;
    for (int c = skip; c < stmt.ColumnCount(); ++c) {
        names.push_back(stmt.ColumnName(c));
    }
    for (auto& b : bindings_) {
        b.resultColumn = -1;
        for (size_t c = 0; c < names.size(); ++c) {
            if (sqlite3_stricmp(names[c].c_str(), b.bound.column.c_str()) == 0) {
                b.resultColumn = static_cast<int>(c);
                break;
            }
        }
        if (b.resultColumn < 0) {
            throw CDaoException("no such column: " + b.bound.column, SQLITE_ERROR);
        }
    }
    std::vector<std::vector<DaoValue>> rows;
    std::vector<Bookmark> rowids;
    while (stmt.Step()) {
        std::vector<DaoValue> row;
        row.reserve(names.size());
        for (int c = skip; c < stmt.ColumnCount(); ++c) {
            row.push_back(stmt.ColumnValue(c));
        }
        rows.push_back(std::move(row));
        if (fromTable) {
            rowids.push_back(stmt.ColumnInteger(0));
        }
    }
    columnNames_ = std::move(names);
    rows_ = std::move(rows);
    rowids_ = std::move(rowids);
    DynasetMoveTo(0);
}

void CDaoRecordset::RunKeyset(const std::string& sql) {
    DaoStatement stmt = db_.Prepare(sql, false);
    for (size_t i = 0; i < params_.size(); ++i) {
        stmt.Bind(static_cast<int>(i + 1), params_[i]);
    }
    if (rowKey_.field >= stmt.ColumnCount()) {
        throw CDaoException("The key column is not in the query.", SQLITE_RANGE);
    }
    std::vector<std::string> names;
    for (int c = 0; c < stmt.ColumnCount(); ++c) {
        names.push_back(stmt.ColumnName(c));
    }
    std::vector<DaoValue> keys;
    while (stmt.Step()) {
        keys.push_back(stmt.ColumnValue(rowKey_.field));
    }
    std::string byKey = rowKey_.expression + " = ?";
    if (rowKey_.withinFilter && !m_strFilter.empty()) {
        byKey = "(" + m_strFilter + ") AND " + byKey;
    }
    byKey = ApplyFilterAndSort(source_, byKey, "");
    if (byKey != sqlByKey_.sql) {
        sqlByKey_ = {std::move(byKey), nullptr};
    }
    columnNames_ = std::move(names);
    keys_ = std::move(keys);
    rows_.assign(keys_.size(), {});
    rowStamps_.assign(keys_.size(), 0);
    ++valuesStamp_;
    DynasetMoveTo(0);
}

void CDaoRecordset::RefreshRowValues() {
    ++valuesStamp_;
}

const std::vector<DaoValue>& CDaoRecordset::KeysetRow(size_t row) const {
    if (rowStamps_[row] == valuesStamp_) {
        return rows_[row];
    }
    DaoStatement stmt = Statement(sqlByKey_);
    for (size_t i = 0; i < params_.size(); ++i) {
        stmt.Bind(static_cast<int>(i + 1), params_[i]);
    }
    stmt.Bind(static_cast<int>(params_.size() + 1), keys_[row]);
    std::vector<DaoValue> values;
    if (stmt.Step() && stmt.ColumnCount() == static_cast<int>(columnNames_.size())) {
        values.reserve(columnNames_.size());
        for (int c = 0; c < stmt.ColumnCount(); ++c) {
            values.push_back(stmt.ColumnValue(c));
        }
    }
    rows_[row] = std::move(values);
    rowStamps_[row] = valuesStamp_;
    return rows_[row];
}

void CDaoRecordset::CheckDynasetRow(long row, int field) const {
    CheckOpen();
    if (type_ != DaoOpenType::Dynaset) {
        throw CDaoException("Operation is not supported for this type of object.", SQLITE_MISUSE);
    }
    if (field < 0 || field >= static_cast<int>(columnNames_.size())) {
        throw CDaoException("Item not found in this collection.", SQLITE_RANGE);
    }
    if (row < 0 || row >= static_cast<long>(rows_.size())) {
        throw CDaoException("No current record.", SQLITE_NOTFOUND);
    }
}

DaoValue CDaoRecordset::GetRowValue(long row, int field) const {
    CheckDynasetRow(row, field);
    const auto& values = IsKeyset() ? KeysetRow(static_cast<size_t>(row)) : rows_[row];
    return static_cast<size_t>(field) < values.size() ? values[field] : DaoValue();
}

DaoValue CDaoRecordset::GetRowKey(long row) const {
    CheckDynasetRow(row, 0);
    return IsKeyset() ? keys_[row] : DaoValue();
}

void CDaoRecordset::LoadDynasetRow() {
    if (bindings_.empty()) {
        return;  // nothing bound: the values are read when asked for
    }
    const auto& row = rows_[row_];
    for (const auto& b : bindings_) {
        LoadField(b.bound.field, b.bound.column, RawColumnOf(row[b.resultColumn]));
    }
}

void CDaoRecordset::RefreshDynasetRow(size_t row, Bookmark rowid) {
    DaoStatement stmt =
        db_.Prepare("SELECT rowid, * FROM " + QuoteIdentifier(table_) + " WHERE rowid = ?", true);
    stmt.BindInteger(1, rowid);
    if (!stmt.Step()) {
        return;
    }
    std::vector<DaoValue> values;
    for (int c = 1; c < stmt.ColumnCount(); ++c) {
        values.push_back(stmt.ColumnValue(c));
    }
    if (values.size() == columnNames_.size()) {
        rows_[row] = std::move(values);
    }
}

void CDaoRecordset::DynasetMoveTo(long row) {
    const long count = static_cast<long>(rows_.size());
    gone_ = false;
    if (count == 0) {
        row_ = -1;
        bof_ = eof_ = true;
        return;
    }
    if (row < 0) {
        row_ = -1;
        bof_ = true;
        eof_ = false;
        return;
    }
    if (row >= count) {
        row_ = count;
        eof_ = true;
        bof_ = false;
        return;
    }
    row_ = row;
    bof_ = eof_ = false;
    LoadDynasetRow();
}

}  // namespace corvane
