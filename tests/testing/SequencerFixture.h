#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "fakes/FakeMaintenanceController.h"
#include "fakes/FakeTrunkTester.h"
#include "fakes/TrunkBetween.h"
#include "model/Alarm.h"
#include "model/NameTables.h"
#include "store/WriteBackFixture.h"
#include "testing/TrunkTestSequencer.h"

namespace corvane::testing {

// The real document and database with the write-back between them, the sequencer, a scripted
// controller and a scripted instrument. Intercom 1 holds the instrument port. Trunks:
//   1: 1-2 and 3: 1-3 reach the instrument's matrix directly;
//   2: 2-3 needs a cascade trunk (1 or 3; the lower wins).
class SequencerTest : public WriteBackTest {
protected:
    static constexpr int kTestIntercom = 1;

    SequencerTest() : sequencer(*doc, *store, settings, clock) {
        settings.Modify([](AppSettings& s) {
            s.AudioAnalyzer = "Tonexa";
            s.TonexaIntercom = kTestIntercom;
            s.InterTestDelay = 0;
            s.AllowedTonexaLoopLoss = 2;
            s.AllowedCascadeLoopLoss = 3;
            s.AllowedTrunkLoss = 5;
        });
        for (int i = 1; i <= 3; ++i) {
            doc->SetIntercomCommStatus(i, "OK", true);
        }
        doc->SetTrunkDefinition(testing::TrunkBetween(1, 1, 1, 2, 1), true);
        doc->SetTrunkDefinition(testing::TrunkBetween(2, 2, 2, 3, 2), true);
        doc->SetTrunkDefinition(testing::TrunkBetween(3, 1, 3, 3, 3), true);
        WriteModel();
        // The controller reports the maintenance modes it sets.
        controller.onCarriedOut = [this](const FakeMaintenanceRequest& r) {
            if (r.kind == "PutTrunkInMaintenance") {
                doc->SetTrunkState(r.trunk, CTrunkData::kMaint, false);
            } else if (r.kind == "RestoreTrunkToNormal") {
                doc->SetTrunkState(r.trunk, CTrunkData::kIdle, false);
            }
        };
        sequencer.SetController(&controller);
        sequencer.SetTester(&tester);
    }

    // The intercom and trunk write-back; alarms stay queued for the test to read.
    void WriteModel() {
        ViewUpdateHint hint = 0;
        if (doc->TakeDirty(ModelCollection::Intercoms)) {
            writeBack.UpdateIntercomsInDatabase(hint);
        }
        if (doc->TakeDirty(ModelCollection::Trunks)) {
            writeBack.UpdateTrunksInDatabase(hint);
        }
    }

    // One supervision tick: a step of the sequencer, the write-back, 100 ms.
    void TickOnce() {
        ViewUpdateHint hint = 0;
        sequencer.RunTrunkTests(hint);
        hints |= hint;
        WriteModel();
        clock.Advance(std::chrono::milliseconds(100));
    }
    // Ticks until the sequencer is idle with nothing pending, at most maxTicks.
    void RunUntilIdle(int maxTicks = 2000) {
        for (int i = 0; i < maxTicks; ++i) {
            TickOnce();
            if (sequencer.State() == trunkteststate::kIdle && !doc->TrunkOperationsPending()) {
                return;
            }
        }
        ADD_FAILURE() << "still busy in state " << sequencer.State();
    }
    // Ticks until the sequencer has worked and is idle again.
    void RunOneJob(int maxTicks = 2000) {
        for (int i = 0; i < maxTicks; ++i) {
            TickOnce();
            if (sequencer.State() != trunkteststate::kIdle) {
                break;
            }
        }
        for (int i = 0; i < maxTicks; ++i) {
            if (sequencer.State() == trunkteststate::kIdle) {
                return;
            }
            TickOnce();
        }
        ADD_FAILURE() << "still busy in state " << sequencer.State();
    }
    void QueueTest(int trunk, bool manual = false) {
        ASSERT_TRUE(doc->QueueTrunkTest(true, trunk, manual, true));
    }

    std::string Result(int trunk) {
        return raw.One("SELECT TestResult FROM Trunks WHERE TrunkIndex = " + std::to_string(trunk));
    }
    std::string Data(int trunk) {
        return raw.One("SELECT TestData FROM Trunks WHERE TrunkIndex = " + std::to_string(trunk));
    }

    struct AlarmOp {
        int deviceType;
        int index;
        int category;
        int resolved;
        std::string description;
        std::string context;
        bool operator==(const AlarmOp&) const = default;
    };
    // Takes the queued alarm operations.
    std::vector<AlarmOp> TakeAlarms() {
        std::vector<AlarmOp> ops;
        auto lock = doc->LockAlarms();
        for (const CAlarm& a : doc->AlarmQueue()) {
            ops.push_back(
                {a.deviceType, a.deviceIndex, a.category, a.resolved, a.description, a.context});
        }
        doc->AlarmQueue().clear();
        return ops;
    }
    static std::vector<AlarmOp> Raised(const std::vector<AlarmOp>& all) {
        std::vector<AlarmOp> raised;
        for (const auto& a : all) {
            if (a.resolved == alarmresolve::kRaise) {
                raised.push_back(a);
            }
        }
        return raised;
    }

    FakeMaintenanceController controller;
    FakeTrunkTester tester;
    CTrunkTestSequencer sequencer;
    ViewUpdateHint hints = 0;
};

}  // namespace corvane::testing
