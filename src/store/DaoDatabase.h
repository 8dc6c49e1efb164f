#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/DaoStatement.h"
#include "store/DaoValue.h"
#include "store/DatabaseFiles.h"

struct sqlite3;
struct sqlite3_stmt;

namespace corvane {

class CDiagLogSource;

// A column as the file declares it (PRAGMA table_info).
struct DaoColumnInfo {
    std::string name;
    std::string declaredType;
    DaoColumnType type;
    bool notNull = false;
    std::string defaultValue;    // the default's SQL text, empty for none
    int primaryKeyPosition = 0;  // 1-based position in the primary key, 0 when not in it
};

// The name in the file of an index the system names per table ("SecondaryKey"): index
// names are per file in SQLite and per table in the system.
std::string IndexNameInFile(const std::string& table, const std::string& index);

// Quotes an identifier for SQL text.
std::string QuoteIdentifier(const std::string& name);

// A statement kept for reuse, stable until its database closes.
struct DaoStatementSlot {
    std::string sql;
    sqlite3_stmt* stmt = nullptr;
    bool busy = false;
};

// One connection to one database file, used from one thread. Every failure throws
// CDaoException with the engine's message. Statements that recordsets use again and again
// are prepared once and kept until the database closes.
class CDaoDatabase {
public:
    // How long a statement waits for a lock that another connection holds.
    static constexpr std::chrono::milliseconds kBusyTimeout{2000};

    explicit CDaoDatabase(const CDiagLogSource& log);
    ~CDaoDatabase();
    CDaoDatabase(const CDaoDatabase&) = delete;
    CDaoDatabase& operator=(const CDaoDatabase&) = delete;

    // Opens an existing file for reading and writing; a missing file or one that is not a
    // database throws.
    void Open(const std::string& path);
    // Makes a new, empty database file; throws when the file exists.
    void Create(const std::string& path);
    // Rolls back an open transaction. Recordsets opened on this database must be opened again.
    // A file that was moved or removed while open first takes in what its WAL holds, since
    // SQLite leaves that WAL beside the old name, where it would be read into whatever file
    // is next opened there.
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    const std::string& GetName() const { return path_; }
    // Whether the path still names the file this connection opened (same device and inode):
    // false once it was removed, renamed or replaced by another file.
    bool IsFileInPlace() const;

    // WAL journal with synchronous=NORMAL: a commit survives the program being killed, and
    // only a power loss can take back the last commits. Returns false (and logs) when the
    // file system cannot hold a WAL; the file then keeps a rollback journal.
    bool UseWalJournal();
    // Kept for the connection's life, also across a reopen.
    void SetBusyTimeout(std::chrono::milliseconds timeout);

    // Runs one statement (several when no parameters are given), failing on error.
    void Execute(const std::string& sql, const std::vector<DaoValue>& params = {});
    // Rows changed by the last Execute.
    long GetRecordsAffected() const { return recordsAffected_; }

    void BeginTrans();
    void CommitTrans();
    void Rollback();
    bool InTransaction() const;

    // Empty when there is no such table.
    std::vector<DaoColumnInfo> GetTableColumns(const std::string& table);
    bool TableExists(const std::string& table);

    // A statement kept for reuse (cached) or made for one use.
    DaoStatement Prepare(const std::string& sql, bool cached);
    // The cache entry of a statement, for callers that keep it (valid until Close), and the
    // statement of an entry.
    DaoStatementSlot& Slot(const std::string& sql);
    DaoStatement Use(DaoStatementSlot& slot);
    // Changes each time the database is opened or closed, so recordsets notice.
    uint64_t Generation() const { return generation_; }
    int64_t LastInsertRowId() const;
    const CDiagLogSource& Log() const { return log_; }

    // Throws the engine's current error for a failed call.
    [[noreturn]] void ThrowEngineError(int rc) const;
    [[noreturn]] void ThrowClosed() const;

private:
    void OpenWith(const std::string& path, int flags);
    void FinalizeCache();
    void FoldWalIntoMovedFile();

    const CDiagLogSource& log_;
    sqlite3* db_ = nullptr;
    std::string path_;
    std::optional<FileIdentity> file_;  // the file the path named when it was opened
    long recordsAffected_ = 0;
    std::chrono::milliseconds busyTimeout_ = kBusyTimeout;
    uint64_t generation_ = 1;
    std::unordered_map<std::string, std::unique_ptr<DaoStatementSlot>> cache_;
};

// Rolls back when left without Commit.
class CDaoTransaction {
public:
    explicit CDaoTransaction(CDaoDatabase& db) : db_(db) { db_.BeginTrans(); }
    ~CDaoTransaction();
    CDaoTransaction(const CDaoTransaction&) = delete;
    CDaoTransaction& operator=(const CDaoTransaction&) = delete;
    void Commit();

private:
    CDaoDatabase& db_;
    bool done_ = false;
};

}  // namespace corvane
