#pragma once

#include <functional>

class QAction;

namespace corvane {

class CMainFrame;

// What the application object's commands in the File and Help menus do.
struct ShellCommandHandlers {
    std::function<void()> configuration;        // 32776, the preference sheet
    std::function<void()> diagLogSettings;      // 32771
    std::function<void()> quillexVersion;       // 32866
    std::function<void()> compatibilityStatus;  // 32867, also Ctrl+Shift+B
    // The controller object exists and communicates.
    std::function<bool()> controllerCommunicating;
};

struct ShellCommands {
    QAction* configuration = nullptr;
    QAction* diagLogSettings = nullptr;
    QAction* quillexVersion = nullptr;
    QAction* compatibilityStatus = nullptr;
};

// Puts the commands into the frame's menus: the File ones before "Exit", the controller's at
// the end of Help. Those two are enabled only while the controller communicates (the
// compatibility status while the controller pane shows it so), looked at again whenever the
// Help menu opens, the controller pane changes or the command is chosen.
ShellCommands AddShellCommands(CMainFrame& frame, ShellCommandHandlers handlers);

}  // namespace corvane
