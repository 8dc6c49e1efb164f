#pragma once

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "link/MaintenanceController.h"
#include "link/MaintenanceMessages.h"
#include "platform/Format.h"

namespace corvane::testing {

// One maintenance request as the sequencer asked for it (the controller's 0-based numbers;
// -1 where a request has no such number).
struct FakeMaintenanceRequest {
    std::string kind;
    int matrix = -1;
    int trunk = -1;
    int otherTrunk = -1;
    bool force = false;

    std::string ToString() const {
        return StrFormat("%s(%d,%d,%d%s)", kind.c_str(), matrix, trunk, otherTrunk,
                         force ? ",force" : "");
    }
};

// A controller that answers maintenance requests from a script and keeps what the successful
// ones set up (maintenance modes, loops, crosspoints), so a test can see what a tear-down
// left behind. Every request is recorded. User-interface thread only, like the sequencer.
class FakeMaintenanceController final : public IMaintenanceController {
public:
    struct Outcome {
        int status = requeststatus::kSucceeded;
        int pollsInProgress = 0;  // polls answered "in progress" first; -1: forever
        bool carriedOut = false;  // a failed request the controller did carry out all the same
    };

    bool communicating = true;
    bool hasPort = true;
    bool portOutOfService = false;
    bool outOfServiceCapability = false;
    int portMatrix = 1;
    int port = 1;
    // The outcome of each request; unset or returning the default: success at the first poll.
    std::function<Outcome(const FakeMaintenanceRequest&)> script;
    // Called when a request is carried out, e.g. to report the trunk's new state.
    std::function<void(const FakeMaintenanceRequest&)> onCarriedOut;

    const std::vector<FakeMaintenanceRequest>& Requests() const { return requests_; }
    std::vector<std::string> RequestKinds() const {
        std::vector<std::string> kinds;
        for (const auto& r : requests_) {
            kinds.push_back(r.kind);
        }
        return kinds;
    }
    // What is still set up: "maint:T", "portloop", "loop:M:T", "portxpnt:T", "xpnt:M:T:U".
    const std::multiset<std::string>& SetUp() const { return setUp_; }
    int StatusPolls() const { return statusPolls_; }

    bool IsCommunicating() const override { return communicating; }
    void GetMaintenancePort(int& matrix, int& p) const override {
        matrix = hasPort ? portMatrix : 0;
        p = hasPort ? port : 0;
    }
    bool HasMaintenancePort() const override { return hasPort; }
    bool IsMaintenancePortOutOfService() const override { return portOutOfService; }
    bool HasOutOfServiceCapability() const override { return outOfServiceCapability; }

    void PutTrunkInMaintenance(int trunk, bool force) override {
        Queue({"PutTrunkInMaintenance", -1, trunk, -1, force});
    }
    void RestoreTrunkToNormal(int trunk) override { Queue({"RestoreTrunkToNormal", -1, trunk}); }
    void LoopBackMaintenancePort() override { Queue({"LoopBackMaintenancePort"}); }
    void LoopBackTrunkPort(int matrix, int trunk) override {
        Queue({"LoopBackTrunkPort", matrix, trunk});
    }
    void CloseMaintenanceTrunkXpnt(int trunk) override {
        Queue({"CloseMaintenanceTrunkXpnt", -1, trunk});
    }
    void CloseTrunkTrunkXpnt(int matrix, int trunk, int otherTrunk) override {
        Queue({"CloseTrunkTrunkXpnt", matrix, trunk, otherTrunk});
    }
    void ClearMaintenancePortLoop() override { Queue({"ClearMaintenancePortLoop"}); }
    void ClearTrunkPortLoop(int matrix, int trunk) override {
        Queue({"ClearTrunkPortLoop", matrix, trunk});
    }
    void ClearMaintenanceTrunkXpnt(int trunk) override {
        Queue({"ClearMaintenanceTrunkXpnt", -1, trunk});
    }
    void ClearTrunkTrunkXpnt(int matrix, int trunk, int otherTrunk) override {
        Queue({"ClearTrunkTrunkXpnt", matrix, trunk, otherTrunk});
    }

    int GetRequestStatus() override {
        ++statusPolls_;
        if (!open_) {
            return lastStatus_;
        }
        if (!communicating) {
            // A link that is down answers nothing: the request stays in progress.
            return requeststatus::kInProgress;
        }
        if (current_.pollsInProgress != 0) {
            if (current_.pollsInProgress > 0) {
                --current_.pollsInProgress;
            }
            return requeststatus::kInProgress;
        }
        open_ = false;
        lastStatus_ = current_.status;
        if (current_.status == requeststatus::kSucceeded || current_.carriedOut) {
            CarryOut(requests_.back());
        }
        return lastStatus_;
    }

private:
    void Queue(FakeMaintenanceRequest request) {
        requests_.push_back(request);
        current_ = script ? script(request) : Outcome{};
        open_ = true;
        lastStatus_ = requeststatus::kInProgress;
    }

    void CarryOut(const FakeMaintenanceRequest& r) {
        const std::string t = std::to_string(r.trunk);
        const std::string mt = std::to_string(r.matrix) + ":" + t;
        if (r.kind == "PutTrunkInMaintenance") {
            setUp_.insert("maint:" + t);
        } else if (r.kind == "RestoreTrunkToNormal") {
            Erase("maint:" + t);
        } else if (r.kind == "LoopBackMaintenancePort") {
            setUp_.insert("portloop");
        } else if (r.kind == "ClearMaintenancePortLoop") {
            Erase("portloop");
        } else if (r.kind == "LoopBackTrunkPort") {
            setUp_.insert("loop:" + mt);
        } else if (r.kind == "ClearTrunkPortLoop") {
            Erase("loop:" + mt);
        } else if (r.kind == "CloseMaintenanceTrunkXpnt") {
            setUp_.insert("portxpnt:" + t);
        } else if (r.kind == "ClearMaintenanceTrunkXpnt") {
            Erase("portxpnt:" + t);
        } else if (r.kind == "CloseTrunkTrunkXpnt") {
            setUp_.insert("xpnt:" + mt + ":" + std::to_string(r.otherTrunk));
        } else if (r.kind == "ClearTrunkTrunkXpnt") {
            Erase("xpnt:" + mt + ":" + std::to_string(r.otherTrunk));
        }
        if (onCarriedOut) {
            onCarriedOut(r);
        }
    }
    void Erase(const std::string& key) {
        auto it = setUp_.find(key);
        if (it != setUp_.end()) {
            setUp_.erase(it);
        }
    }

    std::vector<FakeMaintenanceRequest> requests_;
    std::multiset<std::string> setUp_;
    Outcome current_;
    bool open_ = false;
    int lastStatus_ = requeststatus::kSucceeded;
    int statusPolls_ = 0;
};

}  // namespace corvane::testing
