// Archiving of alarms: acknowledged, settled alarms leave the Alarms table.
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "settings/AppSettings.h"
#include "store/DaoException.h"
#include "store/DatabaseArchiver.h"
#include "store/DatabaseSchema.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

ArchivePolicy AlarmPolicy(const AppSettings& s) {
    return MakeArchivePolicy(s.AlarmArchiveTaskPeriod, s.AlarmArchiveMoveAge,
                             s.AlarmArchivePurgeAge, s.AlarmCreateDayArchiveFiles,
                             s.AlarmDeleteDayArchiveFiles, s.AlarmDeleteDayArchiveFilesAge,
                             s.AlarmDailyDayArchiveTimeInUse());
}

}  // namespace

const ArchiveKind& AlarmArchiveKind() {
    // A missing time is not before midnight, so an archived alarm stays in the archive
    // table until all four of its times lie in a written day.
    static const ArchiveKind kind{
        "alarm",
        "Alarms",
        "AlarmsArchive",
        AlarmsLayout(),
        "(AlarmTime < ?1) OR (ResolvedTime < ?1) OR (AcknowledgedTime < ?1) OR "
        "(NotificationTime < ?1)",
        "(AlarmTime < ?1) AND (ResolvedTime < ?1) AND (AcknowledgedTime < ?1) AND "
        "(NotificationTime < ?1)",
        nullptr,
        "AcknowledgedTime",
        &CreateAlarmsTable,
        &CVorlinDatabase::GetAlarmArchiveFileName,
    };
    return kind;
}

CDatabaseArchiver::CDatabaseArchiver(CVorlinDatabase& db, const SharedSettings& settings,
                                     const IClock& clock)
    : db_(db),
      settings_(settings),
      alarms_(db, AlarmArchiveKind(), clock),
      requests_(db, RequestArchiveKind(), clock) {}

void CDatabaseArchiver::ArchiveAlarms(ViewUpdateHint& hint) {
    if (!db_.IsOpen()) {
        return;
    }
    const AppSettings settings = settings_.Snapshot();
    const ArchivePolicy policy = AlarmPolicy(settings);
    if (const auto times = alarms_.BeginMoveStep(policy)) {
        std::string condition;
        std::vector<DaoValue> params{DaoValue::Date(times->cutoff)};
        if (settings.AllowActiveAlarmsToBeArchived) {
            condition = "((Acknowledged <> 0) AND (AlarmTime < ?1))";
        } else {
            condition = "((State <> ?2) AND (Acknowledged <> 0) AND (AlarmTime < ?1))";
            params.emplace_back(LoadString(ids::kAlarmStateActive));
        }
        if (settings.ArchiveStaleAlarmsAtStartup) {
            // Stale alarms belong to an earlier run: they move whatever their age.
            condition += StrFormat(" OR (State = ?%zu)", params.size() + 1);
            params.emplace_back(LoadString(ids::kAlarmStateActive + 2));
        }
        if (alarms_.MoveRows(condition, params)) {
            hint |= hint::kAlarmsNew;
            try {
                // The all-alarms recordset starts again on the rows that are left.
                db_.Alarms().Close();
                db_.Alarms().Open();
            } catch (const CDaoException& e) {
                alarms_.LogMoveError(e.Description());
            }
        }
    }
    alarms_.Maintain(policy);
}

}  // namespace corvane
