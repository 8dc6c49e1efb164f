#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/DaoField.h"
#include "store/DaoValue.h"

namespace corvane {

class CDiagLogSource;
class DaoStatement;

// A column value as the engine hands it over, without copying text.
struct DaoRawColumn {
    int type = 0;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
    int64_t integer = 0;
    double real = 0;
    std::string_view text;
};
DaoRawColumn RawColumnOf(const DaoStatement& stmt, int column);
DaoRawColumn RawColumnOf(const DaoValue& value);

// Loads a bound member from a column; a value the member cannot hold throws CDaoException.
void LoadField(const CDaoFieldExchange::FieldRef& field, const std::string& column,
               const DaoRawColumn& raw);

// Binds what a bound member writes into a column of the given declared type: booleans as
// -1 and 0, text cut to the column's width (with a log line; the cut text is left in cut),
// empty text as null. A number that does not fit a 16-bit Integer column throws
// CDaoException. The member must stay unchanged until the statement has run.
void BindFieldToWrite(DaoStatement& stmt, int index, const CDaoFieldExchange::FieldRef& field,
                      const std::string& table, const std::string& column,
                      const DaoColumnType& type, const CDiagLogSource& log,
                      std::optional<std::string>& cut);

// The member's current value, for unbound reading.
DaoValue FieldValue(const CDaoFieldExchange::FieldRef& field);

bool FieldIsAssigned(const CDaoFieldExchange::FieldRef& field);
bool FieldIsChangedSinceEdit(const CDaoFieldExchange::FieldRef& field);
void FieldBeginEdit(const CDaoFieldExchange::FieldRef& field);
void FieldLoadNull(const CDaoFieldExchange::FieldRef& field);

}  // namespace corvane
