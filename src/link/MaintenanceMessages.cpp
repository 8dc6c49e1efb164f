#include "link/MaintenanceMessages.h"

#include "link/QuillexMessageCode.h"

namespace corvane {
namespace {

bool OneByte(const char* replyName, ReplyBytes payload, const CDiagLogSource& log) {
    log.Printf(3, "%s", replyName);
    if (payload.size() != 1) {
        log.Printf(2, "%s", LengthFailure(replyName).c_str());
        return false;
    }
    return true;
}

}  // namespace

QuillexRequest GetExclusiveControlRequest() {
    return MakeRequest(QuillexMessageCode::kGetExclusiveControl,
                       "Sending Get Exclusive Control Message", 1);
}

QuillexRequest ReleaseExclusiveControlRequest() {
    return MakeRequest(QuillexMessageCode::kReleaseExclusiveControl,
                       "Sending Exclusive Control Message");
}

QuillexRequest AbortAllChangesRequest() {
    return MakeRequest(QuillexMessageCode::kAbortAllChanges, "Sending Abort All Changes Message",
                       1);
}

QuillexRequest ActivateChangesRequest() {
    return MakeRequest(QuillexMessageCode::kActivateChanges, "Sending Activate Changes Message");
}

QuillexRequest GetActivationStatusRequest() {
    return MakeRequest(QuillexMessageCode::kGetActivationStatus,
                       "Sending Get Activation Status Message");
}

QuillexRequest SetTrunkModeRequest(int trunk, int mode) {
    return MakeRequest(QuillexMessageCode::kSetTrunkMode, "Sending Set Trunk Mode Message")
        .Word(static_cast<unsigned>(trunk))
        .Byte(mode);
}

QuillexRequest SetTrunkCrosspointsRequest(int matrix, int firstTrunk, int secondTrunk, bool close) {
    return MakeRequest(QuillexMessageCode::kSetTrunkCrosspoints,
                       "Sending Set Trunk Crosspoints Message")
        .Byte(matrix)
        .Word(static_cast<unsigned>(firstTrunk))
        .Word(static_cast<unsigned>(secondTrunk))
        .Byte(close ? 1 : 0);
}

QuillexRequest SetMaintenancePortRequest(int matrix, int port) {
    return MakeRequest(QuillexMessageCode::kSetMaintenancePort,
                       "Sending Set Maintenance Port Message")
        .Byte(matrix)
        .Word(static_cast<unsigned>(port));
}

QuillexRequest GetMaintenancePortRequest() {
    return MakeRequest(QuillexMessageCode::kGetMaintenancePort,
                       "Sending Get Maintenance Port Message");
}

std::optional<bool> HandleActivationReply(ReplyBytes payload, const CDiagLogSource& log) {
    if (!OneByte(kActivateChangesReplyName, payload, log)) {
        return std::nullopt;
    }
    switch (payload[0]) {
        case 0:
            log.Printf(3, "Update complete");
            break;
        case 1:
            log.Printf(3, "Update complete, no changes were found");
            break;
        case 2:
            log.Printf(2, "Update complete, error writing changes to EEPROM");
            break;
        case 3:
            log.Printf(3, "Update still in progress");
            return true;
        default:
            break;
    }
    return false;
}

std::optional<int> HandleSetTrunkModeReply(ReplyBytes payload, bool restoreOrForced,
                                           const CDiagLogSource& log) {
    if (!OneByte(kSetTrunkModeReplyName, payload, log)) {
        return std::nullopt;
    }
    if (payload[0] == 1) {
        log.Printf(3, "Request Succeeded Successfully!");
        return requeststatus::kSucceeded;
    }
    if (restoreOrForced) {
        log.Printf(2, "EITHER Maintenance Mode Forced OR Restore Normal Failed!");
        return requeststatus::kFailed;
    }
    log.Printf(2, "Request Maintenance Mode Failed!");
    return requeststatus::kMaintenanceRefused;
}

std::optional<int> HandleSetTrunkCrosspointsReply(ReplyBytes payload, const CDiagLogSource& log) {
    if (!OneByte(kSetTrunkCrosspointsReplyName, payload, log)) {
        return std::nullopt;
    }
    if (payload[0] == 1) {
        log.Printf(3, "Request Succeeded Successfully!");
        return requeststatus::kSucceeded;
    }
    log.Printf(2, "Set Trunk Crosspoints Reply: Request Failed!");
    return requeststatus::kFailed;
}

bool HandleSetMaintenancePortReply(ReplyBytes payload, const CDiagLogSource& log) {
    if (!OneByte(kSetMaintenancePortReplyName, payload, log)) {
        return false;
    }
    if (payload[0] != 0) {
        log.Printf(3, "Set Maintenance Port succeeded");
    } else {
        log.Printf(2, "Set Maintenance Port failed");
    }
    return true;
}

Decoded<MaintenancePort> DecodeMaintenancePortReply(ReplyBytes payload) {
    if (payload.size() != 3) {
        return Decoded<MaintenancePort>::Refused(LengthFailure(kGetMaintenancePortReplyName));
    }
    MaintenancePort m;
    m.matrix = payload[0] == 255 ? -1 : payload[0];
    const int port = static_cast<int>(WordAt(payload, 1));
    if (port == 0xFFFF) {
        return m;
    }
    if (port >= kOosPortsPerMatrix) {
        m.unusablePort = port;
        return m;
    }
    m.port = port;
    return m;
}

}  // namespace corvane
