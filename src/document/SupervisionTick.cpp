// The 100 ms supervision tick: the periodic checks, then the write-back of what changed,
// the notification of due alarms and one update of the views with every change of the tick.
#include "document/DocumentWorkers.h"
#include "document/VorlinDoc.h"
#include "platform/UiBridge.h"

namespace corvane {

void CVorlinDoc::OnSupervisionTick() {
    if (inTick_ || !IsReady()) {
        return;
    }
    inTick_ = true;
    // Supervision goes on whether or not anyone is at the window: no box of the tick waits.
    const UnattendedScope unattended;
    if (++ticks_ == 1) {
        log_.Printf(0, "First supervision tick");
    }
    ViewUpdateHint hint = 0;
    DocumentWorkers& w = *workers_;

    UpdateControllerAddresses();
    w.database->CheckMatrixAlphas(w.checks.get());
    w.database->CheckMatrixStatus(w.checks.get());
    w.database->CheckTrunkDefinitions(w.checks.get());
    w.database->CheckDatabaseFile();
    CheckControllerConnection();
    w.schedule->MarkTrunksForAutoTesting();
    w.sequencer->RunTrunkTests(hint);
    w.archiver->ArchiveAlarms(hint);
    w.archiver->ArchiveRequests(hint);
    WriteBack(hint);
    w.notificationPass->SendAlarmNotifications(hint);

    if (hint != 0) {
        UpdateAllViews(hint);
    }
    inTick_ = false;
}

void CVorlinDoc::WriteBack(ViewUpdateHint& hint) {
    CModelWriteBack& writeBack = *workers_->writeBack;
    // Each byte is cleared before its pass, so a setter that runs during the pass marks the
    // collection for the next tick.
    if (TakeDirty(ModelCollection::Intercoms)) {
        writeBack.UpdateIntercomsInDatabase(hint);
    }
    if (TakeDirty(ModelCollection::Trunks)) {
        writeBack.UpdateTrunksInDatabase(hint);
    }
    if (TakeDirty(ModelCollection::Alphas)) {
        writeBack.UpdateAlphasInDatabase(hint);
    }
    if (TakeDirty(ModelCollection::Alarms)) {
        writeBack.UpdateAlarmsInDatabase(hint);
    }
    // Test results the database refused wait for it as the model's changes do.
    workers_->database->WritePendingTestResults(hint, TrunkTestLog());
}

}  // namespace corvane
