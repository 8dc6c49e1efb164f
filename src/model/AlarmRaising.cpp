#include <algorithm>
#include <utility>

#include "model/VorlinModel.h"
#include "settings/AppSettings.h"

namespace corvane {

bool CVorlinModel::AddAlarm(int deviceType, int deviceIndex, int category, int resolved,
                            std::string description, std::string context, int extra) {
    return AddAlarmAt(deviceType, deviceIndex, category, resolved, std::move(description),
                      std::move(context), extra, clock_.Now());
}

bool CVorlinModel::AddAlarmAt(int deviceType, int deviceIndex, int category, int resolved,
                              std::string description, std::string context, int extra,
                              WallTime time) {
    bool notifyAllowed = true;
    int kind = kNone;
    // The switches of intercoms and trunks are atomics, read here without a lock.
    switch (deviceType) {
        case devicetype::kQuillex:
        case devicetype::kTonexa:
        case devicetype::kRT2M:
            if (deviceIndex != 1) {
                return false;
            }
            kind = deviceType == devicetype::kQuillex  ? setupkind::kQuillex
                   : deviceType == devicetype::kTonexa ? setupkind::kTonexa
                                                       : setupkind::kRT2M;
            break;
        case devicetype::kIntercom: {
            const CIntercomData* intercom =
                IsIntercomNumber(deviceIndex) ? &intercoms_[deviceIndex] : nullptr;
            if (intercom == nullptr || !intercom->AlarmsEnabled()) {
                return false;
            }
            notifyAllowed = intercom->NotificationsEnabled();
            kind = setupkind::kIntercom;
            break;
        }
        case devicetype::kTrunk: {
            const CTrunkData* trunk = IsTrunkNumber(deviceIndex) ? &trunks_[deviceIndex] : nullptr;
            if (trunk == nullptr || !trunk->AlarmsEnabled()) {
                return false;
            }
            if (category == alarmcat::kTestFailure) {
                kind = setupkind::kTrunkTestFailures;
            } else if (category == alarmcat::kTestError) {
                kind = setupkind::kTrunkTestErrors;
            } else {
                return false;
            }
            notifyAllowed = trunk->NotificationsEnabled();
            break;
        }
        case devicetype::kRequest:
            kind = setupkind::kRequestBusy;
            break;
        default:
            return false;
    }

    const AppSettings settings = settings_.Snapshot();
    if (!settings.GenerateAlarm[kind]) {
        return false;
    }
    bool notify = false;
    std::chrono::seconds delay{0};
    if (notifyAllowed) {
        if (resolved == alarmresolve::kRaise) {
            notify = settings.GenerateNotification[kind];
            // The delay lets the write-back suppress the notice of an alarm that resolves soon.
            if (notify && settings.SuppressNotificationForResolvedAlarms[kind]) {
                delay = std::chrono::seconds(std::max(0, settings.NotificationDelayTime[kind]));
            }
        } else {
            notify = settings.GenerateResolvedNotification[kind];
        }
    }

    CAlarm alarm;
    alarm.operation = alarmop::kRaiseOrResolve;
    alarm.deviceType = deviceType;
    alarm.deviceIndex = deviceIndex;
    alarm.category = category;
    alarm.resolved = resolved;
    alarm.notify = notify ? 1 : 0;
    alarm.description = std::move(description);
    alarm.time = time;
    alarm.notificationDelay = delay;
    alarm.context = std::move(context);
    alarm.extra = extra;
    auto lock = LockAlarms();
    alarms_.push_back(std::move(alarm));
    MarkDirty(ModelCollection::Alarms);
    return true;
}

bool CVorlinModel::AcknowledgeAlarm(int alarmKey, WallTime time) {
    CAlarm alarm;
    alarm.operation = alarmop::kAcknowledge;
    alarm.deviceIndex = alarmKey;
    alarm.time = time;
    auto lock = LockAlarms();
    alarms_.push_back(std::move(alarm));
    MarkDirty(ModelCollection::Alarms);
    return true;
}

bool CVorlinModel::CancelAlarmNotification(int alarmKey, int notificationState, WallTime time) {
    CAlarm alarm;
    alarm.operation = alarmop::kCancelNotification;
    alarm.deviceIndex = alarmKey;
    alarm.notify = notificationState;
    alarm.time = time;
    auto lock = LockAlarms();
    alarms_.push_back(std::move(alarm));
    MarkDirty(ModelCollection::Alarms);
    return true;
}

}  // namespace corvane
