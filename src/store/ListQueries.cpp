#include "store/ListQueries.h"

#include "store/DaoException.h"

namespace corvane {
namespace {

// A cell marker: the byte 0x01 and a letter, in front of the value it tells the list view
// how to show.
std::string Marker(char letter) {
    return std::string("char(1) || '") + letter + "'";
}

// A column as text in a concatenation; a null adds nothing, as it should to a cell text.
std::string Part(const std::string& column) {
    return "IFNULL(" + column + ", '')";
}

std::string Boolean(const std::string& column) {
    return Marker('b') + " || " + Part(column);
}

// Shown only when the switch is true.
std::string Conditional(const std::string& flag, const std::string& value) {
    return Marker('c') + " || " + Part(flag) + " || " + value;
}

// A port assignment: function code and number.
std::string Assignment(const std::string& code, const std::string& number) {
    return Marker('g') + " || " + code + " || " + Part(number);
}

std::string TalkListenInactive(const std::string& end) {
    return Marker('t') + " || " + Part(end + "Talk") + " || '/' || " + Part(end + "Listen") +
           " || '/' || " + Part(end + "Inactive");
}

constexpr const char* kIntercomsError = "Error, initializing intercoms list query\nDescription: %s";

ListQuery MakeTrunkListQuery() {
    const std::string sql =
        "SELECT Trunks.TrunkIndex AS 'Trunk', Trunks.State AS 'State', " + Boolean("Trunks.OOS") +
        " AS 'OOS?', Intercoms_1.IntercomName AS 'Icom 1', PortNames_1.Alpha AS 'Alpha', " +
        Assignment("'PP'", "Trunks.End1Number") +
        " AS 'Port', Intercoms_2.IntercomName AS 'Icom 2', PortNames_2.Alpha AS 'Alpha ', " +
        Assignment("'PP'", "Trunks.End2Number") +
        " AS 'Port ', Trunks.TestResult AS 'Test Status', Trunks.TestTime AS 'Test Time', "
        "Trunks.TestData AS 'Test Information', " +
        Boolean("Trunks.CanCascade") + " AS 'Cascadable?', " + Boolean("Trunks.UseFixed") +
        " AS 'Fixed?', " + Conditional("Trunks.UseFixed", Part("AllNames_1.Alpha")) +
        " AS 'Alpha 1', " +
        Conditional("Trunks.UseFixed",
                    Assignment(Part("Trunks.Fixed1Function"), "Trunks.Fixed1Number")) +
        " AS 'Asgn', " + Conditional("Trunks.UseFixed", Part("AllNames_2.Alpha")) +
        " AS 'Alpha 2', " +
        Conditional("Trunks.UseFixed",
                    Assignment(Part("Trunks.Fixed2Function"), "Trunks.Fixed2Number")) +
        " AS 'Asgn ', " + Boolean("Trunks.AutoTest") + " AS 'AutoTest?', " +
        Boolean("Trunks.Alarms") + " AS 'Alarms?', " + Boolean("Trunks.Notify") +
        " AS 'Notify?', Trunks.End1Number AS '_End1Sort', Trunks.End2Number AS '_End2Sort', "
        "Trunks.Fixed1Number AS '_Fixed1Sort', Trunks.Fixed2Number AS '_Fixed2Sort' "
        "FROM Trunks "
        // The alphas of the saved queries PortNames and AllNames, read from their table: SQLite
        // computes a saved query whole for each statement, which would read every alpha for
        // each row the list shows.
        "LEFT JOIN Alphas AS PortNames_1 ON (PortNames_1.IntercomIndex = "
        "Trunks.End1IntercomIndex AND PortNames_1.Function = 'PP' AND PortNames_1.Number = "
        "Trunks.End1Number) "
        "LEFT JOIN Alphas AS PortNames_2 ON (PortNames_2.IntercomIndex = "
        "Trunks.End2IntercomIndex AND PortNames_2.Function = 'PP' AND PortNames_2.Number = "
        "Trunks.End2Number) "
        "LEFT JOIN Alphas AS AllNames_1 ON (AllNames_1.IntercomIndex = "
        "Trunks.Fixed1IntercomIndex AND AllNames_1.Function = Trunks.Fixed1Function AND "
        "AllNames_1.Number = Trunks.Fixed1Number) "
        "LEFT JOIN Alphas AS AllNames_2 ON (AllNames_2.IntercomIndex = "
        "Trunks.Fixed2IntercomIndex AND AllNames_2.Function = Trunks.Fixed2Function AND "
        "AllNames_2.Number = Trunks.Fixed2Number) "
        "LEFT JOIN Intercoms AS Intercoms_1 ON (Intercoms_1.IntercomIndex = "
        "Trunks.End1IntercomIndex) "
        "LEFT JOIN Intercoms AS Intercoms_2 ON (Intercoms_2.IntercomIndex = "
        "Trunks.End2IntercomIndex) ";
    return {ListQueryKind::Trunks,
            sql,
            {0, 1, 2, 9},
            {{5, 21}, {8, 22}, {15, 23}, {17, 24}},
            "Error, initializing trunk list query\nDescription: %s",
            0};
}

ListQuery MakeRequestListQuery() {
    const std::string sql =
        "SELECT Requests.RequestID AS 'ID', Requests.State AS 'State', Intercoms_1.IntercomName "
        "AS 'Icom 1', AllNames_1.Alpha AS 'Alpha', " +
        Assignment(Part("Requests.End1Function"), "Requests.End1Number") + " AS 'Asgn', " +
        TalkListenInactive("Requests.End1") +
        " AS 'T/L/I', Intercoms_2.IntercomName AS 'Icom 2', AllNames_2.Alpha AS 'Alpha ', " +
        Assignment(Part("Requests.End2Function"), "Requests.End2Number") + " AS 'Asgn ', " +
        TalkListenInactive("Requests.End2") +
        " AS 'T/L/I ', Requests.RequestTime AS 'T Req', Requests.ActiveTime AS 'T Act', "
        "Requests.FinishedTime AS 'T Fin', " +
        Part("Requests.Trunk1Index") + " || ' - ' || " + Part("Requests.Trunk2Index") +
        " AS 'Trunks', Requests.End1Number AS '_End1Sort', Requests.End2Number AS '_End2Sort' "
        "FROM Requests "
        // The alphas of the saved query AllNames, read from their table as the trunk list does.
        "LEFT JOIN Alphas AS AllNames_1 ON (AllNames_1.IntercomIndex = "
        "Requests.End1IntercomIndex AND AllNames_1.Function = Requests.End1Function AND "
        "AllNames_1.Number = Requests.End1Number) "
        "LEFT JOIN Alphas AS AllNames_2 ON (AllNames_2.IntercomIndex = "
        "Requests.End2IntercomIndex AND AllNames_2.Function = Requests.End2Function AND "
        "AllNames_2.Number = Requests.End2Number) "
        "LEFT JOIN Intercoms AS Intercoms_1 ON (Intercoms_1.IntercomIndex = "
        "Requests.End1IntercomIndex) "
        "LEFT JOIN Intercoms AS Intercoms_2 ON (Intercoms_2.IntercomIndex = "
        "Requests.End2IntercomIndex) ";
    return {ListQueryKind::Requests,
            sql,
            {0, 2, 3, 6, 7},
            {{4, 14}, {8, 15}},
            "Error, initializing requests list query\nDescription: %s",
            0};
}

ListQuery MakeAlarmListQuery() {
    const std::string sql =
        "SELECT AlarmID AS 'ID', State AS 'State', " + Boolean("Acknowledged") +
        " AS 'Ack?', Notification AS 'Notification', DeviceType AS 'Device Type', " + Marker('a') +
        " || " + Part("DeviceInstance") +
        " AS 'Device Info', AlarmType AS 'Alarm Type', Description AS 'Description', AlarmTime "
        "AS 'T Active', ResolvedTime AS 'T Resolved', AcknowledgedTime AS 'T Ack', "
        "NotificationTime AS 'T Notify', Context AS '_Context' FROM Alarms";
    return {ListQueryKind::Alarms,
            sql,
            {0, 1, 2, 3, 4, 12},
            {},
            "Error, initializing alarms list query\nDescription: %s",
            0};
}

// Both ends of one trunk of a conflict pair: intercom name, alpha and port of each. Aliases
// that repeat carry one more trailing blank each time.
std::string ConflictEnds(int trunk, const std::string& icomBlanks, const std::string& end1Blanks,
                         const std::string& end2Blanks) {
    const std::string t = std::to_string(trunk);
    const std::string a = std::to_string(2 * trunk - 1);
    const std::string b = std::to_string(2 * trunk);
    return "Intercoms_" + a + ".IntercomName AS 'Icom 1" + icomBlanks + "', PortNames_" + a +
           ".Alpha AS 'Alpha" + end1Blanks + "', " +
           Assignment("'PP'", "DuplicateTrunkEnds.T" + t + "Port1") + " AS 'Port" + end1Blanks +
           "', Intercoms_" + b + ".IntercomName AS 'Icom 2" + icomBlanks + "', PortNames_" + b +
           ".Alpha AS 'Alpha" + end2Blanks + "', " +
           Assignment("'PP'", "DuplicateTrunkEnds.T" + t + "Port2") + " AS 'Port" + end2Blanks +
           "'";
}

std::string ConflictJoins(int end) {
    const std::string n = std::to_string(end);
    const std::string trunk = std::to_string((end + 1) / 2);
    const std::string side = end % 2 == 1 ? "1" : "2";
    const std::string icom = "DuplicateTrunkEnds.T" + trunk + "Icom" + side;
    const std::string port = "DuplicateTrunkEnds.T" + trunk + "Port" + side;
    // The alphas of the saved query PortNames, read from their table as the trunk list does.
    return "LEFT JOIN Alphas AS PortNames_" + n + " ON (PortNames_" + n +
           ".IntercomIndex = " + icom + " AND PortNames_" + n + ".Function = 'PP' AND PortNames_" +
           n + ".Number = " + port + ") LEFT JOIN Intercoms AS Intercoms_" + n + " ON (Intercoms_" +
           n + ".IntercomIndex = " + icom + ") ";
}

ListQuery MakeDupTrunkListQuery() {
    std::string sql = "SELECT DuplicateTrunkEnds.Trunk1 AS 'Trunk #', " +
                      ConflictEnds(1, "", "", " ") +
                      ", DuplicateTrunkEnds.Trunk2 AS 'Conflicts with Trunk #', " +
                      ConflictEnds(2, " ", "  ", "   ") + " FROM DuplicateTrunkEnds ";
    for (int end = 1; end <= 4; ++end) {
        sql += ConflictJoins(end);
    }
    // A trunk whose two ends are on one intercom is its own pair; every other pair is listed
    // once, from its lower trunk.
    sql += "WHERE DuplicateTrunkEnds.Trunk1 <= DuplicateTrunkEnds.Trunk2";
    return {ListQueryKind::DupTrunks, sql, {0, 7}, {}, kIntercomsError};
}

}  // namespace

ListQuery IntercomListQuery(bool networkInfo, bool extendedIntercoms) {
    std::string sql = "SELECT IntercomIndex AS 'Icom #', IntercomName AS 'Icom', ";
    if (networkInfo) {
        sql += "ConnType AS 'Connection', ";
    }
    sql += Conditional("SerialPort", "''") + " AS 'Serial Port', BaudRate AS 'Baud Rate', ";
    if (networkInfo) {
        sql += "IPAddr1 AS 'Primary IP Address', IPAddr2 AS 'Backup IP Address', ";
        if (extendedIntercoms) {
            sql += Conditional("CascadeCost", "''") + " AS 'Cascade Cost', ";
        }
    }
    sql += "ComState AS 'Status', " + Boolean("Alarms") + " AS 'Alarms?', " + Boolean("Notify") +
           " AS 'Notify?' FROM Intercoms";
    return {ListQueryKind::Intercoms, sql, {0}, {}, kIntercomsError, 0};
}

const ListQuery& TrunkListQuery() {
    static const ListQuery query = MakeTrunkListQuery();
    return query;
}

const ListQuery& RequestListQuery() {
    static const ListQuery query = MakeRequestListQuery();
    return query;
}

const ListQuery& AlphaListQuery() {
    static const ListQuery query = {
        ListQueryKind::Alphas,
        "SELECT IntercomIndex AS 'Icom #', IntercomName AS 'Icom', Function AS 'Fn Type', Number "
        "AS 'Number', Alpha AS 'Alpha', AsgnKey AS '_AsgnKey' FROM AllNames ",
        {0, 2, 3},
        {},
        "Error, initializing alphas list query\nDescription: %s",
        5};
    return query;
}

const ListQuery& AlarmListQuery() {
    static const ListQuery query = MakeAlarmListQuery();
    return query;
}

const ListQuery& DupTrunkListQuery() {
    static const ListQuery query = MakeDupTrunkListQuery();
    return query;
}

const ListQuery& SummaryListQuery() {
    static const ListQuery query = {
        ListQueryKind::Summary,
        "SELECT ToIntercomIndex AS 'Icom #', Intercoms.IntercomName AS 'Icom', "
        "TrunkSummary.NumTrunks AS '# Trunks', TrunkSummary.NumAllocated AS '# Allocated', "
        "TrunkSummary.NumInUse AS '# In-Use', TrunkSummary.NumMaint AS '# Maintenance', "
        "TrunkSummary.NumOOS AS '# Out-Of-Service' FROM TrunkSummary LEFT JOIN Intercoms ON "
        "Intercoms.Intercomindex = TrunkSummary.ToIntercomIndex ",
        {0},
        {},
        "Error, initializing summary list query\nDescription: %s",
        0};
    return query;
}

void CListColumnPositions::Record(const ListQuery& query) {
    Recorded& r = kinds_[static_cast<size_t>(query.kind)];
    r.positions = query.positions;
    r.sortMapping = query.sortMapping;
}

int CListColumnPositions::Position(ListQueryKind kind, size_t item) const {
    const Recorded& r = kinds_[static_cast<size_t>(kind)];
    return item < r.positions.size() ? r.positions[item] : kUnknown;
}

int CListColumnPositions::SortColumn(ListQueryKind kind, int shown) const {
    for (const ListSortMapping& m : kinds_[static_cast<size_t>(kind)].sortMapping) {
        if (m.shown == shown) {
            return m.sortedBy;
        }
    }
    return shown;
}

bool OpenListQuery(CListRecordset& rs, const ListQuery& query, int listWidth,
                   CListColumnPositions& positions, ListControlSetup& setup) {
    setup = {};
    try {
        rs.m_strSort = rs.GetKeyColumn();
        if (query.keyField >= 0 && !rs.GetKeyColumn().empty()) {
            rs.SetRowKey(query.keyField, rs.GetKeyColumn(), rs.IsKeyUniqueWithinFilter());
        }
        rs.Open(DaoOpenType::Dynaset, query.sql);
    } catch (const CDaoException& e) {
        ReportDaoException(e, query.errorFormat);
        return false;
    }
    positions.Record(query);
    return InitListCtrl(rs, listWidth, setup);
}

}  // namespace corvane
