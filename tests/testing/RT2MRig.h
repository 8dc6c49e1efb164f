#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "document/VorlinDoc.h"
#include "fakes/FakeAnalyzer.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingUiBridge.h"
#include "settings/AppSettings.h"
#include "testing/RT2M.h"

namespace corvane::testing {

// The driver on a fake analyzer, with a clock that moves only when the worker waits.
class RT2MRig : public ::testing::Test {
protected:
    RT2MRig() {
        settings.Modify([this](AppSettings& s) {
            s.TonexaSerialPort = fake.PortName();
            s.TurnaroundTime = 250;
        });
    }
    ~RT2MRig() override {
        if (rt2m) {
            rt2m->Stop();
            rt2m->Join();
        }
    }

    // Set by the driver's loop-back callback.
    std::atomic<bool> loopbackDue{false};

    RT2MOptions Options() {
        RT2MOptions o;
        o.clock = &clock;
        o.sleep = [this](std::chrono::milliseconds d) {
            clock.Advance(d);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        };
        o.minimumTurnaround = std::chrono::milliseconds(50);
        o.loopbackDue = [this] { loopbackDue = true; };
        return o;
    }
    void StartDriver(RT2MOptions o) {
        rt2m = std::make_unique<CRT2M>(doc, settings, std::move(o));
        rt2m->Start();
    }
    void StartDriver() { StartDriver(Options()); }

    // Waits, bounded in real time, for the condition.
    static bool WaitUntil(const std::function<bool()>& condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    bool Connected() {
        return WaitUntil([this] { return rt2m->IsConnected(); });
    }
    TestResultState RunTest(TrunkTestMeasurement& m) {
        int timeout = 0;
        rt2m->StartTest(1, 50, 10, timeout);
        TestResultState state = TestResultState::Running;
        WaitUntil([&] { return (state = rt2m->GetTestResult(m)) != TestResultState::Running; });
        return state;
    }
    // The RT-2M alarms queued so far: (category, resolved, description).
    std::vector<std::tuple<int, int, std::string>> Alarms() {
        auto lock = doc.LockAlarms();
        std::vector<std::tuple<int, int, std::string>> out;
        for (const CAlarm& a : doc.AlarmQueue()) {
            if (a.deviceType == devicetype::kRT2M) {
                out.emplace_back(a.category, a.resolved, a.description);
            }
        }
        return out;
    }
    bool HasAlarm(int category, int resolved, const std::string& text = "") {
        for (const auto& [c, r, d] : Alarms()) {
            if (c == category && r == resolved && (text.empty() || d == text)) {
                return true;
            }
        }
        return false;
    }

    RecordingUiBridge ui;
    ManualClock clock;
    SharedSettings settings;
    FakeAnalyzer fake;
    CVorlinDoc doc{settings, clock};
    std::unique_ptr<CRT2M> rt2m;
};

}  // namespace corvane::testing
