#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/DaoValue.h"

struct sqlite3;
struct sqlite3_stmt;

namespace corvane {

class CDaoDatabase;

// One prepared statement in use. A cached statement goes back to its database's cache,
// reset, when this handle ends; an uncached one is finalized.
class DaoStatement {
public:
    DaoStatement(const CDaoDatabase& db, sqlite3_stmt* stmt, bool* busy);
    ~DaoStatement();
    DaoStatement(DaoStatement&& other) noexcept;
    DaoStatement(const DaoStatement&) = delete;
    DaoStatement& operator=(const DaoStatement&) = delete;
    DaoStatement& operator=(DaoStatement&&) = delete;

    // Parameters count from 1.
    void Bind(int index, const DaoValue& value);
    void BindNull(int index);
    void BindInteger(int index, int64_t value);
    void BindText(int index, std::string_view text);
    // The text must stay unchanged until the statement is reset.
    void BindTextUncopied(int index, std::string_view text);

    // True with a row, false when done; an engine failure throws CDaoException.
    bool Step();

    int ColumnCount() const;
    // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
    int ColumnType(int column) const;
    int64_t ColumnInteger(int column) const;
    double ColumnReal(int column) const;
    std::string_view ColumnText(int column) const;
    std::string ColumnName(int column) const;
    // The column's value; a date column's text is marked as a date.
    DaoValue ColumnValue(int column) const;

private:
    const CDaoDatabase* db_;
    sqlite3_stmt* stmt_;
    bool* busy_;  // the cache's in-use mark; null for an uncached statement
};

}  // namespace corvane
