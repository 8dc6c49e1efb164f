#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fakes/TrunkBetween.h"
#include "model/ModelTestSupport.h"

namespace corvane {
namespace {

using testing::DocTest;
using testing::Port;

struct Numbering {
    int given;
    bool oneBased;
    int entry;  // 0: refused
};
constexpr Numbering kTrunkNumbering[] = {
    {0, false, 1},     {9998, false, 9999}, {2, true, 2},      {10000, true, 10000},
    {10000, false, 0}, {-1, false, 0},      {kNone, false, 0}, {INT_MIN, true, 0},
    {0, true, 0},      {10001, true, 0},    {-7, true, 0},
};

struct TrunkSetter {
    const char* name;
    std::function<bool(CVorlinModel&, int, bool)> set;
    uint8_t bit;
};

const TrunkSetter kTrunkSetters[] = {
    {"State", [](CVorlinModel& d, int t, bool b) { return d.SetTrunkState(t, 2, b); },
     trunkbit::kState},
    {"OutOfService", [](CVorlinModel& d, int t, bool b) { return d.SetTrunkOutOfService(t, 1, b); },
     trunkbit::kDefinition},
    {"Definition",
     [](CVorlinModel& d, int t, bool b) {
         TrunkDefinition def;
         def.trunk = t;
         def.end1Intercom = def.end2Intercom = b ? 1 : 0;
         def.end1Number = def.end2Number = b ? 1 : 0;
         return d.SetTrunkDefinition(def, b);
     },
     trunkbit::kDefinition},
};

class TrunkSettersTest : public DocTest {};

TEST_F(TrunkSettersTest, NumberingRangeAndMarks) {
    for (const TrunkSetter& setter : kTrunkSetters) {
        for (const Numbering& n : kTrunkNumbering) {
            if (n.entry == 0) {
                EXPECT_FALSE(setter.set(*doc, n.given, n.oneBased)) << setter.name << n.given;
            }
        }
    }
    EXPECT_TRUE(Untouched());

    for (const TrunkSetter& setter : kTrunkSetters) {
        SCOPED_TRACE(setter.name);
        for (const Numbering& n : kTrunkNumbering) {
            if (n.entry == 0) {
                continue;
            }
            SCOPED_TRACE(n.given);
            auto& trunk = doc->Trunks()[n.entry];
            trunk.flags.SetUnset();  // as the constructor left it
            EXPECT_TRUE(setter.set(*doc, n.given, n.oneBased));
            EXPECT_EQ(trunk.flags.Mask(), setter.bit);
            EXPECT_TRUE(doc->TakeDirty(ModelCollection::Trunks));
        }
    }
    EXPECT_TRUE(doc->Trunks()[0].flags.IsUnset());
}

TEST_F(TrunkSettersTest, ValueRangeErrorsTouchNothing) {
    const std::vector<std::function<bool()>> refused = {
        [&] { return doc->SetTrunkState(5, 4, true); },
        [&] { return doc->SetTrunkState(5, -1, true); },
        [&] { return doc->SetTrunkOutOfService(5, 2, true); },
        [&] { return doc->SetTrunkOutOfService(5, -1, true); },
        [&] {
            auto d = testing::TrunkBetween(5, 1, 1, 2, 2);
            d.fixed1FunctionType = 9;
            return doc->SetTrunkDefinition(d, true);
        },
        [&] {
            auto d = testing::TrunkBetween(5, 1, 1, 2, 2);
            d.fixed2FunctionType = -1;
            return doc->SetTrunkDefinition(d, true);
        },
        [&] { return doc->UndefineTrunk(-1); },
        [&] { return doc->UndefineTrunk(10000); },
        [&] { return doc->MarkTrunkAbsent(0); },
    };
    for (size_t i = 0; i < refused.size(); ++i) {
        EXPECT_FALSE(refused[i]()) << i;
    }
    EXPECT_TRUE(Untouched());
    EXPECT_TRUE(inspector.Trunks().empty());
}

TEST_F(TrunkSettersTest, DefinitionStoresConvertedNumbers) {
    TrunkDefinition d;
    d.trunk = 41;
    d.canCascade = true;
    d.useFixed = true;
    d.end1Intercom = 2;
    d.end1Number = 10;
    d.end2Intercom = 6;
    d.end2Number = 20;
    d.fixed1Intercom = 2;
    d.fixed1FunctionType = 8;
    d.fixed1Number = 30;
    d.fixed2Intercom = kNone;
    d.fixed2FunctionType = 3;
    d.fixed2Number = kNone;
    ASSERT_TRUE(doc->SetTrunkDefinition(d, false));
    const auto& t = doc->Trunks()[42];
    EXPECT_TRUE(t.CanCascade());
    EXPECT_TRUE(t.UseFixed());
    EXPECT_EQ(t.End1Intercom(), 3);
    EXPECT_EQ(t.End1Number(), 11);
    EXPECT_EQ(t.End2Intercom(), 7);
    EXPECT_EQ(t.End2Number(), 21);
    EXPECT_EQ(t.Fixed1Intercom(), 3);
    EXPECT_EQ(t.Fixed1FunctionType(), 8);  // not converted
    EXPECT_EQ(t.Fixed1Number(), 31);
    EXPECT_EQ(t.Fixed2Intercom(), kNone);  // none survives conversion
    EXPECT_EQ(t.Fixed2FunctionType(), 3);
    EXPECT_EQ(t.Fixed2Number(), kNone);
    EXPECT_TRUE(t.HasEndIntercom(7));
    EXPECT_FALSE(t.HasEndIntercom(6));
    int end1 = 0, end2 = 0;
    EXPECT_TRUE(doc->GetTrunkEndIntercoms(42, end1, end2));
    EXPECT_EQ(end1, 3);
    EXPECT_EQ(end2, 7);
    EXPECT_FALSE(doc->GetTrunkEndIntercoms(10001, end1, end2));
    EXPECT_FALSE(doc->GetTrunkEndIntercoms(-1, end1, end2));
}

TEST_F(TrunkSettersTest, NoDefinitionUndefinesOnlyATrunkThatWasSet) {
    TrunkDefinition none = testing::TrunkBetween(7, kNone, 0, 1, 0);  // 0-based
    ASSERT_TRUE(doc->SetTrunkDefinition(none, false));
    EXPECT_TRUE(Untouched());  // an untouched trunk stays untouched

    ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(8, 1, 1, 2, 1), true));
    EXPECT_EQ(Counts(1, 2).numTrunks, 1);
    ASSERT_TRUE(doc->SetTrunkDefinition(none, false));
    const auto& t = doc->Trunks()[8];
    EXPECT_TRUE(t.IsUndefined());
    EXPECT_EQ(Counts(1, 2).numTrunks, 0);
    EXPECT_EQ(Counts(0, 1).numTrunks, 0);
    EXPECT_EQ(inspector.Trunks(), std::vector<int>{7});

    // Out-of-range ends or numbers, negative ones included, are no definition either.
    for (const TrunkDefinition& d :
         {testing::TrunkBetween(8, 1, 0, 2, 1), testing::TrunkBetween(8, 1, 1, 2, 1025),
          testing::TrunkBetween(8, 0, 1, 2, 1), testing::TrunkBetween(8, -3, 1, 2, 1),
          testing::TrunkBetween(8, 1, 1, 257, 1)}) {
        ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(8, 1, 1, 2, 1), true));
        ASSERT_TRUE(doc->SetTrunkDefinition(d, true));
        EXPECT_TRUE(t.IsUndefined());
        EXPECT_EQ(Counts(0, 2).numTrunks, 0);
    }
}

TEST_F(TrunkSettersTest, SameStateTwiceMarksOnce) {
    ASSERT_TRUE(doc->SetTrunkState(3, 1, true));
    auto& t = doc->Trunks()[3];
    t.flags.Clear(0xFF);
    ASSERT_TRUE(doc->TakeDirty(ModelCollection::Trunks));
    EXPECT_TRUE(doc->SetTrunkState(3, 1, true));
    EXPECT_FALSE(t.flags.HasChange());
    EXPECT_FALSE(doc->IsDirty(ModelCollection::Trunks));
    EXPECT_TRUE(doc->SetTrunkOutOfService(3, 0, true));  // unchanged too
    EXPECT_FALSE(t.flags.HasChange());
}

TEST_F(TrunkSettersTest, StatesMoveTheCountsOfBothEnds) {
    ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(10, 4, 1, 9, 1), true));
    // State 0 adds to NumTrunks only.
    for (auto [from, to] : {std::pair{4, 9}, {9, 4}, {0, 4}, {0, 9}}) {
        const auto& c = Counts(from, to);
        EXPECT_EQ(c.numTrunks, 1);
        EXPECT_EQ(c.numAllocated + c.numInUse + c.numMaint + c.numOOS, 0);
        EXPECT_EQ(c.flags.Mask(), kSummaryCountBit);
    }
    EXPECT_EQ(doc->Intercoms()[4].flags.Mask(), intercombit::kSummary);
    EXPECT_EQ(doc->Intercoms()[0].flags.Mask(), intercombit::kSummary);
    EXPECT_TRUE(doc->Intercoms()[5].flags.IsUnset());
    EXPECT_TRUE(doc->IsDirty(ModelCollection::Intercoms));

    ASSERT_TRUE(doc->SetTrunkState(10, 2, true));
    ASSERT_TRUE(doc->SetTrunkOutOfService(10, 1, true));
    for (auto [from, to] : {std::pair{4, 9}, {9, 4}, {0, 4}, {0, 9}}) {
        EXPECT_EQ(Counts(from, to).numInUse, 1);
        EXPECT_EQ(Counts(from, to).numOOS, 1);
    }
    ASSERT_TRUE(doc->SetTrunkState(10, 3, true));
    EXPECT_EQ(Counts(4, 9).numInUse, 0);
    EXPECT_EQ(Counts(0, 9).numMaint, 1);
    EXPECT_EQ(Counts(4, 4).numTrunks, 0);
}

TEST_F(TrunkSettersTest, RedefinitionAndUndefinitionMoveOutOfServiceCounts) {
    ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(10, 4, 1, 9, 1), true));
    ASSERT_TRUE(doc->SetTrunkOutOfService(10, 1, true));
    ASSERT_TRUE(doc->SetTrunkState(10, 1, true));

    // Redefined between other intercoms: the counts follow the trunk.
    ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(10, 4, 1, 12, 1), true));
    EXPECT_EQ(Counts(4, 9).numOOS, 0);
    EXPECT_EQ(Counts(0, 9).numOOS, 0);
    EXPECT_EQ(Counts(0, 9).numAllocated, 0);
    EXPECT_EQ(Counts(4, 12).numOOS, 1);
    EXPECT_EQ(Counts(12, 4).numAllocated, 1);
    EXPECT_EQ(Counts(0, 4).numOOS, 1);

    ASSERT_TRUE(doc->UndefineTrunk(9));
    for (auto [from, to] : {std::pair{4, 12}, {12, 4}, {0, 4}, {0, 12}}) {
        const auto& c = Counts(from, to);
        EXPECT_EQ(c.numTrunks + c.numAllocated + c.numOOS, 0) << from << "-" << to;
    }
    // Out of service again while undefined: no count may go negative or drift.
    ASSERT_TRUE(doc->SetTrunkOutOfService(10, 0, true));
    ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(10, 4, 1, 12, 1), true));
    EXPECT_EQ(Counts(4, 12).numOOS, 0);
    EXPECT_EQ(Counts(4, 12).numTrunks, 1);
}

TEST_F(TrunkSettersTest, UndefineFlagsInspectionEndsUsageAndIdles) {
    ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(20, 1, 1, 2, 1), true));
    ASSERT_TRUE(doc->SetTrunkState(20, 2, true));
    ASSERT_TRUE(doc->SetTrunkUsage(20, kNone, Port(1, 0, 5, true), Port(2, 0, 6), true));
    ASSERT_TRUE(doc->PurgeStaleTrunkUsage(20, true));  // the end of the inspect reply
    auto& t = doc->Trunks()[20];
    t.flags.Clear(0xFF);
    t.Usage()[0].flags.Clear(0xFF);

    ASSERT_TRUE(doc->UndefineTrunk(19));
    EXPECT_EQ(inspector.Trunks(), std::vector<int>{19});
    EXPECT_TRUE(t.IsUndefined());
    EXPECT_EQ(t.State(), CTrunkData::kIdle);
    EXPECT_EQ(t.Usage()[0].state, TrunkUsageRecord::kEnded);
    EXPECT_EQ(t.Usage()[0].endTime, clock.Now());
    EXPECT_EQ(t.flags.Mask(), trunkbit::kDefinition | trunkbit::kState | trunkbit::kUsage);
    EXPECT_EQ(Counts(0, 1).numInUse, 0);
    EXPECT_EQ(Counts(0, 1).numTrunks, 0);

    // Undefining an undefined trunk again leaves the counts and the ended usage alone.
    const WallTime ended = clock.Now();
    clock.Advance(std::chrono::seconds(5));
    ASSERT_TRUE(doc->UndefineTrunk(19));
    EXPECT_EQ(Counts(0, 1).numTrunks, 0);
    EXPECT_EQ(t.Usage()[0].endTime, ended);
}

TEST_F(TrunkSettersTest, AbsentTrunksLeaveTheCounts) {
    ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(30, 1, 1, 2, 1), true));
    ASSERT_TRUE(doc->SetTrunkOutOfService(30, 1, true));
    ASSERT_TRUE(doc->MarkTrunkAbsent(30));
    const auto& t = doc->Trunks()[30];
    EXPECT_TRUE(t.IsAbsent());
    EXPECT_FALSE(t.IsUndefined());
    EXPECT_TRUE(t.flags.IsUnset());
    EXPECT_EQ(Counts(1, 2).numTrunks, 0);
    EXPECT_EQ(Counts(1, 2).numOOS, 0);
    ASSERT_TRUE(doc->SetTrunkState(30, 2, true));  // not counted while absent
    EXPECT_EQ(Counts(1, 2).numInUse, 0);
    ASSERT_TRUE(doc->SetTrunkDefinition(testing::TrunkBetween(30, 1, 1, 2, 1), true));
    EXPECT_FALSE(t.IsAbsent());
    EXPECT_EQ(Counts(1, 2).numTrunks, 1);
    EXPECT_EQ(Counts(1, 2).numInUse, 1);
    EXPECT_EQ(Counts(1, 2).numOOS, 1);
}

}  // namespace
}  // namespace corvane
