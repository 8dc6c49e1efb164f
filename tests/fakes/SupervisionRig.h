#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "document/VorlinDoc.h"
#include "fakes/FakeController.h"
#include "fakes/FakeControllerModel.h"
#include "fakes/FakeNetworkBuilder.h"
#include "fakes/LogCapture.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingUiBridge.h"
#include "fakes/TempDir.h"
#include "fakes/ViewHintRecorder.h"
#include "link/Quillex.h"
#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"

namespace corvane::testing {

// The whole document in a temporary working tree: an in-memory profile that names the fake
// controller on loopback UDP, the real database file, the real workers, a manual clock and a
// recording user interface. The test drives the tick.
class SupervisionRig {
public:
    explicit SupervisionRig(FakeNetwork network = BuildFakeNetwork(6, 40))
        : model(std::move(network)) {
        model.Install(fake);
        fake.StartUdp();
        profile.Load("");
        profile.WriteProfileInt("Settings\\Configuration", "QuillexConnectionType", 1);
        profile.WriteProfileString("Settings\\Configuration", "QuillexMainIPAddress", "127.0.0.1");
        profile.WriteProfileString("Settings\\Configuration", "QuillexPartnerIPAddress",
                                   "127.0.0.2");
    }
    ~SupervisionRig() {
        doc.reset();
        fake.Stop();
    }
    SupervisionRig(const SupervisionRig&) = delete;
    SupervisionRig& operator=(const SupervisionRig&) = delete;

    // The parts of a document on this rig; a test may replace factories before Create.
    DocumentParts Parts() {
        DocumentParts parts;
        parts.profile = &profile;
        parts.createController = [this](CVorlinDoc& d) {
            QuillexOptions options;
            options.clock = &clock;
            options.network.port = fake.UdpPort();
            options.network.replyWait = std::chrono::milliseconds(600);
            options.pass = std::chrono::milliseconds(5);
            options.exclusiveControlRetry = std::chrono::milliseconds(5);
            options.activationPoll = std::chrono::milliseconds(5);
            return std::make_unique<CQuillex>(d, settings, options);
        };
        return parts;
    }
    CVorlinDoc& Create(DocumentParts parts) {
        doc = std::make_unique<CVorlinDoc>(settings, clock, std::move(parts));
        doc->Views().Subscribe(&recorder);
        return *doc;
    }
    CVorlinDoc& Start() {
        Create(Parts());
        started = doc->OnNewDocument();
        return *doc;
    }

    // Ticks until the condition holds, at most the limit (a guard against a hang, not a
    // measure); each tick moves the clock by the tick period.
    bool TickUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds limit = std::chrono::seconds(30)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            clock.Advance(std::chrono::milliseconds(100));
            doc->OnSupervisionTick();
            if (condition()) {
                return true;
            }
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    ScopedWorkingTree tree;
    FakeController fake;
    FakeControllerModel model;
    CProfileStore profile;
    SharedSettings settings;
    ManualClock clock;
    RecordingUiBridge ui;
    std::unique_ptr<CVorlinDoc> doc;
    std::vector<uint32_t> updates;
    ViewHintRecorder recorder{[this](ViewUpdateHint hint) { updates.push_back(hint); }};
    bool started = false;
};

// The diagnostic log of the rig's tree while it lives.
class RigLog {
public:
    explicit RigLog(const SupervisionRig& rig) : logs_(rig.tree.Root() / "Logs") { StartDiagLog(); }
    ~RigLog() { StopDiagLog(); }
    RigLog(const RigLog&) = delete;
    RigLog& operator=(const RigLog&) = delete;

    std::string Text() const { return ReadLogFolder(logs_); }

private:
    std::filesystem::path logs_;
};

}  // namespace corvane::testing
