#pragma once

#include <cstdint>
#include <functional>

namespace corvane {

struct AppSettings;

// Help commands, with the values the help ids are shown with.
namespace help {
inline constexpr unsigned kContext = 0x1;
inline constexpr unsigned kContextPopup = 0x8;
inline constexpr unsigned kPartialKey = 0x105;
}  // namespace help

// The popup help id of a control of a dialog.
constexpr uint32_t PopupHelpId(uint32_t dialogId, uint32_t controlId) {
    return ((dialogId | 0x8000u) << 16) | (controlId & 0xFFFFu);
}

// The context help id of a dialog.
constexpr uint32_t DialogContextId(uint32_t dialogId) {
    return dialogId | 0x20000u;
}

// A help request: with "PopupHelpID" set, shows "Help ID: %lx - Style: %u" in an exclamation
// box; with "LaunchHelp" set, then opens the help through launch. Both may happen.
void WinHelp(const AppSettings& settings, uint32_t helpId, unsigned command,
             const std::function<void(uint32_t helpId, unsigned command)>& launch);

}  // namespace corvane
