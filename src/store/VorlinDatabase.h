#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "log/DiagLogSource.h"
#include "platform/Clock.h"
#include "store/DaoDatabase.h"
#include "store/DatabaseOutage.h"
#include "store/StoreInterfaces.h"
#include "store/TableRecordsets.h"

namespace corvane {

class CProfileStore;
class SharedSettings;
struct TableLayout;

// Creates a table of the Alarms, Intercoms or Requests layout under any name in an open
// database (main tables, archive tables, day archive files, rebuilds). Shows its error and
// returns false on failure.
bool CreateAlarmsTable(CDaoDatabase& db, std::string name);
bool CreateIntercomsTable(CDaoDatabase& db, std::string name);
bool CreateRequestsTable(CDaoDatabase& db, std::string name);

// The document's database side: the database file, its creation, opening, compaction and
// upgrade, the long-lived recordsets, and the checks and lookups on them. User-interface
// thread only.
class CVorlinDatabase {
public:
    static constexpr const char* kDefaultPath = "../database/vorlin.mdb";

    // log: the model's "Dbase" source, which must outlive the database.
    CVorlinDatabase(CProfileStore& profile, const SharedSettings& settings, const IClock& clock,
                    const CDiagLogSource& log, std::string path = kDefaultPath);
    ~CVorlinDatabase();
    CVorlinDatabase(const CVorlinDatabase&) = delete;
    CVorlinDatabase& operator=(const CVorlinDatabase&) = delete;

    const std::string& GetDatabasePath() const { return path_; }
    // The compaction target beside the database: "_QRNTEMP.mdb".
    std::string CompactionTempPath() const;

    // Builds a new file with the whole schema and closes it. The file appears complete or
    // not at all.
    bool CreateDatabase();
    // Makes sure the file exists with the current schema (offering compaction when large),
    // fills empty lookup tables, opens the recordsets and cleans up after the last run.
    bool OpenDatabase();
    // Closes the recordsets and the database (the document's close).
    void CloseDatabase();
    bool IsOpen() const;

    // Compacts the file now (the answer Yes of the compaction question); keeps the
    // uncompacted file on any failure, with a message.
    void CompactDatabase();

    // Valid while open.
    CDaoDatabase& Database() { return *db_; }
    CDBStatusRS& DbStatus() { return *dbStatus_; }
    CIntercomsRS& Intercoms() { return *intercoms_; }
    CSummaryRS& Summary() { return *summary_; }
    CTrunksRS& Trunks() { return *trunks_; }
    CTrunks2RS& TrunkStates() { return *trunkStates_; }
    CAlphasRS& Alphas() { return *alphas_; }
    CAlarmsRS& Alarms() { return *alarms_; }
    CAlarmsRS& PendingNotifications() { return *pendingNotifications_; }
    CRequestsRS& Requests() { return *requests_; }
    CRequests2RS& RequestUpdates() { return *requestUpdates_; }

    const CDiagLogSource& Log() const { return log_; }
    // Where the tick's writers tell of their failures and successes.
    CDatabaseOutage& Outage() { return outage_; }

    // Tick checks; controller null when there is no controller object.
    void CheckMatrixAlphas(IControllerChecks* controller);
    void CheckMatrixStatus(IControllerChecks* controller);
    void CheckTrunkDefinitions(IControllerChecks* controller);
    // Every few seconds: whether the open file is still the one at the database path. One
    // that was removed or replaced is logged and told to the operator once; the connection
    // stays, so supervision and the views go on with the file it has open.
    void CheckDatabaseFile();

    // Start-up reads.
    void CheckTrunkTestStates();
    void ReadIntercomOptions(IStartupOptionsSink& model);
    void ReadTrunkOptions(IStartupOptionsSink& model);

    // Records a trunk test step; ORs the view hint bits of what changed into hint. A result
    // the database does not take waits, with its time, until it takes writes again; a later
    // result of the same trunk takes its place.
    void CopyTrunkTestResultsToDatabase(int trunk, int result, const std::string& text,
                                        uint32_t& hint, const CDiagLogSource& trunkTestLog);
    // Writes the results that wait, in order (the tick); ORs in the hint bits of what changed.
    void WritePendingTestResults(uint32_t& hint, const CDiagLogSource& trunkTestLog);
    size_t PendingTestResults() const { return pendingTestResults_.size(); }

    // The port's alpha from AllNames, trimmed; empty when there is none (the caller then
    // shows the port's display name).
    std::string GetAlphaText(int intercom, int functionType, int number);

    // Day archive files, beside the database: "archives/alarms/YYYY-MM-DD Alarm Archive.mdb".
    std::string GetAlarmArchiveFileName(const LocalTime& date) const;
    std::string GetRequestArchiveFileName(const LocalTime& date) const;

private:
    struct TestResultRecord {
        int trunk = 0;
        std::string name;  // the TestResult column's
        std::string text;
        WallTime time;  // to the second
    };

    void WriteTestResult(const TestResultRecord& record, bool autoUpdateSortOrder, uint32_t& hint,
                         const CDiagLogSource& trunkTestLog);
    bool BuildSchema();
    void OfferCompaction();
    void OpenRecordsets();
    void FillLookupTables();
    void UpgradeIntercoms();
    // The indexes the list views' joins read by; a file without them gets them.
    void CreateListIndexes();
    void UpgradeAlarms(const std::string& table);
    void AddField(const std::string& table, const TableLayout& layout, const char* field,
                  bool withDefault);
    void RebuildTable(const TableLayout& layout, const std::string& table);
    void KeepAlarmAndRequestIdsAboveArchives();
    void RunAlarmStartupPass();
    void RunRequestStartupPass();

    CProfileStore& profile_;
    const SharedSettings& settings_;
    const IClock& clock_;
    std::string path_;
    const CDiagLogSource& log_;
    std::unique_ptr<CDaoDatabase> db_;
    std::unique_ptr<CDBStatusRS> dbStatus_;
    std::unique_ptr<CStatesRS> trunkStateNames_;
    std::unique_ptr<CTestResultsRS> testResults_;
    std::unique_ptr<CStatesRS> requestStateNames_;
    std::unique_ptr<CStatesRS> alarmStateNames_;
    std::unique_ptr<CStatesRS> notifyStateNames_;
    std::unique_ptr<CIntercomsRS> intercoms_;
    std::unique_ptr<CSummaryRS> summary_;
    std::unique_ptr<CTrunksRS> trunks_;
    std::unique_ptr<CTrunks2RS> trunkStates_;
    std::unique_ptr<CAlphasRS> alphas_;
    std::unique_ptr<CAlarmsRS> alarms_;
    std::unique_ptr<CAlarmsRS> pendingNotifications_;
    std::unique_ptr<CRequestsRS> requests_;
    std::unique_ptr<CRequests2RS> requestUpdates_;
    std::optional<SteadyTime> lastStatusWalk_;
    std::deque<TestResultRecord> pendingTestResults_;
    std::optional<SteadyTime> lastFileCheck_;
    bool fileMoveTold_ = false;
    CDatabaseOutage outage_{*this, clock_};
};

}  // namespace corvane
