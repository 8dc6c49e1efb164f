#include "store/DaoDatabase.h"

#include <sqlite3.h>
#include <unistd.h>

#include "log/DiagLogSource.h"
#include "store/DaoException.h"

namespace corvane {

std::string IndexNameInFile(const std::string& table, const std::string& index) {
    return table + "_" + index;
}

std::string QuoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (const char c : name) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
    return out;
}

CDaoDatabase::CDaoDatabase(const CDiagLogSource& log) : log_(log) {}

CDaoDatabase::~CDaoDatabase() {
    Close();
}

void CDaoDatabase::Open(const std::string& path) {
    OpenWith(path, SQLITE_OPEN_READWRITE);
}

void CDaoDatabase::Create(const std::string& path) {
    if (::access(path.c_str(), F_OK) == 0) {
        throw CDaoException("Database '" + path + "' already exists.", SQLITE_CANTOPEN);
    }
    OpenWith(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

void CDaoDatabase::OpenWith(const std::string& path, int flags) {
    Close();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string text = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        const int code = db != nullptr ? sqlite3_extended_errcode(db) : rc;
        sqlite3_close_v2(db);
        throw CDaoException(text + ": " + path, code);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, static_cast<int>(busyTimeout_.count()));
    db_ = db;
    path_ = path;
    file_ = IdentityOf(sqlite3_db_filename(db, "main"));
    ++generation_;
    try {
        // The first read tells whether the file is a database at all.
        Execute("PRAGMA schema_version");
    } catch (const CDaoException&) {
        Close();
        throw;
    }
}

void CDaoDatabase::FinalizeCache() {
    for (auto& [sql, entry] : cache_) {
        sqlite3_finalize(entry->stmt);
    }
    cache_.clear();
}

void CDaoDatabase::Close() {
    if (db_ == nullptr) {
        return;
    }
    FinalizeCache();
    if (!IsFileInPlace()) {
        FoldWalIntoMovedFile();
    }
    sqlite3_close_v2(db_);
    db_ = nullptr;
    ++generation_;
}

bool CDaoDatabase::IsFileInPlace() const {
    if (db_ == nullptr) {
        return true;
    }
    // The engine compares the open descriptor's inode with the path's; the device noted at
    // the open tells apart a file of another file system that has the same inode.
    int moved = 0;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK &&
        moved != 0) {
        return false;
    }
    const char* name = sqlite3_db_filename(db_, "main");
    return name != nullptr && file_.has_value() && IdentityOf(name) == file_;
}

void CDaoDatabase::FoldWalIntoMovedFile() {
    // SQLite neither checkpoints nor deletes the WAL of a moved file when it closes it.
    if (InTransaction()) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    const int rc =
        sqlite3_wal_checkpoint_v2(db_, "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        log_.Printf(1, "Database %s was moved or removed while open: its WAL is emptied into it",
                    path_.c_str());
        return;
    }
    log_.Printf(0,
                "Database %s was moved or removed while open, and its WAL could not be emptied "
                "(%s): remove %s-wal before a file is opened under that name",
                path_.c_str(), sqlite3_errmsg(db_), path_.c_str());
}

void CDaoDatabase::SetBusyTimeout(std::chrono::milliseconds timeout) {
    busyTimeout_ = timeout;
    if (db_ != nullptr) {
        sqlite3_busy_timeout(db_, static_cast<int>(busyTimeout_.count()));
    }
}

bool CDaoDatabase::UseWalJournal() {
    DaoStatement mode = Prepare("PRAGMA journal_mode=WAL", false);
    const bool wal = mode.Step() && mode.ColumnText(0) == "wal";
    if (!wal) {
        log_.Printf(0, "Database %s keeps a rollback journal: WAL is not available", path_.c_str());
        return false;
    }
    Execute("PRAGMA synchronous=NORMAL");
    return true;
}

void CDaoDatabase::Execute(const std::string& sql, const std::vector<DaoValue>& params) {
    if (db_ == nullptr) {
        ThrowClosed();
    }
    const char* rest = sql.c_str();
    const char* end = rest + sql.size();
    recordsAffected_ = 0;
    while (rest < end) {
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(db_, rest, static_cast<int>(end - rest), &stmt, &tail);
        if (rc != SQLITE_OK) {
            ThrowEngineError(rc);
        }
        rest = tail;
        if (stmt == nullptr) {
            continue;  // only white space or a comment was left
        }
        DaoStatement statement(*this, stmt, nullptr);
        for (size_t i = 0; i < params.size(); ++i) {
            statement.Bind(static_cast<int>(i + 1), params[i]);
        }
        while (statement.Step()) {
        }
        recordsAffected_ = static_cast<long>(sqlite3_changes64(db_));
        if (!params.empty()) {
            break;  // parameters belong to one statement
        }
    }
}

void CDaoDatabase::BeginTrans() {
    Execute("BEGIN IMMEDIATE");
}

void CDaoDatabase::CommitTrans() {
    Execute("COMMIT");
}

void CDaoDatabase::Rollback() {
    if (InTransaction()) {
        Execute("ROLLBACK");
    }
}

bool CDaoDatabase::InTransaction() const {
    return db_ != nullptr && sqlite3_get_autocommit(db_) == 0;
}

std::vector<DaoColumnInfo> CDaoDatabase::GetTableColumns(const std::string& table) {
    std::vector<DaoColumnInfo> columns;
    DaoStatement info = Prepare(
        "SELECT name, type, \"notnull\", dflt_value, pk "
        "FROM pragma_table_info(?)",
        true);
    info.BindText(1, table);
    while (info.Step()) {
        DaoColumnInfo c;
        c.name = info.ColumnText(0);
        c.declaredType = info.ColumnText(1);
        c.type = ParseDeclaredType(c.declaredType);
        c.notNull = info.ColumnInteger(2) != 0;
        c.defaultValue = info.ColumnText(3);
        c.primaryKeyPosition = static_cast<int>(info.ColumnInteger(4));
        columns.push_back(std::move(c));
    }
    return columns;
}

bool CDaoDatabase::TableExists(const std::string& table) {
    DaoStatement find = Prepare(
        "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", true);
    find.BindText(1, table);
    return find.Step();
}

DaoStatement CDaoDatabase::Prepare(const std::string& sql, bool cached) {
    if (cached) {
        return Use(Slot(sql));
    }
    if (db_ == nullptr) {
        ThrowClosed();
    }
    sqlite3_stmt* stmt = nullptr;
    const int rc =
        sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        ThrowEngineError(rc);
    }
    return DaoStatement(*this, stmt, nullptr);
}

DaoStatementSlot& CDaoDatabase::Slot(const std::string& sql) {
    if (db_ == nullptr) {
        ThrowClosed();
    }
    auto& slot = cache_[sql];
    if (!slot) {
        slot = std::make_unique<DaoStatementSlot>();
        slot->sql = sql;
    }
    return *slot;
}

DaoStatement CDaoDatabase::Use(DaoStatementSlot& slot) {
    if (db_ == nullptr) {
        ThrowClosed();
    }
    if (slot.stmt != nullptr && !slot.busy) {
        slot.busy = true;
        return DaoStatement(*this, slot.stmt, &slot.busy);
    }
    sqlite3_stmt* stmt = nullptr;
    const int rc =
        sqlite3_prepare_v3(db_, slot.sql.c_str(), static_cast<int>(slot.sql.size()),
                           slot.stmt == nullptr ? SQLITE_PREPARE_PERSISTENT : 0, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        ThrowEngineError(rc);
    }
    if (slot.stmt == nullptr) {
        slot.stmt = stmt;
        slot.busy = true;
        return DaoStatement(*this, stmt, &slot.busy);
    }
    // The kept statement is in use further up the stack: this use gets its own.
    return DaoStatement(*this, stmt, nullptr);
}

int64_t CDaoDatabase::LastInsertRowId() const {
    return db_ != nullptr ? sqlite3_last_insert_rowid(db_) : 0;
}

void CDaoDatabase::ThrowEngineError(int rc) const {
    if (db_ == nullptr) {
        throw CDaoException(sqlite3_errstr(rc), rc);
    }
    throw CDaoException(sqlite3_errmsg(db_), sqlite3_extended_errcode(db_));
}

void CDaoDatabase::ThrowClosed() const {
    throw CDaoException("The database is not open.", SQLITE_MISUSE);
}

CDaoTransaction::~CDaoTransaction() {
    if (done_) {
        return;
    }
    try {
        db_.Rollback();
    } catch (const CDaoException& e) {
        db_.Log().Printf(0, "Rollback failed: %s", e.Description().c_str());
    }
}

void CDaoTransaction::Commit() {
    db_.CommitTrans();
    done_ = true;
}

}  // namespace corvane
