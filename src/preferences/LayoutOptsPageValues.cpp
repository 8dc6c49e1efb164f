#include "preferences/LayoutOptsPageValues.h"

#include "settings/AppSettings.h"

namespace corvane {

LayoutOptsPageValues LayoutOptsPageValues::FromSettings(const AppSettings& s) {
    LayoutOptsPageValues v;
    v.allowEditOperations = s.AllowEditOperations;
    v.requireAllowChanges = !s.AutoEnableAllowChanges;
    v.allowFileOperations = s.AllowFileOperations;
    v.confirmFileDeletes = s.ConfirmFileDeletes;
    v.autoSaveLayouts = s.AutoSaveLayouts;
    v.autoHideEmptyTrunkSets = s.AutoHideEmptyTrunkSets;
    return v;
}

bool LayoutOptsPageValues::ApplyTo(AppSettings& s) const {
    const bool tell = s.AutoHideEmptyTrunkSets != autoHideEmptyTrunkSets ||
                      (s.AllowEditOperations && !allowEditOperations);
    s.AllowEditOperations = allowEditOperations;
    s.AutoEnableAllowChanges = !requireAllowChanges;
    s.AllowFileOperations = allowFileOperations;
    s.ConfirmFileDeletes = confirmFileDeletes;
    s.AutoSaveLayouts = autoSaveLayouts;
    s.AutoHideEmptyTrunkSets = autoHideEmptyTrunkSets;
    return tell;
}

}  // namespace corvane
