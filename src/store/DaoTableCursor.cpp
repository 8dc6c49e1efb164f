// The table recordset: a keyed cursor. The current row is remembered by its key in the
// current index (and its rowid), so moves find the next row from the key even after the
// row was edited or deleted, by this recordset or another.
#include <sqlite3.h>

#include <algorithm>

#include "store/DaoException.h"
#include "store/DaoFieldIo.h"
#include "store/DaoRecordset.h"

namespace corvane {
namespace {

[[noreturn]] void Throw(const std::string& text, int code) {
    throw CDaoException(text, code);
}

}  // namespace

void CDaoRecordset::SetCurrentIndex(const std::string& index) {
    CheckOpen();
    if (type_ != DaoOpenType::Table) {
        Throw("Operation is not supported for this type of object.", SQLITE_MISUSE);
    }
    keyColumns_.clear();
    indexCondition_.clear();
    keyUnique_ = false;
    if (index == "PrimaryKey") {
        std::vector<std::pair<int, std::string>> key;
        for (const auto& c : db_.GetTableColumns(table_)) {
            if (c.primaryKeyPosition > 0) {
                key.emplace_back(c.primaryKeyPosition, c.name);
            }
        }
        if (key.empty()) {
            Throw("'PrimaryKey' is not an index in this table.", SQLITE_NOTFOUND);
        }
        std::sort(key.begin(), key.end());
        for (auto& [position, name] : key) {
            keyColumns_.push_back(name);
        }
        keyUnique_ = true;
    } else if (!index.empty()) {
        const std::string name = IndexNameInFile(table_, index);
        DaoStatement list = db_.Prepare(
            "SELECT \"unique\", partial FROM pragma_index_list(?) WHERE name = ?", true);
        list.BindText(1, table_);
        list.BindText(2, name);
        if (!list.Step()) {
            Throw("'" + index + "' is not an index in this table.", SQLITE_NOTFOUND);
        }
        keyUnique_ = list.ColumnInteger(0) != 0;
        const bool ignoresNulls = list.ColumnInteger(1) != 0;
        DaoStatement info =
            db_.Prepare("SELECT name FROM pragma_index_info(?) ORDER BY seqno", true);
        info.BindText(1, name);
        while (info.Step()) {
            keyColumns_.emplace_back(info.ColumnText(0));
        }
        // The store's only partial indexes leave out rows whose key is null.
        if (ignoresNulls) {
            for (const auto& column : keyColumns_) {
                indexCondition_ += (indexCondition_.empty() ? "" : " AND ") +
                                   QuoteIdentifier(column) + " IS NOT NULL";
            }
        }
    }
    BuildTableStatements();
    MoveFirst();
}

void CDaoRecordset::BuildTableStatements() {
    std::vector<std::string> order;
    for (const auto& column : keyColumns_) {
        order.push_back(QuoteIdentifier(column));
    }
    if (!keyUnique_) {
        order.push_back("rowid");
    }
    selectList_ = "SELECT rowid";
    for (const auto& column : keyColumns_) {
        selectList_ += ", " + QuoteIdentifier(column);
    }
    for (const auto& b : bindings_) {
        selectList_ += ", " + QuoteIdentifier(b.bound.column);
    }
    selectList_ += " FROM " + QuoteIdentifier(table_);

    auto join = [&](const char* suffix) {
        std::string out;
        for (const auto& o : order) {
            out += (out.empty() ? "" : ", ") + o + suffix;
        }
        return out;
    };
    std::string marks;
    for (size_t i = 0; i < order.size(); ++i) {
        marks += i == 0 ? "?" : ", ?";
    }
    const std::string where =
        indexCondition_.empty() ? " WHERE " : " WHERE " + indexCondition_ + " AND ";
    const std::string onlyIndexed = indexCondition_.empty() ? "" : " WHERE " + indexCondition_;
    const std::string tuple = "(" + join("") + ")";
    sqlFirst_ = {}, sqlLast_ = {}, sqlNext_ = {}, sqlPrev_ = {}, sqlRow_ = {}, sqlCount_ = {};
    sqlFirst_.sql = selectList_ + onlyIndexed + " ORDER BY " + join("") + " LIMIT 1";
    sqlLast_.sql = selectList_ + onlyIndexed + " ORDER BY " + join(" DESC") + " LIMIT 1";
    sqlNext_.sql =
        selectList_ + where + tuple + " > (" + marks + ") ORDER BY " + join("") + " LIMIT 1";
    sqlPrev_.sql =
        selectList_ + where + tuple + " < (" + marks + ") ORDER BY " + join(" DESC") + " LIMIT 1";
    sqlRow_.sql = selectList_ + " WHERE rowid = ?";
    sqlCount_.sql = "SELECT count(*) FROM " + QuoteIdentifier(table_) + onlyIndexed;
    sqlSeek_.clear();
    bindingIsKey_.assign(bindings_.size(), false);
    for (size_t i = 0; i < bindings_.size(); ++i) {
        for (const auto& key : keyColumns_) {
            if (sqlite3_stricmp(key.c_str(), bindings_[i].bound.column.c_str()) == 0) {
                bindingIsKey_[i] = true;
            }
        }
    }
}

bool CDaoRecordset::FetchTable(CachedSql& sql, const std::vector<DaoValue>& args) {
    DaoStatement stmt = Statement(sql);
    for (size_t i = 0; i < args.size(); ++i) {
        stmt.Bind(static_cast<int>(i + 1), args[i]);
    }
    if (!stmt.Step()) {
        return false;
    }
    rowid_ = stmt.ColumnInteger(0);
    key_.resize(keyColumns_.size());
    for (size_t i = 0; i < keyColumns_.size(); ++i) {
        key_[i] = stmt.ColumnValue(static_cast<int>(i + 1));
    }
    const int first = static_cast<int>(keyColumns_.size()) + 1;
    for (size_t i = 0; i < bindings_.size(); ++i) {
        const auto& b = bindings_[i];
        LoadField(b.bound.field, b.bound.column, RawColumnOf(stmt, first + static_cast<int>(i)));
    }
    bof_ = eof_ = gone_ = false;
    return true;
}

std::vector<DaoValue> CDaoRecordset::KeyArguments() const {
    std::vector<DaoValue> args = key_;
    if (!keyUnique_) {
        args.emplace_back(static_cast<long long>(rowid_));
    }
    return args;
}

void CDaoRecordset::TableMove(bool forward, bool fromEdge) {
    if (fromEdge) {
        if (!FetchTable(forward ? sqlFirst_ : sqlLast_, {})) {
            bof_ = eof_ = true;
            gone_ = false;
        }
        return;
    }
    if (!FetchTable(forward ? sqlNext_ : sqlPrev_, KeyArguments())) {
        (forward ? eof_ : bof_) = true;
        (forward ? bof_ : eof_) = false;
        gone_ = false;
    }
}

void CDaoRecordset::ReloadCurrent() {
    if (type_ == DaoOpenType::Dynaset) {
        LoadDynasetRow();
        return;
    }
    if (!FetchTable(sqlRow_, {DaoValue(static_cast<long long>(rowid_))})) {
        gone_ = true;  // deleted meanwhile; moves go on from its key
    }
}

bool CDaoRecordset::SeekKey(const std::vector<DaoValue>& key) {
    CheckOpen();
    if (type_ != DaoOpenType::Table || keyColumns_.empty()) {
        Throw("Operation is not supported for this type of object.", SQLITE_MISUSE);
    }
    if (key.empty() || key.size() > keyColumns_.size()) {
        Throw("Invalid argument: the key does not fit the current index.", SQLITE_RANGE);
    }
    mode_ = EditMode::None;
    CachedSql& cached = sqlSeek_[key.size()];
    std::string& sql = cached.sql;
    if (sql.empty()) {
        sql = selectList_ + " WHERE ";
        if (!indexCondition_.empty()) {
            sql += indexCondition_ + " AND ";
        }
        std::string order;
        for (size_t i = 0; i < key.size(); ++i) {
            sql += (i == 0 ? "" : " AND ") + QuoteIdentifier(keyColumns_[i]) + " = ?";
        }
        for (const auto& column : keyColumns_) {
            order += (order.empty() ? "" : ", ") + QuoteIdentifier(column);
        }
        sql += " ORDER BY " + order + (keyUnique_ ? "" : ", rowid") + " LIMIT 1";
    }
    if (FetchTable(cached, key)) {
        return true;
    }
    bof_ = gone_ = false;
    eof_ = true;
    return false;
}

void CDaoRecordset::MoveFirst() {
    CheckOpen();
    mode_ = EditMode::None;
    if (type_ == DaoOpenType::Table) {
        TableMove(true, true);
    } else {
        DynasetMoveTo(0);
    }
}

void CDaoRecordset::MoveLast() {
    CheckOpen();
    mode_ = EditMode::None;
    if (type_ == DaoOpenType::Table) {
        TableMove(false, true);
    } else {
        DynasetMoveTo(static_cast<long>(rows_.size()) - 1);
    }
}

void CDaoRecordset::MoveNext() {
    CheckOpen();
    if (eof_) {
        Throw("No current record.", SQLITE_NOTFOUND);
    }
    mode_ = EditMode::None;
    if (type_ == DaoOpenType::Table) {
        TableMove(true, bof_);
    } else {
        DynasetMoveTo(gone_ ? row_ : row_ + 1);
    }
}

void CDaoRecordset::MovePrev() {
    CheckOpen();
    if (bof_) {
        Throw("No current record.", SQLITE_NOTFOUND);
    }
    mode_ = EditMode::None;
    if (type_ == DaoOpenType::Table) {
        TableMove(false, eof_);
    } else {
        DynasetMoveTo(row_ - 1);
    }
}

void CDaoRecordset::Move(long rows) {
    CheckOpen();
    if (rows == 0) {
        CheckCurrentRow();
        ReloadCurrent();
        return;
    }
    if (type_ == DaoOpenType::Dynaset) {
        mode_ = EditMode::None;
        const long from = gone_ && rows > 0 ? row_ - 1 : row_;
        DynasetMoveTo(from + rows);
        return;
    }
    for (long i = 0; i < rows && !eof_; ++i) {
        MoveNext();
    }
    for (long i = 0; i > rows && !bof_; --i) {
        MovePrev();
    }
}

long CDaoRecordset::GetRecordCount() const {
    CheckOpen();
    if (type_ == DaoOpenType::Dynaset) {
        return static_cast<long>(rows_.size());
    }
    DaoStatement count = Statement(sqlCount_);
    count.Step();
    return static_cast<long>(count.ColumnInteger(0));
}

long CDaoRecordset::GetAbsolutePosition() const {
    CheckOpen();
    if (type_ == DaoOpenType::Table) {
        Throw("Operation is not supported for this type of object.", SQLITE_MISUSE);
    }
    return (bof_ || eof_ || gone_) ? -1 : row_;
}

void CDaoRecordset::Requery() {
    CheckOpen();
    mode_ = EditMode::None;
    if (type_ == DaoOpenType::Table) {
        MoveFirst();
    } else {
        RunDynaset();
    }
}

}  // namespace corvane
