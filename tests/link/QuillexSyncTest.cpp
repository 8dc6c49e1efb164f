// The controller object against the fake controller, end to end into the real document: the
// initial sync over both wires, changes as the polling brings them, lost contact, failover to
// the partner and the maintenance sequences on the wire.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "link/QuillexRig.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing::FakeMaintenanceOutcomes;
using testing::FakeNode;
using testing::QuillexRig;

constexpr int kHello = 36, kChangeQuery = 38, kTrunkStatus = 14, kInspect = 35, kCompatibility = 73;

// A defined trunk that is idle on the fake.
int IdleTrunk(const testing::FakeNetwork& n) {
    for (size_t t = 0; t < n.trunks.size(); ++t) {
        if (n.trunks[t].defined && n.trunks[t].status == 0) {
            return static_cast<int>(t);
        }
    }
    return -1;
}

int ModelState(QuillexRig& rig, int trunk) {
    return rig.doc.Trunks()[static_cast<size_t>(trunk) + 1].State();
}

TEST(QuillexSyncTest, InitialSyncOverUdpFillsTheModelAsTheControllerHasIt) {
    QuillexRig rig;
    ASSERT_FALSE(rig.Differences().empty());
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync()) << ::testing::PrintToString(rig.Differences());
    EXPECT_TRUE(rig.quillex->IsCommunicating());
    EXPECT_EQ(rig.quillex->GetVersionString(), "Fake Quillex 1.0");
    int matrix = 0, port = 0;
    rig.quillex->GetMaintenancePort(matrix, port);
    EXPECT_EQ(matrix, 1);
    EXPECT_EQ(port, 6);
    // Raised by the first connect, resolved by the first reply.
    EXPECT_EQ(rig.QuillexAlarms(), (std::vector<std::pair<int, std::string>>{
                                       {0, "Lost contact with Quillex"}, {1, ""}}));
}

TEST(QuillexSyncTest, InitialSyncOverTheSerialLineFillsTheModelToo) {
    QuillexRig rig;
    rig.StartSerial();
    ASSERT_TRUE(rig.WaitForSync()) << ::testing::PrintToString(rig.Differences());
}

TEST(QuillexSyncTest, AlphasOfEightCharactersWhenTheControllerAsksForTheSetting) {
    testing::FakeNetwork network = testing::BuildFakeNetwork(3, 6);
    network.matrices[1].alphas[0] = {"LONGNAME", "", "MID6CH"};
    QuillexRig rig(network);
    rig.settings.Modify([](AppSettings& s) { s.AlphaSize = 8; });
    rig.model.SetHelloExtras(true, true, true);
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitUntil([&] {
        auto lock = rig.doc.LockAlphas();
        for (const CAlpha& a : rig.doc.AlphaQueue()) {
            if (a.intercom == 2 && a.functionType == 0 && a.text == "LONGNAME") {
                return true;
            }
        }
        return false;
    }));
}

// With the controller's "overall query now" bit, a change arrives on the Hello of the next
// second: the bound is one second of polling.
TEST(QuillexSyncTest, ATrunkChangeArrivesWithTheNextHello) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    const int trunk = IdleTrunk(rig.model.Network());
    ASSERT_GE(trunk, 0);
    rig.fake.ClearRequests();
    rig.model.SetTrunkStatus(trunk, 3);
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return ModelState(rig, trunk) == 2; }));
    EXPECT_EQ(rig.CountOf(kHello), 1u);
    EXPECT_TRUE(rig.Differences().empty()) << ::testing::PrintToString(rig.Differences());
}

// Without it, the change waits for the overall query, every 300 s of polling.
TEST(QuillexSyncTest, WithoutTheOverallBitAChangeWaitsForTheOverallQuery) {
    QuillexRig rig;
    rig.model.SetOverallNowOnChange(false);
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    const int trunk = IdleTrunk(rig.model.Network());
    rig.fake.ClearRequests();
    rig.model.SetTrunkStatus(trunk, 2);

    rig.clock.Advance(299s);
    // The compatibility query (due every 60 s) ends the pass of the next Hello.
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kCompatibility) == 1; }));
    EXPECT_EQ(rig.CountOf(kHello), 1u);
    EXPECT_EQ(rig.CountOf(kChangeQuery), 0u);
    EXPECT_EQ(ModelState(rig, trunk), 0);

    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return ModelState(rig, trunk) == 1; }));
    EXPECT_EQ(rig.CountOf(kHello), 2u);
}

TEST(QuillexSyncTest, LostContactRaisesTheAlarmAndRegainedContactResolvesIt) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.fake.SetSilent(FakeNode::kMain, true);
    rig.fake.SetSilent(FakeNode::kPartner, true);
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.QuillexAlarms().size() == 3; }));
    EXPECT_FALSE(rig.quillex->IsCommunicating());

    rig.fake.SetSilent(FakeNode::kMain, false);
    rig.fake.SetSilent(FakeNode::kPartner, false);
    // The regained contact's alarm follows the state.
    ASSERT_TRUE(rig.WaitUntil(
        [&] { return rig.quillex->IsCommunicating() && rig.QuillexAlarms().size() >= 4u; }, 1s));
    EXPECT_EQ(
        rig.QuillexAlarms(),
        (std::vector<std::pair<int, std::string>>{
            {0, "Lost contact with Quillex"}, {1, ""}, {0, "Lost contact with Quillex"}, {1, ""}}));
}

TEST(QuillexSyncTest, FailoverToThePartnerKeepsTheModelCurrent) {
    // A Get Partner that fails on the main only drops the session, and the partner then
    // takes over without a lost contact; without one due, the first request to fail on the
    // silent main is a message, which loses the contact.
    QuillexRig rig(testing::BuildFakeNetwork(6, 40),
                   [](QuillexOptions& o) { o.network.partnerInterval = std::chrono::hours(1); });
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    const int trunk = IdleTrunk(rig.model.Network());
    rig.fake.SetSilent(FakeNode::kMain, true);
    rig.model.SetTrunkStatus(trunk, 3);
    rig.model.SetMatrixName(2, "NEW2");
    rig.fake.ClearRequests();
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.Differences().empty(); }, 1s))
        << ::testing::PrintToString(rig.Differences());
    EXPECT_EQ(ModelState(rig, trunk), 2);
    bool inspectedOnPartner = false;
    for (const auto& r : rig.fake.Requests()) {
        inspectedOnPartner |= r.code == kInspect && r.node == FakeNode::kPartner;
    }
    EXPECT_TRUE(inspectedOnPartner);
    // Lost on the main, regained on the partner; the alarm follows the state.
    EXPECT_TRUE(rig.WaitUntil([&] { return rig.QuillexAlarms().size() == 4u; }));
}

struct MaintenanceCase {
    friend void PrintTo(const MaintenanceCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    FakeMaintenanceOutcomes outcomes;
    std::function<void(CQuillex&)> queue;
    std::vector<int> codes;
    int status;
    std::vector<uint8_t> lastPayload;  // of the last request on the wire, when given
};

class QuillexMaintenanceSequenceTest : public ::testing::TestWithParam<MaintenanceCase> {};

TEST_P(QuillexMaintenanceSequenceTest, PutsTheSequenceOnTheWireInOrderAndEndsWithItsStatus) {
    const MaintenanceCase& c = GetParam();
    QuillexRig rig;
    rig.model.SetOutcomes(c.outcomes);
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.fake.ClearRequests();
    c.queue(*rig.quillex);
    int status = 0;
    ASSERT_TRUE(rig.WaitUntil([&] { return (status = rig.quillex->GetRequestStatus()) != 0; }));
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(rig.Codes({25, 4, 39, 40, 3, 23, 26, 44, 52}), c.codes);
    if (!c.lastPayload.empty()) {
        EXPECT_EQ(rig.fake.Requests().back().payload, c.lastPayload);
    }
}

FakeMaintenanceOutcomes Outcomes(int refusals, int inProgress, bool mode = true,
                                 bool crosspoints = true) {
    FakeMaintenanceOutcomes o;
    o.exclusiveControlRefusals = refusals;
    o.activationInProgressReplies = inProgress;
    o.trunkModeSucceeds = mode;
    o.crosspointsSucceed = crosspoints;
    return o;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, QuillexMaintenanceSequenceTest,
    ::testing::Values(MaintenanceCase{"MaintenanceAfterRefusalsAndAnActivationInProgress",
                                      Outcomes(2, 1),
                                      [](CQuillex& q) { q.PutTrunkInMaintenance(7, false); },
                                      {25, 25, 25, 4, 39, 3, 23, 26},
                                      1,
                                      {}},
                      MaintenanceCase{"MaintenanceRefused",
                                      Outcomes(0, 0, false),
                                      [](CQuillex& q) { q.PutTrunkInMaintenance(7, false); },
                                      {25, 4, 39, 3, 26},
                                      3,
                                      {}},
                      MaintenanceCase{"ForcedMaintenanceRefused",
                                      Outcomes(0, 0, false),
                                      [](CQuillex& q) { q.PutTrunkInMaintenance(7, true); },
                                      {25, 4, 39, 3, 26},
                                      2,
                                      {}},
                      MaintenanceCase{"RestoreRefused",
                                      Outcomes(0, 0, false),
                                      [](CQuillex& q) { q.RestoreTrunkToNormal(7); },
                                      {25, 4, 39, 3, 26},
                                      2,
                                      {}},
                      MaintenanceCase{"LoopBackTrunkPort",
                                      Outcomes(0, 0),
                                      [](CQuillex& q) { q.LoopBackTrunkPort(2, 7); },
                                      {40},
                                      1,
                                      {2, 0, 7, 0, 7, 1}},
                      MaintenanceCase{"ClearTrunkTrunkXpnt",
                                      Outcomes(0, 0),
                                      [](CQuillex& q) { q.ClearTrunkTrunkXpnt(3, 7, 300); },
                                      {40},
                                      1,
                                      {3, 0, 7, 0x01, 0x2C, 0}},
                      MaintenanceCase{"LoopBackMaintenancePortAsksForThePortFirst",
                                      Outcomes(0, 0),
                                      [](CQuillex& q) { q.LoopBackMaintenancePort(); },
                                      {52, 40},
                                      1,
                                      {0, 0xFF, 0xFF, 0xFF, 0xFF, 1}},
                      MaintenanceCase{"CloseMaintenanceTrunkXpnt",
                                      Outcomes(0, 0),
                                      [](CQuillex& q) { q.CloseMaintenanceTrunkXpnt(9); },
                                      {40},
                                      1,
                                      {0, 0, 9, 0xFF, 0xFF, 1}},
                      MaintenanceCase{"CrosspointsRefused",
                                      Outcomes(0, 0, true, false),
                                      [](CQuillex& q) { q.ClearTrunkPortLoop(1, 4); },
                                      {40},
                                      2,
                                      {}},
                      MaintenanceCase{"BadNumbersAreRefusedWithoutAMessage",
                                      Outcomes(0, 0),
                                      [](CQuillex& q) { q.CloseTrunkTrunkXpnt(255, 7, 10000); },
                                      {},
                                      2,
                                      {}}),
    [](const auto& info) { return info.param.name; });

TEST(QuillexSyncTest, PutInMaintenanceReachesTheModelThroughTheChangeQueries) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    const int trunk = IdleTrunk(rig.model.Network());
    rig.quillex->PutTrunkInMaintenance(trunk, false);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.quillex->GetRequestStatus() == 1; }));
    ASSERT_TRUE(rig.WaitUntil([&] { return ModelState(rig, trunk) == 3; }, 1s));
}

TEST(QuillexSyncTest, SettingTheMaintenancePortRunsItsSequenceAndReadsThePortBack) {
    QuillexRig rig;
    rig.StartUdp();
    ASSERT_TRUE(rig.WaitForSync());
    rig.fake.ClearRequests();
    rig.quillex->SetMaintenancePortRequest(3, 8);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.Codes({52}).size() == 1; }));
    EXPECT_EQ(rig.Codes({25, 4, 44, 3, 23, 26, 52}), (std::vector<int>{25, 4, 44, 3, 26, 52}));
    int matrix = 0, port = 0;
    ASSERT_TRUE(rig.WaitUntil([&] {
        rig.quillex->GetMaintenancePort(matrix, port);
        return matrix == 3;
    }));
    EXPECT_EQ(port, 8);
    EXPECT_TRUE(rig.quillex->IsMaintenancePortSet());
    EXPECT_TRUE(rig.quillex->IsMaintenancePortReported());
    EXPECT_EQ(rig.model.Network().maintenancePort, 7);

    // The same port again sends nothing.
    rig.fake.ClearRequests();
    rig.quillex->SetMaintenancePortRequest(3, 8);
    rig.clock.Advance(1s);
    ASSERT_TRUE(rig.WaitUntil([&] { return rig.CountOf(kHello) == 1; }));
    EXPECT_TRUE(rig.Codes({25, 44}).empty());
}

}  // namespace
}  // namespace corvane
