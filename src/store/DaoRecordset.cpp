#include "store/DaoRecordset.h"

#include <sqlite3.h>

#include <cctype>

#include "log/DiagLogSource.h"
#include "store/DaoException.h"
#include "store/DaoFieldIo.h"

namespace corvane {
namespace {

[[noreturn]] void Throw(const char* text, int code) {
    throw CDaoException(text, code);
}

}  // namespace

CDaoRecordset::CDaoRecordset(CDaoDatabase& database) : db_(database) {}

CDaoRecordset::~CDaoRecordset() = default;

void CDaoRecordset::Open() {
    Open(m_nDefaultType);
}

std::string CDaoRecordset::TableOfSource(const std::string& sql) {
    size_t begin = 0;
    size_t end = sql.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(sql[begin]))) {
        ++begin;
    }
    while (end > begin && std::isspace(static_cast<unsigned char>(sql[end - 1]))) {
        --end;
    }
    std::string name = sql.substr(begin, end - begin);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        return name.substr(1, name.size() - 2);
    }
    for (const char c : name) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) {
            return {};  // a query, not a table
        }
    }
    return name;
}

void CDaoRecordset::Open(DaoOpenType type, const std::string& sql,
                         const std::vector<DaoValue>& params) {
    if (!db_.IsOpen()) {
        db_.ThrowClosed();
    }
    Close();
    type_ = type;
    source_ = sql.empty() ? GetDefaultSQL() : sql;
    params_ = params;
    table_ = TableOfSource(source_);
    if (type_ == DaoOpenType::Table && table_.empty()) {
        Throw("A table recordset opens on a table.", SQLITE_MISUSE);
    }
    CDaoFieldExchange fx;
    DoFieldExchange(fx);
    bindings_.clear();
    for (auto& bound : fx.TakeBindings()) {
        bindings_.push_back({std::move(bound), {}, -1});
    }
    if (bindings_.size() > 64) {
        Throw("A recordset binds at most 64 columns.", SQLITE_MISUSE);
    }
    if (!table_.empty()) {
        Bind(table_);
    }
    generation_ = db_.Generation();
    open_ = true;
    mode_ = EditMode::None;
    lastModified_ = 0;
    updateSql_.clear();
    insertSql_.clear();
    try {
        if (type_ == DaoOpenType::Table) {
            const bool hasKey = [&] {
                for (const auto& c : db_.GetTableColumns(table_)) {
                    if (c.primaryKeyPosition > 0) {
                        return true;
                    }
                }
                return false;
            }();
            SetCurrentIndex(hasKey ? "PrimaryKey" : "");
        } else {
            RunDynaset();
        }
    } catch (...) {
        open_ = false;
        throw;
    }
}

void CDaoRecordset::Bind(const std::string& table) {
    const std::vector<DaoColumnInfo> columns = db_.GetTableColumns(table);
    if (columns.empty()) {
        throw CDaoException("no such table: " + table, SQLITE_ERROR);
    }
    for (auto& b : bindings_) {
        bool found = false;
        for (const auto& c : columns) {
            if (sqlite3_stricmp(c.name.c_str(), b.bound.column.c_str()) == 0) {
                b.column = c.type;
                found = true;
                break;
            }
        }
        if (!found) {
            throw CDaoException("no such column: " + table + "." + b.bound.column, SQLITE_ERROR);
        }
    }
}

void CDaoRecordset::Close() {
    open_ = false;
    mode_ = EditMode::None;
    bof_ = eof_ = true;
    gone_ = false;
    rows_.clear();
    rowids_.clear();
    keys_.clear();
    rowStamps_.clear();
    columnNames_.clear();
    key_.clear();
    row_ = -1;
}

bool CDaoRecordset::IsOpen() const {
    return open_ && generation_ == db_.Generation();
}

void CDaoRecordset::CheckOpen() const {
    if (!IsOpen()) {
        Throw("Object is closed: the recordset is not open.", SQLITE_MISUSE);
    }
}

void CDaoRecordset::CheckCurrentRow() const {
    CheckOpen();
    if (bof_ || eof_ || gone_) {
        Throw("No current record.", SQLITE_NOTFOUND);
    }
}

void CDaoRecordset::CheckUpdatable() const {
    CheckOpen();
    if (table_.empty()) {
        Throw("Cannot update. Database or object is read-only.", SQLITE_READONLY);
    }
}

void CDaoRecordset::AddNew() {
    CheckUpdatable();
    for (auto& b : bindings_) {
        FieldLoadNull(b.bound.field);
    }
    mode_ = EditMode::AddNew;
}

void CDaoRecordset::Edit() {
    CheckUpdatable();
    CheckCurrentRow();
    for (auto& b : bindings_) {
        FieldBeginEdit(b.bound.field);
    }
    mode_ = EditMode::Edit;
}

void CDaoRecordset::CancelUpdate() {
    CheckOpen();
    const EditMode was = mode_;
    mode_ = EditMode::None;
    if (was != EditMode::None && !(bof_ || eof_ || gone_)) {
        ReloadCurrent();
    }
}

DaoStatement CDaoRecordset::Statement(CachedSql& sql) const {
    if (sql.slot == nullptr) {
        sql.slot = &db_.Slot(sql.sql);
    }
    return db_.Use(*sql.slot);
}

CDaoRecordset::CachedSql& CDaoRecordset::UpdateSql(uint64_t columns) {
    CachedSql& cached = updateSql_[columns];
    std::string& sql = cached.sql;
    if (sql.empty()) {
        sql = "UPDATE " + QuoteIdentifier(table_) + " SET ";
        bool first = true;
        for (size_t i = 0; i < bindings_.size(); ++i) {
            if (columns & (uint64_t{1} << i)) {
                sql += (first ? "" : ", ") + QuoteIdentifier(bindings_[i].bound.column) + " = ?";
                first = false;
            }
        }
        sql += " WHERE rowid = ?";
    }
    return cached;
}

CDaoRecordset::CachedSql& CDaoRecordset::InsertSql(uint64_t columns) {
    CachedSql& cached = insertSql_[columns];
    std::string& sql = cached.sql;
    if (sql.empty()) {
        sql = "INSERT INTO " + QuoteIdentifier(table_);
        if (columns == 0) {
            sql += " DEFAULT VALUES";
            return cached;
        }
        std::string names, marks;
        for (size_t i = 0; i < bindings_.size(); ++i) {
            if (columns & (uint64_t{1} << i)) {
                names += (names.empty() ? "" : ", ") + QuoteIdentifier(bindings_[i].bound.column);
                marks += marks.empty() ? "?" : ", ?";
            }
        }
        sql += " (" + names + ") VALUES (" + marks + ")";
    }
    return cached;
}

CDaoRecordset::Bookmark CDaoRecordset::WriteRow() {
    uint64_t columns = 0;
    for (size_t i = 0; i < bindings_.size(); ++i) {
        const auto& field = bindings_[i].bound.field;
        const bool write =
            mode_ == EditMode::AddNew ? FieldIsAssigned(field) : FieldIsChangedSinceEdit(field);
        if (write) {
            columns |= uint64_t{1} << i;
        }
    }
    const Bookmark current = mode_ != EditMode::Edit       ? 0
                             : type_ == DaoOpenType::Table ? rowid_
                                                           : rowids_[row_];
    if (mode_ == EditMode::Edit && columns == 0) {
        return current;  // nothing changed, nothing to write
    }
    DaoStatement stmt =
        Statement(mode_ == EditMode::AddNew ? InsertSql(columns) : UpdateSql(columns));
    int at = 1;
    std::vector<std::pair<DaoText*, std::string>> cut;
    for (size_t i = 0; i < bindings_.size(); ++i) {
        if (columns & (uint64_t{1} << i)) {
            const auto& b = bindings_[i];
            std::optional<std::string> shorter;
            BindFieldToWrite(stmt, at++, b.bound.field, table_, b.bound.column, b.column, db_.Log(),
                             shorter);
            if (shorter) {
                cut.emplace_back(std::get<DaoText*>(b.bound.field), std::move(*shorter));
            }
        }
    }
    if (mode_ == EditMode::Edit) {
        stmt.BindInteger(at, current);
    }
    stmt.Step();
    // The members hold what the row holds now.
    for (auto& [field, text] : cut) {
        field->Load(std::move(text));
    }
    if (mode_ == EditMode::Edit && type_ == DaoOpenType::Table) {
        for (size_t i = 0; i < bindings_.size(); ++i) {
            if ((columns & (uint64_t{1} << i)) && bindingIsKey_[i]) {
                keyChanged_ = true;
            }
        }
    }
    return mode_ == EditMode::AddNew ? db_.LastInsertRowId() : current;
}

void CDaoRecordset::Update() {
    CheckOpen();
    if (mode_ == EditMode::None) {
        Throw("Update without AddNew or Edit.", SQLITE_MISUSE);
    }
    if (mode_ == EditMode::Edit && (bof_ || eof_ || gone_)) {
        mode_ = EditMode::None;
        Throw("No current record.", SQLITE_NOTFOUND);
    }
    // A refused update leaves the edit open; CancelUpdate ends it.
    keyChanged_ = false;
    const Bookmark written = WriteRow();
    const EditMode was = mode_;
    mode_ = EditMode::None;
    lastModified_ = written;
    const bool onRow = !(bof_ || eof_ || gone_);
    if (type_ == DaoOpenType::Dynaset) {
        if (was == EditMode::AddNew) {
            // The new row joins the end of the dynaset until the next requery.
            rows_.emplace_back();
            rowids_.push_back(written);
            RefreshDynasetRow(rows_.size() - 1, written);
            if (onRow) {
                LoadDynasetRow();
            }
        } else {
            RefreshDynasetRow(static_cast<size_t>(row_), written);
            LoadDynasetRow();
        }
        return;
    }
    // After AddNew the members go back to the current row; after Edit they already hold
    // it, unless its key moved.
    if (onRow && (was == EditMode::AddNew || keyChanged_)) {
        ReloadCurrent();
    }
}

void CDaoRecordset::Delete() {
    CheckUpdatable();
    CheckCurrentRow();
    mode_ = EditMode::None;
    const Bookmark rowid = GetBookmark();
    DaoStatement stmt =
        db_.Prepare("DELETE FROM " + QuoteIdentifier(table_) + " WHERE rowid = ?", true);
    stmt.BindInteger(1, rowid);
    stmt.Step();
    gone_ = true;
    if (type_ == DaoOpenType::Dynaset) {
        rows_.erase(rows_.begin() + row_);
        rowids_.erase(rowids_.begin() + row_);
        // row_ now names the row after the deleted one.
    }
}

CDaoRecordset::Bookmark CDaoRecordset::GetBookmark() const {
    CheckCurrentRow();
    if (type_ == DaoOpenType::Table) {
        return rowid_;
    }
    return table_.empty() ? row_ : rowids_[row_];
}

CDaoRecordset::Bookmark CDaoRecordset::GetLastModifiedBookmark() const {
    CheckOpen();
    if (lastModified_ == 0) {
        Throw("No current record.", SQLITE_NOTFOUND);
    }
    return lastModified_;
}

void CDaoRecordset::SetBookmark(Bookmark bookmark) {
    CheckOpen();
    mode_ = EditMode::None;
    if (type_ == DaoOpenType::Table) {
        if (!FetchTable(sqlRow_, {DaoValue(static_cast<long long>(bookmark))})) {
            Throw("Not a valid bookmark.", SQLITE_NOTFOUND);
        }
        return;
    }
    if (table_.empty()) {
        if (bookmark < 0 || bookmark >= static_cast<Bookmark>(rows_.size())) {
            Throw("Not a valid bookmark.", SQLITE_NOTFOUND);
        }
        DynasetMoveTo(static_cast<long>(bookmark));
        return;
    }
    for (size_t i = 0; i < rowids_.size(); ++i) {
        if (rowids_[i] == bookmark) {
            DynasetMoveTo(static_cast<long>(i));
            return;
        }
    }
    Throw("Not a valid bookmark.", SQLITE_NOTFOUND);
}

int CDaoRecordset::GetFieldCount() const {
    CheckOpen();
    return type_ == DaoOpenType::Table ? static_cast<int>(bindings_.size())
                                       : static_cast<int>(columnNames_.size());
}

std::string CDaoRecordset::GetFieldName(int field) const {
    if (field < 0 || field >= GetFieldCount()) {
        Throw("Item not found in this collection.", SQLITE_RANGE);
    }
    return type_ == DaoOpenType::Table ? bindings_[field].bound.column : columnNames_[field];
}

DaoValue CDaoRecordset::GetFieldValue(int field) const {
    if (field < 0 || field >= GetFieldCount()) {
        Throw("Item not found in this collection.", SQLITE_RANGE);
    }
    CheckCurrentRow();
    if (type_ == DaoOpenType::Table) {
        return FieldValue(bindings_[field].bound.field);
    }
    return GetRowValue(row_, field);
}

}  // namespace corvane
