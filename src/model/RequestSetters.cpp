#include <utility>

#include "model/VorlinModel.h"

namespace corvane {
namespace {

bool ValidEndpoint(const EndpointAddress& e) {
    return IsIntercomNumber(e.intercom) && IsFunctionType(e.functionType);
}

template <typename Records>
auto* FirstFree(Records& records) {
    for (auto& record : records) {
        if (record.state == 0) {
            return &record;
        }
    }
    return static_cast<typename Records::value_type*>(nullptr);
}

// The queued request at an intercom with this source number and this destination.
QueuedRequestRecord* FindQueued(CIntercomData& intercom, int sourceNumber,
                                const EndpointAddress& destination) {
    for (auto& request : intercom.QueuedRequests()) {
        if (request.state == QueuedRequestRecord::kQueued &&
            request.source.number == sourceNumber && request.destination.SamePort(destination)) {
            return &request;
        }
    }
    return nullptr;
}

}  // namespace

bool CVorlinModel::SetQueuedRequest(const EndpointAddress& sourceIn,
                                    const EndpointAddress& destinationIn, bool oneBased) {
    EndpointAddress source;
    EndpointAddress destination;
    if (!ToModelEndpoint(sourceIn, oneBased, source) ||
        !ToModelEndpoint(destinationIn, oneBased, destination) ||
        !IsIntercomNumber(source.intercom) || !IsIntercomNumber(destination.intercom) ||
        !IsFunctionType(destination.functionType)) {
        return false;
    }
    auto lock = LockIntercoms();
    CIntercomData& intercom = intercoms_[source.intercom];
    if (QueuedRequestRecord* found = FindQueued(intercom, source.number, destination)) {
        if (found->source.RefreshFlags(source)) {
            found->MarkChanged(recordbit::kChanged);
            MarkDirty(ModelCollection::Intercoms);
        }
        found->generation = queuedGeneration_;
        return true;
    }
    QueuedRequestRecord* free = FirstFree(intercom.QueuedRequests());
    if (free == nullptr) {
        dbaseLog_.Printf(2, "Intercom %d: queue of %d requests full, request dropped",
                         source.intercom, kQueuedRequestsPerIntercom);
        return true;
    }
    free->source = source;
    free->destination = destination;
    free->state = QueuedRequestRecord::kQueued;
    free->requestNumber = kNone;
    free->queuedTime = clock_.Now();
    free->endTime = WallTime{};
    free->generation = queuedGeneration_;
    free->MarkChanged(recordbit::kFilled);
    MarkDirty(ModelCollection::Intercoms);
    return true;
}

bool CVorlinModel::PurgeStaleQueuedRequests(int intercom, bool oneBased) {
    intercom = ToModelNumber(intercom, oneBased);
    if (!IsIntercomNumber(intercom)) {
        return false;
    }
    auto lock = LockIntercoms();
    const WallTime now = clock_.Now();
    // An ended record waits for the write-back to free it and is not ended again.
    for (auto& request : intercoms_[intercom].QueuedRequests()) {
        if (request.state == QueuedRequestRecord::kQueued &&
            request.generation != queuedGeneration_) {
            request.state = QueuedRequestRecord::kEnded;
            request.endTime = now;
            request.MarkChanged(recordbit::kChanged);
            MarkDirty(ModelCollection::Intercoms);
        }
    }
    ++queuedGeneration_;
    return true;
}

void CVorlinModel::FillUsage(TrunkUsageRecord& usage, int cascadeTrunk,
                             const EndpointAddress& source, const EndpointAddress& destination,
                             int requestNumber) {
    usage.cascadeTrunk = cascadeTrunk;
    usage.source = source;
    usage.destination = destination;
    usage.requestNumber = requestNumber;
    usage.state = TrunkUsageRecord::UsageState(source, destination);
    usage.startTime = clock_.Now();
    usage.endTime = WallTime{};
    usage.generation = usageGeneration_;
    usage.MarkChanged(recordbit::kFilled);
    MarkDirty(ModelCollection::Trunks);
}

bool CVorlinModel::SetTrunkUsage(int trunk, int cascadeTrunk, const EndpointAddress& sourceIn,
                                 const EndpointAddress& destinationIn, bool oneBased) {
    trunk = ToModelNumber(trunk, oneBased);
    cascadeTrunk = ToModelNumber(cascadeTrunk, oneBased);
    if (!IsTrunkNumber(trunk)) {
        return false;
    }
    // A cascaded pair is recorded on its lower-numbered trunk.
    if (IsTrunkNumber(cascadeTrunk) && cascadeTrunk < trunk) {
        return true;
    }
    EndpointAddress source;
    EndpointAddress destination;
    if (!ToModelEndpoint(sourceIn, oneBased, source) ||
        !ToModelEndpoint(destinationIn, oneBased, destination) || !ValidEndpoint(source) ||
        !ValidEndpoint(destination)) {
        return false;
    }
    if (source.functionType != 0 && destination.functionType == 0) {
        std::swap(source, destination);
    }
    auto lock = LockTrunks();
    auto intercomLock = LockIntercoms();
    CTrunkData& data = trunks_[trunk];
    QueuedRequestRecord* queued =
        FindQueued(intercoms_[source.intercom], source.number, destination);
    if (queued == nullptr) {
        queued = FindQueued(intercoms_[destination.intercom], destination.number, source);
    }
    if (queued == nullptr) {
        for (auto& usage : data.Usage()) {
            if ((usage.state == TrunkUsageRecord::kAllocated ||
                 usage.state == TrunkUsageRecord::kInUse) &&
                usage.cascadeTrunk == cascadeTrunk && usage.source.SamePort(source) &&
                usage.destination.SamePort(destination)) {
                const bool flagsChanged =
                    usage.source.RefreshFlags(source) | usage.destination.RefreshFlags(destination);
                const int state = TrunkUsageRecord::UsageState(usage.source, usage.destination);
                if (flagsChanged || state != usage.state) {
                    usage.state = state;
                    usage.MarkChanged(recordbit::kChanged);
                    MarkDirty(ModelCollection::Trunks);
                }
                usage.generation = usageGeneration_;
                return true;
            }
        }
    }
    TrunkUsageRecord* free = FirstFree(data.Usage());
    if (free == nullptr) {
        // The queued request stays queued, so the request is not lost with the usage.
        dbaseLog_.Printf(2, "Trunk %d: all %d usage records in use, usage dropped", trunk,
                         kUsagesPerTrunk);
        return true;
    }
    FillUsage(*free, cascadeTrunk, source, destination,
              queued != nullptr ? queued->requestNumber : kNone);
    if (queued != nullptr) {
        // It leaves the queue without being ended: the request now runs on the trunk.
        queued->state = QueuedRequestRecord::kFree;
    }
    return true;
}

bool CVorlinModel::PurgeStaleTrunkUsage(int trunk, bool oneBased) {
    trunk = ToModelNumber(trunk, oneBased);
    if (!IsTrunkNumber(trunk)) {
        return false;
    }
    auto lock = LockTrunks();
    PurgeStaleTrunkUsageLocked(trunks_[trunk]);
    return true;
}

void CVorlinModel::PurgeStaleTrunkUsageLocked(CTrunkData& trunk) {
    const WallTime now = clock_.Now();
    // An ended record waits for the write-back to free it and is not ended again.
    for (auto& usage : trunk.Usage()) {
        if ((usage.state == TrunkUsageRecord::kAllocated ||
             usage.state == TrunkUsageRecord::kInUse) &&
            usage.generation != usageGeneration_) {
            usage.state = TrunkUsageRecord::kEnded;
            usage.endTime = now;
            usage.MarkChanged(recordbit::kChanged);
            MarkDirty(ModelCollection::Trunks);
        }
    }
    ++usageGeneration_;
}

}  // namespace corvane
