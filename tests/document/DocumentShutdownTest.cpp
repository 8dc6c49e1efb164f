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

// The diagnostic log of the rig's tree while it lives.
class RigLog {
public:
    explicit RigLog(const SupervisionRig& rig) : logs_(rig.tree.Root() / "Logs") { StartDiagLog(); }
    ~RigLog() { StopDiagLog(); }
    RigLog(const RigLog&) = delete;
    RigLog& operator=(const RigLog&) = delete;

    std::string Text() const { return testing::ReadLogFolder(logs_); }

private:
    std::filesystem::path logs_;
};

TEST(DocumentShutdown, AnAlarmWhoseMessageIsLeftAtTheStopIsNotifiedAtTheNextStart) {
    SupervisionRig rig;
    RigLog log(rig);
    const char* const kind = "Settings\\Alarm Setup\\Intercom Events";
    rig.profile.WriteProfileString("Settings\\Alarm Setup", "EmailHost", "127.0.0.1");
    rig.profile.WriteProfileInt("Settings\\Alarm Setup", "EmailSMTPPort",
                                testing::ClosedLoopbackPort());
    rig.profile.WriteProfileInt(kind, "GenerateNotification", 1);
    rig.profile.WriteProfileInt(kind, "SendEmail", 1);
    rig.profile.WriteProfileString(kind, "EmailTO", "ops@example.org");
    const std::string where = " FROM Alarms WHERE DeviceType = 'Intercom' AND DeviceInstance = 3";
    {
        CVorlinDoc& doc = rig.Start();
        ASSERT_TRUE(rig.started);
        testing::RawDb db((rig.tree.Root() / "database/vorlin.mdb").string());
        // A status change raises an alarm only once a first status is stored.
        ASSERT_TRUE(rig.TickUntil([&] {
            return db.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = 3")
                       .rfind("OK", 0) == 0;
        }));
        rig.model.SetCommStatus(2, 0x01);  // the matrix is lost: an alarm to mail
        ASSERT_TRUE(rig.TickUntil([&] { return db.One("SELECT Notification" + where) == "Sent"; }))
            << db.One("SELECT Notification" + where);
        doc.OnCloseDocument();
        // No server took the message: the alarm waits for the next start.
        EXPECT_EQ(db.One("SELECT Notification" + where), "Pending");
    }
    const std::string text = log.Text();
    EXPECT_NE(text.find("Not sent before the stop: \"VORLIN Alarm : Intercom"), std::string::npos)
        << text;

    testing::AiosmtpdServer server;
    rig.profile.WriteProfileInt("Settings\\Alarm Setup", "EmailSMTPPort", server.Port());
    rig.Start();
    ASSERT_TRUE(rig.started);
    ASSERT_TRUE(rig.TickUntil([&] { return !server.Records("MESSAGE").empty(); }));
    testing::RawDb db((rig.tree.Root() / "database/vorlin.mdb").string());
    EXPECT_EQ(db.One("SELECT Notification" + where), "Sent");
    rig.doc->OnCloseDocument();
    EXPECT_EQ(server.Records("MESSAGE").size(), 1u);
    EXPECT_EQ(db.One("SELECT Notification" + where), "Sent");
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
        EXPECT_EQ(doc.SaveModified(), c.allowed);
        EXPECT_EQ(layouts.saved, c.saved);
        EXPECT_EQ(ui.Boxes().size(), c.questions);
    }
}

}  // namespace
}  // namespace corvane
