#include <cstddef>
#include <optional>
#include <string>

#include "model/VorlinModel.h"
#include "store/DaoException.h"
#include "store/ModelWriteBack.h"
#include "store/VorlinDatabase.h"

namespace corvane {

namespace {

constexpr int kNotifyNone = 0, kNotifyPending = 1, kNotifyCancelled = 2, kNotifySuppressed = 4,
              kNotifySkipped = 7;

template <typename Table>
const std::string& NameOf(const Table& table, int index) {
    static const std::string none;
    return index >= 0 && static_cast<size_t>(index) < table.size() ? table[index] : none;
}

}  // namespace

void CModelWriteBack::UpdateAlarmsInDatabase(ViewUpdateHint& hint) {
    settings_ = sharedSettings_.Snapshot();
    {
        auto lock = model_.LockAlarms();
        WriteAlarmQueue(hint);
    }
    db_.Outage().ShowReport();
}

void CModelWriteBack::WriteAlarmQueue(ViewUpdateHint& hint) {
    constexpr const char* kError = "Error, updating Alarms in database\nDescription: %s";
    const ViewUpdateHint editHint = settings_.AutoUpdateSortOrder
                                        ? hint::kAlarmsEdited | hint::kAlarmsAddedRemoved
                                        : hint::kAlarmsEdited;
    const auto& names = model_.Names();
    const auto& notify = names.notifyStates;
    std::optional<CDaoTransaction> tx;
    if (!BeginPass(tx, ModelCollection::Alarms, kError)) {
        return;
    }
    const ViewUpdateHint onEntry = hint;
    const bool unseenOnEntry = unseenAlarms_;
    auto& queue = model_.AlarmQueue();
    const size_t count = queue.size();
    CAlarmsRS& rs = db_.Alarms();
    // Puts back what the pass told when its writes are lost; every operation stays queued.
    auto lost = [&] {
        hint = onEntry;
        unseenAlarms_ = unseenOnEntry;
        model_.MarkDirty(ModelCollection::Alarms);
    };
    size_t done = 0;
    // Queued once the row is in the file, for a later pass.
    auto acknowledgeLater = [this](int alarmId, WallTime time) {
        ledger_.Later([this, alarmId, time] { model_.AcknowledgeAlarm(alarmId, time); });
    };
    // A new row, raised or in its resolved form.
    auto addRow = [&](const CAlarm& a, int state) {
        rs.AddNew();
        rs.m_State = NameOf(names.alarmStates, state);
        rs.m_DeviceType = NameOf(names.deviceTypes, a.deviceType);
        rs.m_AlarmType = NameOf(names.alarmCategories, a.category);
        rs.m_DeviceInstance = a.deviceIndex;
        rs.m_Description = a.description;
        rs.m_Context = a.context;
        rs.m_AlarmTime = a.time;
        rs.m_Acknowledged = false;
        if (a.notify == 1) {
            rs.m_Notification = notify[kNotifyPending];
            rs.m_NotificationTime = a.time + a.notificationDelay;
        } else {
            rs.m_Notification = notify[kNotifyNone];
        }
        if (state != alarmresolve::kRaise) {
            rs.m_ResolvedTime = a.time;
        }
        rs.Update();
        rs.SetBookmark(rs.GetLastModifiedBookmark());
        if (state != alarmresolve::kRaise && settings_.AutoAcknowledgeResolvedAlarms) {
            acknowledgeLater(rs.m_AlarmID, a.time);
        }
        hint |= hint::kAlarmsNew | hint::kNewUnseenAlarm;
        unseenAlarms_ = true;
    };
    try {
        for (; done < count; ++done) {
            const CAlarm a = queue[done];
            if (a.operation == alarmop::kAcknowledge) {
                if (rs.Seek(a.deviceIndex)) {
                    rs.Edit();
                    rs.m_Acknowledged = true;
                    rs.m_AcknowledgedTime = a.time;
                    if (settings_.AcknowledgeCancelsNotification &&
                        rs.m_Notification.Value() == notify[kNotifyPending]) {
                        rs.m_Notification = notify[kNotifyCancelled];
                        rs.m_NotificationTime = a.time;
                    }
                    rs.Update();
                    hint |= editHint;
                }
            } else if (a.operation == alarmop::kCancelNotification) {
                if (rs.Seek(a.deviceIndex)) {
                    rs.Edit();
                    rs.m_Notification = NameOf(notify, a.notify);
                    rs.m_NotificationTime = a.time;
                    rs.Update();
                    hint |= hint::kAlarmsEdited;
                }
            } else if (a.resolved == alarmresolve::kRaise) {
                addRow(a, alarmresolve::kRaise);
            } else {
                const std::string& deviceType = NameOf(names.deviceTypes, a.deviceType);
                const std::string& category = NameOf(names.alarmCategories, a.category);
                bool matched = false;
                bool notified = false;
                rs.MoveLast();
                for (; !rs.IsBOF(); rs.MovePrev()) {
                    if (rs.m_DeviceType.Value() != deviceType ||
                        rs.m_DeviceInstance != a.deviceIndex ||
                        rs.m_AlarmType.Value() != category) {
                        continue;
                    }
                    matched = true;
                    if (rs.m_State.Value() != names.alarmStates[alarmresolve::kRaise]) {
                        continue;
                    }
                    rs.Edit();
                    rs.m_State = NameOf(names.alarmStates, a.resolved);
                    rs.m_ResolvedTime = a.time;
                    if (settings_.AutoAcknowledgeResolvedAlarms) {
                        acknowledgeLater(rs.m_AlarmID, a.time);
                    }
                    const int kind = model_.GetAlarmSetupKind(rs.m_DeviceType, rs.m_AlarmType);
                    const bool suppress = kind >= 0 && kind < setupkind::kCount &&
                                          settings_.SuppressNotificationForResolvedAlarms[kind];
                    if (suppress && rs.m_Notification.Value() == notify[kNotifyPending]) {
                        rs.m_Notification = notify[kNotifySuppressed];
                        rs.m_NotificationTime = a.time;
                    } else if (a.notify == 1 && !notified) {
                        rs.m_Notification = notify[kNotifyPending];
                        rs.m_NotificationTime = a.time + a.notificationDelay;
                        notified = true;
                    } else if (a.notify == 1) {
                        rs.m_Notification = notify[kNotifySkipped];
                        rs.m_NotificationTime = a.time;
                    } else {
                        rs.m_Notification = notify[kNotifyNone];
                    }
                    rs.Update();
                    hint |= editHint;
                }
                if (!matched && a.extra != 0) {
                    addRow(a, a.resolved);
                }
            }
        }
    } catch (const CDaoException& e) {
        if (!EndFailedPass(*tx, e, kError)) {
            lost();
            return;
        }
        const CAlarm& a = queue[done];
        db_.Log().Printf(1,
                         "Alarm not written (operation %d, device type %d, index %d, category "
                         "%d, resolved %d): \"%s\" \"%s\"",
                         a.operation, a.deviceType, a.deviceIndex, a.category, a.resolved,
                         a.description.c_str(), a.context.c_str());
        queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(done + 1));
        if (!queue.empty()) {
            model_.MarkDirty(ModelCollection::Alarms);
        }
        return;
    }
    if (!CommitPass(*tx, kError)) {
        lost();
        return;
    }
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(count));
}

}  // namespace corvane
