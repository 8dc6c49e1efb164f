#pragma once

#include "model/ViewUpdateHint.h"
#include "platform/Clock.h"
#include "store/ArchiveScheme.h"

namespace corvane {

class CVorlinDatabase;
class SharedSettings;

// Keeps the Alarms and Requests tables short: moves old, closed rows into the archive
// tables and either purges those after an age or writes them into one file per day.
// Called on every supervision tick; a tick with nothing due touches neither the database
// nor the disk. User-interface thread only.
class CDatabaseArchiver {
public:
    CDatabaseArchiver(CVorlinDatabase& db, const SharedSettings& settings, const IClock& clock);
    CDatabaseArchiver(const CDatabaseArchiver&) = delete;
    CDatabaseArchiver& operator=(const CDatabaseArchiver&) = delete;

    // ORs hint::kAlarmsNew into hint when alarm rows moved.
    void ArchiveAlarms(ViewUpdateHint& hint);
    // ORs hint::kRequestsNew into hint when request rows moved.
    void ArchiveRequests(ViewUpdateHint& hint);

private:
    CVorlinDatabase& db_;
    const SharedSettings& settings_;
    CArchiveScheme alarms_;
    CArchiveScheme requests_;
    // The first request move after start-up leaves incomplete requests alone unless the
    // settings say to move them at once.
    bool firstRequestMoveDone_ = false;
};

}  // namespace corvane
