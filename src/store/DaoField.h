#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "platform/Clock.h"

namespace corvane {

// One bound column of a recordset. It knows whether the caller assigned it since the row
// was loaded, so that Update writes only assigned (AddNew) or changed (Edit) columns and
// the table's defaults apply to the rest.
template <typename T>
class DaoField {
public:
    DaoField() = default;
    explicit DaoField(T value) : value_(std::move(value)) {}

    DaoField& operator=(T value) {
        KeepOriginal();
        value_ = std::move(value);
        null_ = false;
        assigned_ = true;
        return *this;
    }
    void SetNull() {
        KeepOriginal();
        value_ = T{};
        null_ = true;
        assigned_ = true;
    }

    const T& Value() const { return value_; }
    operator const T&() const { return value_; }
    bool IsNull() const { return null_; }

    friend bool operator==(const DaoField& a, const T& b) { return a.value_ == b; }
    friend bool operator==(const DaoField& a, const DaoField& b) { return a.value_ == b.value_; }

    // Used by the recordset.
    void Load(T value) {
        value_ = std::move(value);
        null_ = false;
        assigned_ = editing_ = false;
    }
    // Text into the member's own buffer, without a new allocation when it fits.
    void LoadText(std::string_view text) requires std::is_same_v<T, std::string> {
        value_.assign(text);
        null_ = false;
        assigned_ = editing_ = false;
    }
    void LoadNull() {
        value_ = T{};
        null_ = true;
        assigned_ = editing_ = false;
    }
    void BeginEdit() {
        editing_ = true;
        assigned_ = false;
    }
    bool IsAssigned() const { return assigned_; }
    bool IsChangedSinceEdit() const {
        return assigned_ && (null_ != originalNull_ || !(value_ == original_));
    }

private:
    // The value as read is kept when an edit first assigns it, so that Update can tell
    // whether it changed.
    void KeepOriginal() {
        if (editing_ && !assigned_) {
            original_ = value_;
            originalNull_ = null_;
        }
    }

    T value_{};
    T original_{};
    bool null_ = false;
    bool originalNull_ = false;
    bool assigned_ = false;
    bool editing_ = false;
};

using DaoBool = DaoField<bool>;         // Boolean column, stored as -1 / 0
using DaoInt16 = DaoField<int16_t>;     // Integer column
using DaoInt32 = DaoField<int32_t>;     // Long column (or an Integer column, narrowed)
using DaoDate = DaoField<WallTime>;     // Date column
using DaoText = DaoField<std::string>;  // Text column

// Collects a recordset's bound columns, in the order of its members.
class CDaoFieldExchange {
public:
    using FieldRef = std::variant<DaoBool*, DaoInt16*, DaoInt32*, DaoDate*, DaoText*>;
    struct Binding {
        std::string column;  // without the brackets
        FieldRef field;
    };

    // column as the system writes it, "[Name]" or "Name".
    void Bind(const char* column, DaoBool& f) { Add(column, &f); }
    void Bind(const char* column, DaoInt16& f) { Add(column, &f); }
    void Bind(const char* column, DaoInt32& f) { Add(column, &f); }
    void Bind(const char* column, DaoDate& f) { Add(column, &f); }
    void Bind(const char* column, DaoText& f) { Add(column, &f); }

    std::vector<Binding> TakeBindings() { return std::move(bindings_); }

private:
    void Add(const char* column, FieldRef field);
    std::vector<Binding> bindings_;
};

}  // namespace corvane
