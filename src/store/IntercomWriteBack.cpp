#include <string>

#include "model/VorlinModel.h"
#include "store/AlarmContext.h"
#include "store/DaoException.h"
#include "store/ModelWriteBack.h"
#include "store/VorlinDatabase.h"

namespace corvane {

namespace {

bool StartsWithOK(const std::string& text) {
    return text.compare(0, 2, "OK") == 0;
}

}  // namespace

void CModelWriteBack::UpdateIntercomsInDatabase(ViewUpdateHint& hint) {
    constexpr const char* kError = "Error, updating Intercoms data in database\nDescription: %s";
    settings_ = sharedSettings_.Snapshot();
    {
        auto lock = model_.LockIntercoms();
        RunPass(
            ModelCollection::Intercoms, kError, hint,
            [&] {
                for (int number = 0; number < kIntercomCount; ++number) {
                    CIntercomData& icom = model_.Intercoms()[number];
                    if (icom.flags.HasChange()) {
                        WriteIntercom(number, icom, hint);
                    }
                }
            },
            [&] { NoticeUnwrittenCommStates(); });
    }
    db_.Outage().ShowReport();
}

void CModelWriteBack::WriteIntercom(int number, CIntercomData& icom, ViewUpdateHint& hint) {
    if (icom.flags.Test(intercombit::kSummary)) {
        ledger_.Clear(icom.flags, intercombit::kSummary);
        WriteSummaryCounts(number, icom, hint);
    }
    if (icom.flags.Test(intercombit::kSwitches)) {
        ledger_.Clear(icom.flags, intercombit::kSwitches);
        CIntercomsRS& rs = db_.Intercoms();
        if (rs.Seek(static_cast<int16_t>(number))) {
            rs.Edit();
            rs.m_Alarms = icom.AlarmsEnabled();
            rs.m_Notify = icom.NotificationsEnabled();
            rs.Update();
            hint |= hint::kIntercomsEdited;
        }
    }
    if (icom.flags.Test(intercombit::kRow)) {
        ledger_.Clear(icom.flags, intercombit::kRow);
        WriteIntercomRow(number, icom, hint);
    }
    if (icom.flags.Test(intercombit::kRequests)) {
        ledger_.Clear(icom.flags, intercombit::kRequests);
        for (QueuedRequestRecord& record : icom.QueuedRequests()) {
            if (!record.flags.IsUnset()) {
                WriteQueuedRequest(number, record, hint);
            }
        }
    }
}

void CModelWriteBack::WriteSummaryCounts(int number, CIntercomData& icom, ViewUpdateHint& hint) {
    CSummaryRS& rs = db_.Summary();
    auto& counts = icom.SummaryCounts();
    for (int to = 0; to < kIntercomCount; ++to) {
        TrunkSummaryCounts& c = counts[to];
        if (!c.flags.Test(kSummaryCountBit)) {
            continue;
        }
        ledger_.Clear(c.flags, kSummaryCountBit);
        const bool found = rs.Seek(static_cast<int16_t>(number), static_cast<int16_t>(to));
        if (found && c.numTrunks == 0) {
            rs.Delete();
            rs.MoveNext();
            hint |= hint::kSummaryNew;
            continue;
        }
        if (!found && c.numTrunks == 0) {
            continue;
        }
        if (found) {
            rs.Edit();
        } else {
            rs.AddNew();
            rs.m_FromIntercomIndex = static_cast<int16_t>(number);
            rs.m_ToIntercomIndex = static_cast<int16_t>(to);
        }
        rs.m_NumTrunks = static_cast<int16_t>(c.numTrunks);
        rs.m_NumAllocated = static_cast<int16_t>(c.numAllocated);
        rs.m_NumInUse = static_cast<int16_t>(c.numInUse);
        rs.m_NumMaint = static_cast<int16_t>(c.numMaint);
        rs.m_NumOOS = static_cast<int16_t>(c.numOOS);
        rs.Update();
        if (found) {
            hint |= hint::kSummaryEdited;
        } else {
            rs.SetBookmark(rs.GetLastModifiedBookmark());
            hint |= hint::kSummaryNew;
        }
    }
}

void CModelWriteBack::WriteIntercomRow(int number, CIntercomData& icom, ViewUpdateHint& hint) {
    CIntercomsRS& rs = db_.Intercoms();
    if (!rs.Seek(static_cast<int16_t>(number))) {
        rs.AddNew();
        rs.m_IntercomIndex = static_cast<int16_t>(number);
        rs.Update();
        rs.SetBookmark(rs.GetLastModifiedBookmark());
        icom.SetAlarmsEnabled(rs.m_Alarms);
        icom.SetNotificationsEnabled(rs.m_Notify);
        hint |= hint::kIntercomsNew;
    }
    rs.Edit();
    if (rs.m_IntercomName.Value() != icom.Name()) {
        rs.m_IntercomName = icom.Name();
        hint |= hint::kIntercomNames;
    }
    if (rs.m_ConnType.Value() != icom.ConnType()) {
        rs.m_ConnType = icom.ConnType();
    }
    if (rs.m_IPAddr1.Value() != icom.IPAddress1()) {
        rs.m_IPAddr1 = icom.IPAddress1();
    }
    if (rs.m_IPAddr2.Value() != icom.IPAddress2()) {
        rs.m_IPAddr2 = icom.IPAddress2();
    }
    if (icom.CascadeCost() != kNone) {
        rs.m_CascadeCost = icom.CascadeCost();
    }
    if (icom.BaudRate() != kNone) {
        rs.m_BaudRate = icom.BaudRate();
    }
    if (icom.ControllerPort() != kNone) {
        rs.m_SerialPort = static_cast<int16_t>(icom.ControllerPort());
    }
    const std::string stored = rs.m_ComState.Value();
    const std::string& status = icom.CommStatus();
    // A status noticed while the row could not be written has had its alarm already.
    const auto noticed = noticedComStates_.find(number);
    RaiseCommStateAlarm(number, noticed != noticedComStates_.end() ? noticed->second : stored,
                        status, false);
    if (noticed != noticedComStates_.end()) {
        ledger_.Later([this, number] { noticedComStates_.erase(number); });
    }
    if (stored != status) {
        rs.m_ComState = status;
    }
    rs.Update();
    hint |= hint::kIntercomsEdited;
}

void CModelWriteBack::RaiseCommStateAlarm(int number, const std::string& from,
                                          const std::string& to, bool now) {
    if (from == to || from.empty() || to.empty()) {
        return;
    }
    const std::string context =
        FormatContextOneAlpha(settings_.AlphaSize, model_.GetIntercomName(number));
    const bool lost = !StartsWithOK(to);
    const int resolved = lost ? alarmresolve::kRaise : alarmresolve::kResolve;
    const char* description = lost ? "Lost contact with intercom" : "Intercom connected";
    const int extra = lost || StartsWithOK(from) ? 0 : 1;
    if (now) {
        model_.AddAlarm(devicetype::kIntercom, number, alarmcat::kCommunication, resolved,
                        description, context, extra);
    } else {
        RaiseAlarm(devicetype::kIntercom, number, alarmcat::kCommunication, resolved, description,
                   context, extra);
    }
}

void CModelWriteBack::NoticeUnwrittenCommStates() {
    for (int number = 0; number < kIntercomCount; ++number) {
        const CIntercomData& icom = model_.Intercoms()[number];
        if (icom.flags.HasChange() && icom.flags.Test(intercombit::kRow) &&
            !NoticeCommState(number, icom)) {
            return;
        }
    }
}

bool CModelWriteBack::NoticeCommState(int number, const CIntercomData& icom) {
    const std::string& status = icom.CommStatus();
    auto noticed = noticedComStates_.find(number);
    std::string before;
    if (noticed != noticedComStates_.end()) {
        before = noticed->second;
    } else {
        // Reading goes on while writing cannot (a lock, a full disk); when it cannot either,
        // the change is compared with the row when the row is written.
        try {
            CIntercomsRS& rs = db_.Intercoms();
            if (rs.Seek(static_cast<int16_t>(number))) {
                before = rs.m_ComState.Value();
            }
        } catch (const CDaoException& e) {
            db_.Log().Printf(2, "Intercom %d: its row cannot be read either: %s", number,
                             e.Description().c_str());
            return false;
        }
    }
    if (before == status) {
        return true;
    }
    if (!before.empty() && !status.empty()) {
        db_.Log().Printf(1, "Intercom %d: status \"%s\" noticed while the database refuses writes",
                         number, status.c_str());
    }
    RaiseCommStateAlarm(number, before, status, true);
    noticedComStates_[number] = status;
    return true;
}

void CModelWriteBack::WriteQueuedRequest(int number, QueuedRequestRecord& record,
                                         ViewUpdateHint& hint) {
    const std::string pp = FunctionCode(0);
    if (record.flags.Test(recordbit::kFilled)) {
        ledger_.Clear(record.flags, recordbit::kFilled);
        if (record.state != QueuedRequestRecord::kFree) {
            CRequestsRS& rs = db_.Requests();
            rs.AddNew();
            rs.m_State = model_.Names().requestStates[1];
            rs.m_RequestTime = record.queuedTime;
            rs.m_End1IntercomIndex = static_cast<int16_t>(number);
            rs.m_End1Function = pp;
            rs.m_End1Number = static_cast<int16_t>(record.source.number);
            rs.m_End1Talk = record.source.talk != 0;
            rs.m_End1Listen = record.source.listen != 0;
            rs.m_End1Inactive = record.source.inactive != 0;
            rs.m_End2IntercomIndex = static_cast<int16_t>(record.destination.intercom);
            rs.m_End2Function = FunctionCode(record.destination.functionType);
            rs.m_End2Number = static_cast<int16_t>(record.destination.number);
            rs.m_End2Talk = false;
            rs.m_End2Listen = false;
            rs.m_End2Inactive = false;
            rs.Update();
            rs.SetBookmark(rs.GetLastModifiedBookmark());
            ledger_.Keep(record.requestNumber);
            record.requestNumber = rs.m_RequestID;
            hint |= hint::kRequestsNew;
            if (record.source.inactive == 0) {
                RaiseBusyAlarm(record.requestNumber, number, record.source.number,
                               record.source.talk != 0, record.source.listen != 0,
                               record.destination.intercom, record.destination.functionType,
                               record.destination.number, record.queuedTime);
            }
        }
    }
    if (record.flags.Test(recordbit::kChanged)) {
        ledger_.Clear(record.flags, recordbit::kChanged);
        if (record.state == QueuedRequestRecord::kFree) {
            return;
        }
        CRequests2RS& rs = db_.RequestUpdates();
        if (!rs.Seek(static_cast<int32_t>(record.requestNumber))) {
            return;
        }
        rs.Edit();
        const int requestId = rs.m_RequestID;
        if (record.state == QueuedRequestRecord::kQueued) {
            const bool wasInactive = rs.m_End1Inactive;
            const bool inactive = record.source.inactive != 0;
            rs.m_End1Talk = record.source.talk != 0;
            rs.m_End1Listen = record.source.listen != 0;
            rs.m_End1Inactive = inactive;
            if (wasInactive && !inactive && rs.m_State.Value() == model_.Names().requestStates[1]) {
                RaiseBusyAlarm(requestId, number, record.source.number, record.source.talk != 0,
                               record.source.listen != 0, record.destination.intercom,
                               record.destination.functionType, record.destination.number,
                               std::nullopt);
            } else if (!wasInactive && inactive) {
                RaiseAlarm(devicetype::kRequest, requestId, alarmcat::kBusy,
                           alarmresolve::kUnresolved, {}, {}, 0);
            }
        } else {
            ledger_.Keep(record.state);
            record.state = QueuedRequestRecord::kFree;
            rs.m_FinishedTime = record.endTime;
            rs.m_State = model_.Names().requestStates[3];
            hint |= hint::kRequestsNew;
            RaiseAlarm(devicetype::kRequest, requestId, alarmcat::kBusy, alarmresolve::kUnresolved,
                       {}, {}, 0, record.endTime);
        }
        rs.Update();
        hint |= hint::kRequestsEdited;
    }
}

std::string CModelWriteBack::AlphaOf(int intercom, int functionType, int number) const {
    std::string alpha = db_.GetAlphaText(intercom, functionType, number);
    return alpha.empty() ? CVorlinModel::GetAlphaDisplayName(functionType, number) : alpha;
}

void CModelWriteBack::RaiseBusyAlarm(int requestId, int end1Intercom, int end1Number, bool talk,
                                     bool listen, int end2Intercom, int end2FunctionType,
                                     int end2Number, std::optional<WallTime> at) {
    const std::string name1 = model_.GetIntercomName(end1Intercom);
    const std::string name2 = model_.GetIntercomName(end2Intercom);
    const std::string alpha1 = AlphaOf(end1Intercom, 0, end1Number);
    const std::string alpha2 = AlphaOf(end2Intercom, end2FunctionType, end2Number);
    std::string flags = "-/-";
    flags[0] = talk ? 'T' : '-';
    flags[2] = listen ? 'L' : '-';
    const std::string description = alpha1 + " : " + flags + " : " + alpha2;
    RaiseAlarm(devicetype::kRequest, requestId, alarmcat::kBusy, alarmresolve::kRaise, description,
               FormatContextFiveFields(settings_.AlphaSize, name1, name2, alpha1, flags, alpha2), 0,
               at);
}

}  // namespace corvane
