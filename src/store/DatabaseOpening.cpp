// Opening the database: creation when missing, the upgrade of older layouts, the lookup
// rows, the long-lived recordsets and the clean-up after the last run.
#include <sqlite3.h>

#include "platform/Format.h"
#include "platform/StringTable.h"
#include "settings/AppSettings.h"
#include "store/DaoException.h"
#include "store/DatabaseFiles.h"
#include "store/DatabaseSchema.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

const DaoColumnInfo* FindColumn(const std::vector<DaoColumnInfo>& columns, const char* name) {
    for (const auto& c : columns) {
        if (sqlite3_stricmp(c.name.c_str(), name) == 0) {
            return &c;
        }
    }
    return nullptr;
}

// True when the column is text of at least the given width.
bool IsTextOfWidth(const DaoColumnInfo* column, int width) {
    return column != nullptr && column->type.known && column->type.type == DaoType::Text &&
           (column->type.width == 0 || column->type.width >= width);
}

template <typename Recordset>
std::unique_ptr<Recordset> OpenTable(CDaoDatabase& db, const std::string& sql = {}) {
    auto rs = std::make_unique<Recordset>(db);
    rs->Open(DaoOpenType::Table, sql);
    return rs;
}

}  // namespace

bool CVorlinDatabase::OpenDatabase() {
    CloseDatabase();
    db_ = std::make_unique<CDaoDatabase>(log_);
    fileMoveTold_ = false;
    // What a creation killed half-way left is no database.
    RemoveDatabaseFiles(path_ + ".new");
    if (!FileExists(path_)) {
        if (!CreateDatabase()) {
            return false;
        }
    } else if (FileSize(path_) > settings_.Snapshot().CompactDBThreshold) {
        OfferCompaction();
    }
    if (!FileExists(path_) && !CreateDatabase()) {
        return false;
    }
    try {
        if (!db_->IsOpen()) {
            db_->Open(path_);
        }
        // A file of another program fails here, before anything is written to it.
        dbStatus_ = OpenTable<CDBStatusRS>(*db_);
        db_->UseWalJournal();
        if (dbStatus_->IsBOF() && dbStatus_->IsEOF()) {
            dbStatus_->AddNew();
            for (DaoInt16* counter :
                 {&dbStatus_->m_GlobalChange, &dbStatus_->m_TrunkAdds, &dbStatus_->m_TrunkDels,
                  &dbStatus_->m_TrunkEdits, &dbStatus_->m_AlphaAdds, &dbStatus_->m_AlphaDels,
                  &dbStatus_->m_AlphaEdits, &dbStatus_->m_RequestAdds, &dbStatus_->m_RequestDels,
                  &dbStatus_->m_RequestEdits, &dbStatus_->m_IntercomAdds,
                  &dbStatus_->m_IntercomDels, &dbStatus_->m_IntercomEdits}) {
                *counter = 0;
            }
            dbStatus_->Update();
        }
        dbStatus_->MoveFirst();
        FillLookupTables();

        UpgradeIntercoms();
        intercoms_ = OpenTable<CIntercomsRS>(*db_);

        if (db_->GetTableColumns("TrunkSummary").size() == 6) {
            AddField("TrunkSummary", TrunkSummaryLayout(), "NumOOS", false);
        }
        // The write-back rebuilds the summary on every run.
        db_->Execute("DELETE FROM TrunkSummary");
        summary_ = OpenTable<CSummaryRS>(*db_);

        if (db_->GetTableColumns("Trunks").size() == 21) {
            AddField("Trunks", TrunksLayout(), "OOS", true);
        }
        trunks_ = OpenTable<CTrunksRS>(*db_);
        trunkStates_ = OpenTable<CTrunks2RS>(*db_);
        alphas_ = OpenTable<CAlphasRS>(*db_);

        UpgradeAlarms("Alarms");
        UpgradeAlarms("AlarmsArchive");
        KeepAlarmAndRequestIdsAboveArchives();
        // On the upgraded tables: an older Trunks table gains the column its index needs.
        CreateListIndexes();

        alarms_ = OpenTable<CAlarmsRS>(*db_);
        RunAlarmStartupPass();
        pendingNotifications_ = std::make_unique<CAlarmsRS>(*db_);
        pendingNotifications_->m_strFilter = "Notification = '" + LoadString(5334) + "'";
        pendingNotifications_->m_strSort = "NotificationTime";
        pendingNotifications_->Open(DaoOpenType::Dynaset);
        requests_ = OpenTable<CRequestsRS>(*db_);
        requestUpdates_ = OpenTable<CRequests2RS>(*db_);
        RunRequestStartupPass();
        return true;
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, opening database\nDescription: %s");
        return false;
    }
}

void CVorlinDatabase::FillLookupTables() {
    for (const auto& lookup : LookupTables()) {
        const std::string table = lookup.table;
        auto fill = [&](auto& rs, auto& index, auto& text) {
            rs.Open(DaoOpenType::Table, "[" + table + "]");
            if (!(rs.IsBOF() && rs.IsEOF())) {
                return;  // rows already there stay as they are
            }
            for (size_t i = 0; i < lookup.stringIds.size(); ++i) {
                rs.AddNew();
                index = static_cast<int16_t>(i);
                text = LoadString(lookup.stringIds[i]);
                rs.Update();
                rs.SetBookmark(rs.GetLastModifiedBookmark());
            }
        };
        if (table == "TestResults") {
            testResults_ = std::make_unique<CTestResultsRS>(*db_);
            fill(*testResults_, testResults_->m_ResultIndex, testResults_->m_TestResult);
            continue;
        }
        auto states = std::make_unique<CStatesRS>(*db_);
        fill(*states, states->m_StateIndex, states->m_State);
        (table == "TrunkStates"     ? trunkStateNames_
         : table == "RequestStates" ? requestStateNames_
         : table == "AlarmStates"   ? alarmStateNames_
                                    : notifyStateNames_) = std::move(states);
    }
}

void CVorlinDatabase::AddField(const std::string& table, const TableLayout& layout,
                               const char* field, bool withDefault) {
    for (CDaoFieldInfo info : layout.fields) {
        if (info.name == field) {
            info.required = false;
            if (!withDefault) {
                info.defaultValue.clear();
            }
            db_->Execute("ALTER TABLE " + QuoteIdentifier(table) + " ADD COLUMN " +
                         FieldDefinition(info, false));
            log_.Printf(1, "Database upgrade: added %s.%s", table.c_str(), field);
            return;
        }
    }
}

void CVorlinDatabase::UpgradeIntercoms() {
    if (db_->GetTableColumns("Intercoms").size() == 8) {
        for (const char* field : {"ConnType", "IPAddr1", "IPAddr2"}) {
            AddField("Intercoms", IntercomsLayout(), field, false);
        }
    }
    if (db_->GetTableColumns("Intercoms").size() == 11) {
        AddField("Intercoms", IntercomsLayout(), "CascadeCost", false);
    }
    if (!IsTextOfWidth(FindColumn(db_->GetTableColumns("Intercoms"), "ComState"), 20)) {
        RebuildTable(IntercomsLayout(), "Intercoms");
    }
}

void CVorlinDatabase::UpgradeAlarms(const std::string& table) {
    if (db_->GetTableColumns(table).size() == 12) {
        AddField(table, AlarmsLayout(), "Context", false);
    }
    const auto columns = db_->GetTableColumns(table);
    const DaoColumnInfo* instance = FindColumn(columns, "DeviceInstance");
    const bool instanceIsLong =
        instance != nullptr && instance->type.known && instance->type.type == DaoType::Long;
    if (!IsTextOfWidth(FindColumn(columns, "Context"), 60) || !instanceIsLong) {
        RebuildTable(AlarmsLayout(), table);
    }
}

void CVorlinDatabase::RebuildTable(const TableLayout& layout, const std::string& table) {
    log_.Printf(1, "Database upgrade: rebuilding table %s", table.c_str());
    const std::string quoted = QuoteIdentifier(table);
    std::string columns;
    for (const auto& f : layout.fields) {
        columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(f.name);
    }
    int64_t sequence = 0;
    CDaoTransaction transaction(*db_);
    if (db_->TableExists("sqlite_sequence")) {
        DaoStatement seq = db_->Prepare("SELECT seq FROM sqlite_sequence WHERE name = ?", false);
        seq.BindText(1, table);
        if (seq.Step()) {
            sequence = seq.ColumnInteger(0);
        }
    }
    db_->Execute("DROP TABLE IF EXISTS \"temp\"");
    db_->Execute(CreateTableSql(layout, "temp"));
    // By name, so that a column order that differs from the layout cannot shift values.
    db_->Execute("INSERT INTO \"temp\" (" + columns + ") SELECT " + columns + " FROM " + quoted);
    db_->Execute("DROP TABLE " + quoted);
    // Views name the table; they are checked again only once it has its name back.
    db_->Execute("PRAGMA legacy_alter_table = ON");
    db_->Execute("ALTER TABLE \"temp\" RENAME TO " + quoted);
    db_->Execute("PRAGMA legacy_alter_table = OFF");
    db_->Execute("DROP INDEX IF EXISTS " +
                 QuoteIdentifier(IndexNameInFile("temp", "SecondaryKey")));
    db_->Execute(CreateSecondaryIndexSql(layout, table));
    if (sequence > 0) {
        // Numbers handed out before stay used, also those of rows no longer there.
        db_->Execute("UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?",
                     {DaoValue(static_cast<long long>(sequence)), DaoValue(table)});
    }
    transaction.Commit();
}

void CVorlinDatabase::KeepAlarmAndRequestIdsAboveArchives() {
    if (!db_->TableExists("sqlite_sequence")) {
        return;  // no auto-numbered table in this file
    }
    struct Pair {
        const char* table;
        const char* archive;
        const char* id;
    };
    for (const Pair& p : {Pair{"Alarms", "AlarmsArchive", "AlarmID"},
                          Pair{"Requests", "RequestsArchive", "RequestID"}}) {
        // Rows moved to the archive keep their numbers, so a new row must never get one of
        // them, whatever happened to the counter (a rebuild, a tool, a copy of the file).
        const std::string highest = StrFormat(
            "max((SELECT ifnull(max(%s), 0) FROM %s), (SELECT ifnull(max(%s), 0) FROM %s))", p.id,
            p.table, p.id, p.archive);
        db_->Execute(
            StrFormat("INSERT INTO sqlite_sequence (name, seq) SELECT '%s', 0 WHERE NOT "
                      "EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = '%s')",
                      p.table, p.table));
        db_->Execute(StrFormat("UPDATE sqlite_sequence SET seq = %s WHERE name = '%s' AND seq < %s",
                               highest.c_str(), p.table, highest.c_str()));
        if (db_->GetRecordsAffected() > 0) {
            log_.Printf(1, "Id counter of %s raised above the ids in %s and %s", p.table, p.table,
                        p.archive);
        }
    }
}

// The start-up passes change the rows a walk in key order would change, in one statement.
void CVorlinDatabase::RunAlarmStartupPass() {
    const bool abort = settings_.Snapshot().AbortNotificationForStaleAlarms;
    const DaoValue now = DaoValue::Date(clock_.Now());
    const DaoValue active = LoadString(ids::kAlarmStateActive);
    const DaoValue stale = LoadString(ids::kAlarmStateActive + 2);
    const DaoValue busy = LoadString(ids::kAlarmCategoryBusy);
    const DaoValue pending = LoadString(ids::kNotifyStateFirst + 1);
    const DaoValue aborted = LoadString(ids::kNotifyStateFirst + 5);
    const DaoValue abortPending = abort;
    db_->Execute(
        "UPDATE Alarms SET State = ?1, "
        "NotificationTime = CASE WHEN ?2 <> 0 AND Notification = ?3 THEN ?4 "
        "ELSE NotificationTime END, "
        "Notification = CASE WHEN ?2 <> 0 AND Notification = ?3 THEN ?5 ELSE Notification END "
        "WHERE State = ?6 AND AlarmType = ?7",
        {stale, abortPending, pending, now, aborted, active, busy});
    if (db_->GetRecordsAffected() > 0) {
        log_.Printf(1, "%ld busy alarms of the last run are stale", db_->GetRecordsAffected());
    }
    alarms_->MoveFirst();
}

void CVorlinDatabase::RunRequestStartupPass() {
    db_->Execute(
        "UPDATE Requests SET State = ?1, FinishedTime = ?2 "
        "WHERE State IS NULL OR State NOT IN (?3, ?1)",
        {DaoValue(LoadString(ids::kRequestStateFirst + 4)), DaoValue::Date(clock_.Now()),
         DaoValue(LoadString(ids::kRequestStateFirst + 3))});
    if (db_->GetRecordsAffected() > 0) {
        log_.Printf(1, "%ld requests of the last run are incomplete", db_->GetRecordsAffected());
    }
    requests_->MoveFirst();
}

}  // namespace corvane
