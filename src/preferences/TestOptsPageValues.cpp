#include "preferences/TestOptsPageValues.h"

#include "settings/AppSettings.h"

namespace corvane {

TestOptsPageValues TestOptsPageValues::FromSettings(const AppSettings& s) {
    TestOptsPageValues v;
    v.skipInUseTrunks = s.SkipInUseTrunks;
    v.skipTrunksInMaintenanceMode = s.SkipTrunksInMaintenanceMode;
    v.warnBeforeTestingInUseTrunks = s.WarnBeforeTestingInUseTrunks;
    v.leaveFailedTrunksInMaintenanceMode = s.LeaveFailedTrunksInMaintenanceMode;
    v.returnPassedTrunksToActiveService = s.ReturnPassedTrunksToActiveService;
    return v;
}

void TestOptsPageValues::ApplyTo(AppSettings& s) const {
    s.SkipInUseTrunks = skipInUseTrunks;
    s.SkipTrunksInMaintenanceMode = skipTrunksInMaintenanceMode;
    s.WarnBeforeTestingInUseTrunks = warnBeforeTestingInUseTrunks;
    s.LeaveFailedTrunksInMaintenanceMode = leaveFailedTrunksInMaintenanceMode;
    s.ReturnPassedTrunksToActiveService = returnPassedTrunksToActiveService;
}

}  // namespace corvane
