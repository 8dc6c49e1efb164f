// The tick: one view update with every change of the tick, none without changes, nothing
// lost to a setter that runs during a write-back, and the maintenance-port step.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "fakes/SupervisionRig.h"
#include "fakes/TrunkBetween.h"
#include "model/ViewUpdateHint.h"
#include "store/StoreFixture.h"

namespace corvane {
namespace {

using testing::RawDb;
using testing::SupervisionRig;

std::string DbPath(const SupervisionRig& rig) {
    return (rig.tree.Root() / "database/vorlin.mdb").string();
}

// A document whose controller has no line to talk on: once its lost-contact alarm is written
// the model changes only as the test changes it.
CVorlinDoc& StartWithoutController(SupervisionRig& rig) {
    rig.profile.WriteProfileInt("Settings\\Configuration", "QuillexConnectionType", 0);
    rig.profile.WriteProfileString("Settings\\Configuration", "QuillexSerialPort",
                                   (rig.tree.Root() / "no-such-tty").string());
    CVorlinDoc& doc = rig.Start();
    EXPECT_TRUE(rig.started);
    RawDb db(DbPath(rig));
    EXPECT_TRUE(rig.TickUntil(
        [&] { return db.One("SELECT COUNT(*) FROM Alarms WHERE DeviceType = 'Quillex'") == "1"; }));
    rig.updates.clear();
    return doc;
}

TEST(SupervisionTick, OneViewUpdateForAChangeAndNoneWithout) {
    SupervisionRig rig;
    CVorlinDoc& doc = StartWithoutController(rig);
    const uint64_t ticks = doc.TickCount();
    for (int i = 0; i < 10; ++i) {
        doc.OnSupervisionTick();
    }
    EXPECT_EQ(doc.TickCount(), ticks + 10);
    EXPECT_TRUE(rig.updates.empty());

    doc.SetTrunkDefinition(testing::TrunkBetween(7, 1, 3, 2, 4), true);
    doc.SetTrunkState(7, 2, true);
    doc.SetIntercomCommStatus(1, "OK MX4600", true);
    doc.OnSupervisionTick();
    ASSERT_EQ(rig.updates.size(), 1u);
    EXPECT_NE(rig.updates[0] & (hint::kTrunksAddedRemoved | hint::kTrunksEdited), 0u);
    EXPECT_NE(rig.updates[0] & hint::kIntercomsEdited, 0u);
    doc.OnSupervisionTick();
    EXPECT_EQ(rig.updates.size(), 1u);
    RawDb db(DbPath(rig));
    EXPECT_EQ(db.One("SELECT State FROM Trunks WHERE TrunkIndex = 7"), "In Use");
}

TEST(SupervisionTick, AViewThatTicksDuringTheUpdateDoesNotReenter) {
    SupervisionRig rig;
    CVorlinDoc& doc = StartWithoutController(rig);
    testing::ViewHintRecorder ticker([&doc](ViewUpdateHint) { doc.OnSupervisionTick(); });
    doc.Views().Subscribe(&ticker);
    doc.SetTrunkDefinition(testing::TrunkBetween(1, 1, 1, 2, 1), true);
    const uint64_t ticks = doc.TickCount();
    doc.OnSupervisionTick();
    EXPECT_EQ(doc.TickCount(), ticks + 1);
    EXPECT_EQ(rig.updates.size(), 1u);
    doc.Views().Unsubscribe(&ticker);
}

TEST(SupervisionTick, ASetterDuringAWriteBackIsWrittenByALaterTick) {
    SupervisionRig rig;
    CVorlinDoc& doc = StartWithoutController(rig);
    constexpr int kTrunks = 200;
    for (int t = 1; t <= kTrunks; ++t) {
        doc.SetTrunkDefinition(testing::TrunkBetween(t, 1, t, 2, t), true);
    }
    doc.OnSupervisionTick();

    std::atomic<bool> stop{false};
    std::thread poll([&] {
        for (int round = 0; !stop; ++round) {
            for (int t = 1; t <= kTrunks; ++t) {
                doc.SetTrunkState(t, (round + t) % 4, true);
            }
        }
    });
    for (int i = 0; i < 30; ++i) {
        doc.OnSupervisionTick();
    }
    stop = true;
    poll.join();
    doc.OnSupervisionTick();

    const char* names[] = {"Idle", "Alloc", "In Use", "Maint"};
    RawDb db(DbPath(rig));
    int wrong = 0;
    for (int t = 1; t <= kTrunks; ++t) {
        const std::string want = names[doc.Trunks()[t].State()];
        wrong += db.One("SELECT State FROM Trunks WHERE TrunkIndex = " + std::to_string(t)) != want;
    }
    EXPECT_EQ(wrong, 0);
}

// The maintenance port the controller reports against the one in the settings.
TEST(SupervisionTick, TheMaintenancePortFollowsTheController) {
    struct Case {
        const char* name;
        int fakeMatrix, fakePort;  // the controller's numbers; 255 and 0xFFFF for none
        int answer;                // to the question, when one comes
        int wantIntercom, wantPort;
        size_t boxes;
        bool requested;
    };
    const Case cases[] = {
        {"the same pair: nothing", 2, 11, 0, 3, 12, 0, false},
        {"a complete pair replaces the settings", 4, 6, 0, 5, 7, 0, false},
        {"none on the controller, No stores none", 255, 0xFFFF, answer::kNo, 0, 0, 1, false},
        {"none on the controller, Yes asks for the saved one", 255, 0xFFFF, answer::kYes, 3, 12, 1,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SupervisionRig rig;
        rig.model.SetMaintenancePort(static_cast<uint8_t>(c.fakeMatrix),
                                     static_cast<uint16_t>(c.fakePort));
        rig.profile.WriteProfileInt("Settings\\Configuration", "TonexaIntercom", 3);
        rig.profile.WriteProfileInt("Settings\\Configuration", "TonexaPort", 12);
        if (c.answer != 0) {
            rig.ui.QueueAnswer(c.answer);
        }
        CVorlinDoc& doc = rig.Start();
        ASSERT_TRUE(rig.started);
        doc.SetLoopbackDue(false);
        ASSERT_TRUE(rig.TickUntil([&] { return doc.IsControllerCommunicating() == true; }));
        int settled = 0;
        ASSERT_TRUE(rig.TickUntil([&] {
            const AppSettings s = rig.settings.Snapshot();
            const bool done = s.TonexaIntercom == c.wantIntercom && s.TonexaPort == c.wantPort &&
                              rig.ui.Boxes().size() == c.boxes &&
                              (!c.requested || rig.model.Network().maintenancePort == 11);
            settled = done ? settled + 1 : 0;
            return settled >= 30;
        }));
        EXPECT_EQ(doc.IsLoopbackDue(), c.requested);
        if (c.boxes > 0) {
            EXPECT_NE(rig.ui.Boxes()[0].text.find(
                          "No Intercom/Port configured for the Audio Analyzer connection"),
                      std::string::npos);
        }
        EXPECT_EQ(rig.profile.GetProfileInt("Settings\\Configuration", "TonexaPort", -1),
                  c.wantPort);
    }
}

// The question of the maintenance port holds no tick: it waits for the operator while the
// ticks go on, and its answer counts when it comes.
TEST(SupervisionTick, TheMaintenancePortQuestionWaitsForItsAnswerWhileTheTicksGoOn) {
    SupervisionRig rig;
    rig.model.SetMaintenancePort(255, 0xFFFF);
    rig.profile.WriteProfileInt("Settings\\Configuration", "TonexaIntercom", 3);
    rig.profile.WriteProfileInt("Settings\\Configuration", "TonexaPort", 12);
    CVorlinDoc& doc = rig.Start();
    ASSERT_TRUE(rig.started);
    doc.SetLoopbackDue(false);
    ASSERT_TRUE(rig.TickUntil([&] { return !rig.ui.Boxes().empty(); }));
    const testing::RecordingUiBridge::Box box = rig.ui.Boxes()[0];
    EXPECT_NE(box.text.find("No Intercom/Port configured"), std::string::npos);
    EXPECT_TRUE(box.posted);
    EXPECT_TRUE(box.unattended);
    const uint64_t ticks = doc.TickCount();
    for (int i = 0; i < 50; ++i) {
        rig.clock.Advance(std::chrono::milliseconds(100));
        doc.OnSupervisionTick();
    }
    EXPECT_EQ(doc.TickCount(), ticks + 50);
    EXPECT_EQ(rig.ui.Boxes().size(), 1u);
    EXPECT_FALSE(doc.IsLoopbackDue());
    ASSERT_TRUE(rig.ui.AnswerQuestion(answer::kYes));
    EXPECT_TRUE(doc.IsLoopbackDue());
    EXPECT_TRUE(rig.TickUntil([&] { return rig.model.Network().maintenancePort == 11; }));
}

}  // namespace
}  // namespace corvane
