#include "store/DatabaseSchema.h"

#include <algorithm>

#include "store/DaoDatabase.h"

namespace corvane {
namespace {

CDaoFieldInfo Boolean(const char* name, const char* def = "") {
    return {name, DaoType::Boolean, 1, false, false, def};
}
CDaoFieldInfo Integer(const char* name, bool required = false) {
    return {name, DaoType::Integer, 5, false, required, ""};
}
CDaoFieldInfo Long(const char* name, bool required = false) {
    return {name, DaoType::Long, 9, false, required, ""};
}
CDaoFieldInfo AutoNumber(const char* name) {
    return {name, DaoType::Long, 9, true, true, ""};
}
CDaoFieldInfo Date(const char* name, bool required = false) {
    return {name, DaoType::Date, 8, false, required, ""};
}
CDaoFieldInfo Text(const char* name, int width, bool required = false, const char* def = "") {
    return {name, DaoType::Text, width, false, required, def};
}

TableLayout MakeStates(const std::string& name) {
    return {name, {Integer("StateIndex", true), Text("State", 10)}, {"StateIndex"}, {}, {}};
}

}  // namespace

std::string FieldDefinition(const CDaoFieldInfo& field, bool inPrimaryKey) {
    std::string sql = QuoteIdentifier(field.name) + " " + DeclaredType(field.type, field.size);
    if (field.autoIncrement) {
        sql += " NOT NULL PRIMARY KEY AUTOINCREMENT";
    } else if (field.required || inPrimaryKey) {
        // A primary key never holds a null.
        sql += " NOT NULL";
    }
    if (!field.defaultValue.empty()) {
        sql += " DEFAULT " + field.defaultValue;
    }
    if (field.type == DaoType::Text) {
        sql += " COLLATE NOCASE";
    }
    return sql;
}

std::string CreateTableSql(const TableLayout& layout, const std::string& name) {
    const bool autoKey = std::any_of(layout.fields.begin(), layout.fields.end(),
                                     [](const CDaoFieldInfo& f) { return f.autoIncrement; });
    std::string sql = "CREATE TABLE " + QuoteIdentifier(name) + " (\n";
    for (size_t i = 0; i < layout.fields.size(); ++i) {
        const auto& f = layout.fields[i];
        const bool inKey = std::find(layout.primaryKey.begin(), layout.primaryKey.end(), f.name) !=
                           layout.primaryKey.end();
        sql += "    " + FieldDefinition(f, inKey) + (i + 1 < layout.fields.size() ? ",\n" : "");
    }
    if (!layout.primaryKey.empty() && !autoKey) {
        sql += ",\n    CONSTRAINT \"PrimaryKey\" PRIMARY KEY (";
        for (size_t i = 0; i < layout.primaryKey.size(); ++i) {
            sql += (i ? ", " : "") + QuoteIdentifier(layout.primaryKey[i]);
        }
        sql += ")";
    }
    for (const auto& r : layout.relations) {
        sql += ",\n    CONSTRAINT " + QuoteIdentifier(r.name) + " FOREIGN KEY (" +
               QuoteIdentifier(r.field) + ") REFERENCES " + QuoteIdentifier(r.foreignTable) + " (" +
               QuoteIdentifier(r.foreignField) + ")";
    }
    sql += "\n);\n";
    return sql + CreateSecondaryIndexSql(layout, name);
}

std::string CreateSecondaryIndexSql(const TableLayout& layout, const std::string& name) {
    if (layout.secondaryKey.empty()) {
        return {};
    }
    const std::string column = QuoteIdentifier(layout.secondaryKey);
    return "CREATE INDEX " + QuoteIdentifier(IndexNameInFile(name, "SecondaryKey")) + " ON " +
           QuoteIdentifier(name) + " (" + column + ") WHERE " + column + " IS NOT NULL;\n";
}

const TableLayout& StatesLayout(const std::string& name) {
    static const TableLayout trunk = MakeStates("TrunkStates");
    static const TableLayout request = MakeStates("RequestStates");
    static const TableLayout alarm = MakeStates("AlarmStates");
    static const TableLayout notify = MakeStates("NotifyStates");
    if (name == "RequestStates") {
        return request;
    }
    if (name == "AlarmStates") {
        return alarm;
    }
    if (name == "NotifyStates") {
        return notify;
    }
    return trunk;
}

const TableLayout& TestResultsLayout() {
    static const TableLayout layout{
        "TestResults",
        {Integer("ResultIndex", true), Text("TestResult", 10, false, "' '")},
        {"ResultIndex"},
        {},
        {}};
    return layout;
}

const TableLayout& DbStatusLayout() {
    static const TableLayout layout = [] {
        TableLayout l{"dbStatus", {}, {}, {}, {}};
        for (const char* name :
             {"GlobalChange", "TrunkAdds", "TrunkDels", "TrunkEdits", "AlphaAdds", "AlphaDels",
              "AlphaEdits", "RequestAdds", "RequestDels", "RequestEdits", "IntercomAdds",
              "IntercomDels", "IntercomEdits"}) {
            l.fields.push_back(Integer(name, true));
        }
        return l;
    }();
    return layout;
}

const TableLayout& IntercomsLayout() {
    static const TableLayout layout{
        "Intercoms",
        {Integer("IntercomIndex", true), Text("IntercomName", 20), Integer("SerialPort"),
         Long("BaudRate"), Text("ComState", 20), Long("ErrorCounter"), Boolean("Alarms", "-1"),
         Boolean("Notify", "-1"), Text("ConnType", 15), Text("IPAddr1", 15), Text("IPAddr2", 15),
         Integer("CascadeCost")},
        {"IntercomIndex"},
        "IntercomName",
        {}};
    return layout;
}

const TableLayout& AlphasLayout() {
    static const TableLayout layout{
        "Alphas",
        {Long("AsgnKey", true), Integer("IntercomIndex", true), Text("Function", 2, true),
         Integer("Number", true), Text("Alpha", 20)},
        {"AsgnKey"},
        {},
        {}};
    return layout;
}

const TableLayout& TrunksLayout() {
    static const TableLayout layout{
        "Trunks",
        {Integer("TrunkIndex", true),
         Text("State", 10),
         Date("TestTime"),
         Text("TestResult", 10, false, "' '"),
         Text("TestData", 255),
         Integer("CascadedTrunkIndex"),
         Boolean("UseFixed"),
         Boolean("CanCascade"),
         Integer("End1IntercomIndex"),
         Integer("End1Number"),
         Integer("End2IntercomIndex"),
         Integer("End2Number"),
         Integer("Fixed1IntercomIndex"),
         Text("Fixed1Function", 2),
         Integer("Fixed1Number"),
         Integer("Fixed2IntercomIndex"),
         Text("Fixed2Function", 2),
         Integer("Fixed2Number"),
         Boolean("AutoTest", "-1"),
         Boolean("Alarms", "-1"),
         Boolean("Notify", "-1"),
         Boolean("OOS", "0")},
        {"TrunkIndex"},
        {},
        {{"IntercomEnd1Relation", "End1IntercomIndex", "Intercoms", "IntercomIndex"},
         {"IntercomEnd2Relation", "End2IntercomIndex", "Intercoms", "IntercomIndex"}}};
    return layout;
}

const TableLayout& TrunkSummaryLayout() {
    static const TableLayout layout{
        "TrunkSummary",
        {Integer("FromIntercomIndex", true), Integer("ToIntercomIndex"), Integer("NumTrunks"),
         Integer("NumAllocated"), Integer("NumInUse"), Integer("NumMaint"), Integer("NumOOS")},
        {"FromIntercomIndex", "ToIntercomIndex"},
        {},
        {}};
    return layout;
}

const TableLayout& RequestsLayout() {
    static const TableLayout layout{
        "Requests",
        {AutoNumber("RequestID"), Text("State", 10), Date("RequestTime"), Date("ActiveTime"),
         Date("FinishedTime"), Integer("End1IntercomIndex"), Text("End1Function", 2),
         Integer("End1Number"), Boolean("End1Talk"), Boolean("End1Listen"), Boolean("End1Inactive"),
         Integer("End2IntercomIndex"), Text("End2Function", 2), Integer("End2Number"),
         Boolean("End2Talk"), Boolean("End2Listen"), Boolean("End2Inactive"),
         Integer("Trunk1Index"), Integer("Trunk2Index")},
        {"RequestID"},
        {},
        {}};
    return layout;
}

const TableLayout& AlarmsLayout() {
    static const TableLayout layout{
        "Alarms",
        {AutoNumber("AlarmID"), Text("State", 12), Boolean("Acknowledged"),
         Text("Notification", 10), Text("DeviceType", 15), Long("DeviceInstance"),
         Text("AlarmType", 15), Text("Description", 30), Date("AlarmTime"), Date("ResolvedTime"),
         Date("AcknowledgedTime"), Date("NotificationTime"), Text("Context", 60)},
        {"AlarmID"},
        {},
        {}};
    return layout;
}

const TableLayout& LogLayout() {
    static const TableLayout layout{
        "Log",
        {Date("Time", true), Text("Type", 20, true), Integer("IntercomIndex"),
         Integer("TrunkIndex"), Text("Description", 255, true)},
        {},
        {},
        {}};
    return layout;
}

const std::vector<SavedQuery>& SavedQueries() {
    // A trunk whose two ends are on one intercom is paired with itself, so that it is listed
    // once and not against every other trunk.
    static const std::vector<SavedQuery> queries = {
        {"PortNames",
         "SELECT Alphas.IntercomIndex, Function, Number, Alpha, IntercomName, AsgnKey FROM Alphas "
         "LEFT JOIN Intercoms ON (Alphas.IntercomIndex = Intercoms.IntercomIndex) WHERE Function "
         "= 'PP'"},
        {"AllNames",
         "SELECT Alphas.IntercomIndex, Function, Number, Alpha, IntercomName, AsgnKey FROM Alphas "
         "LEFT JOIN Intercoms ON (Alphas.IntercomIndex = Intercoms.IntercomIndex)"},
        {"DuplicateTrunkEnds",
         "SELECT Trunks_1.TrunkIndex AS Trunk1,  Trunks_1.End1IntercomIndex AS T1Icom1, "
         "Trunks_1.End1Number AS T1Port1,  Trunks_1.End2IntercomIndex AS T1Icom2, "
         "Trunks_1.End2Number AS T1Port2,  Trunks_2.TrunkIndex AS Trunk2,  "
         "Trunks_2.End1IntercomIndex AS T2Icom1, Trunks_2.End1Number AS T2Port1,  "
         "Trunks_2.End2IntercomIndex AS T2Icom2, Trunks_2.End2Number AS T2Port2  FROM Trunks AS "
         "Trunks_1 INNER JOIN Trunks AS Trunks_2 ON (  (  (   (Trunks_1.End1IntercomIndex = "
         "Trunks_2.End2IntercomIndex) AND (Trunks_1.End1Number = Trunks_2.End2Number) ) OR (   "
         "(Trunks_1.End2IntercomIndex = Trunks_2.End1IntercomIndex) AND (Trunks_1.End2Number = "
         "Trunks_2.End1Number) ) OR (   (Trunks_1.End1IntercomIndex = "
         "Trunks_2.End1IntercomIndex) AND (Trunks_1.End1Number = Trunks_2.End1Number) AND "
         "(Trunks_1.TrunkIndex <> Trunks_2.TrunkIndex) ) OR (   (Trunks_1.End2IntercomIndex = "
         "Trunks_2.End2IntercomIndex) AND (Trunks_1.End2Number = Trunks_2.End2Number) AND "
         "(Trunks_1.TrunkIndex <> Trunks_2.TrunkIndex) ) OR (   (Trunks_1.End1IntercomIndex = "
         "Trunks_1.End2IntercomIndex) AND (Trunks_1.TrunkIndex = Trunks_2.TrunkIndex) ) ) )"},
    };
    return queries;
}

const std::vector<LookupTable>& LookupTables() {
    static const std::vector<LookupTable> tables = {
        {"TrunkStates", {5309, 5310, 5311, 5312}},
        {"TestResults", {5313, 5314, 5315, 5316, 5317, 5318, 5319}},
        {"RequestStates", {5304, 5305, 5306, 5307, 5308}},
        {"AlarmStates", {5322, 5323, 5324, 5377}},
        {"NotifyStates", {5333, 5334, 5335, 5336, 5337, 5338, 5339, 5376}},
    };
    return tables;
}

}  // namespace corvane
