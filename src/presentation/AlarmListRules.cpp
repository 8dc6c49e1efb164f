#include "presentation/AlarmListRules.h"

namespace corvane {

std::optional<AlarmCellColors> AlarmStateColors(const std::string& state,
                                                const std::string& acknowledged,
                                                const CNameTables& names,
                                                const ColorSettings& colors) {
    // By alarm state index: background and text, not acknowledged, then acknowledged.
    static constexpr DisplayColor kColors[4][4] = {
        {DisplayColor::AlarmActiveBackground, DisplayColor::AlarmActiveText,
         DisplayColor::AcknowledgedAlarmActiveBackground,
         DisplayColor::AcknowledgedAlarmActiveText},
        {DisplayColor::AlarmResolvedBackground, DisplayColor::AlarmResolvedText,
         DisplayColor::AcknowledgedAlarmResolvedBackground,
         DisplayColor::AcknowledgedAlarmResolvedText},
        {DisplayColor::AlarmStaleBackground, DisplayColor::AlarmStaleText,
         DisplayColor::AcknowledgedAlarmStaleBackground, DisplayColor::AcknowledgedAlarmStaleText},
        {DisplayColor::AlarmUnresolvedBackground, DisplayColor::AlarmUnresolvedText,
         DisplayColor::AcknowledgedAlarmUnresolvedBackground,
         DisplayColor::AcknowledgedAlarmUnresolvedText},
    };
    const size_t ack = acknowledged == "-" ? 0 : 2;
    for (size_t i = 0; i < names.alarmStates.size(); ++i) {
        if (state == names.alarmStates[i]) {
            return AlarmCellColors{colors.Get(kColors[i][ack]), colors.Get(kColors[i][ack + 1])};
        }
    }
    return std::nullopt;
}

std::optional<int> AlarmFrameIcon(ViewUpdateHint hint) {
    if (hint & hint::kUnseenAlarmCleared) {
        return kAlarmsIcon;
    }
    if (hint & hint::kNewUnseenAlarm) {
        return kUnseenAlarmsIcon;
    }
    return std::nullopt;
}

bool NeedsAcknowledge(const std::string& acknowledged) {
    return acknowledged.empty() || acknowledged.front() != 'Y';
}

bool HasPendingNotification(const std::string& notification, const CNameTables& names) {
    return notification == names.notifyStates[1];
}

}  // namespace corvane
