#include <cstdio>

#include "log/DiagLogFile.h"
#include "log/DiagLogSource.h"
#include "platform/FileVersionInfo.h"
#include "platform/ProfileStore.h"
#include "shell/AppSettings.h"
#include "shell/ColorSettings.h"

using namespace corvane;

// Starts what exists of the program without a window: the profile, the diagnostic log and
// the settings, then stops in order.
int main() {
    CDiagLogSource log("Application", "General Application Logging", 0);
    const std::string profilePath = DefaultProfilePath();
    Profile().Load(profilePath);
    StartDiagLog();
    for (const auto& problem : Profile().TakeProblems()) {
        log.Printf(0, "Profile: %s", problem.c_str());
    }

    SharedSettings settings;
    for (const auto& problem : settings.Load(Profile())) {
        log.Printf(0, "Settings: %s", problem.c_str());
    }
    ColorSettings colors;
    colors.Load(Profile());
    const bool saved = settings.Save(Profile()) && colors.Save(Profile());
    log.Printf(0, "Settings %s %s", saved ? "saved to" : "could not be saved to",
               profilePath.c_str());

    const CFileVersionInfo version;
    std::printf(
        "%s %s: the supervision window is not built yet.\n"
        "Settings %s %s; diagnostic log in ../Logs (%s).\n",
        version.GetProductName().c_str(), version.GetProductVersion().c_str(),
        saved ? "saved to" : "could NOT be saved to", profilePath.c_str(),
        DiagLogFile().IsEnabled() ? "enabled" : "disabled");
    log.Printf(0, "Stopped");
    StopDiagLog();
    return saved ? 0 : 1;
}
