#include <cstdint>

#include "model/VorlinModel.h"

namespace corvane {
namespace {

// Stores a switch; true when it changed.
bool StoreSwitch(std::atomic<uint8_t>& target, bool on) {
    return target.exchange(on ? 1 : 0, std::memory_order_relaxed) != (on ? 1 : 0);
}

}  // namespace

// The switches are atomics and the change byte is marked atomically, so these commands need no
// lock against the poll thread's setters.
bool CVorlinModel::SetTrunkOption(int trunk, int commandId) {
    if (!IsTrunkNumber(trunk)) {
        return false;
    }
    CTrunkData& data = trunks_[trunk];
    bool changed = false;
    switch (commandId) {
        case kCmdEnableAutoTest:
            changed = StoreSwitch(data.autoTest_, true);
            break;
        case kCmdDisableAutoTest:
            changed = StoreSwitch(data.autoTest_, false);
            break;
        case kCmdEnableAlarms:
            changed = StoreSwitch(data.alarms_, true);
            break;
        case kCmdDisableAlarms:
            changed = StoreSwitch(data.alarms_, false);
            break;
        case kCmdEnableNotifications:
            changed = StoreSwitch(data.notifications_, true);
            break;
        case kCmdDisableNotifications:
            changed = StoreSwitch(data.notifications_, false);
            break;
        default:
            break;
    }
    if (changed) {
        data.flags.Mark(trunkbit::kSwitches);
        MarkDirty(ModelCollection::Trunks);
    }
    return true;
}

bool CVorlinModel::SetIntercomAlarmOption(int intercom, int commandId) {
    if (!IsIntercomNumber(intercom)) {
        return false;
    }
    CIntercomData& data = intercoms_[intercom];
    bool changed = false;
    switch (commandId) {
        case kCmdEnableAlarms:
            changed = StoreSwitch(data.alarmsEnabled_, true);
            break;
        case kCmdDisableAlarms:
            changed = StoreSwitch(data.alarmsEnabled_, false);
            break;
        case kCmdEnableNotifications:
            changed = StoreSwitch(data.notificationsEnabled_, true);
            break;
        case kCmdDisableNotifications:
            changed = StoreSwitch(data.notificationsEnabled_, false);
            break;
        default:
            break;
    }
    if (changed) {
        data.flags.Mark(intercombit::kSwitches);
        MarkDirty(ModelCollection::Intercoms);
    }
    return true;
}

bool CVorlinModel::QueueTrunkTest(bool queue, int trunk, bool manual, bool testNow) {
    if (!IsTrunkNumber(trunk)) {
        return false;
    }
    CTrunkData& data = trunks_[trunk];
    TrunkPendingOps& ops = data.PendingOps();
    if (queue) {
        if (testNow) {
            // The sequencer's next scan starts at this trunk.
            trunkTestPosition_ = (trunk - 1) % kTrunkCount;
        } else if (!data.AutoTestEnabled()) {
            return false;
        }
        ops.queuedForTesting = 1;
        ops.RequestTest(manual);
    } else {
        // A test queued in this same tick is dropped too, so it is not shown as pending.
        ops.cancelTestRequested = 1;
        ops.testWanted = 0;
        ops.queuedForTesting = 0;
    }
    testQueueChanged_ = true;
    trunkOperationsPending_ = true;
    return true;
}

bool CVorlinModel::RequestSetMaintenance(int trunk, bool force) {
    if (!IsTrunkNumber(trunk)) {
        return false;
    }
    trunks_[trunk].PendingOps().RequestMaintenance(force);
    trunkOperationsPending_ = true;
    return true;
}

bool CVorlinModel::RequestClearMaintenance(int trunk) {
    if (!IsTrunkNumber(trunk)) {
        return false;
    }
    trunks_[trunk].PendingOps().clearMaintenanceRequested = 1;
    trunkOperationsPending_ = true;
    return true;
}

bool CVorlinModel::RequestClearTestResults(int trunk) {
    if (!IsTrunkNumber(trunk)) {
        return false;
    }
    trunks_[trunk].PendingOps().clearResultsRequested = 1;
    testQueueChanged_ = true;
    return true;
}

}  // namespace corvane
