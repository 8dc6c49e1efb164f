// Archiving of requests: finished and incomplete requests leave the Requests table.
#include "platform/StringTable.h"
#include "settings/AppSettings.h"
#include "store/DatabaseArchiver.h"
#include "store/DatabaseSchema.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

ArchivePolicy RequestPolicy(const AppSettings& s) {
    return MakeArchivePolicy(s.RequestArchiveTaskPeriod, s.RequestArchiveMoveAge,
                             s.RequestArchivePurgeAge, s.RequestCreateDayArchiveFiles,
                             s.RequestDeleteDayArchiveFiles, s.RequestDeleteDayArchiveFilesAge,
                             s.RequestDailyDayArchiveTimeInUse());
}

}  // namespace

const ArchiveKind& RequestArchiveKind() {
    static const ArchiveKind kind{
        "request",
        "Requests",
        "RequestsArchive",
        RequestsLayout(),
        "(RequestTime < ?1) OR (ActiveTime < ?1) OR (FinishedTime < ?1)",
        "(FinishedTime < ?1)",
        // No request in a day file finishes after the end of its day.
        "UPDATE DayArchive.RequestsArchive SET FinishedTime = ?1 WHERE (FinishedTime > ?1)",
        "FinishedTime",
        &CreateRequestsTable,
        &CVorlinDatabase::GetRequestArchiveFileName,
    };
    return kind;
}

void CDatabaseArchiver::ArchiveRequests(ViewUpdateHint& hint) {
    if (!db_.IsOpen()) {
        return;
    }
    const AppSettings settings = settings_.Snapshot();
    const ArchivePolicy policy = RequestPolicy(settings);
    if (const auto times = requests_.BeginMoveStep(policy)) {
        const DaoValue incomplete = LoadString(ids::kRequestStateFirst + 4);
        std::string condition = "((State = ?1) AND (FinishedTime < ?2))";
        std::vector<DaoValue> params{DaoValue(LoadString(ids::kRequestStateFirst + 3)),
                                     DaoValue::Date(times->cutoff)};
        // The requests the start-up marked incomplete move at once when the settings say
        // so, also those marked in this very second; else they age like finished ones, from
        // the second move step on.
        if (settings.ArchiveIncompleteRequestsAtStartup) {
            condition += " OR ((State = ?3) AND (FinishedTime <= ?4))";
            params.insert(params.end(), {incomplete, DaoValue::Date(times->now)});
        } else if (firstRequestMoveDone_) {
            condition += " OR ((State = ?3) AND (FinishedTime < ?2))";
            params.push_back(incomplete);
        }
        firstRequestMoveDone_ = true;
        if (requests_.MoveRows(condition, params)) {
            hint |= hint::kRequestsNew;
        }
    }
    requests_.Maintain(policy);
}

}  // namespace corvane
