#pragma once

#include <cstdint>

namespace corvane {

// Operator requests on a trunk for the trunk test sequencer; written and read on the
// user-interface thread only, never written to the database.
struct TrunkPendingOps {
    uint8_t testWanted = 0;
    uint8_t manualTest = 0;
    uint8_t setMaintenanceRequested = 0;
    uint8_t force = 0;  // move the trunk's assignments to other trunks
    uint8_t clearMaintenanceRequested = 0;
    uint8_t cancelTestRequested = 0;
    uint8_t clearResultsRequested = 0;
    uint8_t queuedForTesting = 0;

    void RequestTest(bool manual) {
        testWanted = 1;
        manualTest = manual ? 1 : 0;
    }
    void RequestMaintenance(bool forced) {
        setMaintenanceRequested = 1;
        force = forced ? 1 : 0;
    }
};

}  // namespace corvane
