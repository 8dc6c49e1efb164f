#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include "fakes/ManualClock.h"
#include "model/VorlinModel.h"
#include "settings/AppSettings.h"

namespace corvane::testing {

// Records the trunks the model asks the controller to inspect.
class RecordingTrunkChecker final : public ITrunkChecker {
public:
    void FlagInspectTrunk(int trunk) override {
        std::lock_guard lock(mutex_);
        trunks_.push_back(trunk);
    }
    std::vector<int> Trunks() const {
        std::lock_guard lock(mutex_);
        return trunks_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<int> trunks_;
};

// A model on a manual clock and default settings.
class DocTest : public ::testing::Test {
protected:
    DocTest() : doc(std::make_unique<CVorlinModel>(settings, clock)) {
        doc->SetTrunkChecker(&inspector);
    }

    const TrunkSummaryCounts& Counts(int from, int to) {
        return doc->Intercoms()[from].SummaryCounts()[to];
    }

    // Nothing of the model was marked or queued.
    ::testing::AssertionResult Untouched() {
        for (ModelCollection c : {ModelCollection::Intercoms, ModelCollection::Trunks,
                                  ModelCollection::Alphas, ModelCollection::Alarms}) {
            if (doc->IsDirty(c)) {
                return ::testing::AssertionFailure()
                       << "collection " << static_cast<int>(c) << " is dirty";
            }
        }
        for (int i = 0; i < kIntercomCount; ++i) {
            const auto& icom = doc->Intercoms()[i];
            if (!icom.flags.IsUnset()) {
                return ::testing::AssertionFailure() << "intercom " << i << " marked";
            }
            for (const auto& r : icom.QueuedRequests()) {
                if (!r.flags.IsUnset() || r.state != 0) {
                    return ::testing::AssertionFailure() << "request of intercom " << i;
                }
            }
        }
        for (int i = 0; i < kTrunkCount; ++i) {
            const auto& trunk = doc->Trunks()[i];
            if (!trunk.flags.IsUnset()) {
                return ::testing::AssertionFailure() << "trunk " << i << " marked";
            }
            for (const auto& u : trunk.Usage()) {
                if (!u.flags.IsUnset() || u.state != 0) {
                    return ::testing::AssertionFailure() << "usage of trunk " << i;
                }
            }
        }
        if (!doc->AlphaQueue().empty() || !doc->AlarmQueue().empty()) {
            return ::testing::AssertionFailure() << "a queue is not empty";
        }
        return ::testing::AssertionSuccess();
    }

    // Recomputes every summary count from the trunks themselves and compares; no count may be
    // negative.
    void ExpectCountsAgree() {
        struct Expected {
            int trunks = 0, allocated = 0, inUse = 0, maint = 0, oos = 0;
        };
        std::vector<std::array<Expected, kIntercomCount>> expected(kIntercomCount);
        for (int n = 1; n < kTrunkCount; ++n) {
            const CTrunkData& t = doc->Trunks()[n];
            const int a = t.End1Intercom();
            const int b = t.End2Intercom();
            if (t.IsUndefined() || t.IsAbsent() || a < 1 || a > 256 || b < 1 || b > 256) {
                continue;
            }
            for (Expected* e :
                 {&expected[a][b], &expected[0][a], &expected[b][a], &expected[0][b]}) {
                ++e->trunks;
                e->allocated += t.State() == 1;
                e->inUse += t.State() == 2;
                e->maint += t.State() == 3;
                e->oos += t.OutOfService();
            }
        }
        auto lock = doc->LockIntercoms();
        int mismatches = 0;
        for (int a = 0; a < kIntercomCount; ++a) {
            for (int b = 0; b < kIntercomCount; ++b) {
                const TrunkSummaryCounts& c = Counts(a, b);
                const Expected& e = expected[a][b];
                ASSERT_GE(c.numTrunks, 0);
                ASSERT_GE(c.numAllocated, 0);
                ASSERT_GE(c.numInUse, 0);
                ASSERT_GE(c.numMaint, 0);
                ASSERT_GE(c.numOOS, 0);
                if (c.numTrunks != e.trunks || c.numAllocated != e.allocated ||
                    c.numInUse != e.inUse || c.numMaint != e.maint || c.numOOS != e.oos) {
                    ADD_FAILURE() << "counts " << a << "-" << b << ": " << c.numTrunks << "/"
                                  << c.numAllocated << "/" << c.numInUse << "/" << c.numMaint << "/"
                                  << c.numOOS << " expected " << e.trunks << "/" << e.allocated
                                  << "/" << e.inUse << "/" << e.maint << "/" << e.oos;
                    if (++mismatches > 5) {
                        return;
                    }
                }
            }
        }
    }

    SharedSettings settings;
    ManualClock clock;
    RecordingTrunkChecker inspector;
    std::unique_ptr<CVorlinModel> doc;
};

// An endpoint as the controller names it.
inline EndpointAddress Port(int intercom, int functionType, int number, bool talk = false,
                            bool listen = false, bool inactive = false) {
    EndpointAddress e;
    e.intercom = static_cast<uint16_t>(intercom);
    e.functionType = static_cast<uint8_t>(functionType);
    e.number = static_cast<uint16_t>(number);
    e.talk = talk;
    e.listen = listen;
    e.inactive = inactive;
    return e;
}

}  // namespace corvane::testing
