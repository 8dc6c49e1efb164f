#pragma once

#include <optional>

namespace corvane {

// Ids of the commands the main frame's menus route to the panes of the active child frame.
namespace cmd {
inline constexpr int kLayoutSave = 32850;
inline constexpr int kLayoutSaveAs = 32853;
inline constexpr int kAllowChanges = 32858;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditSelectAll = 57642;
inline constexpr int kCloseWindow = 32849;
inline constexpr int kInfoBar1 = 59394;
inline constexpr int kInfoBar2 = 59395;
inline constexpr int kNextPane = 32859;
inline constexpr int kPrevPane = 32860;
inline constexpr int kNewLayout = 32848;
inline constexpr int kRenameLayout = 32851;
inline constexpr int kDeleteLayout = 32852;
}  // namespace cmd

// How a menu item of a command shows.
struct CommandUi {
    bool enabled = true;
    bool checked = false;
};

// A pane that handles commands of the main frame's menus, offered to every pane of the active
// child frame in turn until one handles it.
class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    // True when the pane handled the command.
    virtual bool OnCommand(int id) { return false; }
    // None when the pane does not handle the command.
    virtual std::optional<CommandUi> OnUpdateCommand(int id) const { return std::nullopt; }
};

}  // namespace corvane
