#include "store/DaoFieldIo.h"

#include <sqlite3.h>

#include <cmath>
#include <limits>

#include "log/DiagLogSource.h"
#include "platform/Format.h"
#include "store/DaoException.h"
#include "store/DaoStatement.h"

namespace corvane {
namespace {

[[noreturn]] void ConversionError(const std::string& column) {
    throw CDaoException(StrFormat("Data type conversion error in column %s.", column.c_str()),
                        SQLITE_MISMATCH);
}

[[noreturn]] void Overflow(const std::string& column) {
    throw CDaoException(StrFormat("Numeric field overflow in column %s.", column.c_str()),
                        SQLITE_RANGE);
}

// A whole number from a numeric column; text and fractions are not numbers of this store.
int64_t WholeNumber(const DaoRawColumn& raw, const std::string& column) {
    if (raw.type == SQLITE_INTEGER) {
        return raw.integer;
    }
    if (raw.type == SQLITE_FLOAT && std::isfinite(raw.real) && std::trunc(raw.real) == raw.real &&
        std::fabs(raw.real) < 9.0e15) {
        return static_cast<int64_t>(raw.real);
    }
    ConversionError(column);
}

template <typename Int>
Int Narrow(int64_t value, const std::string& column) {
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max()) {
        Overflow(column);
    }
    return static_cast<Int>(value);
}

}  // namespace

DaoRawColumn RawColumnOf(const DaoStatement& stmt, int column) {
    DaoRawColumn raw;
    raw.type = stmt.ColumnType(column);
    switch (raw.type) {
        case SQLITE_INTEGER:
            raw.integer = stmt.ColumnInteger(column);
            break;
        case SQLITE_FLOAT:
            raw.real = stmt.ColumnReal(column);
            break;
        case SQLITE_NULL:
            break;
        default:
            raw.text = stmt.ColumnText(column);
            break;
    }
    return raw;
}

DaoRawColumn RawColumnOf(const DaoValue& value) {
    DaoRawColumn raw;
    if (value.IsNull()) {
        raw.type = SQLITE_NULL;
    } else if (value.IsInteger()) {
        raw.type = SQLITE_INTEGER;
        raw.integer = value.AsInteger();
    } else if (value.IsReal()) {
        raw.type = SQLITE_FLOAT;
        raw.real = value.AsReal();
    } else {
        raw.type = SQLITE_TEXT;
        raw.text = value.AsText();
    }
    return raw;
}

void LoadField(const CDaoFieldExchange::FieldRef& field, const std::string& column,
               const DaoRawColumn& raw) {
    if (raw.type == SQLITE_NULL) {
        FieldLoadNull(field);
        return;
    }
    if (auto* f = std::get_if<DaoText*>(&field)) {
        if (raw.type == SQLITE_INTEGER) {
            (*f)->Load(std::to_string(raw.integer));
        } else if (raw.type == SQLITE_FLOAT) {
            (*f)->Load(StrFormat("%g", raw.real));
        } else {
            (*f)->LoadText(raw.text);
        }
    } else if (auto* f = std::get_if<DaoBool*>(&field)) {
        (*f)->Load(WholeNumber(raw, column) != 0);
    } else if (auto* f = std::get_if<DaoInt16*>(&field)) {
        (*f)->Load(Narrow<int16_t>(WholeNumber(raw, column), column));
    } else if (auto* f = std::get_if<DaoInt32*>(&field)) {
        (*f)->Load(Narrow<int32_t>(WholeNumber(raw, column), column));
    } else if (auto* f = std::get_if<DaoDate*>(&field)) {
        WallTime time;
        if (raw.type != SQLITE_TEXT || !ParseDaoDate(raw.text, time)) {
            ConversionError(column);
        }
        (*f)->Load(time);
    }
}

void BindFieldToWrite(DaoStatement& stmt, int index, const CDaoFieldExchange::FieldRef& field,
                      const std::string& table, const std::string& column,
                      const DaoColumnType& type, const CDiagLogSource& log,
                      std::optional<std::string>& cut) {
    std::visit(
        [&](auto* f) {
            using Field = std::remove_pointer_t<decltype(f)>;
            if (f->IsNull()) {
                stmt.BindNull(index);
                return;
            }
            if constexpr (std::is_same_v<Field, DaoText>) {
                const std::string& text = f->Value();
                if (text.empty()) {
                    stmt.BindNull(index);
                    return;
                }
                if (type.width > 0 && text.size() > static_cast<size_t>(type.width)) {
                    std::string shorter = text;
                    if (CutToWidth(shorter, type.width)) {
                        log.Printf(1, "Text cut to %d characters for %s.%s: \"%s\"", type.width,
                                   table.c_str(), column.c_str(), text.c_str());
                        stmt.BindText(index, shorter);
                        cut = std::move(shorter);
                        return;
                    }
                }
                stmt.BindTextUncopied(index, text);
            } else if constexpr (std::is_same_v<Field, DaoDate>) {
                stmt.BindText(index, FormatDaoDate(f->Value()));
            } else if constexpr (std::is_same_v<Field, DaoBool>) {
                stmt.BindInteger(index, f->Value() ? -1 : 0);
            } else {
                const int64_t v = f->Value();
                if (type.type == DaoType::Integer && type.known) {
                    Narrow<int16_t>(v, column);
                }
                stmt.BindInteger(index, v);
            }
        },
        field);
}

DaoValue FieldValue(const CDaoFieldExchange::FieldRef& field) {
    return std::visit(
        [](auto* f) -> DaoValue {
            using Field = std::remove_pointer_t<decltype(f)>;
            if (f->IsNull()) {
                return {};
            }
            if constexpr (std::is_same_v<Field, DaoDate>) {
                return DaoValue::Date(f->Value());
            } else if constexpr (std::is_same_v<Field, DaoText>) {
                return DaoValue(f->Value());
            } else if constexpr (std::is_same_v<Field, DaoBool>) {
                return DaoValue(f->Value());
            } else {
                return DaoValue(static_cast<long long>(f->Value()));
            }
        },
        field);
}

bool FieldIsAssigned(const CDaoFieldExchange::FieldRef& field) {
    return std::visit([](auto* f) { return f->IsAssigned(); }, field);
}

bool FieldIsChangedSinceEdit(const CDaoFieldExchange::FieldRef& field) {
    return std::visit([](auto* f) { return f->IsChangedSinceEdit(); }, field);
}

void FieldBeginEdit(const CDaoFieldExchange::FieldRef& field) {
    std::visit([](auto* f) { f->BeginEdit(); }, field);
}

void FieldLoadNull(const CDaoFieldExchange::FieldRef& field) {
    std::visit([](auto* f) { f->LoadNull(); }, field);
}

}  // namespace corvane
