#pragma once

#include <cstdint>

#include "model/ChangeFlags.h"

namespace corvane {

class CIntercomData;

// The trunks between the owning intercom and one other intercom (entry [b] of intercom a);
// entry [b] of intercom 0 counts all trunks of intercom b. Only defined trunks are counted.
// Read and written only under the intercom lock.
struct TrunkSummaryCounts {
    ChangeFlags flags;
    int32_t numTrunks = 0;
    int32_t numAllocated = 0;  // state 1
    int32_t numInUse = 0;      // state 2
    int32_t numMaint = 0;      // state 3
    int32_t numOOS = 0;

    TrunkSummaryCounts() = default;
    TrunkSummaryCounts(const TrunkSummaryCounts&) = delete;
    TrunkSummaryCounts& operator=(const TrunkSummaryCounts&) = delete;

    // The counter of a trunk state; none for state 0, which is not counted separately.
    int32_t* StateCounter(int state) {
        switch (state) {
            case 1:
                return &numAllocated;
            case 2:
                return &numInUse;
            case 3:
                return &numMaint;
            default:
                return nullptr;
        }
    }

    CIntercomData* Owner() const { return owner_; }
    // Marks the record (bit 0x01) and its intercom (bit 0x08).
    void MarkChanged();

private:
    friend class CIntercomData;
    CIntercomData* owner_ = nullptr;
};

}  // namespace corvane
