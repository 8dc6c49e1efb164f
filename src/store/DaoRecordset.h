#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/DaoDatabase.h"
#include "store/DaoField.h"
#include "store/DaoValue.h"

namespace corvane {

enum class DaoOpenType {
    // A keyed cursor on one table: Seek on the current index, rows in index order, always
    // the rows as they are now (deletes and edits of others included).
    Table,
    // The rows of a query (a table name or a SELECT) with filter and sort, read when
    // opened or requeried. Updatable when the source is one table.
    Dynaset,
};

// The recordset base of the store. A subclass binds its members in DoFieldExchange and
// names its source in GetDefaultSQL. Used from one thread, like its database.
class CDaoRecordset {
public:
    explicit CDaoRecordset(CDaoDatabase& database);
    virtual ~CDaoRecordset();
    CDaoRecordset(const CDaoRecordset&) = delete;
    CDaoRecordset& operator=(const CDaoRecordset&) = delete;

    // Opens with the default type and SQL of the class.
    void Open();
    // sql: a table ("[Alarms]") or, for a dynaset, a SELECT whose "?" take params; empty:
    // the class's default. A table recordset starts on the index "PrimaryKey" when the table
    // has a primary key, else on none (file order); both stand on the first row.
    void Open(DaoOpenType type, const std::string& sql = {},
              const std::vector<DaoValue>& params = {});
    void Close();
    bool IsOpen() const;
    DaoOpenType GetType() const { return type_; }
    CDaoDatabase& GetDatabase() const { return db_; }

    // Table recordsets: "PrimaryKey", another index of the table, or "" for none. Stands on
    // the first row in the new order.
    void SetCurrentIndex(const std::string& index);
    // Seek "=" on the current index (a leading part of its columns is enough). On a hit the
    // members hold the row; on a miss there is no current row and false is returned.
    template <typename... Key>
    bool Seek(const Key&... key) {
        return SeekKey({DaoValue(key)...});
    }
    bool SeekKey(const std::vector<DaoValue>& key);

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrev();
    void Move(long rows);
    bool IsBOF() const { return bof_; }
    bool IsEOF() const { return eof_; }

    // AddNew then Update writes only the columns assigned in between, so the table's
    // defaults fill the rest; Edit then Update writes only the columns that changed.
    // After AddNew's Update the current row is the one before; the new one is at
    // GetLastModifiedBookmark.
    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    // Deletes the current row; MoveNext then goes on with the row after it.
    void Delete();

    // A row's identity, valid while the recordset stays open.
    using Bookmark = int64_t;
    Bookmark GetBookmark() const;
    void SetBookmark(Bookmark bookmark);
    Bookmark GetLastModifiedBookmark() const;

    // Dynasets on a query: keep only the key of each row (the query's column keyField, which
    // its WHERE clause names as keyExpression) and read a row's values by that key when they
    // are asked for, so that rows show their current values in the order of the last requery,
    // and a list of any length costs one key a row. keyWithinFilter: the key is unique only
    // among the rows that pass the filter. Set before Open; keyset rows are never updatable.
    void SetRowKey(int keyField, std::string keyExpression, bool keyWithinFilter);
    bool IsKeyset() const { return rowKey_.field >= 0; }
    // Keysets: the values read so far are read again when next asked for.
    void RefreshRowValues();
    // The field of a dynaset row by its 0-based number, without moving the current row. A
    // keyset row gone since the requery reads as null.
    DaoValue GetRowValue(long row, int field) const;
    // The key of a keyset row (null for other dynasets).
    DaoValue GetRowKey(long row) const;

    // Dynasets: the WHERE condition without WHERE, and the ORDER BY list (column names,
    // numbers or quoted aliases), applied when opened or requeried.
    std::string m_strFilter;
    std::string m_strSort;
    // Reads the rows again and stands on the first (table recordsets: on the first row).
    void Requery();
    long GetRecordCount() const;
    // 0-based row of a dynaset, -1 when on no row.
    long GetAbsolutePosition() const;

    // Unbound access to the current row of a dynaset (the columns of its query) or of a
    // table recordset (its bound columns).
    int GetFieldCount() const;
    std::string GetFieldName(int field) const;
    DaoValue GetFieldValue(int field) const;

protected:
    // The base binds nothing: a dynaset of it reads its query's columns unbound.
    virtual std::string GetDefaultSQL() const { return {}; }
    virtual void DoFieldExchange(CDaoFieldExchange& fx) {}

    DaoOpenType m_nDefaultType = DaoOpenType::Dynaset;

private:
    enum class EditMode { None, Edit, AddNew };
    // SQL run again and again, with its statement once first used.
    struct CachedSql {
        std::string sql;
        DaoStatementSlot* slot = nullptr;
    };
    struct Binding {
        CDaoFieldExchange::Binding bound;
        DaoColumnType column;   // as the table declares it (dynasets on a query: unknown)
        int resultColumn = -1;  // dynasets: position in the query's columns
    };

    // Source and bindings
    void Bind(const std::string& table);
    void CheckOpen() const;
    void CheckCurrentRow() const;
    void CheckUpdatable() const;
    static std::string TableOfSource(const std::string& sql);

    // Table cursor (DaoTableCursor.cpp)
    void BuildTableStatements();
    bool FetchTable(CachedSql& sql, const std::vector<DaoValue>& args);
    std::vector<DaoValue> KeyArguments() const;
    void TableMove(bool forward, bool fromEdge);
    void ReloadCurrent();

    // Dynaset (DaoDynaset.cpp)
    void RunDynaset();
    void RunKeyset(const std::string& sql);
    const std::vector<DaoValue>& KeysetRow(size_t row) const;
    void CheckDynasetRow(long row, int field) const;
    void LoadDynasetRow();
    void RefreshDynasetRow(size_t row, Bookmark rowid);
    void DynasetMoveTo(long row);

    // Writing (DaoRecordset.cpp)
    Bookmark WriteRow();
    CachedSql& UpdateSql(uint64_t columns);
    CachedSql& InsertSql(uint64_t columns);
    DaoStatement Statement(CachedSql& sql) const;

    CDaoDatabase& db_;
    uint64_t generation_ = 0;
    bool open_ = false;
    DaoOpenType type_ = DaoOpenType::Table;
    std::string source_;  // the SQL opened on
    std::string table_;   // the one table, when the source is a table
    std::vector<DaoValue> params_;
    std::vector<Binding> bindings_;
    bool bof_ = true;
    bool eof_ = true;
    bool gone_ = false;        // the current row was deleted
    bool keyChanged_ = false;  // the last Update wrote a key column
    EditMode mode_ = EditMode::None;
    Bookmark lastModified_ = 0;
    std::unordered_map<uint64_t, CachedSql> updateSql_;
    std::unordered_map<uint64_t, CachedSql> insertSql_;

    // Table cursor: key of the current row in the current index, ending with the rowid.
    std::vector<std::string> keyColumns_;
    bool keyUnique_ = false;
    std::string indexCondition_;  // rows outside an ignore-nulls index
    std::vector<DaoValue> key_;
    Bookmark rowid_ = 0;
    std::string selectList_;
    CachedSql sqlFirst_, sqlLast_, sqlNext_, sqlPrev_, sqlRow_;
    mutable CachedSql sqlCount_;
    std::unordered_map<size_t, CachedSql> sqlSeek_;
    std::vector<bool> bindingIsKey_;

    // Dynaset rows; a keyset reads a row's values when first asked for after a refresh.
    struct RowKey {
        int field = -1;
        std::string expression;
        bool withinFilter = false;
    };
    RowKey rowKey_;
    std::vector<DaoValue> keys_;
    mutable std::vector<uint32_t> rowStamps_;
    uint32_t valuesStamp_ = 1;
    mutable CachedSql sqlByKey_;
    std::vector<std::string> columnNames_;
    mutable std::vector<std::vector<DaoValue>> rows_;
    std::vector<Bookmark> rowids_;  // when the source is a table
    long row_ = -1;
};

}  // namespace corvane
