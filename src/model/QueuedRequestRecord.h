#pragma once

#include <cstdint>

#include "model/ChangeFlags.h"
#include "model/EndpointAddress.h"
#include "model/ModelNumbers.h"
#include "platform/Clock.h"

namespace corvane {

class CIntercomData;

// A request waiting at an intercom. Read and written only under the intercom lock.
struct QueuedRequestRecord {
    static constexpr int kFree = 0, kQueued = 1, kEnded = 2;

    ChangeFlags flags;
    int32_t generation = 0;  // the refresh pass in which the record was last seen
    int32_t requestNumber = kNone;
    EndpointAddress source;
    EndpointAddress destination;
    WallTime queuedTime{};
    WallTime endTime{};
    int32_t state = kFree;

    QueuedRequestRecord() = default;
    QueuedRequestRecord(const QueuedRequestRecord&) = delete;
    QueuedRequestRecord& operator=(const QueuedRequestRecord&) = delete;

    CIntercomData* Owner() const { return owner_; }
    // Marks the record and its intercom (bit 0x01).
    void MarkChanged(uint8_t bits);

private:
    friend class CIntercomData;
    CIntercomData* owner_ = nullptr;
};

}  // namespace corvane
