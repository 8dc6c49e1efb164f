#include "preferences/AlarmSetupPageValues.h"

namespace corvane {

AlarmSetupPageValues AlarmSetupPageValues::FromSettings(const AppSettings& s) {
    AlarmSetupPageValues v;
    v.abortNotificationForStaleAlarms = s.AbortNotificationForStaleAlarms;
    v.acknowledgeCancelsNotification = s.AcknowledgeCancelsNotification;
    v.autoAcknowledgeResolvedAlarms = s.AutoAcknowledgeResolvedAlarms;
    for (int k = 0; k < kAlarmSetupKinds; ++k) {
        AlarmKindValues& kind = v.kinds[k];
        kind.generateAlarm = s.GenerateAlarm[k];
        kind.generateNotification = s.GenerateNotification[k];
        kind.generateResolvedNotification = s.GenerateResolvedNotification[k];
        kind.suppressNotificationForResolvedAlarms = s.SuppressNotificationForResolvedAlarms[k];
        kind.notificationDelayTime = s.NotificationDelayTime[k];
        kind.sendEmail = s.SendEmail[k];
        kind.sendPage = s.SendPage[k];
        kind.emailTo = s.EmailTO[k];
        kind.pagerTo = s.PagerTO[k];
    }
    return v;
}

void AlarmSetupPageValues::ApplyTo(AppSettings& s) const {
    s.AbortNotificationForStaleAlarms = abortNotificationForStaleAlarms;
    s.AcknowledgeCancelsNotification = acknowledgeCancelsNotification;
    s.AutoAcknowledgeResolvedAlarms = autoAcknowledgeResolvedAlarms;
    for (int k = 0; k < kAlarmSetupKinds; ++k) {
        const AlarmKindValues& kind = kinds[k];
        s.GenerateAlarm[k] = kind.generateAlarm;
        s.GenerateNotification[k] = kind.generateNotification;
        s.GenerateResolvedNotification[k] = kind.generateResolvedNotification;
        s.SuppressNotificationForResolvedAlarms[k] = kind.suppressNotificationForResolvedAlarms;
        s.NotificationDelayTime[k] = kind.notificationDelayTime;
        s.SendEmail[k] = kind.sendEmail;
        s.SendPage[k] = kind.sendPage;
        s.EmailTO[k] = kind.emailTo;
        s.PagerTO[k] = kind.pagerTo;
    }
}

std::vector<int> OfferedAlarmKinds(int analyzerType) {
    std::vector<int> kinds;
    for (int k = 0; k < kAlarmSetupKinds; ++k) {
        const bool offered = k != 4 && !(k == 3 && analyzerType == 0) &&
                             !(k == 1 && analyzerType != 1) && !(k == 6 && analyzerType != 2);
        if (offered) {
            kinds.push_back(k);
        }
    }
    return kinds;
}

}  // namespace corvane
