#pragma once

#include <string>
#include <vector>

#include "store/DaoValue.h"

namespace corvane {

// One field of a table as the system describes it.
struct CDaoFieldInfo {
    std::string name;
    DaoType type = DaoType::Text;
    int size = 0;                // text width; the fixed-size kinds ignore it
    bool autoIncrement = false;  // the numbers are never used again (AUTOINCREMENT)
    bool required = false;
    std::string defaultValue;  // an SQL expression: "-1", "0", "' '"; empty for none
};

// A relation between two tables, declared for readers of the file but never enforced.
struct DaoRelationInfo {
    std::string name;
    std::string field;  // in this table
    std::string foreignTable;
    std::string foreignField;
};

struct TableLayout {
    std::string name;
    std::vector<CDaoFieldInfo> fields;
    std::vector<std::string> primaryKey;  // the index "PrimaryKey"; empty for none
    std::string secondaryKey;  // the field of the ignore-nulls index "SecondaryKey", or empty
    std::vector<DaoRelationInfo> relations;
};

// The column definition for CREATE TABLE and ALTER TABLE ADD COLUMN: declared type with
// kind and width, NOT NULL, DEFAULT, NOCASE for text.
std::string FieldDefinition(const CDaoFieldInfo& field, bool inPrimaryKey);
// CREATE TABLE and CREATE INDEX statements for the layout under the given name.
std::string CreateTableSql(const TableLayout& layout, const std::string& name);
// The ignore-nulls index of a table of the layout, under the table's name.
std::string CreateSecondaryIndexSql(const TableLayout& layout, const std::string& name);

const TableLayout& StatesLayout(const std::string& name);  // the four state tables
const TableLayout& TestResultsLayout();
const TableLayout& DbStatusLayout();
const TableLayout& IntercomsLayout();
const TableLayout& AlphasLayout();
const TableLayout& TrunksLayout();
const TableLayout& TrunkSummaryLayout();
const TableLayout& RequestsLayout();
const TableLayout& AlarmsLayout();
const TableLayout& LogLayout();

// Saved queries, as views.
struct SavedQuery {
    const char* name;
    const char* sql;
};
const std::vector<SavedQuery>& SavedQueries();

// Lookup tables and their rows: index and string id of the text.
struct LookupTable {
    const char* table;
    std::vector<int> stringIds;  // row i has index i
};
const std::vector<LookupTable>& LookupTables();

}  // namespace corvane
