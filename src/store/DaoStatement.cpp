#include "store/DaoStatement.h"

#include <sqlite3.h>

#include <cstring>

#include "store/DaoDatabase.h"
#include "store/DaoException.h"

namespace corvane {

DaoStatement::DaoStatement(const CDaoDatabase& db, sqlite3_stmt* stmt, bool* busy)
    : db_(&db), stmt_(stmt), busy_(busy) {}

DaoStatement::DaoStatement(DaoStatement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), busy_(other.busy_) {
    other.stmt_ = nullptr;
    other.busy_ = nullptr;
}

DaoStatement::~DaoStatement() {
    if (stmt_ == nullptr) {
        return;
    }
    if (busy_ != nullptr) {
        // Every use binds all its parameters again, so the old ones need no clearing.
        sqlite3_reset(stmt_);
        *busy_ = false;
    } else {
        sqlite3_finalize(stmt_);
    }
}

void DaoStatement::Bind(int index, const DaoValue& value) {
    if (value.IsNull()) {
        BindNull(index);
    } else if (value.IsInteger()) {
        BindInteger(index, value.AsInteger());
    } else if (value.IsReal()) {
        const int rc = sqlite3_bind_double(stmt_, index, value.AsReal());
        if (rc != SQLITE_OK) {
            db_->ThrowEngineError(rc);
        }
    } else {
        BindText(index, value.AsText());
    }
}

void DaoStatement::BindNull(int index) {
    const int rc = sqlite3_bind_null(stmt_, index);
    if (rc != SQLITE_OK) {
        db_->ThrowEngineError(rc);
    }
}

void DaoStatement::BindInteger(int index, int64_t value) {
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK) {
        db_->ThrowEngineError(rc);
    }
}

void DaoStatement::BindText(int index, std::string_view text) {
    const int rc =
        sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (rc != SQLITE_OK) {
        db_->ThrowEngineError(rc);
    }
}

void DaoStatement::BindTextUncopied(int index, std::string_view text) {
    const int rc =
        sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
    if (rc != SQLITE_OK) {
        db_->ThrowEngineError(rc);
    }
}

bool DaoStatement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    // The statement's own error text is the engine's description of what failed.
    const int code = sqlite3_extended_errcode(sqlite3_db_handle(stmt_));
    const std::string text = sqlite3_errmsg(sqlite3_db_handle(stmt_));
    sqlite3_reset(stmt_);
    throw CDaoException(text, code);
}

int DaoStatement::ColumnCount() const {
    return sqlite3_column_count(stmt_);
}

int DaoStatement::ColumnType(int column) const {
    return sqlite3_column_type(stmt_, column);
}

int64_t DaoStatement::ColumnInteger(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double DaoStatement::ColumnReal(int column) const {
    return sqlite3_column_double(stmt_, column);
}

std::string_view DaoStatement::ColumnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (text == nullptr) {
        return {};
    }
    return {text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))};
}

std::string DaoStatement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name != nullptr ? name : "";
}

DaoValue DaoStatement::ColumnValue(int column) const {
    switch (ColumnType(column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return DaoValue(static_cast<long long>(ColumnInteger(column)));
        case SQLITE_FLOAT:
            return DaoValue(ColumnReal(column));
        default:
            break;
    }
    std::string text(ColumnText(column));
    const char* declared = sqlite3_column_decltype(stmt_, column);
    if (declared != nullptr) {
        const DaoColumnType type = ParseDeclaredType(declared);
        if (type.known && type.type == DaoType::Date) {
            return DaoValue::DateText(std::move(text));
        }
    }
    return DaoValue(std::move(text));
}

}  // namespace corvane
