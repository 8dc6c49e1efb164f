#pragma once

namespace corvane {

// What the trunk test sequencer asks of the controller: one maintenance request at a time,
// whose status it polls, and the maintenance port through which the instrument reaches the
// matrices. Trunk numbers are the controller's (0-based); matrices 0-based.
class IMaintenanceController {
public:
    virtual ~IMaintenanceController() = default;

    virtual bool IsCommunicating() const = 0;
    // The known port plus 1 (0 for none).
    virtual void GetMaintenancePort(int& matrix, int& port) const = 0;
    virtual bool HasMaintenancePort() const = 0;
    virtual bool IsMaintenancePortOutOfService() const = 0;
    // The controller reports trunks out of service.
    virtual bool HasOutOfServiceCapability() const = 0;

    // Each replaces the request before it.
    virtual void PutTrunkInMaintenance(int trunk, bool force) = 0;
    virtual void RestoreTrunkToNormal(int trunk) = 0;
    virtual void LoopBackMaintenancePort() = 0;
    virtual void LoopBackTrunkPort(int matrix, int trunk) = 0;
    virtual void CloseMaintenanceTrunkXpnt(int trunk) = 0;
    virtual void CloseTrunkTrunkXpnt(int matrix, int trunk, int otherTrunk) = 0;
    virtual void ClearMaintenancePortLoop() = 0;
    virtual void ClearTrunkPortLoop(int matrix, int trunk) = 0;
    virtual void ClearMaintenanceTrunkXpnt(int trunk) = 0;
    virtual void ClearTrunkTrunkXpnt(int matrix, int trunk, int otherTrunk) = 0;
    // The status of the latest request (requeststatus::).
    virtual int GetRequestStatus() = 0;
};

}  // namespace corvane
