// Choosing the next piece of work: an operator's maintenance request or the next trunk that
// wants a test, and the cascade trunk that reaches it from the instrument's matrix.
#include "link/MaintenanceController.h"
#include "model/ModelNumbers.h"
#include "model/NameTables.h"
#include "model/VorlinModel.h"
#include "platform/Format.h"
#include "settings/AppSettings.h"
#include "testing/TrunkTestSequencer.h"

namespace corvane {

bool CTrunkTestSequencer::SkipReason(const CTrunkData& trunk, bool manual,
                                     std::string& text) const {
    const AppSettings s = settings_.Snapshot();
    if (!manual) {
        for (const int end : {trunk.End1Intercom(), trunk.End2Intercom()}) {
            if (!model_.IsIntercomCommunicating(end)) {
                text = StrFormat("Intercom (%s) not communicating, test still pending...",
                                 model_.GetIntercomName(end).c_str());
                return true;
            }
        }
        if (trunk.State() == CTrunkData::kInUse && s.SkipInUseTrunks) {
            text = "Trunk was in use, test still pending...";
            return true;
        }
        if (trunk.State() == CTrunkData::kMaint && s.SkipTrunksInMaintenanceMode) {
            text = "Trunk was in maintenance mode, test still pending...";
            return true;
        }
        if (controller_->HasOutOfServiceCapability() && trunk.OutOfService() != 0) {
            text = "Trunk is out-of-service, test still pending...";
            return true;
        }
    }
    if (!controller_->HasMaintenancePort()) {
        text = "Maintenance port undefined, test still pending...";
        return true;
    }
    if (controller_->IsMaintenancePortOutOfService()) {
        text = "Maintenance port is out-of-service, test still pending...";
        return true;
    }
    return false;
}

CTrunkTestSequencer::Next CTrunkTestSequencer::Scan(ViewUpdateHint& hint) {
    model_.SetTrunkOperationsPending(false);
    const int start = model_.TrunkTestPosition();
    int n = start >= 0 && start < kTrunkCount ? start : 0;
    const AppSettings s = settings_.Snapshot();
    const bool paused = model_.TestingPaused();
    std::optional<CascadeReach> reach;
    for (int walked = 0; walked < kTrunkCount; ++walked) {
        n = (n + 1) % kTrunkCount;
        if (n == 0) {
            continue;  // entry 0 holds no trunk
        }
        CTrunkData& trunk = Trunk(n);
        if (trunk.flags.IsUnset()) {
            continue;
        }
        TrunkPendingOps& ops = trunk.PendingOps();
        if (ops.setMaintenanceRequested != 0) {
            ops.setMaintenanceRequested = 0;
            model_.SetTrunkOperationsPending(true);
            testInProgress_ = false;
            force_ = ops.force != 0;
            trunk_ = n;
            model_.SetTrunkTestPosition(n);
            return GoTo(trunkteststate::kSetMaintenance);
        }
        if (ops.clearMaintenanceRequested != 0) {
            ops.clearMaintenanceRequested = 0;
            model_.SetTrunkOperationsPending(true);
            testInProgress_ = false;
            trunk_ = n;
            model_.SetTrunkTestPosition(n);
            return GoTo(trunkteststate::kClearMaintenance);
        }
        if (ops.testWanted == 0) {
            continue;
        }
        const bool manual = ops.manualTest != 0;
        if (paused && !manual) {
            // The pause ends the scan: this trunk comes first once testing resumes, and what
            // lies beyond it waits, the operator's requests and manual tests included.
            Record(n, testresult::kPending, "Testing paused (choose resume to continue)...", hint);
            model_.SetTrunkTestPosition(n - 1);
            model_.SetTrunkOperationsPending(true);
            return Next::Wait;
        }
        if (clock_.Steady() - lastEnd_ < std::chrono::seconds(s.InterTestDelay)) {
            Record(n, testresult::kPending, "Pausing between trunk tests...", hint);
            model_.SetTrunkTestPosition(n - 1);
            model_.SetTrunkOperationsPending(true);
            return Next::Wait;
        }
        std::string reason;
        if (SkipReason(trunk, manual, reason)) {
            Record(n, testresult::kSkipped, reason, hint);
            model_.SetTrunkOperationsPending(true);
            continue;
        }
        if (waitingForCascade_.test(static_cast<size_t>(n)) &&
            StillWithoutCascade(n, manual, s.TonexaIntercom, reach)) {
            // Its "no cascade trunk available" stands; it is tried again on the next scan.
            model_.SetTrunkOperationsPending(true);
            continue;
        }
        ops.testWanted = 0;
        model_.SetTrunkOperationsPending(true);
        force_ = true;
        return StartTest(n, manual, hint);
    }
    return Next::Wait;
}

CTrunkTestSequencer::Next CTrunkTestSequencer::StartTest(int trunk, bool manual,
                                                         ViewUpdateHint& hint) {
    trunk_ = trunk;
    if (!controller_->IsCommunicating()) {
        Record(testresult::kError, "Not communicating with Quillex", hint);
        EndNow();
        return Next::Wait;
    }
    const AppSettings s = settings_.Snapshot();
    instrumentName_ = model_.GetAnalyzerDisplayName();
    instrumentDeviceType_ =
        CVorlinModel::GetAnalyzerDeviceType(model_.GetAnalyzerType(s.AudioAnalyzer));
    if (!tester_->IsConnected()) {
        Record(testresult::kError, StrFormat("Not communicating with %s", instrumentName_.c_str()),
               hint);
        EndNow();
        return Next::Wait;
    }
    Record(testresult::kTesting, "Starting test...", hint);
    model_.SetTrunkTestPosition(trunk);
    loopLimit_ = s.AllowedTonexaLoopLoss * 10;
    cascadeLimit_ = s.AllowedCascadeLoopLoss * 10;
    trunkLimit_ = s.AllowedTrunkLoss * 10;
    testInProgress_ = true;
    manual_ = manual;
    // Nothing of an earlier test may reach this one: its set-up, its abort, its requests.
    steps_ = StepFlags{};
    requestOpen_ = false;
    measurementOpen_ = false;
    cascadeTrunk_ = kNone;
    cascadeLoss_ = 0;
    testIntercom_ = s.TonexaIntercom;
    if (IsLoopbackDue()) {
        loopbackFresh_ = true;
        return GoTo(trunkteststate::kSetPortLoopback);
    }
    Record(testresult::kTesting, StrFormat("Skipping %s loopback test...", instrumentName_.c_str()),
           hint);
    loopbackFresh_ = false;
    return GoTo(trunkteststate::kChooseCascade);
}

CTrunkTestSequencer::CascadeUse CTrunkTestSequencer::CascadeUseOf(const CTrunkData& candidate,
                                                                  int testIntercom,
                                                                  int& farEnd) const {
    // An undefined trunk is none, even before the write-back drops it.
    if (candidate.flags.IsUnset() || !candidate.IsCounted() ||
        !candidate.HasEndIntercom(testIntercom)) {
        return CascadeUse::None;
    }
    farEnd = candidate.End1Intercom() != testIntercom ? candidate.End1Intercom()
                                                      : candidate.End2Intercom();
    // Usable only idle, in service, and with its definition in the database, where its
    // results are written.
    if (candidate.State() != CTrunkData::kIdle || candidate.OutOfService() != 0 ||
        candidate.flags.Test(trunkbit::kDefinition)) {
        return CascadeUse::Exists;
    }
    if (!(model_.IsIntercomCommunicating(candidate.End1Intercom()) &&
          model_.IsIntercomCommunicating(candidate.End2Intercom()))) {
        return CascadeUse::Manual;
    }
    return CascadeUse::Any;
}

CTrunkTestSequencer::CascadeChoice CTrunkTestSequencer::FindCascade(int trunkNumber, bool manual,
                                                                    int testIntercom) const {
    const CTrunkData& trunk = Trunk(trunkNumber);
    CascadeChoice choice;
    for (int c = 1; c < kTrunkCount; ++c) {
        int farEnd = 0;
        const CascadeUse use =
            c == trunkNumber ? CascadeUse::None : CascadeUseOf(Trunk(c), testIntercom, farEnd);
        if (use == CascadeUse::None || !trunk.HasEndIntercom(farEnd)) {
            continue;
        }
        choice.exists = true;
        if (use == CascadeUse::Any || (manual && use == CascadeUse::Manual)) {
            choice.trunk = c;
            choice.farEnd = farEnd;
            return choice;
        }
    }
    return choice;
}

CTrunkTestSequencer::CascadeReach CTrunkTestSequencer::ReachOfCascades(int testIntercom) const {
    CascadeReach reach;
    for (int c = 1; c < kTrunkCount; ++c) {
        int farEnd = 0;
        const CascadeUse use = CascadeUseOf(Trunk(c), testIntercom, farEnd);
        // The controller thread may redefine the trunk between the reads of its ends.
        if (use == CascadeUse::None || !IsIntercomNumber(farEnd)) {
            continue;
        }
        CascadeUse& best = reach.best[static_cast<size_t>(farEnd)];
        if (use > best) {
            best = use;
        }
    }
    return reach;
}

bool CTrunkTestSequencer::StillWithoutCascade(int trunkNumber, bool manual, int testIntercom,
                                              std::optional<CascadeReach>& reach) const {
    const CTrunkData& trunk = Trunk(trunkNumber);
    if (trunk.HasEndIntercom(testIntercom)) {
        return false;
    }
    if (!reach) {
        reach = ReachOfCascades(testIntercom);
    }
    // A trunk that needs a cascade trunk is never one itself, so every candidate counts.
    CascadeUse best = CascadeUse::None;
    for (const int end : {trunk.End1Intercom(), trunk.End2Intercom()}) {
        if (IsIntercomNumber(end) && reach->best[static_cast<size_t>(end)] > best) {
            best = reach->best[static_cast<size_t>(end)];
        }
    }
    const bool usable = best == CascadeUse::Any || (manual && best == CascadeUse::Manual);
    return best != CascadeUse::None && !usable;
}

CTrunkTestSequencer::Next CTrunkTestSequencer::ChooseCascade(ViewUpdateHint& hint) {
    const CTrunkData& trunk = Trunk(trunk_);
    if (trunk.HasEndIntercom(testIntercom_)) {
        cascadeTrunk_ = kNone;
        cascadeLoss_ = 0;
        farEnd_ =
            trunk.End1Intercom() != testIntercom_ ? trunk.End1Intercom() : trunk.End2Intercom();
        return GoTo(trunkteststate::kPrepareMaintenance);
    }
    const CascadeChoice choice = FindCascade(trunk_, manual_, testIntercom_);
    if (choice.trunk != kNone) {
        cascadeTrunk_ = choice.trunk;
        cascadeFarEnd_ = choice.farEnd;
        farEnd_ =
            trunk.End1Intercom() != choice.farEnd ? trunk.End1Intercom() : trunk.End2Intercom();
        return GoTo(trunkteststate::kSetCascadeMaintenance);
    }
    if (choice.exists) {
        Record(testresult::kSkipped, "Cascade needed but no cascade trunk available", hint);
        Trunk(trunk_).PendingOps().testWanted = 1;
        model_.SetTrunkOperationsPending(true);
        waitingForCascade_.set(static_cast<size_t>(trunk_));
        return WaitIn(trunkteststate::kIdle);
    }
    Record(testresult::kError, "Cascade needed but no cascade trunk exists", hint);
    EndNow();
    return WaitIn(trunkteststate::kIdle);
}

}  // namespace corvane
