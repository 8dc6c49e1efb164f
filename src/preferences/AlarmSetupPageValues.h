#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/AppSettings.h"

namespace corvane {

// The per-kind values the alarm setup page shows for one kind at a time.
struct AlarmKindValues {
    bool generateAlarm = true;
    bool generateNotification = false;
    bool generateResolvedNotification = false;
    bool suppressNotificationForResolvedAlarms = false;
    int notificationDelayTime = 0;  // seconds
    bool sendEmail = false;
    bool sendPage = false;
    std::string emailTo;
    std::string pagerTo;
};

// The alarm setup page's copies of the settings.
struct AlarmSetupPageValues {
    bool abortNotificationForStaleAlarms = true;
    bool acknowledgeCancelsNotification = true;
    bool autoAcknowledgeResolvedAlarms = false;
    PerAlarmKind<AlarmKindValues> kinds;

    static constexpr int kDelayLow = 0, kDelayHigh = 7200;

    static AlarmSetupPageValues FromSettings(const AppSettings& s);
    void ApplyTo(AppSettings& s) const;
};

// A recipient list that mail could not be sent to.
struct RecipientListProblem {
    int kind = 0;
    bool pager = false;  // the pager list, else the e-mail list
    std::string message;
};
// The first e-mail or pager list of the given kinds, in their order, that is not a list of
// recipients ("name <address>" or an address, separated by "," or ";").
std::optional<RecipientListProblem> CheckRecipientLists(const AlarmSetupPageValues& values,
                                                        const std::vector<int>& kinds);

// The alarm setup kinds offered for an analyzer type (0 none, 1 test set, 2 RT-2M): never
// kind 4, the trunk test failures only with an analyzer, each analyzer's events only for it.
std::vector<int> OfferedAlarmKinds(int analyzerType);

}  // namespace corvane
