// The window over the live document while another program holds the database's write lock:
// the error box stays up unanswered, and the supervision goes on under it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <functional>
#include <string>

#include "app/MainFrame.h"
#include "fakes/FakeTrunkStates.h"
#include "fakes/SupervisionRig.h"
#include "platform/ProfileStore.h"
#include "store/StoreFixture.h"
#include "ui/AppResources.h"
#include "ui/QtUiBridge.h"
#include "ui/XMessageBox.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;

// Trunk states of the database that differ from the fake controller's, one line each.
std::string TrunkStatesDiffering(const testing::FakeNetwork& network, testing::RawDb& db) {
    std::string out;
    for (size_t t = 0; t < network.trunks.size(); ++t) {
        if (!network.trunks[t].defined) {
            continue;
        }
        const std::string number = std::to_string(t + 1);
        const std::string stored = db.One("SELECT State FROM Trunks WHERE TrunkIndex = " + number);
        if (stored != testing::TrunkStateName(network.trunks[t].status)) {
            out += "trunk " + number + ": " + stored + "\n";
        }
    }
    return out;
}

class DatabaseOutageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(resources_.Load(QApplication::palette()));
        profile_.Load("");
        ASSERT_TRUE(rig_.started);
        bridge_.SetBoxOwner(&frame_);
        bridge_.Install();
        QObject::connect(&frame_, &CMainFrame::Closing, &bridge_, &CQtUiBridge::DismissOpenBoxes);
        frame_.SetDocument(&doc_);
        frame_.show();
        // A box that ran an event loop of its own would hold the tick: this guard meets it
        // there, notes it and closes it, so that the test goes on to tell.
        QObject::connect(&guard_, &QTimer::timeout, [this] {
            if (QThread::currentThread()->loopLevel() > 0) {
                if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    heldTheTick_ = true;
                    box->done(0);
                }
            }
        });
        guard_.start(50);
    }

    // Runs the window's event loop until the condition holds, the program's clock moving by a
    // tick period with each tick; false when it did not within the bound (a guard against a
    // hang, not a measure).
    bool ServeUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + 60s;
        uint64_t ticks = doc_.TickCount();
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (doc_.TickCount() != ticks) {
                ticks = doc_.TickCount();
                rig_.clock.Advance(100ms);
            }
        }
        return true;
    }
    // Serves until the condition holds and two more ticks have seen it.
    bool ServeUntilTicksSee(const std::function<bool()>& done) {
        if (!ServeUntil(done)) {
            return false;
        }
        const uint64_t ticks = doc_.TickCount();
        return ServeUntil([&] { return doc_.TickCount() >= ticks + 2; });
    }
    std::string DatabaseBoxText() const {
        for (QDialog* box : bridge_.OpenBoxes()) {
            const std::string text = box->findChild<QLabel*>("message")->text().toStdString();
            if (text.find("database is locked") != std::string::npos) {
                return text;
            }
        }
        return {};
    }

    CAppResources resources_;
    CProfileStore profile_;
    testing::SupervisionRig rig_;
    CVorlinDoc& doc_ = rig_.Start();
    CMainFrame frame_{resources_, profile_, 10ms};
    CQtUiBridge bridge_;
    QTimer guard_;
    bool heldTheTick_ = false;
};

TEST_F(DatabaseOutageTest, TheErrorBoxLeftUnansweredStopsNoSupervision) {
    testing::RawDb db((rig_.tree.Root() / "database/vorlin.mdb").string());
    const auto intercom2 = [&] {
        return db.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = 2");
    };
    ASSERT_TRUE(ServeUntil([&] {
        return TrunkStatesDiffering(rig_.model.Network(), db).empty() &&
               db.One("SELECT COUNT(*) FROM Trunks") != "0" && intercom2().rfind("OK", 0) == 0;
    }));

    // An operator's sqlite3 session holds the write lock for 40 s of the program's time.
    db.Exec("BEGIN IMMEDIATE");
    const WallTime lockedAt = rig_.clock.Now();
    const testing::FakeNetwork network = rig_.model.Network();
    int changed = 0;
    for (size_t t = 0; t < network.trunks.size() && changed < 6; ++t) {
        if (network.trunks[t].defined) {
            rig_.model.SetTrunkStatus(static_cast<int>(t), changed % 2 == 0 ? 3 : 4);
            ++changed;
        }
    }
    ASSERT_TRUE(ServeUntil([&] { return !DatabaseBoxText().empty(); }));
    EXPECT_EQ(DatabaseBoxText().rfind("Error, updating ", 0), 0u) << DatabaseBoxText();

    // The controller loses intercom 2 and gets it back, each seen by the ticks under the box.
    const uint64_t ticksUnderTheBox = doc_.TickCount();
    rig_.model.SetCommStatus(1, 0x01);
    ASSERT_TRUE(ServeUntilTicksSee([&] { return !doc_.IsIntercomCommunicating(2); }));
    rig_.model.SetCommStatus(1, 0x81);
    ASSERT_TRUE(ServeUntilTicksSee([&] { return doc_.IsIntercomCommunicating(2); }));
    ASSERT_TRUE(ServeUntil([&] { return rig_.clock.Now() - lockedAt >= 40s; }));
    EXPECT_GT(doc_.TickCount(), ticksUnderTheBox + 100);
    EXPECT_EQ(intercom2().rfind("OK", 0), 0u);
    db.Exec("COMMIT");

    // Once the lock is gone every state reaches the file, and the intercom's alarm with it.
    EXPECT_TRUE(ServeUntil([&] {
        return TrunkStatesDiffering(rig_.model.Network(), db).empty() &&
               db.One(
                   "SELECT COUNT(*) FROM Alarms WHERE DeviceType = 'Intercom' AND "
                   "DeviceInstance = 2 AND Description = 'Lost contact with intercom' AND "
                   "State = 'Resolved'") == "1";
    })) << TrunkStatesDiffering(rig_.model.Network(), db)
        << db.One("SELECT group_concat(Description || ' ' || State) FROM Alarms");
    EXPECT_FALSE(DatabaseBoxText().empty()) << "the box is still up, unanswered";
    EXPECT_FALSE(heldTheTick_);

    // A close (a signal's) dismisses it and closes in order.
    EXPECT_TRUE(frame_.close());
    EXPECT_TRUE(bridge_.OpenBoxes().empty());
    EXPECT_EQ(frame_.Document(), nullptr);
    EXPECT_FALSE(doc_.IsReady());
}

}  // namespace
}  // namespace corvane
