#pragma once

namespace corvane {

struct AppSettings;

// The five switches of the test options page.
struct TestOptsPageValues {
    bool skipInUseTrunks = true;
    bool skipTrunksInMaintenanceMode = true;
    bool warnBeforeTestingInUseTrunks = true;
    bool leaveFailedTrunksInMaintenanceMode = false;
    bool returnPassedTrunksToActiveService = false;

    static TestOptsPageValues FromSettings(const AppSettings& s);
    void ApplyTo(AppSettings& s) const;
};

}  // namespace corvane
