#pragma once

#include <cstdint>

namespace corvane {

// The message codes of the controller's message set.
enum class QuillexMessageCode : uint8_t {
    kActivateChanges = 3,
    kAbortAllChanges = 4,
    kRequestAlphas = 5,
    kGetTrunkDefinitions = 8,
    kGetTrunkStatus = 14,
    kGetMatrixBaudRate = 15,
    kSetDateTime = 17,
    kGetDeviceCommStatus = 18,
    kGetQxVersion = 21,
    kGetActivationStatus = 23,
    kGetExclusiveControl = 25,
    kReleaseExclusiveControl = 26,
    kGetMappingOfIntercomsToPorts = 27,
    kInspectTrunk = 35,
    kHello = 36,
    kGetDateAndTime = 37,
    kChangeQuery = 38,
    kSetTrunkMode = 39,
    kSetTrunkCrosspoints = 40,
    kGetQueuedRequests = 41,  // matrices 0-30
    kSetMaintenancePort = 44,
    kGetMaintenancePort = 52,
    kClearChangeFlags = 53,
    kSetAllChangeFlags = 54,
    kGetPartner = 61,
    kGetMatrixConnType = 68,
    kGetMatrixIPAddress = 70,
    kCompatibility = 73,
    kCapabilities = 74,
    kEstablishSession = 77,
    kGetOosPorts = 80,
    kGetMatrixCascadeCost = 81,
    kGetQueuedRequestsExtended = 86,  // matrices above 30
};

// What the message set can address: matrices 0-254 (255 stands for none), trunks 0-9999, and
// 1024 ports per matrix in the out-of-service map.
inline constexpr int kQuillexMatrices = 255;
inline constexpr int kQuillexTrunks = 10000;
inline constexpr int kOosPortsPerMatrix = 1024;
inline constexpr int kOosMapBytes = kOosPortsPerMatrix / 8;

}  // namespace corvane
