// The periodic steps of the archive scheme: moving closed rows and purging old ones.
#include "store/ArchiveScheme.h"

#include <algorithm>

#include "log/DiagLogSource.h"
#include "store/DaoException.h"
#include "store/DatabaseSchema.h"
#include "store/VorlinDatabase.h"

namespace corvane {

using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;

ArchivePolicy MakeArchivePolicy(int taskPeriodMinutes, int moveAgeMinutes, int purgeAgeHours,
                                bool createDayFiles, bool deleteDayFiles, int deleteDayFilesAgeDays,
                                seconds dailyTime) {
    ArchivePolicy p;
    p.taskPeriod = minutes(std::max(taskPeriodMinutes, 1));
    p.moveAge = minutes(moveAgeMinutes);
    p.purgeAge = hours(purgeAgeHours);
    p.createDayFiles = createDayFiles;
    p.deleteDayFiles = deleteDayFiles;
    p.deleteDayFilesAge = hours(24) * deleteDayFilesAgeDays;
    p.dailyTime = dailyTime;
    return p;
}

CArchiveScheme::CArchiveScheme(CVorlinDatabase& db, const ArchiveKind& kind, const IClock& clock)
    : db_(db),
      kind_(kind),
      clock_(clock),
      // A day in the past, so the first tick runs every step.
      lastMoveCheck_(clock.Steady() - hours(24)),
      lastPurgeCheck_(clock.Steady() - hours(24)) {
    for (const auto& field : kind_.layout.fields) {
        columns_ += (columns_.empty() ? "" : ", ") + QuoteIdentifier(field.name);
    }
}

const CDiagLogSource& CArchiveScheme::Log() const {
    return db_.Log();
}

std::optional<MoveStepTimes> CArchiveScheme::BeginMoveStep(const ArchivePolicy& policy) {
    const SteadyTime now = clock_.Steady();
    if (now - lastMoveCheck_ < policy.taskPeriod) {
        return std::nullopt;
    }
    lastMoveCheck_ = now;
    Log().Printf(3, "Checking for %s table archiving required", kind_.liveTable);
    const WallTime wall = clock_.Now();
    return MoveStepTimes{wall, wall - policy.moveAge};
}

void CArchiveScheme::LogMoveError(const std::string& description) const {
    Log().Printf(0, "Error during %s archiving: %s", kind_.noun, description.c_str());
}

bool CArchiveScheme::MoveRows(const std::string& condition, const std::vector<DaoValue>& params) {
    CDaoDatabase& db = db_.Database();
    try {
        CDaoTransaction transaction(db);
        // Columns by name: a table upgraded in place may hold them in another order.
        db.Execute("INSERT INTO " + QuoteIdentifier(kind_.archiveTable) + " (" + columns_ +
                       ") SELECT " + columns_ + " FROM " + QuoteIdentifier(kind_.liveTable) +
                       " WHERE " + condition,
                   params);
        const long copied = db.GetRecordsAffected();
        if (copied == 0) {
            return false;
        }
        db.Execute("DELETE FROM " + QuoteIdentifier(kind_.liveTable) + " WHERE " + condition,
                   params);
        const long deleted = db.GetRecordsAffected();
        if (deleted != copied) {
            // Rows would be lost or doubled: the transaction goes back.
            Log().Printf(1, "Error Archiving, number copied %ld not equal to number deleted %ld",
                         copied, deleted);
            return false;
        }
        transaction.Commit();
        Log().Printf(3, "Archiving, copied %ld records to %s table", copied, kind_.archiveTable);
        Log().Printf(3, "Archiving, deleted %ld records from %s table", deleted, kind_.liveTable);
        return true;
    } catch (const CDaoException& e) {
        LogMoveError(e.Description());
        return false;
    }
}

void CArchiveScheme::Maintain(const ArchivePolicy& policy) {
    if (policy.createDayFiles) {
        DayStep(policy);
    } else {
        PurgeStep(policy);
    }
}

void CArchiveScheme::PurgeStep(const ArchivePolicy& policy) {
    const SteadyTime now = clock_.Steady();
    if (now - lastPurgeCheck_ < policy.taskPeriod * 10) {
        return;
    }
    lastPurgeCheck_ = now;
    Log().Printf(3, "Checking for %s table deleting required", kind_.archiveTable);
    const WallTime cutoff = clock_.Now() - policy.purgeAge;
    CDaoDatabase& db = db_.Database();
    try {
        db.Execute("DELETE FROM " + QuoteIdentifier(kind_.archiveTable) + " WHERE (" +
                       QuoteIdentifier(kind_.purgeColumn) + " < ?1)",
                   {DaoValue::Date(cutoff)});
        const long deleted = db.GetRecordsAffected();
        if (deleted > 0) {
            Log().Printf(3, "Archiving, deleted %ld records from %s table", deleted,
                         kind_.archiveTable);
        }
    } catch (const CDaoException& e) {
        Log().Printf(0, "Error during %s archive deleting: %s", kind_.noun,
                     e.Description().c_str());
    }
}

}  // namespace corvane
