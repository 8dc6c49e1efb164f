#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "document/VorlinDoc.h"
#include "fakes/FakeController.h"
#include "fakes/FakeControllerModel.h"
#include "fakes/FakeNetworkBuilder.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingUiBridge.h"
#include "link/LinkTestSupport.h"
#include "link/ModelComparison.h"
#include "link/Quillex.h"
#include "settings/AppSettings.h"

namespace corvane::testing {

// The controller object on its poll thread against the fake controller, filling the real
// document. The poll clock moves only when the test moves it; the links wait on the real
// clock, briefly.
class QuillexRig {
public:
    explicit QuillexRig(FakeNetwork network = BuildFakeNetwork(6, 40),
                        std::function<void(QuillexOptions&)> tweak = {})
        : model(std::move(network)) {
        model.Install(fake);
        model.SetTimeSource([this] { return std::chrono::system_clock::to_time_t(clock.Now()); });
        fake.StartUdp();
        options.clock = &clock;
        options.network.port = fake.UdpPort();
        options.network.replyWait = kTestReplyWait;
        options.serial = {kTestReplyWait, kTestReplyWait, kTestReplyWait};
        options.pass = std::chrono::milliseconds(5);
        options.exclusiveControlRetry = std::chrono::milliseconds(5);
        options.activationPoll = std::chrono::milliseconds(5);
        if (tweak) {
            tweak(options);
        }
        quillex = std::make_unique<CQuillex>(doc, settings, options);
        doc.SetTrunkChecker(quillex.get());
    }
    ~QuillexRig() {
        quillex->Stop();
        doc.SetTrunkChecker(nullptr);
        quillex.reset();
        fake.Stop();
    }
    QuillexRig(const QuillexRig&) = delete;
    QuillexRig& operator=(const QuillexRig&) = delete;

    void StartUdp() {
        quillex->SetNetworkAddresses("127.0.0.1", "127.0.0.2");
        quillex->StartPolling();
    }
    void StartSerial() {
        fake.StartSerial();
        quillex->SetSerialPort(fake.SerialPortName());
        quillex->StartPolling();
    }

    // Waits until the condition holds, at most the limit (a guard against a hang, not a
    // measure: a first sync under ThreadSanitizer on a loaded machine has taken over 30 s);
    // moves the poll clock by the step before each look.
    bool WaitUntil(const std::function<bool()>& condition,
                   std::chrono::seconds step = std::chrono::seconds(0),
                   std::chrono::milliseconds limit = std::chrono::seconds(180)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            if (condition()) {
                return true;
            }
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            clock.Advance(step);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::vector<std::string> Differences() { return ModelDifferences(model.Network(), doc); }
    // Until the model agrees with the fake and the first poll pass has ended: its last
    // request is the compatibility query, when the controller has that capability.
    bool WaitForSync() {
        return WaitUntil([this] {
            const bool periodic = (model.Network().capabilities & 0x02) != 0;
            return Differences().empty() && (!periodic || CountOf(73) > 0);
        });
    }
    // The codes the fake received since the last clear, in order, of those given.
    std::vector<int> Codes(const std::vector<int>& only) const {
        std::vector<int> codes;
        for (const FakeRequest& r : fake.Requests()) {
            for (const int c : only) {
                if (r.code == c) {
                    codes.push_back(c);
                }
            }
        }
        return codes;
    }
    size_t CountOf(int code) const {
        size_t n = 0;
        for (const FakeRequest& r : fake.Requests()) {
            n += r.code == code ? 1 : 0;
        }
        return n;
    }
    // Alarm operations queued for the write-back: (resolved, description) of Quillex alarms.
    std::vector<std::pair<int, std::string>> QuillexAlarms() {
        std::vector<std::pair<int, std::string>> alarms;
        auto lock = doc.LockAlarms();
        for (const CAlarm& a : doc.AlarmQueue()) {
            if (a.deviceType == 0) {
                alarms.emplace_back(a.resolved, a.description);
            }
        }
        return alarms;
    }

    LinkLog logs;
    RecordingUiBridge ui;
    SharedSettings settings;
    ManualClock clock{
        std::chrono::time_point_cast<WallTime::duration>(std::chrono::system_clock::now())};
    FakeController fake;
    FakeControllerModel model;
    CVorlinDoc doc{settings, RealClock()};
    QuillexOptions options;
    std::unique_ptr<CQuillex> quillex;
};

}  // namespace corvane::testing
