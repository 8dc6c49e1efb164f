#pragma once

#include <functional>
#include <vector>

#include "document/FrameDocument.h"

namespace corvane::testing {

// A document the main frame can be tested with: every state is set by the test, every call
// is counted, and the tick may run a step of the test's own.
class FakeFrameDocument final : public IFrameDocument {
public:
    bool ready = true;
    std::optional<bool> controllerCommunicating;
    std::string analyzerName = "Audio Analyzer";
    std::optional<bool> testerConnected;
    TestingState testing = TestingState::Idle;
    bool compatibilityState = false;
    bool allowClose = true;
    std::function<void()> onTick;

    int ticks = 0;
    int closes = 0;
    bool unattended = false;
    bool tickRunning = false;
    bool closedDuringTick = false;
    std::vector<uint32_t> hints;

    bool OnNewDocument() override { return ready; }
    IPreferenceTarget* PreferenceTarget() override { return nullptr; }
    bool IsReady() const override { return ready; }
    void OnSupervisionTick() override {
        ++ticks;
        tickRunning = true;
        if (onTick) {
            onTick();
        }
        tickRunning = false;
    }
    std::optional<bool> IsControllerCommunicating() const override {
        return controllerCommunicating;
    }
    std::string GetAnalyzerDisplayName() const override { return analyzerName; }
    std::optional<bool> IsTesterConnected() const override { return testerConnected; }
    TestingState GetTestingState() const override { return testing; }
    void UpdateAllViews(uint32_t hint) override { hints.push_back(hint); }
    bool HasCompatibilityState() const override { return compatibilityState; }
    bool SaveModified() override { return allowClose || unattended; }
    void SetUnattendedClose() override { unattended = true; }
    void OnCloseDocument() override {
        ++closes;
        closedDuringTick = closedDuringTick || tickRunning;
        ready = false;
    }
};

}  // namespace corvane::testing
