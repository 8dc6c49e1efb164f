// The dynaset: the rows of a query, read when opened or requeried. When the source is one
// table, each row carries its rowid, so edits and deletes go back to that table.
#include <sqlite3.h>

#include "store/DaoException.h"
#include "store/DaoFieldIo.h"
#include "store/DaoRecordset.h"
#include "store/DaoSqlText.h"

namespace corvane {

void CDaoRecordset::RunDynaset() {
    const bool fromTable = !table_.empty();
    const std::string base =
        fromTable ? "SELECT rowid, * FROM " + QuoteIdentifier(table_) : source_;
    const std::string sql = ApplyFilterAndSort(base, m_strFilter, m_strSort);
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

void CDaoRecordset::LoadDynasetRow() {
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
