#include <cstdint>
#include <string>

#include "model/VorlinModel.h"
#include "store/DaoException.h"
#include "store/ModelWriteBack.h"
#include "store/VorlinDatabase.h"

namespace corvane {

namespace {

// Assigns a column when its value differs; true when it did.
template <typename Field, typename Value>
bool AssignIfDifferent(Field& field, const Value& value) {
    if (!field.IsNull() && field.Value() == value) {
        return false;
    }
    field = value;
    return true;
}

// A model number into an Integer column; none (or anything beyond 16 bits) is NULL.
bool AssignNumberIfDifferent(DaoInt16& field, int value) {
    if (value < INT16_MIN || value > INT16_MAX) {
        if (field.IsNull()) {
            return false;
        }
        field.SetNull();
        return true;
    }
    return AssignIfDifferent(field, static_cast<int16_t>(value));
}

}  // namespace

void CModelWriteBack::UpdateTrunksInDatabase(ViewUpdateHint& hint) {
    constexpr const char* kError = "Error, updating Trunks data in database\nDescription: %s";
    settings_ = sharedSettings_.Snapshot();
    {
        auto lock = model_.LockTrunks();
        RunPass(ModelCollection::Trunks, kError, hint, [&] {
            for (int number = 0; number < kTrunkCount; ++number) {
                CTrunkData& trunk = model_.Trunks()[number];
                if (trunk.flags.HasChange()) {
                    WriteTrunk(number, trunk, hint);
                }
            }
        });
    }
    db_.Outage().ShowReport();
}

void CModelWriteBack::WriteTrunk(int number, CTrunkData& trunk, ViewUpdateHint& hint) {
    const ViewUpdateHint stateHint = settings_.AutoUpdateSortOrder
                                         ? hint::kTrunksEdited | hint::kTrunkSortColumns
                                         : hint::kTrunksEdited;
    const auto index = static_cast<int16_t>(number);
    if (trunk.flags.Test(trunkbit::kSwitches)) {
        ledger_.Clear(trunk.flags, trunkbit::kSwitches);
        CTrunksRS& rs = db_.Trunks();
        if (rs.Seek(index)) {
            rs.Edit();
            rs.m_AutoTest = trunk.AutoTestEnabled();
            rs.m_Alarms = trunk.AlarmsEnabled();
            rs.m_Notify = trunk.NotificationsEnabled();
            rs.Update();
            hint |= hint::kTrunksEdited;
        }
    }
    if (trunk.flags.Test(trunkbit::kDefinition)) {
        ledger_.Clear(trunk.flags, trunkbit::kDefinition);
        bool gone = false;
        WriteTrunkDefinition(number, trunk, hint, gone);
        if (gone) {
            return;
        }
    }
    if (trunk.flags.Test(trunkbit::kState)) {
        ledger_.Clear(trunk.flags, trunkbit::kState);
        CTrunks2RS& rs = db_.TrunkStates();
        const std::string& state = model_.Names().trunkStates[trunk.State() & 3];
        if (rs.Seek(index) && rs.m_State.Value() != state) {
            rs.Edit();
            rs.m_State = state;
            rs.Update();
            hint |= stateHint;
        }
    }
    if (trunk.flags.Test(trunkbit::kUsage)) {
        ledger_.Clear(trunk.flags, trunkbit::kUsage);
        for (TrunkUsageRecord& usage : trunk.Usage()) {
            if (!usage.flags.IsUnset()) {
                WriteTrunkUsage(number, usage, hint);
            }
        }
    }
}

void CModelWriteBack::WriteTrunkDefinition(int number, CTrunkData& trunk, ViewUpdateHint& hint,
                                           bool& gone) {
    CTrunksRS& rs = db_.Trunks();
    const auto index = static_cast<int16_t>(number);
    const bool found = rs.Seek(index);
    if (trunk.IsUndefined()) {
        if (found) {
            rs.Delete();
            rs.MoveNext();
            hint |= hint::kTrunksNew;
        }
        ledger_.Later([this, number] { model_.MarkTrunkAbsent(number); });
        gone = true;
        return;
    }
    if (!found) {
        rs.AddNew();
        rs.m_TrunkIndex = index;
        rs.Update();
        rs.SetBookmark(rs.GetLastModifiedBookmark());
        trunk.SetAutoTestEnabled(rs.m_AutoTest);
        trunk.SetAlarmsEnabled(rs.m_Alarms);
        trunk.SetNotificationsEnabled(rs.m_Notify);
        hint |= hint::kTrunksNew;
        model_.FlagInspectTrunk(number - 1);
    }
    rs.Edit();
    rs.m_CanCascade = trunk.CanCascade();
    rs.m_UseFixed = trunk.UseFixed();
    rs.m_OOS = trunk.OutOfService() != 0;
    bool sortColumns = false;
    if (AssignIfDifferent(rs.m_State, model_.Names().trunkStates[trunk.State() & 3])) {
        sortColumns = sortColumns || settings_.AutoUpdateSortOrder;
    }
    sortColumns |= AssignNumberIfDifferent(rs.m_End1IntercomIndex, trunk.End1Intercom());
    sortColumns |= AssignNumberIfDifferent(rs.m_End1Number, trunk.End1Number());
    sortColumns |= AssignNumberIfDifferent(rs.m_End2IntercomIndex, trunk.End2Intercom());
    sortColumns |= AssignNumberIfDifferent(rs.m_End2Number, trunk.End2Number());
    sortColumns |= AssignNumberIfDifferent(rs.m_Fixed1IntercomIndex, trunk.Fixed1Intercom());
    sortColumns |= AssignIfDifferent(rs.m_Fixed1Function, FunctionCode(trunk.Fixed1FunctionType()));
    sortColumns |= AssignNumberIfDifferent(rs.m_Fixed1Number, trunk.Fixed1Number());
    sortColumns |= AssignNumberIfDifferent(rs.m_Fixed2IntercomIndex, trunk.Fixed2Intercom());
    sortColumns |= AssignIfDifferent(rs.m_Fixed2Function, FunctionCode(trunk.Fixed2FunctionType()));
    sortColumns |= AssignNumberIfDifferent(rs.m_Fixed2Number, trunk.Fixed2Number());
    rs.Update();
    hint |= hint::kTrunksEdited;
    if (sortColumns) {
        hint |= hint::kTrunkSortColumns;
    }
}

void CModelWriteBack::WriteTrunkUsage(int number, TrunkUsageRecord& usage, ViewUpdateHint& hint) {
    const auto& names = model_.Names();
    const std::string& queued = names.requestStates[1];
    if (usage.flags.Test(recordbit::kFilled)) {
        ledger_.Clear(usage.flags, recordbit::kFilled);
        CRequestsRS& rs = db_.Requests();
        const bool add = usage.requestNumber == kNone;
        bool write = true;
        if (add) {
            rs.AddNew();
        } else if (rs.Seek(static_cast<int32_t>(usage.requestNumber))) {
            rs.Edit();
        } else {
            write = false;
        }
        if (write) {
            rs.m_End1IntercomIndex = static_cast<int16_t>(usage.source.intercom);
            rs.m_End1Function = FunctionCode(usage.source.functionType);
            rs.m_End1Number = static_cast<int16_t>(usage.source.number);
            rs.m_End2IntercomIndex = static_cast<int16_t>(usage.destination.intercom);
            rs.m_End2Function = FunctionCode(usage.destination.functionType);
            rs.m_End2Number = static_cast<int16_t>(usage.destination.number);
            rs.m_State = names.requestStates[usage.state == TrunkUsageRecord::kInUse ? 2 : 0];
            rs.m_Trunk1Index = static_cast<int16_t>(number);
            if (usage.cascadeTrunk >= 0 && usage.cascadeTrunk < kTrunkCount) {
                rs.m_Trunk2Index = static_cast<int16_t>(usage.cascadeTrunk);
            }
            rs.m_ActiveTime = usage.startTime;
            rs.m_End1Talk = usage.source.talk != 0;
            rs.m_End1Listen = usage.source.listen != 0;
            rs.m_End1Inactive = usage.source.inactive != 0;
            rs.m_End2Talk = usage.destination.talk != 0;
            rs.m_End2Listen = usage.destination.listen != 0;
            rs.m_End2Inactive = usage.destination.inactive != 0;
            rs.Update();
            if (add) {
                rs.SetBookmark(rs.GetLastModifiedBookmark());
                ledger_.Keep(usage.requestNumber);
                usage.requestNumber = rs.m_RequestID;
            }
            hint |= hint::kRequestsNew;
            RaiseAlarm(devicetype::kRequest, usage.requestNumber, alarmcat::kBusy,
                       alarmresolve::kResolve, {}, {}, 0, usage.startTime);
        }
    }
    if (usage.flags.Test(recordbit::kChanged)) {
        ledger_.Clear(usage.flags, recordbit::kChanged);
        CRequests2RS& rs = db_.RequestUpdates();
        if (!rs.Seek(static_cast<int32_t>(usage.requestNumber))) {
            return;
        }
        rs.Edit();
        const int requestId = rs.m_RequestID;
        const bool wasQueued = rs.m_State.Value() == queued;
        if (usage.state == TrunkUsageRecord::kEnded) {
            ledger_.Keep(usage.state);
            usage.state = TrunkUsageRecord::kFree;
            if (wasQueued) {
                RaiseAlarm(devicetype::kRequest, requestId, alarmcat::kBusy,
                           alarmresolve::kUnresolved, {}, {}, 0, usage.endTime);
            }
            rs.m_FinishedTime = usage.endTime;
            rs.m_State = names.requestStates[3];
        } else {
            rs.m_End1Talk = usage.source.talk != 0;
            rs.m_End1Listen = usage.source.listen != 0;
            rs.m_End1Inactive = usage.source.inactive != 0;
            rs.m_End2Talk = usage.destination.talk != 0;
            rs.m_End2Listen = usage.destination.listen != 0;
            rs.m_End2Inactive = usage.destination.inactive != 0;
            if (wasQueued) {
                RaiseAlarm(devicetype::kRequest, requestId, alarmcat::kBusy, alarmresolve::kResolve,
                           {}, {}, 0);
            }
            rs.m_State = names.requestStates[usage.state == TrunkUsageRecord::kInUse ? 2 : 0];
        }
        rs.Update();
        hint |= hint::kRequestsEdited;
    }
}

}  // namespace corvane
