// The document end to end: the fake controller on loopback UDP, the real workers, the real
// database file, the tick driven by the test.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "fakes/FakeTrunkStates.h"
#include "fakes/SupervisionRig.h"
#include "model/ViewUpdateHint.h"
#include "store/StoreFixture.h"

namespace corvane {
namespace {

using testing::FakeMatrix;
using testing::FakeNetwork;
using testing::FakeQueuedRequest;
using testing::FakeTrunk;
using testing::RawDb;
using testing::SupervisionRig;

std::string Int(int v) {
    return std::to_string(v);
}

// Where the database file differs from the fake's network, one line each.
std::vector<std::string> DatabaseDifferences(const FakeNetwork& n, RawDb& db) {
    std::vector<std::string> out;
    auto expect = [&out](const std::string& what, const std::string& want, const std::string& got) {
        if (want != got) {
            out.push_back(what + ": want '" + want + "', got '" + got + "'");
        }
    };
    for (size_t m = 0; m < n.matrices.size(); ++m) {
        const int index = static_cast<int>(m) + 1;
        expect("name of intercom " + Int(index), n.matrices[m].name,
               db.One("SELECT IntercomName FROM Intercoms WHERE IntercomIndex = " + Int(index)));
    }

    std::map<std::pair<int, int>, std::pair<int, int>> summary;  // (from, to) -> trunks, in use
    int defined = 0;
    for (size_t t = 0; t < n.trunks.size(); ++t) {
        const FakeTrunk& ft = n.trunks[t];
        if (!ft.defined) {
            continue;
        }
        ++defined;
        const std::string where = " FROM Trunks WHERE TrunkIndex = " + Int(static_cast<int>(t) + 1);
        const std::string ends = Int(ft.end1Intercom + 1) + "/" + Int(ft.end1Number + 1) + "-" +
                                 Int(ft.end2Intercom + 1) + "/" + Int(ft.end2Number + 1);
        expect("ends of trunk " + Int(static_cast<int>(t) + 1), ends,
               db.One("SELECT End1IntercomIndex || '/' || End1Number || '-' || "
                      "End2IntercomIndex || '/' || End2Number" +
                      where));
        expect("state of trunk " + Int(static_cast<int>(t) + 1), testing::TrunkStateName(ft.status),
               db.One("SELECT State" + where));
        const int a = ft.end1Intercom + 1;
        const int b = ft.end2Intercom + 1;
        const int inUse = (ft.status & ~0x08) == 3 ? 1 : 0;
        for (const auto& key :
             {std::pair{a, b}, std::pair{0, a}, std::pair{b, a}, std::pair{0, b}}) {
            summary[key].first += 1;
            summary[key].second += inUse;
        }
    }
    expect("trunk rows", Int(defined), db.One("SELECT COUNT(*) FROM Trunks"));
    std::map<std::pair<int, int>, std::pair<int, int>> rows;
    for (const auto& r : db.Query("SELECT FromIntercomIndex, ToIntercomIndex, NumTrunks, NumInUse "
                                  "FROM TrunkSummary WHERE NumTrunks > 0")) {
        rows[{std::stoi(r[0]), std::stoi(r[1])}] = {std::stoi(r[2]), std::stoi(r[3])};
    }
    if (rows != summary) {
        out.push_back("TrunkSummary rows differ: want " + Int(static_cast<int>(summary.size())) +
                      " rows, got " + Int(static_cast<int>(rows.size())));
    }

    std::set<std::tuple<int, int, std::string>> alphas;
    for (size_t m = 0; m < n.matrices.size(); ++m) {
        for (size_t kind = 0; kind < n.matrices[m].alphas.size(); ++kind) {
            const auto& list = n.matrices[m].alphas[kind];
            for (size_t i = 0; i < list.size(); ++i) {
                if (!list[i].empty()) {
                    alphas.insert({static_cast<int>(m) + 1, static_cast<int>(i) + 1, list[i]});
                }
            }
        }
    }
    std::set<std::tuple<int, int, std::string>> alphaRows;
    for (const auto& r : db.Query("SELECT IntercomIndex, Number, Alpha FROM Alphas")) {
        alphaRows.insert({std::stoi(r[0]), std::stoi(r[1]), r[2]});
    }
    if (alphaRows != alphas) {
        out.push_back("Alphas differ: want " + Int(static_cast<int>(alphas.size())) +
                      " rows, got " + Int(static_cast<int>(alphaRows.size())));
    }

    std::multiset<std::pair<int, int>> queued;
    for (const FakeMatrix& m : n.matrices) {
        for (const FakeQueuedRequest& q : m.queued) {
            queued.insert({q.sourceIntercom + 1, q.destinationIntercom + 1});
        }
    }
    std::multiset<std::pair<int, int>> requestRows;
    for (const auto& r : db.Query("SELECT End1IntercomIndex, End2IntercomIndex FROM Requests "
                                  "WHERE State = 'Queued'")) {
        requestRows.insert({std::stoi(r[0]), std::stoi(r[1])});
    }
    if (requestRows != queued) {
        out.push_back("queued Requests differ: want " + Int(static_cast<int>(queued.size())) +
                      " rows, got " + Int(static_cast<int>(requestRows.size())));
    }
    return out;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& l : lines) {
        all += l + "\n";
    }
    return all;
}

class SupervisionEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        rig.Start();
        ASSERT_TRUE(rig.started);
        ASSERT_TRUE(rig.doc->IsReady());
    }
    std::string DbPath() const { return (rig.tree.Root() / "database/vorlin.mdb").string(); }
    // Ticks until the file shows the fake's network.
    bool TickUntilInSync(RawDb& db) {
        return rig.TickUntil([&] { return DatabaseDifferences(rig.model.Network(), db).empty(); });
    }

    SupervisionRig rig;
};

TEST_F(SupervisionEndToEnd, TheDatabaseFollowsTheControllerTickByTick) {
    RawDb db(DbPath());
    ASSERT_TRUE(TickUntilInSync(db)) << Join(DatabaseDifferences(rig.model.Network(), db));

    // Quiet until the poll thread has nothing more to report, then one trunk changes.
    int quietTicks = 0;
    ASSERT_TRUE(rig.TickUntil([&] {
        const size_t before = rig.updates.size();
        rig.doc->OnSupervisionTick();
        quietTicks = rig.updates.size() == before ? quietTicks + 1 : 0;
        return quietTicks >= 20;
    }));
    int trunk = 0;
    const FakeNetwork n = rig.model.Network();
    while (!n.trunks[static_cast<size_t>(trunk)].defined ||
           (n.trunks[static_cast<size_t>(trunk)].status & ~0x08) == 3) {
        ++trunk;
    }
    // The change reaches the model between two ticks; the next tick writes it in one update.
    rig.model.SetTrunkStatus(trunk, 3);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((rig.doc->Trunks()[static_cast<size_t>(trunk) + 1].State() != 2 ||
            rig.model.HasPendingChanges()) &&
           std::chrono::steady_clock::now() < end) {
        rig.clock.Advance(std::chrono::milliseconds(100));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The usage follows the state within the same poll pass.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    rig.updates.clear();
    rig.doc->OnSupervisionTick();
    const std::string where = " FROM Trunks WHERE TrunkIndex = " + Int(trunk + 1);
    EXPECT_EQ(db.One("SELECT State" + where), "In Use");
    ASSERT_EQ(rig.updates.size(), 1u);
    EXPECT_NE(rig.updates[0] & hint::kTrunksEdited, 0u);

    // A matrix the controller loses: its new status and a communication alarm.
    rig.model.SetCommStatus(2, 0x01);
    ASSERT_TRUE(rig.TickUntil([&] {
        return db.One(
                   "SELECT COUNT(*) FROM Alarms WHERE DeviceType = 'Intercom' AND "
                   "DeviceInstance = 3 AND State = 'Active'") == "1";
    })) << Join(rig.ui.DatabaseErrors());
    EXPECT_EQ(db.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = 3").rfind("OK", 0),
              std::string::npos);

    rig.doc->OnCloseDocument();
    EXPECT_FALSE(rig.doc->IsReady());
    EXPECT_EQ(rig.doc->Controller(), nullptr);

    // Any other reader of the file sees the same, the sqlite3 tool among them.
    const std::string command =
        "sqlite3 -readonly '" + DbPath() +
        "' \"SELECT State FROM Trunks WHERE TrunkIndex = " + Int(trunk + 1) + "\"";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[64] = {};
    ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
    ::pclose(pipe);
    EXPECT_EQ(std::string(line), "In Use\n");
}

TEST_F(SupervisionEndToEnd, ALockHeldByAnotherProgramStopsNeitherTheTicksNorTheWrites) {
    RawDb db(DbPath());
    ASSERT_TRUE(TickUntilInSync(db)) << Join(DatabaseDifferences(rig.model.Network(), db));
    const FakeNetwork n = rig.model.Network();
    int trunk = 0;
    while (!n.trunks[static_cast<size_t>(trunk)].defined ||
           (n.trunks[static_cast<size_t>(trunk)].status & ~0x08) == 4) {
        ++trunk;
    }

    // A status change raises an alarm only once a first status is stored.
    ASSERT_TRUE(rig.TickUntil([&] {
        return db.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = 3").rfind("OK", 0) == 0;
    }));

    // An operator's sqlite3 session holds a transaction open for several seconds, longer
    // than any write waits for it.
    db.Exec("BEGIN IMMEDIATE");
    rig.model.SetTrunkStatus(trunk, 4);
    rig.model.SetCommStatus(2, 0x01);
    const uint64_t ticks = rig.doc->TickCount();
    for (int i = 0; i < 30; ++i) {
        rig.clock.Advance(std::chrono::milliseconds(100));
        rig.doc->OnSupervisionTick();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(rig.doc->TickCount(), ticks + 30);
    EXPECT_TRUE(rig.doc->IsReady());
    EXPECT_EQ(rig.ui.DatabaseErrors().size(), 1u) << Join(rig.ui.DatabaseErrors());
    db.Exec("COMMIT");

    // What the controller reported meanwhile reaches the file once the lock is gone.
    ASSERT_TRUE(TickUntilInSync(db)) << Join(DatabaseDifferences(rig.model.Network(), db));
    EXPECT_EQ(db.One("SELECT State FROM Trunks WHERE TrunkIndex = " + Int(trunk + 1)), "Maint");
    ASSERT_TRUE(rig.TickUntil([&] {
        return db.One(
                   "SELECT COUNT(*) FROM Alarms WHERE DeviceType = 'Intercom' AND "
                   "DeviceInstance = 3 AND State = 'Active'") == "1";
    }));
    EXPECT_EQ(rig.ui.DatabaseErrors().size(), 1u) << Join(rig.ui.DatabaseErrors());
}

}  // namespace
}  // namespace corvane
