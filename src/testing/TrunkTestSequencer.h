#pragma once

#include <array>
#include <atomic>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "model/ModelNumbers.h"
#include "model/ViewUpdateHint.h"
#include "platform/Clock.h"
#include "testing/TrunkTestSequencerStates.h"
#include "testing/TrunkTester.h"

namespace corvane {

class CVorlinDatabase;
class CVorlinModel;
class CTrunkData;
class IMaintenanceController;
class SharedSettings;

// Tests trunks through the controller's maintenance requests and the test instrument, and
// carries out the operators' maintenance requests on trunks. A state machine stepped once per
// tick on the user-interface thread: each call runs until a step has to wait for the
// controller or the instrument, and never blocks. It reads the trunk and intercom records
// without the collection locks (single atomic fields) and owns the pending-operation bytes of
// the trunk it works on.
class CTrunkTestSequencer {
public:
    // Longest wait for one controller request.
    static constexpr std::chrono::seconds kRequestTimeout{20};
    // The instrument port's loop-back is measured again after this long.
    static constexpr std::chrono::seconds kLoopbackMaxAge{300};

    CTrunkTestSequencer(CVorlinModel& model, CVorlinDatabase& db, const SharedSettings& settings,
                        const IClock& clock);
    CTrunkTestSequencer(const CTrunkTestSequencer&) = delete;
    CTrunkTestSequencer& operator=(const CTrunkTestSequencer&) = delete;

    // Null: no controller (or no instrument), and nothing runs. A request or measurement
    // started on the one replaced is never taken as an answer of the new one.
    void SetController(IMaintenanceController* controller);
    void SetTester(CTrunkTester* tester);

    // The next test measures the instrument port's loop-back first. True at start; any
    // thread may set it.
    bool IsLoopbackDue() const { return loopbackDue_.load(std::memory_order_relaxed); }
    void SetLoopbackDue(bool due) { loopbackDue_.store(due, std::memory_order_relaxed); }

    // A trunk test (not an operator's maintenance request) is under way.
    bool IsTestInProgress() const { return testInProgress_ && state_ != trunkteststate::kIdle; }
    int State() const { return state_; }
    // What a stop now leaves at the controller: the trunk worked on, the step and what was set
    // up for it (maintenance modes, crosspoints, loop-back); empty while idle.
    std::string WorkInProgress() const;

    // One step; ORs the view hints of every result written into hint.
    void RunTrunkTests(ViewUpdateHint& hint);

private:
    enum class Next { Continue, Wait };
    enum class Poll { Waiting, Succeeded, Failed };
    enum class Measure { Waiting, Measured, Failed, TimedOut, NotCommunicating };

    // What this test set up and must undo, and whether it was cut short.
    struct StepFlags {
        bool cascadeInMaintenance = false;
        bool cascadeXpnt = false;
        bool portXpnt = false;
        bool farEndLoop = false;
        bool trunkInMaintenance = false;  // the trunk is returned to service at the end
        bool abort = false;
    };

    Next Step(ViewUpdateHint& hint);
    void ApplyTestQueueChanges(ViewUpdateHint& hint);

    // Choosing work (TrunkTestSequencerScan.cpp).
    Next Scan(ViewUpdateHint& hint);
    bool SkipReason(const CTrunkData& trunk, bool manual, std::string& text) const;
    Next StartTest(int trunk, bool manual, ViewUpdateHint& hint);
    Next ChooseCascade(ViewUpdateHint& hint);
    // How a trunk could serve as a cascade trunk from the test intercom now: not at all, only
    // as one that exists (it is busy), only for a manual test (an end is not communicating),
    // or for any test. farEnd is its end that is not the test intercom.
    enum class CascadeUse { None, Exists, Manual, Any };
    CascadeUse CascadeUseOf(const CTrunkData& candidate, int testIntercom, int& farEnd) const;
    // The lowest usable cascade trunk from the test intercom to an end of the trunk (kNone
    // when there is none), and whether any candidate exists at all.
    struct CascadeChoice {
        int trunk = kNone;
        int farEnd = 0;
        bool exists = false;
    };
    CascadeChoice FindCascade(int trunk, bool manual, int testIntercom) const;
    // The far-end intercoms that the cascade trunks from the test intercom reach, and how.
    // One walk of the trunks serves every trunk of a scan that waits for a cascade trunk.
    struct CascadeReach {
        std::array<CascadeUse, kIntercomCount> best{};  // CascadeUse::None where none
    };
    CascadeReach ReachOfCascades(int testIntercom) const;
    // The trunk needs a cascade trunk, none is usable yet, and one exists. The reach is
    // walked on the first call of a scan.
    bool StillWithoutCascade(int trunk, bool manual, int testIntercom,
                             std::optional<CascadeReach>& reach) const;

    // Measurements (TrunkTestSequencerMeasure.cpp).
    Next SetPortLoopback();
    Next WaitPortLoopback(ViewUpdateHint& hint);
    Next MeasureLoopback(ViewUpdateHint& hint);
    Next ClearPortLoopback();
    Next WaitClearPortLoopback(ViewUpdateHint& hint);
    Next SetFarEndLoop(ViewUpdateHint& hint);
    Next WaitFarEndLoop(ViewUpdateHint& hint);
    Next MeasureTrunk(ViewUpdateHint& hint);
    Next SetCascadeLoop(ViewUpdateHint& hint);
    Next WaitCascadeLoop(ViewUpdateHint& hint);
    Next MeasureCascade(ViewUpdateHint& hint);
    Next ClearCascadeLoop();
    Next WaitClearCascadeLoop(ViewUpdateHint& hint);
    Next SetCascadeXpnt();
    Next WaitCascadeXpnt(ViewUpdateHint& hint);
    void FailTrunkMeasurement(const char* text, const char* alarm, ViewUpdateHint& hint);
    void FailCascadeMeasurement(const std::string& text, const std::string& cascadeText,
                                const std::string& alarm, ViewUpdateHint& hint);

    // Maintenance mode, crosspoints to the trunk, and the tear-down
    // (TrunkTestSequencerTearDown.cpp).
    Next PrepareMaintenance(ViewUpdateHint& hint);
    Next TrunkInUse(ViewUpdateHint& hint);
    Next SetMaintenance();
    Next WaitSetMaintenance(ViewUpdateHint& hint);
    Next SetPortXpnt();
    Next WaitPortXpnt(ViewUpdateHint& hint);
    Next SetCascadeMaintenance(ViewUpdateHint& hint);
    Next WaitCascadeMaintenance(ViewUpdateHint& hint);
    Next ClearFarEndLoop();
    Next ClearPortXpnt();
    Next ClearCascadeXpnt();
    Next ClearCascadeMaintenance();
    Next ClearMaintenance();
    // Polls a tear-down request; a failure is logged as "Error <step> failed".
    Next WaitTearDown(int next, const std::string& step);
    Next WaitClearMaintenance();
    Next Complete();

    // Helpers (TrunkTestSequencer.cpp).
    CTrunkData& Trunk(int number) const;
    void Record(int trunk, int result, const std::string& text, ViewUpdateHint& hint);
    void Record(int result, const std::string& text, ViewUpdateHint& hint) {
        Record(trunk_, result, text, hint);
    }
    void EndNow() { lastEnd_ = clock_.Steady(); }
    Next GoTo(int state) {
        state_ = state;
        return Next::Continue;
    }
    Next WaitIn(int state) {
        state_ = state;
        return Next::Wait;
    }
    // Starts a controller request; the caller waits for it in the next state.
    Next Request(int waitState, const std::function<void(IMaintenanceController&)>& request);
    Poll PollRequest();
    // Starts a measurement; one on an instrument out of contact is not started, and
    // its poll then says so.
    Next StartMeasurement(int waitState, int trunk, int allowedLoss, int loopLoss);
    Measure PollMeasurement(TrunkTestMeasurement& measurement);
    // The instrument-port number the crosspoints use: the cascade trunk's when there is one.
    int PortTrunk() const;
    bool HasCascade() const;
    // The Context text of a trunk's alarms: its two end intercoms' names.
    std::string TrunkContext(int trunk) const;
    void TrunkAlarm(int trunk, int category, int resolved, const std::string& description);

    CVorlinModel& model_;
    CVorlinDatabase& db_;
    const SharedSettings& settings_;
    const IClock& clock_;
    IMaintenanceController* controller_ = nullptr;
    CTrunkTester* tester_ = nullptr;
    uint32_t controllerGeneration_ = 0;
    uint32_t testerGeneration_ = 0;

    int state_ = trunkteststate::kIdle;
    int trunk_ = 0;
    int cascadeTrunk_;
    int testIntercom_ = 0;
    int farEnd_ = 0;
    int cascadeFarEnd_ = 0;
    int loopLoss_ = 0;  // tenths of a dB, kept across tests
    int cascadeLoss_ = 0;
    int loopLimit_ = 0;
    int cascadeLimit_ = 0;
    int trunkLimit_ = 0;
    int timeOut_ = 0;  // seconds
    SteadyTime requestTime_{};
    SteadyTime lastEnd_{};
    SteadyTime lastGoodLoopback_{};
    bool timesSet_ = false;
    bool loopbackFresh_ = false;
    bool testInProgress_ = false;
    bool force_ = false;
    bool manual_ = false;
    StepFlags steps_;
    std::string instrumentName_;
    int instrumentDeviceType_ = 0;
    bool busy_ = false;
    // The trunks whose last result is "no cascade trunk available": none is started again,
    // nor its result written again, until a cascade trunk is usable. Any other result
    // written for a trunk ends its wait.
    std::bitset<kTrunkCount> waitingForCascade_;

    // The one request and the one measurement this sequencer is waiting for.
    bool requestOpen_ = false;
    uint32_t requestGeneration_ = 0;
    bool measurementOpen_ = false;
    uint32_t measurementGeneration_ = 0;

    std::atomic<bool> loopbackDue_{true};
};

}  // namespace corvane
