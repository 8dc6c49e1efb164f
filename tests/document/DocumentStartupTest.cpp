// The new-document step: its order, what it leaves behind, and how each failure ends it.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "document/DocumentParts.h"
#include "fakes/SupervisionRig.h"
#include "mail/NotifyAgent.h"
#include "store/StoreFixture.h"
#include "store/VorlinDatabase.h"
#include "testing/TrunkTester.h"

namespace corvane {
namespace {

using testing::SupervisionRig;

// Factories that record the order in which the document asks for its parts.
struct RecordingParts {
    explicit RecordingParts(SupervisionRig& rig) : parts(rig.Parts()) {
        auto controller = parts.createController;
        parts.createDatabase = [this, &rig](CVorlinDoc& doc) {
            steps.push_back("database");
            return std::make_unique<CVorlinDatabase>(rig.profile, rig.settings, rig.clock,
                                                     doc.DbaseLog(), databasePath);
        };
        parts.createController = [this, controller](CVorlinDoc& d) {
            steps.push_back("controller");
            return controller(d);
        };
        parts.createTester = [this](CVorlinDoc&, int type) -> std::unique_ptr<CTrunkTester> {
            steps.push_back("tester " + std::to_string(type));
            if (!testerMade) {
                return nullptr;
            }
            return std::make_unique<CDummyTester>();
        };
        parts.createAgent = [this, &rig](CVorlinDoc&, IMailQueue& queue) {
            steps.push_back("agent");
            return std::make_unique<CNotifyAgent>(queue, rig.settings, rig.clock);
        };
    }
    DocumentParts parts;
    std::string databasePath = "../database/vorlin.mdb";
    bool testerMade = true;
    std::vector<std::string> steps;
};

TEST(DocumentStartup, MakesItsPartsInOrderAndIsReadyLast) {
    SupervisionRig rig;
    rig.profile.WriteProfileString("Settings\\Configuration", "AudioAnalyzer", "RT-2M");
    RecordingParts recording(rig);
    CVorlinDoc& doc = rig.Create(recording.parts);
    EXPECT_FALSE(doc.IsReady());
    EXPECT_EQ(doc.IsControllerCommunicating(), std::nullopt);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.IsReady());
    EXPECT_EQ(recording.steps,
              (std::vector<std::string>{"database", "controller", "tester 2", "agent"}));
    // Every key exists with its value or default, and every data folder.
    EXPECT_TRUE(rig.profile.HasEntry("Settings\\Test Schedule", "AutomaticTestMode"));
    EXPECT_EQ(rig.settings.Snapshot().QuillexConnectionType, 1);
    for (const char* folder : kDocumentFolders) {
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    }
    EXPECT_TRUE(std::filesystem::exists(rig.tree.Root() / "database/vorlin.mdb"));
    ASSERT_NE(doc.Database(), nullptr);
    EXPECT_TRUE(doc.Database()->IsOpen());
    EXPECT_NE(doc.Controller(), nullptr);
    EXPECT_EQ(doc.IsTesterConnected(), false);
    EXPECT_EQ(doc.GetAnalyzerDisplayName(), "RT-2M");
}

TEST(DocumentStartup, ADatabaseThatCannotBeOpenedEndsStartUpBeforeAnyWorker) {
    SupervisionRig rig;
    RecordingParts recording(rig);
    // A folder where the file should be.
    recording.databasePath = (rig.tree.Root() / "bin").string();
    CVorlinDoc& doc = rig.Create(recording.parts);
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_EQ(recording.steps, std::vector<std::string>{"database"});
    EXPECT_FALSE(doc.IsReady());
    EXPECT_EQ(doc.Controller(), nullptr);
    EXPECT_FALSE(rig.ui.DatabaseErrors().empty() && rig.ui.Boxes().empty());
    // Not ready: the tick does nothing.
    doc.OnSupervisionTick();
    EXPECT_EQ(doc.TickCount(), 0u);
}

TEST(DocumentStartup, NoInstrumentEndsStartUpAndTheControllerIsStillStopped) {
    SupervisionRig rig;
    RecordingParts recording(rig);
    recording.testerMade = false;
    CVorlinDoc& doc = rig.Create(recording.parts);
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_EQ(recording.steps, (std::vector<std::string>{"database", "controller", "tester 0"}));
    EXPECT_FALSE(doc.IsReady());
    ASSERT_NE(doc.Controller(), nullptr);
    // What was made so far is left for the destructor, which stops the poll thread.
    rig.doc.reset();
}

TEST(DocumentStartup, TheOptionsOfTheLastRunComeBackFromTheDatabase) {
    SupervisionRig rig;
    {
        CVorlinDoc& doc = rig.Start();
        ASSERT_TRUE(rig.started);
        testing::RawDb db((rig.tree.Root() / "database/vorlin.mdb").string());
        ASSERT_TRUE(rig.TickUntil([&] {
            return db.One("SELECT COUNT(*) FROM Intercoms WHERE IntercomIndex = 3") == "1";
        }));
        doc.SetIntercomAlarmOption(2, CVorlinDoc::kCmdEnableAlarms);
        ASSERT_TRUE(doc.SetIntercomAlarmOption(2, CVorlinDoc::kCmdDisableAlarms));
        ASSERT_TRUE(rig.TickUntil([&] {
            return db.One("SELECT Alarms FROM Intercoms WHERE IntercomIndex = 2") == "0" &&
                   db.One("SELECT Alarms FROM Intercoms WHERE IntercomIndex = 3") == "-1";
        }));
        doc.OnCloseDocument();
    }
    CVorlinDoc& again = rig.Start();
    ASSERT_TRUE(rig.started);
    EXPECT_FALSE(again.Intercoms()[2].AlarmsEnabled());
    EXPECT_TRUE(again.Intercoms()[3].AlarmsEnabled());
}

// The log settings dialog lists the sources by name and keeps each level under its name.
TEST(DocumentStartup, EveryLogSourceOfTheRunningDocumentHasANameOfItsOwn) {
    SupervisionRig rig;
    rig.Start();
    ASSERT_TRUE(rig.started);
    std::multiset<std::string> names;
    CDiagLogSource::ForEach([&](const CDiagLogSource& source) { names.insert(source.Name()); });
    EXPECT_EQ(names.count("Dbase"), 1u);
    for (const std::string& name : names) {
        EXPECT_TRUE(name.empty() || names.count(name) == 1) << name;
    }
}

}  // namespace
}  // namespace corvane
