#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "model/QuillexModel.h"
#include "platform/Format.h"

namespace corvane::testing {

// Writes every setter call down as one line of text, in order; safe from any thread.
class RecordingModel final : public IQuillexModel {
public:
    bool SetIntercomControllerPort(int intercom, int port, bool oneBased) override {
        return Note(StrFormat("ControllerPort %d %d%s", intercom, port, Base(oneBased)));
    }
    bool SetIntercomBaudRate(int intercom, int baudRate, bool oneBased) override {
        return Note(StrFormat("BaudRate %d %d%s", intercom, baudRate, Base(oneBased)));
    }
    bool SetIntercomCascadeCost(int intercom, int cost, bool oneBased) override {
        return Note(StrFormat("CascadeCost %d %d%s", intercom, cost, Base(oneBased)));
    }
    bool SetIntercomCommStatus(int intercom, std::string text, bool oneBased) override {
        return Note(StrFormat("CommStatus %d '%s'%s", intercom, text.c_str(), Base(oneBased)));
    }
    bool SetIntercomConnType(int intercom, std::string text, bool oneBased) override {
        return Note(StrFormat("ConnType %d %s%s", intercom, text.c_str(), Base(oneBased)));
    }
    bool SetIntercomIPAddress1(int intercom, std::string text, bool oneBased) override {
        return Note(StrFormat("IP1 %d %s%s", intercom, text.c_str(), Base(oneBased)));
    }
    bool SetIntercomIPAddress2(int intercom, std::string text, bool oneBased) override {
        return Note(StrFormat("IP2 %d %s%s", intercom, text.c_str(), Base(oneBased)));
    }
    bool AddAlpha(int intercom, int functionType, int number, std::string text, int operation,
                  bool oneBased) override {
        return Note(StrFormat("Alpha %d %d %d '%s' op%d%s", intercom, functionType, number,
                              text.c_str(), operation, Base(oneBased)));
    }
    bool SetTrunkOutOfService(int trunk, int value, bool oneBased) override {
        return Note(StrFormat("OOS %d %d%s", trunk, value, Base(oneBased)));
    }
    bool SetTrunkState(int trunk, int state, bool oneBased) override {
        return Note(StrFormat("State %d %d%s", trunk, state, Base(oneBased)));
    }
    bool SetTrunkDefinition(const TrunkDefinition& d, bool oneBased) override {
        return Note(StrFormat("Define %d c%d f%d %d:%d %d:%d fixed %d:%d:%d %d:%d:%d%s", d.trunk,
                              d.canCascade, d.useFixed, d.end1Intercom, d.end1Number,
                              d.end2Intercom, d.end2Number, d.fixed1Intercom, d.fixed1FunctionType,
                              d.fixed1Number, d.fixed2Intercom, d.fixed2FunctionType,
                              d.fixed2Number, Base(oneBased)));
    }
    bool UndefineTrunk(int trunk) override { return Note(StrFormat("Undefine %d", trunk)); }
    bool SetQueuedRequest(const EndpointAddress& source, const EndpointAddress& destination,
                          bool oneBased) override {
        return Note("Queued " + Endpoint(source) + " -> " + Endpoint(destination) + Base(oneBased));
    }
    bool PurgeStaleQueuedRequests(int intercom, bool oneBased) override {
        return Note(StrFormat("PurgeQueued %d%s", intercom, Base(oneBased)));
    }
    bool SetTrunkUsage(int trunk, int cascadeTrunk, const EndpointAddress& source,
                       const EndpointAddress& destination, bool oneBased) override {
        return Note(StrFormat("Usage %d cascade %d ", trunk, cascadeTrunk) + Endpoint(source) +
                    " -> " + Endpoint(destination) + Base(oneBased));
    }
    bool PurgeStaleTrunkUsage(int trunk, bool oneBased) override {
        return Note(StrFormat("PurgeUsage %d%s", trunk, Base(oneBased)));
    }
    bool AddAlarm(int deviceType, int deviceIndex, int category, int resolved,
                  std::string description, std::string context, int extra) override {
        return Note(StrFormat("Alarm %d %d %d resolved %d '%s' '%s' %d", deviceType, deviceIndex,
                              category, resolved, description.c_str(), context.c_str(), extra));
    }

    // "intercom:type:number talk listen inactive", e.g. "3:0:17 t1l0i0".
    static std::string Endpoint(const EndpointAddress& a) {
        return StrFormat("%d:%d:%d t%dl%di%d", a.intercom, a.functionType, a.number, a.talk,
                         a.listen, a.inactive);
    }

    std::vector<std::string> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }

private:
    // Calls made with one-based numbers are marked; the controller never makes them.
    static const char* Base(bool oneBased) { return oneBased ? " (1-based)" : ""; }
    bool Note(std::string call) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
        return true;
    }

    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

}  // namespace corvane::testing
