// Maintenance mode and the crosspoint from the instrument port, for a test and for the
// operators' requests, and the tear-down that undoes exactly what the step flags record,
// whatever went wrong: a failure while tearing down is logged and the tear-down goes on.
#include "link/MaintenanceController.h"
#include "model/ModelNumbers.h"
#include "model/VorlinModel.h"
#include "platform/Format.h"
#include "settings/AppSettings.h"
#include "testing/TrunkTestSequencer.h"

namespace corvane {

CTrunkTestSequencer::Next CTrunkTestSequencer::SetCascadeMaintenance(ViewUpdateHint& hint) {
    Record(testresult::kTesting, "Putting cascade trunk into maintenance mode...", hint);
    if (Trunk(cascadeTrunk_).State() == CTrunkData::kMaint) {
        return GoTo(trunkteststate::kPrepareMaintenance);
    }
    model_.TrunkTestLog().Printf(3, "Trunk %d: Set maintenance mode cascade trunk=%d", trunk_,
                                 cascadeTrunk_);
    const int cascade = cascadeTrunk_ - 1;
    return Request(trunkteststate::kWaitCascadeMaintenance,
                   [=](IMaintenanceController& c) { c.PutTrunkInMaintenance(cascade, false); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitCascadeMaintenance(ViewUpdateHint& hint) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    if (poll == Poll::Failed) {
        Record(testresult::kError, "Set maintenance mode cascade trunk failed", hint);
        EndNow();
        return GoTo(trunkteststate::kClearFarEndLoop);
    }
    steps_.cascadeInMaintenance = true;
    return GoTo(trunkteststate::kPrepareMaintenance);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::PrepareMaintenance(ViewUpdateHint& hint) {
    if (!force_ && Trunk(trunk_).State() == CTrunkData::kInUse &&
        settings_.Snapshot().SkipInUseTrunks) {
        return GoTo(trunkteststate::kTrunkInUse);
    }
    Record(testresult::kTesting, "Putting trunk into maintenance mode...", hint);
    return GoTo(trunkteststate::kSetMaintenance);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::TrunkInUse(ViewUpdateHint& hint) {
    Record(testresult::kSkipped, "Trunk was in use, test still pending...", hint);
    TrunkPendingOps& ops = Trunk(trunk_).PendingOps();
    ops.manualTest = 0;
    ops.testWanted = 1;
    model_.SetTrunkOperationsPending(true);
    return GoTo(trunkteststate::kClearFarEndLoop);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::SetMaintenance() {
    if (Trunk(trunk_).State() == CTrunkData::kMaint) {
        return testInProgress_ ? GoTo(trunkteststate::kSetPortXpnt) : WaitIn(trunkteststate::kIdle);
    }
    model_.TrunkTestLog().Printf(3, "Trunk %d: Set maintenance mode target trunk force=%d", trunk_,
                                 force_ ? 1 : 0);
    const int trunk = trunk_ - 1;
    const bool force = force_;
    return Request(trunkteststate::kWaitSetMaintenance,
                   [=](IMaintenanceController& c) { c.PutTrunkInMaintenance(trunk, force); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitSetMaintenance(ViewUpdateHint& hint) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    if (poll == Poll::Succeeded) {
        if (!testInProgress_) {
            return WaitIn(trunkteststate::kIdle);
        }
        steps_.trunkInMaintenance = true;
        return GoTo(trunkteststate::kSetPortXpnt);
    }
    if (testInProgress_) {
        // The trunk was not in maintenance before; should the controller have done it after
        // all, the tear-down returns it to service.
        steps_.trunkInMaintenance = true;
        Record(testresult::kError, "Set maintenance mode target trunk failed", hint);
        EndNow();
        return GoTo(trunkteststate::kClearFarEndLoop);
    }
    // An operator's request the controller refused ends here: retrying would hold every
    // other request back for as long as the trunk stays busy, and tearing down would undo
    // another test's set-up.
    if (force_) {
        model_.TrunkTestLog().Printf(1, "Trunk %d: Set maintenance mode failed", trunk_);
    } else {
        model_.TrunkTestLog().Printf(
            1, "Trunk %d: Set maintenance mode target trunk failed because trunk in use", trunk_);
    }
    return WaitIn(trunkteststate::kIdle);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::SetPortXpnt() {
    model_.TrunkTestLog().Printf(3, "Trunk %d: Set xpnt %s port to trunk", trunk_,
                                 instrumentName_.c_str());
    const int trunk = PortTrunk() - 1;
    return Request(trunkteststate::kWaitPortXpnt,
                   [=](IMaintenanceController& c) { c.CloseMaintenanceTrunkXpnt(trunk); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitPortXpnt(ViewUpdateHint& hint) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    // A crosspoint the controller may still have closed after failing to say so is cleared
    // as well.
    steps_.portXpnt = true;
    if (poll == Poll::Failed) {
        Record(testresult::kError,
               StrFormat("Set xpnt %s port to trunk failed", instrumentName_.c_str()), hint);
        EndNow();
        return GoTo(trunkteststate::kClearFarEndLoop);
    }
    return GoTo(HasCascade() ? trunkteststate::kSetCascadeLoop : trunkteststate::kSetFarEndLoop);
}

// --- Tear-down. ---

CTrunkTestSequencer::Next CTrunkTestSequencer::ClearFarEndLoop() {
    if (!steps_.farEndLoop) {
        return GoTo(trunkteststate::kClearPortXpnt);
    }
    model_.TrunkTestLog().Printf(3, "Trunk %d: Clear xpnt end loopback", trunk_);
    const int farEnd = farEnd_ - 1;
    const int trunk = trunk_ - 1;
    return Request(trunkteststate::kWaitClearFarEndLoop,
                   [=](IMaintenanceController& c) { c.ClearTrunkPortLoop(farEnd, trunk); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::ClearPortXpnt() {
    if (!steps_.portXpnt) {
        return GoTo(trunkteststate::kClearCascadeXpnt);
    }
    model_.TrunkTestLog().Printf(3, "Trunk %d: Clear xpnt %s port to trunk", trunk_,
                                 instrumentName_.c_str());
    const int trunk = PortTrunk() - 1;
    return Request(trunkteststate::kWaitClearPortXpnt,
                   [=](IMaintenanceController& c) { c.ClearMaintenanceTrunkXpnt(trunk); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::ClearCascadeXpnt() {
    if (!steps_.cascadeXpnt) {
        return GoTo(trunkteststate::kClearCascadeMaintenance);
    }
    model_.TrunkTestLog().Printf(3, "Trunk %d: Clear xpnt cascade trunk to target trunk", trunk_);
    const int farEnd = cascadeFarEnd_ - 1;
    const int cascade = cascadeTrunk_ - 1;
    const int trunk = trunk_ - 1;
    return Request(trunkteststate::kWaitClearCascadeXpnt, [=](IMaintenanceController& c) {
        c.ClearTrunkTrunkXpnt(farEnd, cascade, trunk);
    });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::ClearCascadeMaintenance() {
    if (!steps_.cascadeInMaintenance) {
        return GoTo(trunkteststate::kClearMaintenance);
    }
    model_.TrunkTestLog().Printf(3, "Trunk %d: Clear maintenance mode cascade trunk", trunk_);
    const int cascade = cascadeTrunk_ - 1;
    return Request(trunkteststate::kWaitClearCascadeMaintenance,
                   [=](IMaintenanceController& c) { c.RestoreTrunkToNormal(cascade); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::ClearMaintenance() {
    if (testInProgress_ && !steps_.trunkInMaintenance) {
        return GoTo(trunkteststate::kComplete);
    }
    model_.TrunkTestLog().Printf(3, "Trunk %d: Clear maintenance mode target trunk", trunk_);
    const int trunk = trunk_ - 1;
    return Request(trunkteststate::kWaitClearMaintenance,
                   [=](IMaintenanceController& c) { c.RestoreTrunkToNormal(trunk); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitTearDown(int next, const std::string& step) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    if (poll == Poll::Failed) {
        model_.TrunkTestLog().Printf(1, "Trunk %d: Error %s failed", trunk_, step.c_str());
    }
    return GoTo(next);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitClearMaintenance() {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    if (poll == Poll::Failed) {
        model_.TrunkTestLog().Printf(1, "Trunk %d: Clear maintenance mode target trunk failed",
                                     trunk_);
    }
    return testInProgress_ ? GoTo(trunkteststate::kComplete) : WaitIn(trunkteststate::kIdle);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::Complete() {
    model_.TrunkTestLog().Printf(3, "Trunk %d: Test complete", trunk_);
    return WaitIn(trunkteststate::kIdle);
}

}  // namespace corvane
