// Creation of a new database file with the whole schema.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "store/DaoException.h"
#include "store/DatabaseFiles.h"
#include "store/DatabaseSchema.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

bool CreateLayoutTable(CDaoDatabase& db, const TableLayout& layout, const std::string& name,
                       const char* message) {
    try {
        db.Execute(CreateTableSql(layout, name));
        return true;
    } catch (const CDaoException& e) {
        ReportDaoException(e, message);
        return false;
    }
}

// One creation step under its own handler: an engine failure shows its message.
bool Step(const char* message, const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const CDaoException& e) {
        ReportDaoException(e, message);
        return false;
    }
}

}  // namespace

bool CreateAlarmsTable(CDaoDatabase& db, std::string name) {
    return CreateLayoutTable(db, AlarmsLayout(), name,
                             "Error, creating database Alarms tables\nDescription: %s");
}

bool CreateIntercomsTable(CDaoDatabase& db, std::string name) {
    return CreateLayoutTable(db, IntercomsLayout(), name,
                             "Error, creating database Intercoms table\nDescription: %s");
}

bool CreateRequestsTable(CDaoDatabase& db, std::string name) {
    return CreateLayoutTable(db, RequestsLayout(), name,
                             "Error, creating database Requests tables\nDescription: %s");
}

bool CVorlinDatabase::CreateDatabase() {
    CloseDatabase();
    // Also when the file is missing: SQLite would read the WAL that a removed file left
    // behind into the new file of the same name.
    std::string failed;
    if (const int error = RemoveDatabaseFiles(path_, &failed); error != 0) {
        Ui().MessageBox(StrFormat("Error, could not delete existing database\nFile Name: "
                                  "%s\nError Code: %d",
                                  failed.c_str(), error),
                        LoadString(ids::kAppCaption), mb::kOk);
        return false;
    }
    // The file format is SQLite's own; the setting is kept as the system keeps it.
    int version = profile_.GetProfileInt("Preferences", "JetEngineVersion", 4);
    if (version != 0 && version != 3) {
        version = 4;
    }
    profile_.WriteProfileInt("Preferences", "JetEngineVersion", version);

    // Built beside the live name and renamed into place when complete, so that a failed
    // creation leaves nothing that a later start would take for a database.
    const std::string building = path_ + ".new";
    RemoveDatabaseFiles(building);
    db_ = std::make_unique<CDaoDatabase>(log_);
    const bool built =
        Step("Error, creating database\nDescription: %s", [&] { db_->Create(building); }) &&
        BuildSchema();
    db_->Close();
    if (!built) {
        RemoveDatabaseFiles(building);
        return false;
    }
    if (std::rename(building.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        RemoveDatabaseFiles(building);
        Ui().ReportDatabaseError("Error, creating database\nDescription: %s",
                                 StrFormat("%s: %s", path_.c_str(), std::strerror(error)));
        return false;
    }
    SyncDirectory(DirectoryOf(path_).empty() ? "." : DirectoryOf(path_));
    return true;
}

bool CVorlinDatabase::BuildSchema() {
    CDaoDatabase& db = *db_;
    auto table = [&](const TableLayout& layout) {
        db.Execute(CreateTableSql(layout, layout.name));
    };
    if (!Step("Error, creating database\nDescription: %s", [&] { db.BeginTrans(); })) {
        return false;
    }
    const bool ok =
        Step(
            "Error, creating database TrunkStates, RequestStates, AlarmStates "
            "tables\nDescription: %s",
            [&] {
                for (const char* name :
                     {"TrunkStates", "RequestStates", "AlarmStates", "NotifyStates"}) {
                    table(StatesLayout(name));
                }
            }) &&
        Step("Error, creating database TestResults table\nDescription: %s",
             [&] { table(TestResultsLayout()); }) &&
        Step("Error, creating database dbStatus table\nDescription: %s",
             [&] { table(DbStatusLayout()); }) &&
        CreateIntercomsTable(db, "Intercoms") &&
        Step("Error, creating database Alphas table\nDescription: %s",
             [&] { table(AlphasLayout()); }) &&
        // The two relations are declared with the Trunks table and never enforced.
        Step("Error, creating database Trunks table\nDescription: %s",
             [&] { table(TrunksLayout()); }) &&
        Step("Error, creating database Summary table\nDescription: %s",
             [&] { table(TrunkSummaryLayout()); }) &&
        CreateRequestsTable(db, "Requests") && CreateRequestsTable(db, "RequestsArchive") &&
        CreateAlarmsTable(db, "Alarms") && CreateAlarmsTable(db, "AlarmsArchive") &&
        Step("Error, creating database Log table\nDescription: %s", [&] { table(LogLayout()); }) &&
        Step("Error, creating database queries\nDescription: %s",
             [&] {
                 for (const auto& q : SavedQueries()) {
                     db.Execute("CREATE VIEW " + QuoteIdentifier(q.name) + " AS " + q.sql);
                 }
             }) &&
        Step("Error, creating database\nDescription: %s", [&] { db.CommitTrans(); });
    if (!ok) {
        try {
            db.Rollback();
        } catch (const CDaoException& e) {
            log_.Printf(0, "Rollback of the new database failed: %s", e.Description().c_str());
        }
    }
    return ok;
}

}  // namespace corvane
