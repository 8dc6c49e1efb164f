#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "model/ChangeFlags.h"
#include "model/EndpointAddress.h"
#include "model/IntercomData.h"
#include "model/ModelNumbers.h"
#include "model/ModelTestSupport.h"
#include "model/NameTables.h"
#include "model/TrunkData.h"

namespace corvane {
namespace {

TEST(ChangeFlagsTest, UnsetUntilTheFirstMark) {
    ChangeFlags flags;
    EXPECT_TRUE(flags.IsUnset());
    EXPECT_FALSE(flags.HasChange());
    EXPECT_FALSE(flags.Test(0xFF));  // no bit tests true while unset
    flags.Clear(0x01);
    EXPECT_EQ(flags.Mask(), 0xFF);  // clearing leaves it unset

    flags.Mark(0x04);
    EXPECT_EQ(flags.Mask(), 0x04);  // 0xFF first became 0
    EXPECT_TRUE(flags.HasChange());
    flags.Mark(0x01);
    EXPECT_EQ(flags.Mask(), 0x05);
    flags.Clear(0x04);
    EXPECT_TRUE(flags.Test(0x01));
    EXPECT_FALSE(flags.Test(0x04));
    flags.Clear(0x01);
    EXPECT_FALSE(flags.HasChange());
    EXPECT_FALSE(flags.IsUnset());
    flags.SetUnset();
    EXPECT_TRUE(flags.IsUnset());
}

TEST(ModelNumbersTest, ConversionFromZeroBased) {
    struct Case {
        int value;
        bool oneBased;
        int expected;
    } cases[] = {
        {0, false, 1},   {255, false, 256},         {kNone, false, kNone},
        {-1, false, -1}, {INT_MIN, false, INT_MIN}, {kNone - 1, false, kNone},
        {0, true, 0},    {kNone, true, kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToModelNumber(c.value, c.oneBased), c.expected) << c.value << " " << c.oneBased;
    }
    EXPECT_EQ(IncrementUnlessNone(5), 6);
    EXPECT_EQ(IncrementUnlessNone(kNone), kNone);
    EXPECT_EQ(IncrementUnlessNone(-3), -3);  // unsigned-large: none
}

TEST(ModelNumbersTest, RangesRejectNegativeNumbers) {
    EXPECT_FALSE(IsIntercomNumber(-1));
    EXPECT_FALSE(IsIntercomNumber(0));
    EXPECT_TRUE(IsIntercomNumber(256));
    EXPECT_FALSE(IsIntercomNumber(257));
    EXPECT_FALSE(IsTrunkNumber(INT_MIN));
    EXPECT_TRUE(IsTrunkNumber(10000));
    EXPECT_FALSE(IsTrunkNumber(10001));
    EXPECT_FALSE(IsFunctionType(-1));
    EXPECT_FALSE(IsFunctionType(9));
    EXPECT_TRUE(IsValidFunctionType(8, 1024));
    EXPECT_FALSE(IsValidFunctionType(7, 1));
    EXPECT_FALSE(IsValidFunctionType(0, 1025));
    EXPECT_FALSE(IsValidFunctionType(0, -1));
}

TEST(EndpointAddressTest, EqualityRefreshAndActivity) {
    using testing::Port;
    EndpointAddress a = Port(3, 0, 12);
    const EndpointAddress flagged = Port(3, 0, 12, true, false, true);
    EXPECT_TRUE(a.SamePort(flagged));
    EXPECT_FALSE(a.SamePort(Port(3, 1, 12)));
    EXPECT_FALSE(a.SamePort(Port(4, 0, 12)));
    EXPECT_TRUE(a.RefreshFlags(flagged));
    EXPECT_FALSE(a.RefreshFlags(flagged));
    EXPECT_EQ(a.talk, 1);

    EXPECT_TRUE(Port(1, 0, 1, true, false, true).IsActive());   // talks
    EXPECT_TRUE(Port(1, 0, 1, false, true, false).IsActive());  // listens, active
    EXPECT_FALSE(Port(1, 0, 1, false, true, true).IsActive());  // listens, inactive
    EXPECT_FALSE(Port(1, 0, 1).IsActive());
    EXPECT_EQ(TrunkUsageRecord::UsageState(Port(1, 0, 1), Port(2, 0, 1, false, true)),
              TrunkUsageRecord::kInUse);
    EXPECT_EQ(TrunkUsageRecord::UsageState(Port(1, 0, 1), Port(2, 0, 1)),
              TrunkUsageRecord::kAllocated);
}

TEST(EndpointAddressTest, ConversionKeepsTheFunctionType) {
    using testing::Port;
    EndpointAddress out;
    ASSERT_TRUE(ToModelEndpoint(Port(0, 8, 9), false, out));
    EXPECT_EQ(out.intercom, 1);
    EXPECT_EQ(out.functionType, 8);
    EXPECT_EQ(out.number, 10);
    EXPECT_FALSE(ToModelEndpoint(Port(0xFFFF, 0, 1), false, out));
    EXPECT_FALSE(ToModelEndpoint(Port(1, 0, 0xFFFF), false, out));
    ASSERT_TRUE(ToModelEndpoint(Port(0xFFFF, 0, 1), true, out));
    EXPECT_EQ(out.intercom, 0xFFFF);
}

TEST(ModelRecordsTest, DefaultsOfFreshRecords) {
    const auto trunk = std::make_unique<CTrunkData>();
    EXPECT_TRUE(trunk->flags.IsUnset());
    EXPECT_FALSE(trunk->flags.Test(trunkbit::kDefinition));
    EXPECT_FALSE(trunk->flags.HasChange());
    EXPECT_EQ(trunk->End1Intercom(), kNone);
    EXPECT_EQ(trunk->Fixed2Number(), kNone);
    EXPECT_EQ(trunk->State(), CTrunkData::kIdle);
    EXPECT_FALSE(trunk->IsCounted());
    for (const auto& usage : trunk->Usage()) {
        EXPECT_EQ(usage.Owner(), trunk.get());
        EXPECT_TRUE(usage.flags.IsUnset());
        EXPECT_EQ(usage.requestNumber, kNone);
    }

    const auto icom = std::make_unique<CIntercomData>();
    EXPECT_EQ(icom->ConnType(), "Serial");
    EXPECT_EQ(icom->IPAddress1(), "-");
    EXPECT_EQ(icom->IPAddress2(), "-");
    EXPECT_EQ(icom->ControllerPort(), kNone);
    EXPECT_EQ(icom->BaudRate(), kNone);
    EXPECT_EQ(icom->CascadeCost(), 0);
    EXPECT_FALSE(icom->IsCommunicating());
    EXPECT_EQ(icom->QueuedRequests()[99].Owner(), icom.get());
    EXPECT_EQ(icom->SummaryCounts()[256].Owner(), icom.get());
}

TEST(ModelRecordsTest, ChildrenMarkTheirParent) {
    const auto icom = std::make_unique<CIntercomData>();
    icom->QueuedRequests()[5].MarkChanged(recordbit::kChanged);
    EXPECT_EQ(icom->QueuedRequests()[5].flags.Mask(), recordbit::kChanged);
    EXPECT_EQ(icom->flags.Mask(), intercombit::kRequests);
    icom->SummaryCounts()[7].MarkChanged();
    EXPECT_EQ(icom->SummaryCounts()[7].flags.Mask(), kSummaryCountBit);
    EXPECT_EQ(icom->flags.Mask(), intercombit::kRequests | intercombit::kSummary);

    const auto trunk = std::make_unique<CTrunkData>();
    trunk->Usage()[15].MarkChanged(recordbit::kFilled);
    EXPECT_EQ(trunk->flags.Mask(), trunkbit::kUsage);
}

TEST(ModelRecordsTest, PendingOperationPairs) {
    TrunkPendingOps ops;
    ops.RequestTest(true);
    EXPECT_EQ(ops.testWanted, 1);
    EXPECT_EQ(ops.manualTest, 1);
    ops.RequestTest(false);
    EXPECT_EQ(ops.manualTest, 0);
    ops.RequestMaintenance(true);
    EXPECT_EQ(ops.setMaintenanceRequested, 1);
    EXPECT_EQ(ops.force, 1);
}

TEST(NameTablesTest, LoadedFromTheStringTable) {
    const CNameTables names;
    EXPECT_EQ(names.requestStates[4], "Incomplete");
    EXPECT_EQ(names.trunkStates[2], "In Use");
    EXPECT_EQ(names.testResults[6], " ");
    EXPECT_EQ(names.alarmStates[3], "Unresolved");
    EXPECT_EQ(names.notifyStates[7], "Skipped");
    const std::array<std::string, 6> devices{"Quillex", "Tonexa",  "Intercom",
                                             "Trunk",   "Request", "RT-2M"};
    EXPECT_EQ(names.deviceTypes, devices);
    const std::array<std::string, 6> categories{"Communication", "Test Failure", "Loopback",
                                                "Test Error",    "Busy",         "Device"};
    EXPECT_EQ(names.alarmCategories, categories);
    EXPECT_EQ(names.alarmSetupKinds[5], "Trunk Request Busy Events");
    EXPECT_EQ(names.analyzerNames[2], "RT-2M");
    EXPECT_STREQ(FunctionTypeCode(7), "MX");
    EXPECT_STREQ(FunctionTypeCode(9), "");
    EXPECT_STREQ(FunctionTypeCode(-1), "");
    EXPECT_EQ(FunctionTypeOfCode("IL"), 8);
    EXPECT_EQ(FunctionTypeOfCode("XX"), -1);
}

}  // namespace
}  // namespace corvane
