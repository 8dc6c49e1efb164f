#pragma once

#include <cstdint>

#include "model/ChangeFlags.h"
#include "model/EndpointAddress.h"
#include "model/ModelNumbers.h"
#include "platform/Clock.h"

namespace corvane {

class CTrunkData;

// One request carried by a trunk. Read and written only under the trunk lock.
struct TrunkUsageRecord {
    static constexpr int kFree = 0, kAllocated = 1, kInUse = 2, kEnded = 3;

    ChangeFlags flags;
    int32_t generation = 0;
    int32_t requestNumber = kNone;
    // The second trunk of a cascaded request, 1-based; 10001 and above mean none.
    int32_t cascadeTrunk = kNone;
    EndpointAddress source;
    EndpointAddress destination;
    WallTime startTime{};
    WallTime endTime{};
    int32_t state = kFree;

    TrunkUsageRecord() = default;
    TrunkUsageRecord(const TrunkUsageRecord&) = delete;
    TrunkUsageRecord& operator=(const TrunkUsageRecord&) = delete;

    // In use when either endpoint talks, or listens while active; else allocated.
    static int UsageState(const EndpointAddress& source, const EndpointAddress& destination) {
        return source.IsActive() || destination.IsActive() ? kInUse : kAllocated;
    }

    CTrunkData* Owner() const { return owner_; }
    // Marks the record and its trunk (bit 0x01).
    void MarkChanged(uint8_t bits);

private:
    friend class CTrunkData;
    CTrunkData* owner_ = nullptr;
};

}  // namespace corvane
