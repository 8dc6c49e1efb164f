#pragma once

#include <string>
#include <vector>

#include "document/VorlinDoc.h"
#include "model/ListRowKeys.h"

namespace corvane {

// The commands of the trunk list's context menu (menu 120).
namespace trunkcmd {
inline constexpr int kTestNow = 32777;
inline constexpr int kQueueForTesting = 32778;
inline constexpr int kCancelPendingTest = 32779;
inline constexpr int kClearTestResults = 32781;
inline constexpr int kClearMaintenance = 32782;
inline constexpr int kSetMaintenance = 32783;
inline constexpr int kViewRequests = 32784;
// The switches go to the document as they are (CVorlinDoc::SetTrunkOption).
inline constexpr int kEnableAutoTest = CVorlinDoc::kCmdEnableAutoTest;
inline constexpr int kDisableAutoTest = CVorlinDoc::kCmdDisableAutoTest;
inline constexpr int kEnableAlarms = CVorlinDoc::kCmdEnableAlarms;
inline constexpr int kDisableAlarms = CVorlinDoc::kCmdDisableAlarms;
inline constexpr int kEnableNotifications = CVorlinDoc::kCmdEnableNotifications;
inline constexpr int kDisableNotifications = CVorlinDoc::kCmdDisableNotifications;
inline constexpr int kPauseTesting = 32862;
inline constexpr int kResumeTesting = 32863;
}  // namespace trunkcmd

// One item of the menu: a command, a submenu of commands, or a separator.
struct TrunkMenuItem {
    enum class Type { Command, Submenu, Separator };

    Type type = Type::Command;
    int id = 0;  // commands only
    std::string text;
    std::vector<TrunkMenuItem> items;  // submenus only

    bool operator==(const TrunkMenuItem&) const = default;
};
using TrunkMenu = std::vector<TrunkMenuItem>;

// What the menu depends on when it is opened.
struct TrunkMenuState {
    bool analyzer = false;               // an audio analyzer is configured
    int selected = 0;                    // rows selected
    bool outOfServiceSupported = false;  // the controller reports the out-of-service state
    SelectedTrunkRow first;              // the first selected row
    bool testingPaused = false;
};

// The menu as loaded, before any item is removed.
const TrunkMenu& TrunkMenuTemplate();
// The menu for the state: the loaded menu less the commands that do not apply, and less the
// separators that no longer stand after a command.
TrunkMenu BuildTrunkMenu(const TrunkMenuState& state);
// Its default command: "View requests for this trunk" when present, else 0.
int TrunkMenuDefault(const TrunkMenu& menu);
bool TrunkMenuHas(const TrunkMenu& menu, int id);

// Whether a command that acts on every selected row acts on this one: maintenance is set only
// on trunks not in it and cleared only on those in it, a pending or skipped test is cancelled,
// results are cleared unless the trunk is under test. A row without a trunk number is skipped.
bool TrunkCommandActsOn(int command, const SelectedTrunkRow& row);

}  // namespace corvane
