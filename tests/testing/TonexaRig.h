#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "document/VorlinDoc.h"
#include "fakes/FakeTestSet.h"
#include "fakes/RecordingUiBridge.h"
#include "model/Alarm.h"
#include "model/NameTables.h"
#include "settings/AppSettings.h"
#include "testing/Tonexa.h"

namespace corvane::testing {

using namespace std::chrono_literals;

// Waits for a condition that another thread makes true; the limit only keeps a broken
// driver from hanging the suite.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = 20s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Short waits, yet long enough for a reply from a loaded machine under a sanitizer. The
// keep-alive is sent once at start and then only when a test asks for it.
inline TonexaOptions FastTonexaOptions() {
    TonexaOptions o;
    o.serial = SerialPortTimeouts{300ms, 300ms, 300ms};
    o.keepAliveInterval = 1h;
    o.passInterval = 1ms;
    o.outOfContactInterval = 1ms;
    return o;
}

// A test set on a pseudo-terminal, a document for the alarms and the driver between them.
class TonexaRig : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(testSet.DeviceName().empty());
        profile.Load("");
        profile.WriteProfileInt("Settings\\Configuration", "TonexaTimeout", 1);
        settings.Modify([&](AppSettings& s) { s.TonexaSerialPort = testSet.DeviceName(); });
    }
    void TearDown() override {
        if (tonexa) {
            tonexa->Stop();
            tonexa->Join();
        }
    }

    void Make(TonexaOptions options = FastTonexaOptions()) {
        options.loopbackDue = [this] { ++loopbackDue; };
        options.profile = &profile;
        tonexa = std::make_unique<CTonexa>(doc, settings, std::move(options));
    }
    // Starts the driver and waits until the test set has its settings.
    void StartInContact(TonexaOptions options = FastTonexaOptions()) {
        Make(std::move(options));
        tonexa->Start();
        ASSERT_TRUE(testSet.WaitForCount("CI B\r", 1));
        ASSERT_TRUE(WaitUntil([&] { return tonexa->IsConnected(); }));
    }

    // Runs one test to its end and returns its result.
    TestResultState RunTest(int allowedLoss, int loopLoss, TrunkTestMeasurement& m) {
        int timeOut = 0;
        tonexa->StartTest(7, allowedLoss, loopLoss, timeOut);
        EXPECT_EQ(timeOut, 20);
        TestResultState state = TestResultState::Running;
        EXPECT_TRUE(WaitUntil([&] {
            state = tonexa->GetTestResult(m);
            return state != TestResultState::Running;
        }));
        return state;
    }

    // The alarms of the test set queued so far.
    std::vector<CAlarm> TonexaAlarms() {
        auto lock = doc.LockAlarms();
        std::vector<CAlarm> alarms;
        for (const CAlarm& a : doc.AlarmQueue()) {
            if (a.deviceType == devicetype::kTonexa) {
                alarms.push_back(a);
            }
        }
        return alarms;
    }
    int CountAlarms(int resolved) {
        int n = 0;
        for (const CAlarm& a : TonexaAlarms()) {
            EXPECT_EQ(a.deviceIndex, 1);
            EXPECT_EQ(a.category, alarmcat::kCommunication);
            n += a.resolved == resolved ? 1 : 0;
        }
        return n;
    }
    // Any alarm of another device, a trunk's for instance.
    bool OtherAlarms() {
        auto lock = doc.LockAlarms();
        for (const CAlarm& a : doc.AlarmQueue()) {
            if (a.deviceType != devicetype::kTonexa) {
                return true;
            }
        }
        return false;
    }

    RecordingUiBridge ui;
    CProfileStore profile;
    FakeTestSet testSet;
    SharedSettings settings;
    SystemClock clock;
    CVorlinDoc doc{settings, clock};
    std::atomic<int> loopbackDue{0};
    std::unique_ptr<CTonexa> tonexa;
};

}  // namespace corvane::testing
