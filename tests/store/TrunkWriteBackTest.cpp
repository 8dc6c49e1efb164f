#include <thread>

#include "fakes/TrunkBetween.h"
#include "store/WriteBackFixture.h"

namespace corvane::testing {
namespace {

TEST_F(WriteBackTest, NothingChangedGivesNoHint) {
    EXPECT_EQ(Tick(), 0u);
    DefineTrunks(3);
    EXPECT_EQ(Tick(), 0u);
}

TEST_F(WriteBackTest, NewTrunkGetsItsRowAndSwitchesFromTheDefaults) {
    doc->SetTrunkDefinition(testing::TrunkBetween(7, 1, 3, 2, 4), true);
    const ViewUpdateHint hint = Tick();
    // The new trunk also enters the summary counts of its two intercoms.
    EXPECT_EQ(hint, hint::kTrunksNew | hint::kTrunkSortColumns | hint::kSummaryNew);
    // Fixed ends of none stay NULL.
    EXPECT_EQ(
        raw.Query("SELECT End1IntercomIndex, End1Number, End2IntercomIndex, End2Number, "
                  "State, Fixed1IntercomIndex, Fixed2Number FROM Trunks WHERE TrunkIndex = 7"),
        (std::vector<std::vector<std::string>>{{"1", "3", "2", "4", "Idle", "NULL", "NULL"}}));
    EXPECT_TRUE(doc->Trunks()[7].AlarmsEnabled());
    EXPECT_EQ(doc->Trunks()[7].flags.Mask(), 0);
}

struct StateCase {
    bool autoSort;
    int state;
    ViewUpdateHint hint;
    const char* stored;
};

class TrunkStateTest : public WriteBackTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(TrunkStateTest, StateChangeWritesStateWithItsHint) {
    const StateCase c = GetParam();
    settings.Modify([&](AppSettings& s) { s.AutoUpdateSortOrder = c.autoSort; });
    DefineTrunks(2);
    doc->SetTrunkState(2, c.state, true);
    EXPECT_EQ(Tick(), c.hint);
    EXPECT_EQ(TrunkState(2), c.stored);
    EXPECT_EQ(TrunkState(1), "Idle");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrunkStateTest,
    // A state other than idle is counted in the summary.
    ::testing::Values(
        StateCase{false, 2, hint::kTrunksEdited | hint::kSummaryEdited, "In Use"},
        StateCase{true, 2, hint::kTrunksEdited | hint::kTrunkSortColumns | hint::kSummaryEdited,
                  "In Use"},
        StateCase{false, 3, hint::kTrunksEdited | hint::kSummaryEdited, "Maint"},
        StateCase{false, 0, 0, "Idle"}));

TEST_F(WriteBackTest, UndefinedTrunkWithoutRowBecomesAbsent) {
    doc->SetTrunkDefinition(testing::TrunkBetween(5, 1, 1, 2, 1), true);
    doc->UndefineTrunk(4);  // 0-based
    EXPECT_EQ(Tick() & hint::kTrunksAddedRemoved, 0u);
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM Trunks"), "0");
    EXPECT_TRUE(doc->Trunks()[5].IsAbsent());
    EXPECT_TRUE(doc->Trunks()[5].flags.IsUnset());
}

TEST_F(WriteBackTest, UndefinedTrunkWithRowLosesIt) {
    DefineTrunks(2);
    doc->UndefineTrunk(1);
    EXPECT_EQ(Tick() & hint::kTrunksNew, hint::kTrunksNew);
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM Trunks"), "1");
    EXPECT_TRUE(doc->Trunks()[2].IsAbsent());
}

TEST_F(WriteBackTest, DatabaseErrorMidPassKeepsTheRestForTheNextTick) {
    DefineTrunks(9);
    raw.Exec(
        "CREATE TRIGGER Refuse5 BEFORE UPDATE ON Trunks WHEN NEW.TrunkIndex = 5 "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    for (int t : {3, 5, 7}) {
        doc->SetTrunkState(t, 2, true);
    }
    Tick();
    EXPECT_EQ(ui.DatabaseErrors().size(), 1u);
    EXPECT_EQ(TrunkState(3), "In Use");  // written before the error, kept
    EXPECT_EQ(TrunkState(7), "Idle");
    EXPECT_TRUE(doc->IsDirty(ModelCollection::Trunks));
    raw.Exec("DROP TRIGGER Refuse5");
    EXPECT_EQ(Tick() & ~hint::kSummaryEdited, hint::kTrunksEdited);
    EXPECT_EQ(TrunkState(7), "In Use");
    EXPECT_EQ(TrunkState(5), "Idle");  // the failing entry is not tried again
}

TEST_F(WriteBackTest, SetterDuringWriteBackIsWrittenNextTick) {
    DefineTrunks(50);
    std::atomic<bool> stop{false};
    std::thread poll([&] {
        int state = 0;
        while (!stop.load()) {
            for (int t = 1; t <= 50; ++t) {
                doc->SetTrunkState(t, state, true);
            }
            state = (state + 1) % 4;
        }
        for (int t = 1; t <= 50; ++t) {
            doc->SetTrunkState(t, 3, true);
        }
    });
    for (int i = 0; i < 20; ++i) {
        Tick();
    }
    stop = true;
    poll.join();
    Tick();
    EXPECT_EQ(raw.One("SELECT COUNT(*) FROM Trunks WHERE State = 'Maint'"), "50");
    EXPECT_EQ(Tick(), 0u);
}

TEST_F(WriteBackTest, TrunkUsageBecomesARequestUntilItEnds) {
    DefineTrunks(3);
    EndpointAddress source;
    source.intercom = 1;
    source.number = 4;
    source.talk = 1;
    EndpointAddress destination;
    destination.intercom = 2;
    destination.functionType = 2;
    destination.number = 8;
    doc->SetTrunkUsage(3, kNone, source, destination, true);
    EXPECT_EQ(Tick(), hint::kRequestsNew);
    // No cascade trunk: Trunk2Index stays unwritten.
    EXPECT_EQ(
        raw.Query("SELECT State, Trunk1Index, Trunk2Index, End1Function, End2Function, "
                  "End2Number, End1Talk FROM Requests"),
        (std::vector<std::vector<std::string>>{{"Active", "3", "NULL", "PP", "IF", "8", "-1"}}));
    EXPECT_EQ(std::to_string(doc->Trunks()[3].Usage()[0].requestNumber),
              raw.One("SELECT RequestID FROM Requests"));
    doc->PurgeStaleTrunkUsage(3, true);  // the usage was seen in this reply
    doc->PurgeStaleTrunkUsage(3, true);  // and not in the next
    EXPECT_EQ(Tick(), hint::kRequestsEdited);
    EXPECT_EQ(raw.One("SELECT State FROM Requests"), "Finished");
    EXPECT_EQ(doc->Trunks()[3].Usage()[0].state, TrunkUsageRecord::kFree);
}

}  // namespace
}  // namespace corvane::testing
