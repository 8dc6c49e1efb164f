#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace corvane {

// The kinds of maintenance request.
namespace requestkind {
inline constexpr int kPutTrunkInMaintenance = 0;
inline constexpr int kRestoreTrunkToNormal = 1;
inline constexpr int kLoopBackMaintenancePort = 2;
inline constexpr int kLoopBackTrunkPort = 3;
inline constexpr int kCloseMaintenanceTrunkXpnt = 4;
inline constexpr int kCloseTrunkTrunkXpnt = 5;
inline constexpr int kClearMaintenancePortLoop = 6;
inline constexpr int kClearTrunkPortLoop = 7;
inline constexpr int kClearMaintenanceTrunkXpnt = 8;
inline constexpr int kClearTrunkTrunkXpnt = 9;
}  // namespace requestkind

// One queued maintenance request: a step of a trunk test that the poll thread carries out
// with the controller.
struct MaintenanceRequest {
    uint32_t id = 0;  // 0: none queued yet
    int kind = 0;
    bool force = false;  // kind 0: forced maintenance
    int matrix = -1;     // -1: the maintenance matrix was not known
    int firstTrunk = 0xFFFF;
    int secondTrunk = 0xFFFF;
    SteadyTime start{};
};

}  // namespace corvane
