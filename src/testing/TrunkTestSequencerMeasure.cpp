// The three measurements of a test: the instrument port looped back on itself, the cascade
// trunk looped at its far end, and the trunk under test looped at its far end; each judged
// in tenths of a dB against its limit.
#include "link/MaintenanceController.h"
#include "model/Alarm.h"
#include "model/ModelNumbers.h"
#include "model/NameTables.h"
#include "model/VorlinModel.h"
#include "platform/Format.h"
#include "settings/AppSettings.h"
#include "testing/TrunkTestSequencer.h"

namespace corvane {
namespace {

double Db(int tenths) {
    return tenths / 10.0;
}

}  // namespace

// --- The instrument port's loop-back. ---

CTrunkTestSequencer::Next CTrunkTestSequencer::SetPortLoopback() {
    model_.TrunkTestLog().Printf(3, "Trunk %d: Set xpnt %s port loopback", trunk_,
                                 instrumentName_.c_str());
    return Request(trunkteststate::kWaitPortLoopback,
                   [](IMaintenanceController& c) { c.LoopBackMaintenancePort(); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitPortLoopback(ViewUpdateHint& hint) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    if (poll == Poll::Failed) {
        Record(testresult::kError,
               StrFormat("Set xpnt %s loopback failed", instrumentName_.c_str()), hint);
        EndNow();
        return WaitIn(trunkteststate::kIdle);
    }
    Record(testresult::kTesting,
           StrFormat("Performing %s loopback test...", instrumentName_.c_str()), hint);
    model_.TrunkTestLog().Printf(3, "Trunk %d: %s test loopback", trunk_, instrumentName_.c_str());
    return StartMeasurement(trunkteststate::kMeasureLoopback, 0, loopLimit_, 0);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::MeasureLoopback(ViewUpdateHint& hint) {
    TrunkTestMeasurement m;
    const Measure result = PollMeasurement(m);
    const char* name = instrumentName_.c_str();
    auto loopbackAlarm = [&](int resolved, const std::string& description) {
        model_.AddAlarm(instrumentDeviceType_, 1, alarmcat::kLoopback, resolved, description, "",
                        0);
    };
    switch (result) {
        case Measure::Waiting:
            return Next::Wait;
        case Measure::Measured: {
            const int loss = m.transmittedLevel - m.receivedLevel;
            if (loss > loopLimit_) {
                Record(testresult::kError,
                       StrFormat("%sLoopLoss=%3.1f is greater than limit=%3.1f, test aborted", name,
                                 Db(loss), Db(loopLimit_)),
                       hint);
                steps_.abort = true;
                loopbackAlarm(alarmresolve::kRaise, StrFormat("Loopback Loss = %3.1fdB", Db(loss)));
                EndNow();
            } else {
                // Only a loss within its limit is kept for the tests that assume it.
                loopLoss_ = loss;
                model_.TrunkTestLog().Printf(2, "Trunk %d: %sLoopLoss=%3.1f", trunk_, name,
                                             Db(loopLoss_));
                loopbackAlarm(alarmresolve::kResolve, "");
                lastGoodLoopback_ = clock_.Steady();
                SetLoopbackDue(false);
            }
            break;
        }
        case Measure::NotCommunicating:
            steps_.abort = true;
            Record(testresult::kError, StrFormat("Not communicating with %s", name), hint);
            EndNow();
            break;
        case Measure::Failed:
            steps_.abort = true;
            Record(testresult::kError, StrFormat("%s loopback test failed", name), hint);
            loopbackAlarm(alarmresolve::kRaise, StrFormat("%s loopback failed", name));
            EndNow();
            break;
        case Measure::TimedOut:
            steps_.abort = true;
            Record(testresult::kError, StrFormat("%s loopback test timed out", name), hint);
            loopbackAlarm(alarmresolve::kRaise, StrFormat("%s loopback timed out", name));
            EndNow();
            break;
    }
    return GoTo(trunkteststate::kClearPortLoopback);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::ClearPortLoopback() {
    model_.TrunkTestLog().Printf(3, "Trunk %d: Clear %s port loopback", trunk_,
                                 instrumentName_.c_str());
    return Request(trunkteststate::kWaitClearPortLoopback,
                   [](IMaintenanceController& c) { c.ClearMaintenancePortLoop(); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitClearPortLoopback(ViewUpdateHint& hint) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    if (poll == Poll::Failed) {
        Record(testresult::kError,
               StrFormat("Clear xpnt %s port loopback failed", instrumentName_.c_str()), hint);
        EndNow();
        return WaitIn(trunkteststate::kIdle);
    }
    if (steps_.abort) {
        return WaitIn(trunkteststate::kIdle);
    }
    requestTime_ = clock_.Steady();
    return WaitIn(trunkteststate::kChooseCascade);
}

// --- The trunk under test. ---

CTrunkTestSequencer::Next CTrunkTestSequencer::SetFarEndLoop(ViewUpdateHint& hint) {
    Record(testresult::kTesting, "Testing trunk...", hint);
    model_.TrunkTestLog().Printf(3, "Trunk %d: Set xpnt loopback end", trunk_);
    const int farEnd = farEnd_ - 1;
    const int trunk = trunk_ - 1;
    return Request(trunkteststate::kWaitFarEndLoop,
                   [=](IMaintenanceController& c) { c.LoopBackTrunkPort(farEnd, trunk); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitFarEndLoop(ViewUpdateHint& hint) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    // A loop the controller may still have set after failing to say so is cleared as well.
    steps_.farEndLoop = true;
    if (poll == Poll::Failed) {
        Record(testresult::kError, "Set xpnt loopback end failed", hint);
        EndNow();
        return GoTo(trunkteststate::kClearFarEndLoop);
    }
    model_.TrunkTestLog().Printf(3, "Trunk %d: %s test target trunk", trunk_,
                                 instrumentName_.c_str());
    return StartMeasurement(trunkteststate::kMeasureTrunk, trunk_, trunkLimit_,
                            loopLoss_ + cascadeLoss_);
}

void CTrunkTestSequencer::FailTrunkMeasurement(const char* text, const char* alarm,
                                               ViewUpdateHint& hint) {
    steps_.abort = true;
    Record(testresult::kFail, text, hint);
    TrunkAlarm(trunk_, alarmcat::kTestError, alarmresolve::kResolve, "");
    TrunkAlarm(trunk_, alarmcat::kTestFailure, alarmresolve::kRaise, alarm);
    if (settings_.Snapshot().LeaveFailedTrunksInMaintenanceMode) {
        steps_.trunkInMaintenance = false;
    }
}

CTrunkTestSequencer::Next CTrunkTestSequencer::MeasureTrunk(ViewUpdateHint& hint) {
    TrunkTestMeasurement m;
    const Measure result = PollMeasurement(m);
    const char* name = instrumentName_.c_str();
    switch (result) {
        case Measure::Waiting:
            return Next::Wait;
        case Measure::Measured: {
            const AppSettings s = settings_.Snapshot();
            const int loss = m.transmittedLevel - cascadeLoss_ - m.receivedLevel - loopLoss_;
            std::string text = StrFormat(
                "Loss=%3.1f, AllowedLoss=%3.1f, RxLevel=%3.1f, RxFreq=%d, TxLevel=%3.1f, "
                "TxFreq=%d, %sLoopLoss=%3.1f",
                Db(loss), Db(trunkLimit_), Db(m.receivedLevel), m.receivedFrequency,
                Db(m.transmittedLevel), m.transmittedFrequency, name, Db(loopLoss_));
            if (!loopbackFresh_) {
                text += " (assumed)";
            }
            if (HasCascade()) {
                text += StrFormat(", CascadeTrunk=%d, CascadeLoss=%3.1f", cascadeTrunk_,
                                  Db(cascadeLoss_));
            }
            EndNow();
            if (loss > trunkLimit_) {
                Record(testresult::kFail, text, hint);
                if (s.LeaveFailedTrunksInMaintenanceMode) {
                    steps_.trunkInMaintenance = false;
                }
                SetLoopbackDue(true);
                TrunkAlarm(trunk_, alarmcat::kTestError, alarmresolve::kResolve, "");
                TrunkAlarm(trunk_, alarmcat::kTestFailure, alarmresolve::kRaise,
                           StrFormat("Loss = %3.1fdB", Db(loss)));
            } else {
                Record(testresult::kPass, text, hint);
                if (s.ReturnPassedTrunksToActiveService) {
                    steps_.trunkInMaintenance = true;
                }
                TrunkAlarm(trunk_, alarmcat::kTestError, alarmresolve::kResolve, "");
                TrunkAlarm(trunk_, alarmcat::kTestFailure, alarmresolve::kResolve, "");
            }
            break;
        }
        case Measure::NotCommunicating:
            // The instrument's trouble, not the trunk's: no trunk alarm.
            steps_.abort = true;
            Record(testresult::kError, StrFormat("Not communicating with %s", name), hint);
            EndNow();
            break;
        case Measure::Failed:
            FailTrunkMeasurement("Loss=???, Trunk test failed", "Loss unmeasureable", hint);
            SetLoopbackDue(true);
            EndNow();
            break;
        case Measure::TimedOut:
            FailTrunkMeasurement("Loss=???, Trunk test timed out", "Trunk test timed out", hint);
            SetLoopbackDue(true);
            EndNow();
            break;
    }
    return GoTo(trunkteststate::kClearFarEndLoop);
}

// --- The cascade trunk. ---

CTrunkTestSequencer::Next CTrunkTestSequencer::SetCascadeLoop(ViewUpdateHint& hint) {
    Record(testresult::kTesting, "Performing loopback test on cascaded trunk...", hint);
    model_.TrunkTestLog().Printf(3, "Trunk %d: Set xpnt loopback cascade trunk", trunk_);
    const int farEnd = cascadeFarEnd_ - 1;
    const int cascade = cascadeTrunk_ - 1;
    return Request(trunkteststate::kWaitCascadeLoop,
                   [=](IMaintenanceController& c) { c.LoopBackTrunkPort(farEnd, cascade); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitCascadeLoop(ViewUpdateHint& hint) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    if (poll == Poll::Failed) {
        Record(testresult::kError, "Set xpnt loopback cascade trunk failed", hint);
        EndNow();
        return GoTo(trunkteststate::kClearFarEndLoop);
    }
    model_.TrunkTestLog().Printf(3, "Trunk %d: %s test cascade trunk", trunk_,
                                 instrumentName_.c_str());
    return StartMeasurement(trunkteststate::kMeasureCascade, cascadeTrunk_, cascadeLimit_,
                            loopLoss_);
}

void CTrunkTestSequencer::FailCascadeMeasurement(const std::string& text,
                                                 const std::string& cascadeText,
                                                 const std::string& alarm, ViewUpdateHint& hint) {
    steps_.abort = true;
    Record(testresult::kError, text, hint);
    Record(cascadeTrunk_, testresult::kFail, cascadeText, hint);
    if (settings_.Snapshot().LeaveFailedTrunksInMaintenanceMode) {
        steps_.cascadeInMaintenance = false;
    }
    SetLoopbackDue(true);
    TrunkAlarm(cascadeTrunk_, alarmcat::kTestError, alarmresolve::kResolve, "");
    TrunkAlarm(cascadeTrunk_, alarmcat::kTestFailure, alarmresolve::kRaise, alarm);
    EndNow();
}

CTrunkTestSequencer::Next CTrunkTestSequencer::MeasureCascade(ViewUpdateHint& hint) {
    TrunkTestMeasurement m;
    const Measure result = PollMeasurement(m);
    const char* name = instrumentName_.c_str();
    switch (result) {
        case Measure::Waiting:
            return Next::Wait;
        case Measure::Measured: {
            const int loss = m.transmittedLevel - (m.receivedLevel + loopLoss_);
            if (loss > cascadeLimit_) {
                const std::string assumed = loopbackFresh_ ? "" : " (assumed)";
                const std::string values = StrFormat(
                    "CascadeLoss=%3.1f, AllowedLoss=%3.1f, RxLevel=%3.1f, RxFreq=%d, "
                    "TxLevel=%3.1f, TxFreq=%d, %sLoopLoss=%3.1f",
                    Db(loss), Db(cascadeLimit_), Db(m.receivedLevel), m.receivedFrequency,
                    Db(m.transmittedLevel), m.transmittedFrequency, name, Db(loopLoss_));
                FailCascadeMeasurement(StrFormat("CascadeTrunk=%d, ", cascadeTrunk_) + values +
                                           assumed + ", test aborted",
                                       values + assumed,
                                       StrFormat("Loss = %3.1fdB (Cascade)", Db(loss)), hint);
            } else {
                cascadeLoss_ = loss;
                model_.TrunkTestLog().Printf(2, "Trunk=%d: CascadeTrunk=%d, CascadeLoss=%3.1f",
                                             trunk_, cascadeTrunk_, Db(cascadeLoss_));
                TrunkAlarm(cascadeTrunk_, alarmcat::kTestError, alarmresolve::kResolve, "");
                TrunkAlarm(cascadeTrunk_, alarmcat::kTestFailure, alarmresolve::kResolve, "");
            }
            break;
        }
        case Measure::NotCommunicating:
            steps_.abort = true;
            Record(testresult::kError, StrFormat("Not communicating with %s", name), hint);
            EndNow();
            break;
        case Measure::Failed:
            FailCascadeMeasurement(
                StrFormat("%s test of cascade trunk=%d failed", name, cascadeTrunk_),
                "Loss=???, Cascade test failed", "Loss unmeasureable (Cascade)", hint);
            break;
        case Measure::TimedOut:
            FailCascadeMeasurement(
                StrFormat("%s test of cascade trunk=%d timed out", name, cascadeTrunk_),
                "Loss=???, Cascade test timed out", "Cascade test timed out", hint);
            break;
    }
    return GoTo(trunkteststate::kClearCascadeLoop);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::ClearCascadeLoop() {
    model_.TrunkTestLog().Printf(3, "Trunk %d: Clear xpnt loopback cascade trunk", trunk_);
    const int farEnd = cascadeFarEnd_ - 1;
    const int cascade = cascadeTrunk_ - 1;
    return Request(trunkteststate::kWaitClearCascadeLoop,
                   [=](IMaintenanceController& c) { c.ClearTrunkPortLoop(farEnd, cascade); });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitClearCascadeLoop(ViewUpdateHint& hint) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    if (poll == Poll::Failed) {
        // A test already cut short keeps the result that says why.
        if (steps_.abort) {
            model_.TrunkTestLog().Printf(1, "Trunk %d: Clear xpnt loopback cascade trunk failed",
                                         trunk_);
        } else {
            Record(testresult::kError, "Clear xpnt loopback cascade trunk failed", hint);
        }
        steps_.abort = true;
        EndNow();
        return GoTo(trunkteststate::kClearFarEndLoop);
    }
    return GoTo(steps_.abort ? trunkteststate::kClearFarEndLoop : trunkteststate::kSetCascadeXpnt);
}

CTrunkTestSequencer::Next CTrunkTestSequencer::SetCascadeXpnt() {
    model_.TrunkTestLog().Printf(3, "Trunk %d: Set xpnt cascade trunk to target trunk", trunk_);
    const int farEnd = cascadeFarEnd_ - 1;
    const int cascade = cascadeTrunk_ - 1;
    const int trunk = trunk_ - 1;
    return Request(trunkteststate::kWaitCascadeXpnt, [=](IMaintenanceController& c) {
        c.CloseTrunkTrunkXpnt(farEnd, cascade, trunk);
    });
}

CTrunkTestSequencer::Next CTrunkTestSequencer::WaitCascadeXpnt(ViewUpdateHint& hint) {
    const Poll poll = PollRequest();
    if (poll == Poll::Waiting) {
        return Next::Wait;
    }
    steps_.cascadeXpnt = true;
    if (poll == Poll::Failed) {
        Record(testresult::kError, "Set xpnt cascade trunk to target trunk failed", hint);
        EndNow();
        return GoTo(trunkteststate::kClearFarEndLoop);
    }
    return GoTo(trunkteststate::kSetFarEndLoop);
}

}  // namespace corvane
