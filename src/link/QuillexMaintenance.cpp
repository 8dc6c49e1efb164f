// Maintenance requests: the user-interface thread queues one, the poll thread runs its
// sequence with the controller, and the status reaches the caller through one slot under a
// short lock. Each request has an id, so a sequence that ends late can never set the status
// of a newer request, and a request reported as failed is never run afterwards.
#include "link/MaintenanceMessages.h"
#include "link/Quillex.h"
#include "platform/Format.h"

namespace corvane {

class CQuillex::SequenceGuard {
public:
    explicit SequenceGuard(std::atomic<bool>& running) : running_(running) { running_ = true; }
    ~SequenceGuard() { running_ = false; }
    SequenceGuard(const SequenceGuard&) = delete;
    SequenceGuard& operator=(const SequenceGuard&) = delete;

private:
    std::atomic<bool>& running_;
};

namespace {

MaintenanceRequest Make(int kind, int matrix, int first, int second, bool force = false) {
    MaintenanceRequest r;
    r.kind = kind;
    r.matrix = matrix;
    r.firstTrunk = first;
    r.secondTrunk = second;
    r.force = force;
    return r;
}

bool IsTrunk(int trunk) {
    return trunk >= 0 && trunk < kQuillexTrunks;
}

// The numbers a caller gives must name a matrix and trunks of the controller.
bool IsValidRequest(const MaintenanceRequest& r) {
    const bool matrix = r.matrix >= 0 && r.matrix < kQuillexMatrices;
    switch (r.kind) {
        case requestkind::kLoopBackMaintenancePort:
        case requestkind::kClearMaintenancePortLoop:
            return true;
        case requestkind::kLoopBackTrunkPort:
        case requestkind::kClearTrunkPortLoop:
            return matrix && IsTrunk(r.firstTrunk);
        case requestkind::kCloseTrunkTrunkXpnt:
        case requestkind::kClearTrunkTrunkXpnt:
            return matrix && IsTrunk(r.firstTrunk) && IsTrunk(r.secondTrunk);
        default:
            return IsTrunk(r.firstTrunk);
    }
}

}  // namespace

void CQuillex::Queue(MaintenanceRequest request, const std::string& line) {
    log_.Printf(3, "%s", line.c_str());
    std::lock_guard lock(requestMutex_);
    request.id = nextRequestId_++;
    request.start = clock_.Steady();
    request_ = request;
    if (!IsValidRequest(request)) {
        log_.Printf(2, "Request Refused: Matrix %d, Trunks %d and %d", request.matrix,
                    request.firstTrunk, request.secondTrunk);
        requestStatus_ = requeststatus::kFailed;
        requestPending_ = false;
        return;
    }
    requestStatus_ = requeststatus::kInProgress;
    requestPending_ = true;
}

void CQuillex::QueueWithPort(MaintenanceRequest request, const std::string& line) {
    request.matrix = maintenanceMatrix_;
    Queue(request, line);
}

void CQuillex::PutTrunkInMaintenance(int trunk, bool force) {
    Queue(Make(requestkind::kPutTrunkInMaintenance, -1, trunk, kMaintenancePortTrunk, force),
          StrFormat("Put Trunk %d in Maintenance (bManual=%d)", trunk, force ? 1 : 0));
}

void CQuillex::RestoreTrunkToNormal(int trunk) {
    Queue(Make(requestkind::kRestoreTrunkToNormal, -1, trunk, kMaintenancePortTrunk),
          StrFormat("Restore Trunk %d to Normal", trunk));
}

void CQuillex::LoopBackMaintenancePort() {
    QueueWithPort(Make(requestkind::kLoopBackMaintenancePort, -1, kMaintenancePortTrunk,
                       kMaintenancePortTrunk),
                  "Loop Back Maintenance Port");
}

void CQuillex::LoopBackTrunkPort(int matrix, int trunk) {
    Queue(Make(requestkind::kLoopBackTrunkPort, matrix, trunk, trunk), "Loop Back Trunk Port");
}

void CQuillex::CloseMaintenanceTrunkXpnt(int trunk) {
    QueueWithPort(Make(requestkind::kCloseMaintenanceTrunkXpnt, -1, trunk, kMaintenancePortTrunk),
                  "Close Maintenance Trunk Xpnt");
}

void CQuillex::CloseTrunkTrunkXpnt(int matrix, int trunk, int otherTrunk) {
    Queue(Make(requestkind::kCloseTrunkTrunkXpnt, matrix, trunk, otherTrunk),
          "Close Trunk Trunk Xpnt");
}

void CQuillex::ClearMaintenancePortLoop() {
    QueueWithPort(Make(requestkind::kClearMaintenancePortLoop, -1, kMaintenancePortTrunk,
                       kMaintenancePortTrunk),
                  "Clear Maintenance Port Loop");
}

void CQuillex::ClearTrunkPortLoop(int matrix, int trunk) {
    Queue(Make(requestkind::kClearTrunkPortLoop, matrix, trunk, trunk), "Clear Trunk Port Loop");
}

void CQuillex::ClearMaintenanceTrunkXpnt(int trunk) {
    QueueWithPort(Make(requestkind::kClearMaintenanceTrunkXpnt, -1, trunk, kMaintenancePortTrunk),
                  "Clear Maintenance Trunk Xpnt");
}

void CQuillex::ClearTrunkTrunkXpnt(int matrix, int trunk, int otherTrunk) {
    Queue(Make(requestkind::kClearTrunkTrunkXpnt, matrix, trunk, otherTrunk),
          "Clear Trunk Trunk Xpnt");
}

int CQuillex::GetRequestStatus() {
    log_.Printf(3, " Get Status of The Ongoing Request");
    std::lock_guard lock(requestMutex_);
    if (requestStatus_ != requeststatus::kInProgress) {
        return requestStatus_;
    }
    if (clock_.Steady() - request_.start < options_.requestTimeout) {
        log_.Printf(3, "Request In Progress ...!");
        return requeststatus::kInProgress;
    }
    log_.Printf(2, "Request Timeout Occurred!");
    // Cancelled: it does not run later, and a sequence under way cannot report on it.
    requestStatus_ = requeststatus::kTimedOut;
    requestPending_ = false;
    return requestStatus_;
}

void CQuillex::SetRequestStatus(uint32_t id, int status) {
    std::lock_guard lock(requestMutex_);
    if (request_.id == id && requestStatus_ == requeststatus::kInProgress) {
        requestStatus_ = status;
    }
}

void CQuillex::FailRequestInProgress(int status) {
    std::lock_guard lock(requestMutex_);
    if (request_.id != 0 && requestStatus_ == requeststatus::kInProgress) {
        requestStatus_ = status;
        requestPending_ = false;
    }
}

void CQuillex::RunMaintenanceRequest() {
    MaintenanceRequest request;
    {
        std::lock_guard lock(requestMutex_);
        if (!requestPending_.exchange(false)) {
            return;  // cancelled meanwhile
        }
        request = request_;
    }
    SequenceGuard guard(sequenceRunning_);
    SetRequestStatus(request.id, RunSequence(request));
}

bool CQuillex::IsLiveRequest(uint32_t id) {
    std::lock_guard lock(requestMutex_);
    return request_.id == id && requestStatus_ == requeststatus::kInProgress;
}

int CQuillex::RunSequence(const MaintenanceRequest& r) {
    // The waits for the controller end with the request's own time-out, or once the request
    // was cancelled or replaced, so the caller sees the time-out and not a failure of ours.
    const auto inTime = [this, &r] {
        return clock_.Steady() - r.start < options_.requestTimeout && IsLiveRequest(r.id);
    };
    // Given up: stopped, or past the time-out (a replaced request's status is not set).
    const auto gaveUp = [this] {
        return exit_ ? requeststatus::kFailed : requeststatus::kTimedOut;
    };
    switch (r.kind) {
        case requestkind::kPutTrunkInMaintenance:
        case requestkind::kRestoreTrunkToNormal: {
            if (!RequestExclusiveControl(inTime)) {
                return gaveUp();
            }
            SendLogged(AbortAllChangesRequest(), kAbortAllChangesReplyName);
            const bool restore = r.kind == requestkind::kRestoreTrunkToNormal;
            const int mode = restore   ? trunkmode::kNormal
                             : r.force ? trunkmode::kForcedMaintenance
                                       : trunkmode::kMaintenance;
            int status = requeststatus::kFailed;
            Send(SetTrunkModeRequest(r.firstTrunk, mode), [this, &status, restore, &r] {
                const auto s = HandleSetTrunkModeReply(Reply(), restore || r.force, log_);
                status = s.value_or(status);
                return s.has_value();
            });
            if (!RequestActivation(inTime)) {
                status = gaveUp();
            }
            SendLogged(ReleaseExclusiveControlRequest(), kReleaseExclusiveControlReplyName);
            return status;
        }
        case requestkind::kLoopBackMaintenancePort:
            GetMaintenancePortMessage();
            if (r.matrix != maintenanceMatrix_) {
                log_.Printf(2, "Maintenance Port Discrepancy Detected During Loopback Test!");
                return requeststatus::kFailed;
            }
            return Crosspoints(r, true);
        case requestkind::kLoopBackTrunkPort:
        case requestkind::kCloseMaintenanceTrunkXpnt:
        case requestkind::kCloseTrunkTrunkXpnt:
            return Crosspoints(r, true);
        default:
            return Crosspoints(r, false);
    }
}

int CQuillex::Crosspoints(const MaintenanceRequest& r, bool close) {
    if (r.matrix < 0) {
        // Without a maintenance port the request would name matrix 0xFF.
        log_.Printf(2, "Set Trunk Crosspoints Refused: No Maintenance Port!");
        return requeststatus::kFailed;
    }
    int status = requeststatus::kFailed;
    Send(SetTrunkCrosspointsRequest(r.matrix, r.firstTrunk, r.secondTrunk, close), [this, &status] {
        const auto s = HandleSetTrunkCrosspointsReply(Reply(), log_);
        status = s.value_or(status);
        return s.has_value();
    });
    return status;
}

bool CQuillex::RequestExclusiveControl(const std::function<bool()>& inTime) {
    log_.Printf(3, "Request Exclusive Control");
    for (int tries = 1;; ++tries) {
        SendLogged(GetExclusiveControlRequest(), kGetExclusiveControlReplyName);
        if (link_->GetReplyErrorFlag() == 0) {
            return true;
        }
        if (!Sleep(options_.exclusiveControlRetry)) {
            log_.Printf(2, "Exclusive Control Not Granted: Stopping!");
            return false;
        }
        if (!inTime()) {
            log_.Printf(2, "Exclusive Control Not Granted after %d Tries!", tries);
            return false;
        }
    }
}

bool CQuillex::RequestActivation(const std::function<bool()>& inTime) {
    log_.Printf(3, "Request Activation");
    bool inProgress = false;
    const auto handler = [this, &inProgress] {
        const auto p = HandleActivationReply(Reply(), log_);
        inProgress = p.value_or(false);
        return p.has_value();
    };
    Send(ActivateChangesRequest(), handler);
    for (int polls = 0; inProgress; ++polls) {
        if (!Sleep(options_.activationPoll) || !inTime()) {
            log_.Printf(2, "Activation Still In Progress after %d Polls!", polls);
            return false;
        }
        Send(GetActivationStatusRequest(), handler);
    }
    return true;
}

void CQuillex::SetMaintenancePortSequence(int matrix, int port) {
    SequenceGuard guard(sequenceRunning_);
    // Until the Set has been answered the controller keeps its port: a sequence that ends
    // before, refused or by a lost link, is marked given up before the port is read again.
    struct GivenUpUnlessAnswered {
        Flag& givenUp;
        bool answered = false;
        ~GivenUpUnlessAnswered() {
            if (!answered) {
                givenUp = 1;
            }
        }
    } mark{maintenancePortGivenUp_};
    const SteadyTime start = clock_.Steady();
    const auto inTime = [this, start] { return clock_.Steady() - start < options_.requestTimeout; };
    if (!RequestExclusiveControl(inTime)) {
        log_.Printf(2, "Set Maintenance Port Given Up: No Exclusive Control!");
        mark.answered = true;
        maintenancePortGivenUp_ = 1;
        if (!exit_) {
            GetMaintenancePortMessage();
        }
        return;
    }
    SendLogged(AbortAllChangesRequest(), kAbortAllChangesReplyName);
    // The message, not the member of the same name that asks for this sequence.
    Send(corvane::SetMaintenancePortRequest(matrix, port),
         [this] { return HandleSetMaintenancePortReply(Reply(), log_); });
    mark.answered = true;
    maintenancePortSet_ = 1;
    if (!RequestActivation(inTime)) {
        log_.Printf(2, "Set Maintenance Port Given Up: Activation Not Complete!");
    }
    SendLogged(ReleaseExclusiveControlRequest(), kReleaseExclusiveControlReplyName);
    GetMaintenancePortMessage();
}

}  // namespace corvane
