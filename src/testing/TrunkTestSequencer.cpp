#include "testing/TrunkTestSequencer.h"

#include "link/MaintenanceController.h"
#include "link/MaintenanceMessages.h"
#include "model/ModelNumbers.h"
#include "model/NameTables.h"
#include "model/VorlinModel.h"
#include "platform/Format.h"
#include "settings/AppSettings.h"
#include "store/AlarmContext.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

// Runs the busy flag for the length of one call.
class BusyGuard {
public:
    explicit BusyGuard(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyGuard() { busy_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& busy_;
};

// Every state either waits or moves on; a chain longer than this within one call means a
// loop, and the rest waits for the next tick.
constexpr int kMaxStepsPerCall = 64;

}  // namespace

CTrunkTestSequencer::CTrunkTestSequencer(CVorlinModel& model, CVorlinDatabase& db,
                                         const SharedSettings& settings, const IClock& clock)
    : model_(model), db_(db), settings_(settings), clock_(clock), cascadeTrunk_(kNone) {}

void CTrunkTestSequencer::SetController(IMaintenanceController* controller) {
    if (controller != controller_) {
        controller_ = controller;
        ++controllerGeneration_;
    }
}

void CTrunkTestSequencer::SetTester(CTrunkTester* tester) {
    if (tester != tester_) {
        tester_ = tester;
        ++testerGeneration_;
    }
}

void CTrunkTestSequencer::RunTrunkTests(ViewUpdateHint& hint) {
    if (busy_ || controller_ == nullptr || tester_ == nullptr) {
        return;
    }
    BusyGuard guard(busy_);
    const SteadyTime now = clock_.Steady();
    if (!timesSet_) {
        requestTime_ = lastEnd_ = lastGoodLoopback_ = now;
        timesSet_ = true;
    }
    if (!IsLoopbackDue() && now - lastGoodLoopback_ >= kLoopbackMaxAge) {
        SetLoopbackDue(true);
    }
    if (model_.TestQueueChanged()) {
        ApplyTestQueueChanges(hint);
    }
    for (int i = 0; i < kMaxStepsPerCall; ++i) {
        if (Step(hint) == Next::Wait) {
            return;
        }
    }
}

void CTrunkTestSequencer::ApplyTestQueueChanges(ViewUpdateHint& hint) {
    for (int n = 1; n < kTrunkCount; ++n) {
        CTrunkData& trunk = Trunk(n);
        if (trunk.flags.IsUnset()) {
            continue;
        }
        TrunkPendingOps& ops = trunk.PendingOps();
        if (ops.cancelTestRequested != 0) {
            ops.cancelTestRequested = 0;
            Record(n, testresult::kNone, "", hint);
        }
        if (ops.clearResultsRequested != 0) {
            ops.clearResultsRequested = 0;
            Record(n, testresult::kNone, "", hint);
        }
        if (ops.queuedForTesting != 0) {
            ops.queuedForTesting = 0;
            Record(n, testresult::kPending, "", hint);
        }
    }
    model_.SetTestQueueChanged(false);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::Step(ViewUpdateHint& hint) {
    using namespace trunkteststate;
    switch (state_) {
        case kIdle:
            return model_.TrunkOperationsPending() ? Scan(hint) : Next::Wait;
        case kSetPortLoopback:
            return SetPortLoopback();
        case kWaitPortLoopback:
            return WaitPortLoopback(hint);
        case kMeasureLoopback:
            return MeasureLoopback(hint);
        case kClearPortLoopback:
            return ClearPortLoopback();
        case kWaitClearPortLoopback:
            return WaitClearPortLoopback(hint);
        case kChooseCascade:
            return ChooseCascade(hint);
        case kPrepareMaintenance:
            return PrepareMaintenance(hint);
        case kTrunkInUse:
            return TrunkInUse(hint);
        case kSetMaintenance:
            return SetMaintenance();
        case kWaitSetMaintenance:
            return WaitSetMaintenance(hint);
        case kSetPortXpnt:
            return SetPortXpnt();
        case kWaitPortXpnt:
            return WaitPortXpnt(hint);
        case kSetFarEndLoop:
            return SetFarEndLoop(hint);
        case kWaitFarEndLoop:
            return WaitFarEndLoop(hint);
        case kMeasureTrunk:
            return MeasureTrunk(hint);
        case kClearFarEndLoop:
            return ClearFarEndLoop();
        case kWaitClearFarEndLoop:
            return WaitTearDown(kClearPortXpnt, "clear xpnt loopback");
        case kClearPortXpnt:
            return ClearPortXpnt();
        case kWaitClearPortXpnt:
            return WaitTearDown(kClearCascadeXpnt,
                                "clear xpnt " + instrumentName_ + " port to trunk");
        case kClearMaintenance:
            return ClearMaintenance();
        case kWaitClearMaintenance:
            return WaitClearMaintenance();
        case kSetCascadeMaintenance:
            return SetCascadeMaintenance(hint);
        case kWaitCascadeMaintenance:
            return WaitCascadeMaintenance(hint);
        case kSetCascadeLoop:
            return SetCascadeLoop(hint);
        case kWaitCascadeLoop:
            return WaitCascadeLoop(hint);
        case kMeasureCascade:
            return MeasureCascade(hint);
        case kClearCascadeLoop:
            return ClearCascadeLoop();
        case kWaitClearCascadeLoop:
            return WaitClearCascadeLoop(hint);
        case kSetCascadeXpnt:
            return SetCascadeXpnt();
        case kWaitCascadeXpnt:
            return WaitCascadeXpnt(hint);
        case kClearCascadeXpnt:
            return ClearCascadeXpnt();
        case kWaitClearCascadeXpnt:
            return WaitTearDown(kClearCascadeMaintenance,
                                "clear xpnt cascade trunk to target trunk");
        case kClearCascadeMaintenance:
            return ClearCascadeMaintenance();
        case kWaitClearCascadeMaintenance:
            return WaitTearDown(kClearMaintenance, "clear maintenance mode cascade trunk");
        case kComplete:
            return Complete();
        default:
            return WaitIn(kIdle);
    }
}

std::string CTrunkTestSequencer::WorkInProgress() const {
    using namespace trunkteststate;
    if (state_ == kIdle) {
        return {};
    }
    if (!testInProgress_) {
        const bool setting = state_ == kSetMaintenance || state_ == kWaitSetMaintenance;
        return StrFormat(setting ? "trunk %d being put into maintenance mode"
                                 : "trunk %d being returned to service",
                         trunk_);
    }
    std::string text = StrFormat("trunk %d under test (step %d)", trunk_, state_);
    std::string setUp;
    const auto add = [&setUp](const std::string& step) {
        setUp += (setUp.empty() ? "" : ", ") + step;
    };
    if (steps_.trunkInMaintenance) {
        add("trunk in maintenance mode");
    }
    if (steps_.portXpnt) {
        add("crosspoint to the " + instrumentName_ + " port");
    }
    if (steps_.farEndLoop) {
        add("far end looped back");
    }
    if (steps_.cascadeInMaintenance) {
        add(StrFormat("cascade trunk %d in maintenance mode", cascadeTrunk_));
    }
    if (steps_.cascadeXpnt) {
        add("crosspoint to the cascade trunk");
    }
    if (!setUp.empty()) {
        text += ", set up for it: " + setUp;
    }
    return text;
}

CTrunkData& CTrunkTestSequencer::Trunk(int number) const {
    // Numbers come from the scan and the cascade walk, always inside the array.
    return model_.Trunks()[static_cast<size_t>(number)];
}

void CTrunkTestSequencer::Record(int trunk, int result, const std::string& text,
                                 ViewUpdateHint& hint) {
    if (IsTrunkNumber(trunk)) {
        waitingForCascade_.reset(static_cast<size_t>(trunk));
    }
    db_.CopyTrunkTestResultsToDatabase(trunk, result, text, hint, model_.TrunkTestLog());
}

CTrunkTestSequencer::Next CTrunkTestSequencer::Request(
    int waitState, const std::function<void(IMaintenanceController&)>& request) {
    requestTime_ = clock_.Steady();
    requestOpen_ = true;
    requestGeneration_ = controllerGeneration_;
    request(*controller_);
    return WaitIn(waitState);
}

CTrunkTestSequencer::Poll CTrunkTestSequencer::PollRequest() {
    // The status slot belongs to the latest request of the controller: one we did not start,
    // or started on a controller since replaced, is no answer to ours.
    if (!requestOpen_ || requestGeneration_ != controllerGeneration_) {
        requestOpen_ = false;
        model_.TrunkTestLog().Printf(1, "Trunk %d: Request lost with the controller", trunk_);
        return Poll::Failed;
    }
    const int status = controller_->GetRequestStatus();
    if (status == requeststatus::kInProgress) {
        if (clock_.Steady() - requestTime_ < kRequestTimeout) {
            return Poll::Waiting;
        }
        model_.TrunkTestLog().Printf(1, "Trunk %d: Request timed out", trunk_);
        requestOpen_ = false;
        return Poll::Failed;
    }
    requestOpen_ = false;
    return status == requeststatus::kSucceeded ? Poll::Succeeded : Poll::Failed;
}

CTrunkTestSequencer::Next CTrunkTestSequencer::StartMeasurement(int waitState, int trunk,
                                                                int allowedLoss, int loopLoss) {
    requestTime_ = clock_.Steady();
    timeOut_ = 0;
    measurementGeneration_ = testerGeneration_;
    measurementOpen_ = tester_->IsConnected();
    if (measurementOpen_) {
        tester_->StartTest(trunk, allowedLoss, loopLoss, timeOut_);
    }
    return WaitIn(waitState);
}

CTrunkTestSequencer::Measure CTrunkTestSequencer::PollMeasurement(
    TrunkTestMeasurement& measurement) {
    // Only the measurement started for this step counts; an instrument replaced since, or
    // one that was out of contact, has no result for it.
    if (!measurementOpen_ || measurementGeneration_ != testerGeneration_) {
        measurementOpen_ = false;
        return Measure::NotCommunicating;
    }
    const TestResultState result = tester_->GetTestResult(measurement);
    Measure outcome;
    switch (result) {
        case TestResultState::Running:
            if (clock_.Steady() - requestTime_ < std::chrono::seconds(timeOut_)) {
                return Measure::Waiting;
            }
            outcome = Measure::TimedOut;
            break;
        case TestResultState::Measured:
            outcome = Measure::Measured;
            break;
        case TestResultState::NoResult:
            outcome = Measure::NotCommunicating;
            break;
        case TestResultState::Failed:
        default:
            outcome = Measure::Failed;
            break;
    }
    // A measurement that failed because the instrument went out of contact says nothing
    // about the trunk.
    if ((outcome == Measure::Failed || outcome == Measure::TimedOut) && !tester_->IsConnected()) {
        outcome = Measure::NotCommunicating;
    }
    measurementOpen_ = false;
    return outcome;
}

bool CTrunkTestSequencer::HasCascade() const {
    return cascadeTrunk_ != kNone;
}

int CTrunkTestSequencer::PortTrunk() const {
    return HasCascade() ? cascadeTrunk_ : trunk_;
}

std::string CTrunkTestSequencer::TrunkContext(int trunk) const {
    int end1 = kNone;
    int end2 = kNone;
    model_.GetTrunkEndIntercoms(trunk, end1, end2);
    return FormatContextTwoAlphas(settings_.Snapshot().AlphaSize, model_.GetIntercomName(end1),
                                  model_.GetIntercomName(end2));
}

void CTrunkTestSequencer::TrunkAlarm(int trunk, int category, int resolved,
                                     const std::string& description) {
    model_.AddAlarm(devicetype::kTrunk, trunk, category, resolved, description, TrunkContext(trunk),
                    0);
}

}  // namespace corvane
