#pragma once

#include <cstdlib>
#include <string>

#include "fakes/ManualClock.h"
#include "fakes/RecordingUiBridge.h"
#include "fakes/TempDir.h"
#include "platform/FileSystem.h"
#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"
#include "store/VorlinDatabase.h"

namespace corvane {

// An empty database in a folder of its own, opened as the program opens it, with what the
// store needs around it; a benchmark without it cannot run.
struct BenchDatabase {
    BenchDatabase() {
        profile.Load("");
        std::string error;
        MakeDirectories(dir.Path().string(), 0755, error);
        if (!store.OpenDatabase()) {
            std::abort();
        }
    }

    testing::TempDir dir;
    testing::RecordingUiBridge ui;
    CProfileStore profile;
    SharedSettings settings;
    testing::ManualClock clock;
    CDiagLogSource dbaseLog{"Dbase", "Database log", 1};
    CVorlinDatabase store{profile, settings, clock, dbaseLog, dir / "vorlin.mdb"};
};

}  // namespace corvane
