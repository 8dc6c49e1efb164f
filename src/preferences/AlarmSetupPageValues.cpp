#include "preferences/AlarmSetupPageValues.h"

#include "mail/SMTPAddress.h"
#include "platform/Format.h"
#include "platform/StringTable.h"

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

std::optional<RecipientListProblem> CheckRecipientLists(const AlarmSetupPageValues& values,
                                                        const std::vector<int>& kinds) {
    for (const int kind : kinds) {
        if (kind < 0 || kind >= kAlarmSetupKinds) {
            continue;
        }
        const AlarmKindValues& k = values.kinds[kind];
        for (const bool pager : {false, true}) {
            const std::string& list = pager ? k.pagerTo : k.emailTo;
            if (ParseRecipientList(list)) {
                continue;
            }
            return RecipientListProblem{
                kind, pager,
                StrFormat("The %s recipients of the %s cannot be used:\n\n%s\n\nSeparate the "
                          "recipients with \",\" or \";\". Each is an address such as "
                          "name@example.org, or a name followed by the address in angle "
                          "brackets: Name <name@example.org>.",
                          pager ? "pager" : "e-mail",
                          LoadString(ids::kAlarmSetupKindFirst + kind).c_str(), list.c_str())};
        }
    }
    return std::nullopt;
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
