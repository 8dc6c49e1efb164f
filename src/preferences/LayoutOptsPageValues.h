#pragma once

namespace corvane {

struct AppSettings;

// The six graphical layout options as the page shows them.
struct LayoutOptsPageValues {
    bool allowEditOperations = true;
    bool requireAllowChanges = false;  // the inverse of "AutoEnableAllowChanges"
    bool allowFileOperations = true;
    bool confirmFileDeletes = true;
    bool autoSaveLayouts = true;
    bool autoHideEmptyTrunkSets = false;

    static LayoutOptsPageValues FromSettings(const AppSettings& s);
    // True when the graphical views must be told: the hide option changed, or edit operations
    // were turned off (the views' Allow changes goes with them).
    bool ApplyTo(AppSettings& s) const;
};

// The hint that makes graphical views of a layout repaint; its payload is the layout index.
inline constexpr unsigned kLayoutOptionsHint = 0x200000;

}  // namespace corvane
