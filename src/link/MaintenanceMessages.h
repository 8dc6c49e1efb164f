#pragma once

#include <optional>

#include "link/QuillexRequest.h"
#include "link/ReplyDecode.h"
#include "log/DiagLogSource.h"

namespace corvane {

// Exclusive control, activation, trunk modes, crosspoints and the maintenance port.

// The status of a maintenance request.
namespace requeststatus {
inline constexpr int kInProgress = 0;
inline constexpr int kSucceeded = 1;
inline constexpr int kFailed = 2;
inline constexpr int kMaintenanceRefused = 3;
inline constexpr int kTimedOut = 4;
inline constexpr int kLinkLost = 5;
}  // namespace requeststatus

// Trunk modes of Set Trunk Mode.
namespace trunkmode {
inline constexpr int kNormal = 0;
inline constexpr int kMaintenance = 1;
inline constexpr int kForcedMaintenance = 2;
}  // namespace trunkmode

// The trunk number that stands for the maintenance port itself in a crosspoint request.
inline constexpr int kMaintenancePortTrunk = 0xFFFF;

inline constexpr const char* kGetExclusiveControlReplyName = "Get Exclusive Control Reply";
inline constexpr const char* kReleaseExclusiveControlReplyName = "Release Exclusive Control Reply";
inline constexpr const char* kAbortAllChangesReplyName = "Abort All Changes Reply";
inline constexpr const char* kActivateChangesReplyName = "Activate Changes Reply";
inline constexpr const char* kSetTrunkModeReplyName = "Set Trunk Mode Reply";
inline constexpr const char* kSetTrunkCrosspointsReplyName = "Set Trunk Crosspoints Reply";
inline constexpr const char* kSetMaintenancePortReplyName = "Set Maintenance Port Reply";
inline constexpr const char* kGetMaintenancePortReplyName = "Get Maintenance Port Reply";

// Ended with flags bit 0: a refusal comes back as the error bit.
QuillexRequest GetExclusiveControlRequest();
QuillexRequest ReleaseExclusiveControlRequest();
// Ended with flags bit 0.
QuillexRequest AbortAllChangesRequest();
QuillexRequest ActivateChangesRequest();
QuillexRequest GetActivationStatusRequest();
QuillexRequest SetTrunkModeRequest(int trunk, int mode);
QuillexRequest SetTrunkCrosspointsRequest(int matrix, int firstTrunk, int secondTrunk, bool close);
QuillexRequest SetMaintenancePortRequest(int matrix, int port);
QuillexRequest GetMaintenancePortRequest();

// Activate Changes and Get Activation Status: logs the outcome; returns whether the update
// is still in progress, or none when refused.
std::optional<bool> HandleActivationReply(ReplyBytes payload, const CDiagLogSource& log);
// The request status the reply gives: 1, else 2 for a restore or a forced maintenance
// request and 3 for a plain maintenance request; none when refused.
std::optional<int> HandleSetTrunkModeReply(ReplyBytes payload, bool restoreOrForced,
                                           const CDiagLogSource& log);
// 1 or 2; none when refused.
std::optional<int> HandleSetTrunkCrosspointsReply(ReplyBytes payload, const CDiagLogSource& log);
// Logs success or failure; false only when refused.
bool HandleSetMaintenancePortReply(ReplyBytes payload, const CDiagLogSource& log);

// -1 stands for none.
struct MaintenancePort {
    int matrix = -1;
    int port = -1;
    int unusablePort = -1;  // a port the controller named that no intercom has
};
// Three bytes: matrix (255 none), port (0xFFFF none). A port of 1024 or more names no port of
// an intercom (nor a bit of the out-of-service map): it counts as none and is kept in
// unusablePort for the log.
Decoded<MaintenancePort> DecodeMaintenancePortReply(ReplyBytes payload);

}  // namespace corvane
