#include "model/VorlinModel.h"

namespace corvane {
namespace {

void Increment(int32_t& counter) {
    ++counter;
}

// A count never goes below 0, whatever the history of the trunk.
void Decrement(int32_t& counter) {
    if (counter > 0) {
        --counter;
    }
}

}  // namespace

// The four count records of a counted trunk: each end's entry for the other end, and intercom
// 0's entry for each end.
template <typename F>
void CVorlinModel::ForEachCountRecord(const CTrunkData& trunk, F f) {
    const int end1 = trunk.End1Intercom();
    const int end2 = trunk.End2Intercom();
    TrunkSummaryCounts* records[4] = {
        &intercoms_[end1].SummaryCounts()[end2],
        &intercoms_[0].SummaryCounts()[end1],
        &intercoms_[end2].SummaryCounts()[end1],
        &intercoms_[0].SummaryCounts()[end2],
    };
    for (TrunkSummaryCounts* record : records) {
        f(*record);
        record->MarkChanged();
    }
    MarkDirty(ModelCollection::Intercoms);
}

void CVorlinModel::AddToCountsLocked(const CTrunkData& trunk) {
    const int state = trunk.State();
    const bool outOfService = trunk.OutOfService() != 0;
    ForEachCountRecord(trunk, [state, outOfService](TrunkSummaryCounts& counts) {
        Increment(counts.numTrunks);
        if (int32_t* counter = counts.StateCounter(state)) {
            Increment(*counter);
        }
        if (outOfService) {
            Increment(counts.numOOS);
        }
    });
}

void CVorlinModel::RemoveFromCountsLocked(const CTrunkData& trunk) {
    const int state = trunk.State();
    const bool outOfService = trunk.OutOfService() != 0;
    ForEachCountRecord(trunk, [state, outOfService](TrunkSummaryCounts& counts) {
        Decrement(counts.numTrunks);
        if (int32_t* counter = counts.StateCounter(state)) {
            Decrement(*counter);
        }
        if (outOfService) {
            Decrement(counts.numOOS);
        }
    });
}

bool CVorlinModel::SetTrunkOutOfService(int trunk, int value, bool oneBased) {
    trunk = ToModelNumber(trunk, oneBased);
    if (value < 0 || value > 1 || !IsTrunkNumber(trunk)) {
        return false;
    }
    auto lock = LockTrunks();
    CTrunkData& data = trunks_[trunk];
    if (data.OutOfService() == value) {
        return true;
    }
    if (data.IsCounted()) {
        auto intercomLock = LockIntercoms();
        ForEachCountRecord(data, [value](TrunkSummaryCounts& counts) {
            value != 0 ? Increment(counts.numOOS) : Decrement(counts.numOOS);
        });
    }
    data.outOfService_.store(value, std::memory_order_relaxed);
    data.flags.Mark(trunkbit::kDefinition);
    MarkDirty(ModelCollection::Trunks);
    return true;
}

bool CVorlinModel::SetTrunkState(int trunk, int state, bool oneBased) {
    trunk = ToModelNumber(trunk, oneBased);
    if (state < CTrunkData::kIdle || state > CTrunkData::kMaint || !IsTrunkNumber(trunk)) {
        return false;
    }
    auto lock = LockTrunks();
    SetTrunkStateLocked(trunks_[trunk], state);
    return true;
}

void CVorlinModel::SetTrunkStateLocked(CTrunkData& trunk, int state) {
    const int old = trunk.State();
    if (old == state) {
        return;
    }
    if (trunk.IsCounted()) {
        auto intercomLock = LockIntercoms();
        ForEachCountRecord(trunk, [old, state](TrunkSummaryCounts& counts) {
            if (int32_t* counter = counts.StateCounter(old)) {
                Decrement(*counter);
            }
            if (int32_t* counter = counts.StateCounter(state)) {
                Increment(*counter);
            }
        });
    }
    trunk.state_.store(state, std::memory_order_relaxed);
    trunk.flags.Mark(trunkbit::kState);
    MarkDirty(ModelCollection::Trunks);
}

bool CVorlinModel::SetTrunkDefinition(const TrunkDefinition& d, bool oneBased) {
    const int trunk = ToModelNumber(d.trunk, oneBased);
    const int end1Intercom = ToModelNumber(d.end1Intercom, oneBased);
    const int end1Number = ToModelNumber(d.end1Number, oneBased);
    const int end2Intercom = ToModelNumber(d.end2Intercom, oneBased);
    const int end2Number = ToModelNumber(d.end2Number, oneBased);
    if (!IsFunctionType(d.fixed1FunctionType) || !IsFunctionType(d.fixed2FunctionType) ||
        !IsTrunkNumber(trunk)) {
        return false;
    }
    auto lock = LockTrunks();
    CTrunkData& data = trunks_[trunk];
    if (!IsIntercomNumber(end1Intercom) || !IsIntercomNumber(end2Intercom) ||
        !IsPortNumber(end1Number) || !IsPortNumber(end2Number)) {
        if (!data.flags.IsUnset()) {
            UndefineTrunkLocked(data, trunk);
        }
        return true;
    }
    auto intercomLock = LockIntercoms();
    if (data.IsCounted()) {
        RemoveFromCountsLocked(data);
    }
    data.undefined_.store(0, std::memory_order_relaxed);
    data.absent_.store(0, std::memory_order_relaxed);
    CTrunkData::Store(data.canCascade_, d.canCascade);
    CTrunkData::Store(data.useFixed_, d.useFixed);
    CTrunkData::Store(data.end1Intercom_, end1Intercom);
    CTrunkData::Store(data.end1Number_, end1Number);
    CTrunkData::Store(data.end2Intercom_, end2Intercom);
    CTrunkData::Store(data.end2Number_, end2Number);
    CTrunkData::Store(data.fixed1Intercom_, ToModelNumber(d.fixed1Intercom, oneBased));
    CTrunkData::Store(data.fixed1FunctionType_, d.fixed1FunctionType);
    CTrunkData::Store(data.fixed1Number_, ToModelNumber(d.fixed1Number, oneBased));
    CTrunkData::Store(data.fixed2Intercom_, ToModelNumber(d.fixed2Intercom, oneBased));
    CTrunkData::Store(data.fixed2FunctionType_, d.fixed2FunctionType);
    CTrunkData::Store(data.fixed2Number_, ToModelNumber(d.fixed2Number, oneBased));
    data.flags.Mark(trunkbit::kDefinition);
    MarkDirty(ModelCollection::Trunks);
    AddToCountsLocked(data);
    return true;
}

bool CVorlinModel::UndefineTrunk(int trunk) {
    trunk = ToModelNumber(trunk, false);
    if (!IsTrunkNumber(trunk)) {
        return false;
    }
    auto lock = LockTrunks();
    UndefineTrunkLocked(trunks_[trunk], trunk);
    return true;
}

void CVorlinModel::UndefineTrunkLocked(CTrunkData& trunk, int number) {
    if (trunk.IsCounted()) {
        auto intercomLock = LockIntercoms();
        RemoveFromCountsLocked(trunk);
    }
    trunk.undefined_.store(1, std::memory_order_relaxed);
    trunk.flags.Mark(trunkbit::kDefinition);
    MarkDirty(ModelCollection::Trunks);
    // Read its usage again, so that requests it carried are seen to end.
    FlagInspectTrunk(number - 1);
    PurgeStaleTrunkUsageLocked(trunk);
    SetTrunkStateLocked(trunk, CTrunkData::kIdle);
}

bool CVorlinModel::MarkTrunkAbsent(int trunk) {
    if (!IsTrunkNumber(trunk)) {
        return false;
    }
    auto lock = LockTrunks();
    CTrunkData& data = trunks_[trunk];
    if (data.IsCounted()) {
        auto intercomLock = LockIntercoms();
        RemoveFromCountsLocked(data);
    }
    data.undefined_.store(0, std::memory_order_relaxed);
    data.absent_.store(1, std::memory_order_relaxed);
    data.flags.SetUnset();
    return true;
}

}  // namespace corvane
