#include "presentation/TrunkListMenu.h"

#include <algorithm>
#include <climits>

namespace corvane {
namespace {

constexpr int kMaintenanceState = 3;
constexpr int kResultPending = 3;
constexpr int kResultTesting = 4;
constexpr int kResultSkipped = 5;

using Type = TrunkMenuItem::Type;

TrunkMenuItem Command(int id, const char* text) {
    return {Type::Command, id, text, {}};
}

TrunkMenuItem Separator() {
    return {Type::Separator, 0, {}, {}};
}

TrunkMenuItem Switches(const char* text, int enable, int disable) {
    return {Type::Submenu, 0, text, {Command(enable, "&Enable"), Command(disable, "&Disable")}};
}

bool IsRemoved(const TrunkMenuItem& item, const TrunkMenuState& s) {
    const bool one = s.selected == 1;
    const bool inMaintenance = s.first.state == kMaintenanceState;
    const bool pendingOrSkipped =
        s.first.testResult == kResultPending || s.first.testResult == kResultSkipped;
    if (item.type == Type::Submenu) {
        return !s.analyzer;
    }
    switch (item.id) {
        case trunkcmd::kTestNow:
            return !s.analyzer || !one || (s.outOfServiceSupported && s.first.outOfService != 0);
        case trunkcmd::kQueueForTesting:
        case trunkcmd::kClearTestResults:
            return !s.analyzer;
        case trunkcmd::kClearMaintenance:
            return one && !inMaintenance;
        case trunkcmd::kSetMaintenance:
            return one && inMaintenance;
        case trunkcmd::kCancelPendingTest:
            return !s.analyzer || (one && !pendingOrSkipped);
        case trunkcmd::kViewRequests:
            return !one;
        case trunkcmd::kPauseTesting:
            return !s.analyzer || s.testingPaused;
        case trunkcmd::kResumeTesting:
            return !s.analyzer || !s.testingPaused;
        default:
            return false;
    }
}

}  // namespace

const TrunkMenu& TrunkMenuTemplate() {
    static const TrunkMenu menu = {
        Command(trunkcmd::kTestNow, "&Test trunk now"),
        Command(trunkcmd::kQueueForTesting, "&Queue for testing"),
        Command(trunkcmd::kCancelPendingTest, "Cancel &pending test"),
        Command(trunkcmd::kClearTestResults, "Clear previous test &results"),
        Separator(),
        Command(trunkcmd::kSetMaintenance, "&Set maintenance mode"),
        Command(trunkcmd::kClearMaintenance, "&Clear maintenance mode"),
        Separator(),
        Command(trunkcmd::kViewRequests, "&View requests for this trunk"),
        Separator(),
        Switches("Auto testing", trunkcmd::kEnableAutoTest, trunkcmd::kDisableAutoTest),
        Switches("Alarms", trunkcmd::kEnableAlarms, trunkcmd::kDisableAlarms),
        Switches("Notifications", trunkcmd::kEnableNotifications, trunkcmd::kDisableNotifications),
        Separator(),
        Command(trunkcmd::kPauseTesting, "Pause testing"),
        Command(trunkcmd::kResumeTesting, "Resume testing"),
    };
    return menu;
}

TrunkMenu BuildTrunkMenu(const TrunkMenuState& state) {
    TrunkMenu menu;
    for (const TrunkMenuItem& item : TrunkMenuTemplate()) {
        if (item.type == Type::Separator) {
            // Kept only after a command (a submenu counts as one).
            if (!menu.empty() && menu.back().type != Type::Separator) {
                menu.push_back(item);
            }
        } else if (!IsRemoved(item, state)) {
            menu.push_back(item);
        }
    }
    if (!menu.empty() && menu.back().type == Type::Separator) {
        menu.pop_back();
    }
    return menu;
}

bool TrunkMenuHas(const TrunkMenu& menu, int id) {
    return std::any_of(menu.begin(), menu.end(), [id](const TrunkMenuItem& item) {
        return (item.type == Type::Command && item.id == id) || TrunkMenuHas(item.items, id);
    });
}

int TrunkMenuDefault(const TrunkMenu& menu) {
    return TrunkMenuHas(menu, trunkcmd::kViewRequests) ? trunkcmd::kViewRequests : 0;
}

bool TrunkCommandActsOn(int command, const SelectedTrunkRow& row) {
    if (row.trunk == INT_MAX) {
        return false;
    }
    switch (command) {
        case trunkcmd::kSetMaintenance:
            return row.state != kMaintenanceState;
        case trunkcmd::kClearMaintenance:
            return row.state == kMaintenanceState;
        case trunkcmd::kCancelPendingTest:
            return row.testResult == kResultPending || row.testResult == kResultSkipped;
        case trunkcmd::kClearTestResults:
            return row.testResult != kResultTesting;
        default:
            return true;
    }
}

}  // namespace corvane
