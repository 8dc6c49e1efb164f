#pragma once

#include <optional>
#include <string>

#include "model/NameTables.h"
#include "model/ViewUpdateHint.h"
#include "settings/ColorSettings.h"

namespace corvane {

// The colours of an alarm row's "State" cell.
struct AlarmCellColors {
    ColorRef background;
    ColorRef text;
};

// The state cell's colours by the row's state and whether its "Ack?" cell shows it
// acknowledged (anything but "-"); none, the window's colours, for a state that is none of
// the four.
std::optional<AlarmCellColors> AlarmStateColors(const std::string& state,
                                                const std::string& acknowledged,
                                                const CNameTables& names,
                                                const ColorSettings& colors);

// The frame icon an alarm list sets for a hint: the unseen-alarm icon for a new alarm, the
// alarm kind's own when the indication is cleared (which wins); none for other hints.
inline constexpr int kUnseenAlarmsIcon = 109;
inline constexpr int kAlarmsIcon = 110;
std::optional<int> AlarmFrameIcon(ViewUpdateHint hint);

// The alarms of a selection that the commands change: acknowledge those whose "Ack?" cell
// does not show "Y"; cancel the notification of those whose notification is pending.
bool NeedsAcknowledge(const std::string& acknowledged);
bool HasPendingNotification(const std::string& notification, const CNameTables& names);
// The notification state the cancel command gives ("Cancelled").
inline constexpr int kCancelledNotification = 2;

}  // namespace corvane
