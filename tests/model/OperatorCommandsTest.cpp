#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "model/ModelTestSupport.h"

namespace corvane {
namespace {

using testing::DocTest;

class OperatorCommandsTest : public DocTest {};

TEST_F(OperatorCommandsTest, TrunkSwitches) {
    struct Case {
        int command;
        std::function<bool(const CTrunkData&)> read;
        bool value;
    } cases[] = {
        {CVorlinModel::kCmdEnableAutoTest, &CTrunkData::AutoTestEnabled, true},
        {CVorlinModel::kCmdDisableAutoTest, &CTrunkData::AutoTestEnabled, false},
        {CVorlinModel::kCmdEnableAlarms, &CTrunkData::AlarmsEnabled, true},
        {CVorlinModel::kCmdDisableAlarms, &CTrunkData::AlarmsEnabled, false},
        {CVorlinModel::kCmdEnableNotifications, &CTrunkData::NotificationsEnabled, true},
        {CVorlinModel::kCmdDisableNotifications, &CTrunkData::NotificationsEnabled, false},
    };
    auto& t = doc->Trunks()[9];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(doc->SetTrunkOption(9, c.command));
        EXPECT_EQ(c.read(t), c.value);
        EXPECT_EQ(t.flags.Mask(), trunkbit::kSwitches);  // 0xFF first became 0
        EXPECT_TRUE(doc->TakeDirty(ModelCollection::Trunks));
        t.flags.Clear(0xFF);
        // The same command again changes nothing.
        ASSERT_TRUE(doc->SetTrunkOption(9, c.command));
        EXPECT_FALSE(t.flags.HasChange());
        EXPECT_FALSE(doc->IsDirty(ModelCollection::Trunks));
        t.flags.SetUnset();
    }
    EXPECT_TRUE(doc->SetTrunkOption(9, 32795));  // another id changes nothing
    EXPECT_TRUE(t.flags.IsUnset());
    EXPECT_FALSE(doc->SetTrunkOption(0, CVorlinModel::kCmdEnableAlarms));
    EXPECT_FALSE(doc->SetTrunkOption(10001, CVorlinModel::kCmdEnableAlarms));
    EXPECT_FALSE(doc->SetTrunkOption(-1, CVorlinModel::kCmdEnableAlarms));
    EXPECT_TRUE(Untouched());
}

TEST_F(OperatorCommandsTest, IntercomSwitches) {
    auto& icom = doc->Intercoms()[3];
    ASSERT_TRUE(doc->SetIntercomAlarmOption(3, CVorlinModel::kCmdEnableAlarms));
    EXPECT_TRUE(icom.AlarmsEnabled());
    EXPECT_EQ(icom.flags.Mask(), intercombit::kSwitches);
    EXPECT_TRUE(doc->TakeDirty(ModelCollection::Intercoms));
    icom.flags.Clear(0xFF);
    // Enabling alarms that are already enabled marks nothing.
    ASSERT_TRUE(doc->SetIntercomAlarmOption(3, CVorlinModel::kCmdEnableAlarms));
    EXPECT_FALSE(icom.flags.HasChange());
    EXPECT_FALSE(doc->IsDirty(ModelCollection::Intercoms));
    ASSERT_TRUE(doc->SetIntercomAlarmOption(3, CVorlinModel::kCmdEnableNotifications));
    EXPECT_TRUE(icom.NotificationsEnabled());
    ASSERT_TRUE(doc->SetIntercomAlarmOption(3, CVorlinModel::kCmdDisableNotifications));
    EXPECT_FALSE(icom.NotificationsEnabled());
    ASSERT_TRUE(doc->SetIntercomAlarmOption(3, CVorlinModel::kCmdDisableAlarms));
    EXPECT_FALSE(icom.AlarmsEnabled());
    // Auto testing is a trunk switch only.
    icom.flags.Clear(0xFF);
    ASSERT_TRUE(doc->SetIntercomAlarmOption(3, CVorlinModel::kCmdEnableAutoTest));
    EXPECT_FALSE(icom.flags.HasChange());
    EXPECT_FALSE(doc->SetIntercomAlarmOption(257, CVorlinModel::kCmdEnableAlarms));
    EXPECT_FALSE(doc->SetIntercomAlarmOption(-1, CVorlinModel::kCmdEnableAlarms));
}

TEST_F(OperatorCommandsTest, QueueingTests) {
    // Without auto testing only a test now is queued.
    EXPECT_FALSE(doc->QueueTrunkTest(true, 5, false, false));
    EXPECT_FALSE(doc->TestQueueChanged());
    EXPECT_FALSE(doc->TrunkOperationsPending());

    doc->SetTrunkTestPosition(300);
    ASSERT_TRUE(doc->QueueTrunkTest(true, 1, true, true));
    EXPECT_EQ(doc->TrunkTestPosition(), 0);  // trunk 1 is examined next
    const TrunkPendingOps& ops = doc->Trunks()[1].PendingOps();
    EXPECT_EQ(ops.queuedForTesting, 1);
    EXPECT_EQ(ops.manualTest, 1);
    EXPECT_EQ(ops.testWanted, 1);
    EXPECT_TRUE(doc->TestQueueChanged());
    EXPECT_TRUE(doc->TrunkOperationsPending());

    ASSERT_TRUE(doc->SetTrunkOption(5, CVorlinModel::kCmdEnableAutoTest));
    ASSERT_TRUE(doc->QueueTrunkTest(true, 5, false, false));
    EXPECT_EQ(doc->TrunkTestPosition(), 0);  // not a test now: position kept
    EXPECT_EQ(doc->Trunks()[5].PendingOps().manualTest, 0);
    ASSERT_TRUE(doc->QueueTrunkTest(true, 10000, false, true));
    EXPECT_EQ(doc->TrunkTestPosition(), 9999);

    for (int trunk : {0, -1, 10001, kNone}) {
        EXPECT_FALSE(doc->QueueTrunkTest(true, trunk, true, true)) << trunk;
        EXPECT_FALSE(doc->QueueTrunkTest(false, trunk, true, true)) << trunk;
    }
    EXPECT_EQ(doc->TrunkTestPosition(), 9999);
}

TEST_F(OperatorCommandsTest, CancellingANeverQueuedTest) {
    ASSERT_TRUE(doc->QueueTrunkTest(false, 8, false, false));
    const TrunkPendingOps& ops = doc->Trunks()[8].PendingOps();
    EXPECT_EQ(ops.cancelTestRequested, 1);
    EXPECT_EQ(ops.testWanted, 0);
    EXPECT_TRUE(doc->TestQueueChanged());
    EXPECT_TRUE(doc->TrunkOperationsPending());
}

TEST_F(OperatorCommandsTest, CancellingAQueuedTestDropsItsQueuedState) {
    ASSERT_TRUE(doc->QueueTrunkTest(true, 8, true, true));
    ASSERT_TRUE(doc->QueueTrunkTest(false, 8, false, false));
    const TrunkPendingOps& ops = doc->Trunks()[8].PendingOps();
    EXPECT_EQ(ops.cancelTestRequested, 1);
    EXPECT_EQ(ops.testWanted, 0);
    EXPECT_EQ(ops.queuedForTesting, 0);
}

TEST_F(OperatorCommandsTest, MaintenanceAndResults) {
    struct Case {
        const char* name;
        std::function<bool(CVorlinModel&, int)> command;
        std::function<bool(const TrunkPendingOps&)> recorded;
        bool operationsPending;
        bool queueChanged;
    } cases[] = {
        {"set maintenance", [](CVorlinModel& d, int t) { return d.RequestSetMaintenance(t, true); },
         [](const TrunkPendingOps& o) { return o.setMaintenanceRequested && o.force; }, true,
         false},
        {"set maintenance without force",
         [](CVorlinModel& d, int t) { return d.RequestSetMaintenance(t, false); },
         [](const TrunkPendingOps& o) { return o.setMaintenanceRequested && !o.force; }, true,
         false},
        {"clear maintenance", [](CVorlinModel& d, int t) { return d.RequestClearMaintenance(t); },
         [](const TrunkPendingOps& o) { return o.clearMaintenanceRequested == 1; }, true, false},
        {"clear results", [](CVorlinModel& d, int t) { return d.RequestClearTestResults(t); },
         [](const TrunkPendingOps& o) { return o.clearResultsRequested == 1; }, false, true},
    };
    int trunk = 70;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->SetTrunkOperationsPending(false);
        doc->SetTestQueueChanged(false);
        for (int refused : {0, -2, 10001}) {
            EXPECT_FALSE(c.command(*doc, refused));
        }
        EXPECT_FALSE(doc->TrunkOperationsPending());
        EXPECT_FALSE(doc->TestQueueChanged());
        ASSERT_TRUE(c.command(*doc, ++trunk));
        EXPECT_TRUE(c.recorded(doc->Trunks()[trunk].PendingOps()));
        EXPECT_EQ(doc->TrunkOperationsPending(), c.operationsPending);
        EXPECT_EQ(doc->TestQueueChanged(), c.queueChanged);
        EXPECT_TRUE(doc->Trunks()[trunk].flags.IsUnset());  // never written to the database
    }
}

}  // namespace
}  // namespace corvane
