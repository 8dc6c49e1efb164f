// The close: the may-close question, and the stop order of the three workers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "fakes/AiosmtpdServer.h"
#include "fakes/LogCapture.h"
#include "fakes/ScriptedSmtpPeer.h"
#include "fakes/SupervisionRig.h"
#include "mail/NotifyAgent.h"
#include "store/StoreFixture.h"
#include "testing/TrunkTester.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing::RigLog;
using testing::SupervisionRig;

// What the slow instrument saw of the other two workers when the document stopped it.
struct StopRecord {
    bool controllerRunningAtStop = false;
    bool controllerGoneAtJoin = false;
    bool agentStoppedDuringJoin = false;
    bool joinedAfterStop = false;
};

// An instrument whose worker takes a while to end after Stop and writes its own memory
// until then, so that freeing it early shows under AddressSanitizer.
class SlowTester final : public CTrunkTester {
public:
    SlowTester(CVorlinDoc& doc, CNotifyAgent*& agent, StopRecord& record)
        : doc_(doc), agent_(agent), record_(record) {}
    ~SlowTester() override { Join(); }

    void Start() override {
        stopped_ = false;
        thread_ = std::thread([this] {
            while (!stop_) {
                std::this_thread::sleep_for(1ms);
            }
            for (int i = 0; i < 30; ++i) {
                std::this_thread::sleep_for(10ms);
                work_[static_cast<size_t>(i) % work_.size()] = i;
            }
            stopped_ = true;
        });
    }
    void Stop() override {
        record_.controllerRunningAtStop =
            doc_.Controller() != nullptr && !doc_.Controller()->IsStopped();
        stop_ = true;
    }
    void Join() override {
        if (!thread_.joinable()) {
            return;
        }
        record_.controllerGoneAtJoin = doc_.Controller() == nullptr;
        // The agent was told to stop before the first join, so it ends meanwhile.
        for (int i = 0; i < 200 && agent_ != nullptr && !agent_->IsStopped(); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        record_.agentStoppedDuringJoin = agent_ != nullptr && agent_->IsStopped();
        thread_.join();
        record_.joinedAfterStop = stopped_;
    }
    bool IsStopped() const override { return stopped_; }
    bool IsConnected() const override { return false; }
    void StartTest(int, int, int, int&) override {}
    TestResultState GetTestResult(TrunkTestMeasurement&) override {
        return TestResultState::NoResult;
    }
    void SetReinitRequested(bool) override {}
    bool IsDisconnectRequested() const override { return false; }
    void SetDisconnectRequested(bool) override {}

private:
    CVorlinDoc& doc_;
    CNotifyAgent*& agent_;
    StopRecord& record_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> stopped_{true};
    std::vector<int> work_ = std::vector<int>(64);
    std::thread thread_;
};

TEST(DocumentShutdown, FlagsEveryWorkerFirstThenJoinsControllerInstrumentAgent) {
    SupervisionRig rig;
    StopRecord record;
    CNotifyAgent* agent = nullptr;
    DocumentParts parts = rig.Parts();
    parts.createTester = [&](CVorlinDoc& d, int) -> std::unique_ptr<CTrunkTester> {
        return std::make_unique<SlowTester>(d, agent, record);
    };
    parts.createAgent = [&](CVorlinDoc&, IMailQueue& queue) {
        auto made = std::make_unique<CNotifyAgent>(queue, rig.settings, rig.clock);
        agent = made.get();
        return made;
    };
    CVorlinDoc& doc = rig.Create(std::move(parts));
    ASSERT_TRUE(doc.OnNewDocument());
    ASSERT_TRUE(rig.TickUntil([&] { return doc.IsControllerCommunicating() == true; }));
    EXPECT_FALSE(agent->IsStopped());

    doc.OnCloseDocument();
    EXPECT_TRUE(record.controllerRunningAtStop);
    EXPECT_TRUE(record.controllerGoneAtJoin);
    EXPECT_TRUE(record.agentStoppedDuringJoin);
    EXPECT_TRUE(record.joinedAfterStop);
    EXPECT_EQ(doc.Controller(), nullptr);
    EXPECT_EQ(doc.Tester(), nullptr);
    EXPECT_EQ(doc.Database(), nullptr);
    EXPECT_FALSE(doc.IsReady());
    // A second close, and the destructor after it, find nothing left to stop.
    doc.OnCloseDocument();
}

TEST(DocumentShutdown, AStopRightAfterAStartIsNotTakenForStopped) {
    SupervisionRig rig;
    CVorlinDoc& doc = rig.Start();
    ASSERT_TRUE(rig.started);
    EXPECT_FALSE(doc.Controller()->IsStopped());
    doc.OnCloseDocument();
}

// Intercom alarms mailed through the server on the port, to the given recipients.
void MailIntercomAlarms(SupervisionRig& rig, int port, const std::string& email,
                        const std::string& pager = "") {
    const char* const kind = "Settings\\Alarm Setup\\Intercom Events";
    rig.profile.WriteProfileString("Settings\\Alarm Setup", "EmailHost", "127.0.0.1");
    rig.profile.WriteProfileInt("Settings\\Alarm Setup", "EmailSMTPPort", port);
    rig.profile.WriteProfileInt(kind, "GenerateNotification", 1);
    rig.profile.WriteProfileInt(kind, "SendEmail", 1);
    rig.profile.WriteProfileString(kind, "EmailTO", email);
    rig.profile.WriteProfileInt(kind, "SendPage", pager.empty() ? 0 : 1);
    rig.profile.WriteProfileString(kind, "PagerTO", pager);
}

const std::string kIntercom3 = " FROM Alarms WHERE DeviceType = 'Intercom' AND DeviceInstance = 3";

// Intercom 3 is lost once its first status is stored (no change raises an alarm before), and
// its alarm is handed to the agent.
void LoseIntercom3(SupervisionRig& rig, testing::RawDb& db) {
    ASSERT_TRUE(rig.TickUntil([&] {
        return db.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = 3").rfind("OK", 0) == 0;
    }));
    rig.model.SetCommStatus(2, 0x01);
    ASSERT_TRUE(rig.TickUntil([&] { return db.One("SELECT Notification" + kIntercom3) == "Sent"; }))
        << db.One("SELECT Notification" + kIntercom3);
}

TEST(DocumentShutdown, AMessageLeftAtTheStopWaitsInTheOutboxAndGoesOutAtTheNextStart) {
    SupervisionRig rig;
    RigLog log(rig);
    MailIntercomAlarms(rig, testing::ClosedLoopbackPort(), "ops@example.org");
    {
        CVorlinDoc& doc = rig.Start();
        ASSERT_TRUE(rig.started);
        testing::RawDb db((rig.tree.Root() / "database/vorlin.mdb").string());
        LoseIntercom3(rig, db);
        doc.OnCloseDocument();
        // No server took the message: it waits in the outbox, and its alarm reads as it did.
        EXPECT_EQ(db.One("SELECT Notification" + kIntercom3), "Sent");
    }
    const std::string text = log.Text();
    EXPECT_NE(text.find("Not sent before the stop: \"VORLIN Alarm : Intercom"), std::string::npos)
        << text;
    EXPECT_NE(text.find("it waits in the mail outbox for the next start"), std::string::npos);

    testing::AiosmtpdServer server;
    rig.profile.WriteProfileInt("Settings\\Alarm Setup", "EmailSMTPPort", server.Port());
    rig.Start();
    ASSERT_TRUE(rig.started);
    ASSERT_TRUE(rig.TickUntil([&] { return !server.Records("MESSAGE").empty(); }));
    rig.doc->OnCloseDocument();
    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].Field("data").find("Subject: VORLIN Alarm : Intercom"),
              std::string::npos);
    testing::RawDb db((rig.tree.Root() / "database/vorlin.mdb").string());
    EXPECT_EQ(db.One("SELECT Notification" + kIntercom3), "Sent");
}

TEST(DocumentShutdown, OfTwoMessagesTheNextStartSendsOnlyTheOneNotDelivered) {
    SupervisionRig rig;
    testing::AiosmtpdServer server({.deferred = {"pager@example.org"}});
    MailIntercomAlarms(rig, server.Port(), "ops@example.org", "pager@example.org");
    {
        CVorlinDoc& doc = rig.Start();
        ASSERT_TRUE(rig.started);
        testing::RawDb db((rig.tree.Root() / "database/vorlin.mdb").string());
        LoseIntercom3(rig, db);
        // The e-mail is delivered, the pager message refused for now.
        ASSERT_TRUE(rig.TickUntil([&] {
            return server.Records("MESSAGE").size() == 1 && !server.Records("DEFERRED").empty();
        }));
        doc.OnCloseDocument();
    }
    server.Restart({});
    rig.Start();
    ASSERT_TRUE(rig.started);
    ASSERT_TRUE(rig.TickUntil([&] { return server.Records("MESSAGE").size() >= 2; }));
    rig.doc->OnCloseDocument();
    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].Fields("to"), std::vector<std::string>{"ops@example.org"});
    EXPECT_EQ(messages[1].Fields("to"), std::vector<std::string>{"pager@example.org"});
}

class LayoutOwner final : public ILayoutOwner {
public:
    std::vector<std::string> changed;
    std::vector<std::string> saved;
    std::vector<std::string> ChangedLayouts() const override { return changed; }
    bool SaveLayout(const std::string& name) override {
        saved.push_back(name);
        return true;
    }
};

TEST(DocumentShutdown, TheMayCloseQuestions) {
    struct Case {
        const char* name;
        bool operationsPending;
        bool autoSave;
        std::vector<int> answers;
        bool allowed;
        std::vector<std::string> saved;
        size_t questions;
        bool layoutsChanged = true;
        // A signal makes the close unattended: 0 before it, n while its n-th box is up.
        int signalAt = -1;
    };
    const Case cases[] = {
        {"nothing pending, nothing changed", false, false, {}, true, {}, 0, false},
        {"operations pending, No keeps running", true, false, {answer::kNo}, false, {}, 1},
        {"operations pending, Yes closes",
         true,
         false,
         {answer::kYes, answer::kNo, answer::kNo},
         true,
         {},
         3},
        {"auto save saves without asking", false, true, {}, true, {"one", "two"}, 0},
        {"Yes saves, No skips", false, false, {answer::kNo, answer::kYes}, true, {"two"}, 2},
        {"Cancel refuses the close", false, false, {answer::kCancel}, false, {}, 1},
        {"a signal asks nothing and saves", true, false, {}, true, {"one", "two"}, 0, true, 0},
        {"a signal under the operations question",
         true,
         false,
         {answer::kNo},
         true,
         {"one", "two"},
         1,
         true,
         1},
        {"a signal under the second layout question",
         false,
         false,
         {answer::kNo, answer::kCancel},
         true,
         {"two"},
         2,
         true,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SharedSettings settings;
        settings.Modify([&](AppSettings& s) { s.AutoSaveLayouts = c.autoSave; });
        LayoutOwner layouts;
        if (c.layoutsChanged) {
            layouts.changed = {"one", "two"};
        }
        DocumentParts parts;
        parts.layouts = &layouts;
        testing::RecordingUiBridge ui;
        for (const int a : c.answers) {
            ui.QueueAnswer(a);
        }
        testing::ManualClock clock;
        CVorlinDoc doc(settings, clock, std::move(parts));
        doc.SetTrunkOperationsPending(c.operationsPending);
        if (c.signalAt == 0) {
            doc.SetUnattendedClose();
        }
        ui.whileShown = [&](size_t shown) {
            if (static_cast<int>(shown) == c.signalAt) {
                doc.SetUnattendedClose();
            }
        };
        EXPECT_EQ(doc.SaveModified(), c.allowed);
        EXPECT_EQ(layouts.saved, c.saved);
        EXPECT_EQ(ui.Boxes().size(), c.questions);
    }
}

// What an unattended close writes of the trunk operations it leaves and the layouts it keeps.
TEST(DocumentShutdown, AnUnattendedCloseLogsWhatItLeavesAndWhatItSaves) {
    testing::LogCapture capture("Document", 0);
    SharedSettings settings;
    LayoutOwner layouts;
    layouts.changed = {"north"};
    DocumentParts parts;
    parts.layouts = &layouts;
    testing::RecordingUiBridge ui;
    testing::ManualClock clock;
    CVorlinDoc doc(settings, clock, std::move(parts));
    ASSERT_TRUE(doc.QueueTrunkTest(true, 5, true, true));
    doc.SetUnattendedClose();
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(ui.Boxes().empty());
    const std::string log = capture.Text();
    EXPECT_NE(log.find("Closing without asking while trunk operations are in progress; left to "
                       "the controller: tests queued for trunk 5"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Changed layout north saved at the close"), std::string::npos) << log;
}

TEST(DocumentShutdown, PendingTrunkOperationsAreListedInRuns) {
    struct Case {
        const char* name;
        std::vector<int> tests;
        std::vector<int> toMaintenance;
        std::vector<int> toService;
        const char* text;
    };
    const Case cases[] = {
        {"none", {}, {}, {}, "none is left"},
        {"one test", {7}, {}, {}, "tests queued for trunk 7"},
        {"runs and single ones",
         {2, 3, 4, 9, 11, 12},
         {},
         {},
         "tests queued for trunks 2-4, 9, 11-12"},
        {"the first and the last trunk", {1, 10000}, {}, {}, "tests queued for trunks 1, 10000"},
        {"maintenance both ways",
         {},
         {5},
         {12, 13},
         "maintenance mode asked for trunk 5; return to service asked for trunks 12-13"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SharedSettings settings;
        testing::ManualClock clock;
        CVorlinDoc doc(settings, clock);
        for (const int n : c.tests) {
            ASSERT_TRUE(doc.QueueTrunkTest(true, n, true, true));
        }
        for (const int n : c.toMaintenance) {
            ASSERT_TRUE(doc.RequestSetMaintenance(n, false));
        }
        for (const int n : c.toService) {
            ASSERT_TRUE(doc.RequestClearMaintenance(n));
        }
        EXPECT_EQ(doc.DescribePendingTrunkOperations(), c.text);
    }
}

}  // namespace
}  // namespace corvane
