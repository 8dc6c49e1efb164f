#include <gtest/gtest.h>

#include <chrono>

#include "model/ModelTestSupport.h"

namespace corvane {
namespace {

using std::chrono::seconds;
using testing::DocTest;

constexpr int kIcom = 5;
constexpr int kTrunk = 7;

struct Switches {
    bool alarms = true;
    bool notify = true;
};

struct Settings {
    bool generateNotification = false;
    bool generateResolvedNotification = false;
    bool suppress = false;
    int delay = 0;
    int offKind = -1;  // GenerateAlarm cleared for this kind only
};

struct Outcome {
    bool queued;
    int notify = 0;
    int delay = 0;
};

struct AlarmCase {
    const char* name;
    int type, index, category, resolved;
    Switches switches;
    Settings settings;
    Outcome outcome;
};

const Settings kNotify{true, false, false, 30};
const Settings kNotifySuppress{true, true, true, 30};

const AlarmCase kCases[] = {
    {"quillex", devicetype::kQuillex, 1, alarmcat::kCommunication, 0, {}, {}, {true}},
    {"quillex other index", devicetype::kQuillex, 2, alarmcat::kCommunication, 0, {}, {}, {false}},
    {"tonexa", devicetype::kTonexa, 1, alarmcat::kDevice, 0, {}, {}, {true}},
    {"tonexa index 0", devicetype::kTonexa, 0, alarmcat::kDevice, 0, {}, {}, {false}},
    {"rt-2m", devicetype::kRT2M, 1, alarmcat::kLoopback, 0, {}, {}, {true}},
    {"rt-2m other index", devicetype::kRT2M, 3, alarmcat::kLoopback, 0, {}, {}, {false}},
    {"request any index", devicetype::kRequest, 123456, alarmcat::kBusy, 0, {}, {}, {true}},
    {"intercom",
     devicetype::kIntercom,
     kIcom,
     alarmcat::kCommunication,
     0,
     {},
     kNotify,
     {true, 1, 0}},
    {"intercom alarms off", devicetype::kIntercom, kIcom, 0, 0, {false, true}, {}, {false}},
    {"intercom never notified",
     devicetype::kIntercom,
     kIcom,
     0,
     0,
     {true, false},
     kNotifySuppress,
     {true, 0, 0}},
    {"intercom not a number", devicetype::kIntercom, 257, 0, 0, {}, {}, {false}},
    {"intercom negative", devicetype::kIntercom, -1, 0, 0, {}, {}, {false}},
    {"intercom totals entry", devicetype::kIntercom, 0, 0, 0, {}, {}, {false}},
    {"trunk failure", devicetype::kTrunk, kTrunk, alarmcat::kTestFailure, 0, {}, {}, {true}},
    {"trunk error", devicetype::kTrunk, kTrunk, alarmcat::kTestError, 0, {}, {}, {true}},
    {"trunk communication",
     devicetype::kTrunk,
     kTrunk,
     alarmcat::kCommunication,
     0,
     {},
     {},
     {false}},
    {"trunk loopback", devicetype::kTrunk, kTrunk, alarmcat::kLoopback, 0, {}, {}, {false}},
    {"trunk alarms off",
     devicetype::kTrunk,
     kTrunk,
     alarmcat::kTestFailure,
     0,
     {false, true},
     {},
     {false}},
    {"trunk never notified",
     devicetype::kTrunk,
     kTrunk,
     alarmcat::kTestFailure,
     0,
     {true, false},
     kNotify,
     {true, 0, 0}},
    {"trunk negative", devicetype::kTrunk, -7, alarmcat::kTestFailure, 0, {}, {}, {false}},
    {"trunk not a number", devicetype::kTrunk, 10001, alarmcat::kTestFailure, 0, {}, {}, {false}},
    {"no such device", 6, 1, 0, 0, {}, {}, {false}},
    {"negative device", -1, 1, 0, 0, {}, {}, {false}},
    {"kind switched off",
     devicetype::kTrunk,
     kTrunk,
     alarmcat::kTestError,
     0,
     {},
     {false, false, false, 0, setupkind::kTrunkTestErrors},
     {false}},
    {"other kind switched off",
     devicetype::kTrunk,
     kTrunk,
     alarmcat::kTestFailure,
     0,
     {},
     {false, false, false, 0, setupkind::kTrunkTestErrors},
     {true}},
    {"request kind off",
     devicetype::kRequest,
     4,
     alarmcat::kBusy,
     0,
     {},
     {false, false, false, 0, setupkind::kRequestBusy},
     {false}},
    {"notify without suppression: no delay",
     devicetype::kQuillex,
     1,
     0,
     0,
     {},
     kNotify,
     {true, 1, 0}},
    {"notify with suppression: delayed",
     devicetype::kQuillex,
     1,
     0,
     0,
     {},
     kNotifySuppress,
     {true, 1, 30}},
    {"suppression without notification",
     devicetype::kQuillex,
     1,
     0,
     0,
     {},
     {false, true, true, 30},
     {true, 0, 0}},
    {"negative delay setting",
     devicetype::kQuillex,
     1,
     0,
     0,
     {},
     {true, false, true, -30},
     {true, 1, 0}},
    {"resolve notified, never delayed",
     devicetype::kQuillex,
     1,
     0,
     1,
     {},
     kNotifySuppress,
     {true, 1, 0}},
    {"resolve as unresolved",
     devicetype::kRequest,
     9,
     alarmcat::kBusy,
     3,
     {},
     kNotifySuppress,
     {true, 1, 0}},
    {"resolve without resolved notification",
     devicetype::kQuillex,
     1,
     0,
     1,
     {},
     kNotify,
     {true, 0, 0}},
};

class AlarmRaisingTest : public DocTest {};

TEST_F(AlarmRaisingTest, KindsSwitchesAndSettings) {
    for (const AlarmCase& c : kCases) {
        SCOPED_TRACE(c.name);
        settings.Modify([&c](AppSettings& s) {
            s = AppSettings{};
            for (int kind = 0; kind < kAlarmSetupKinds; ++kind) {
                s.GenerateAlarm[kind] = kind != c.settings.offKind;
                s.GenerateNotification[kind] = c.settings.generateNotification;
                s.GenerateResolvedNotification[kind] = c.settings.generateResolvedNotification;
                s.SuppressNotificationForResolvedAlarms[kind] = c.settings.suppress;
                s.NotificationDelayTime[kind] = c.settings.delay;
            }
        });
        const int alarms =
            c.switches.alarms ? CVorlinModel::kCmdEnableAlarms : CVorlinModel::kCmdDisableAlarms;
        const int notify = c.switches.notify ? CVorlinModel::kCmdEnableNotifications
                                             : CVorlinModel::kCmdDisableNotifications;
        ASSERT_TRUE(doc->SetIntercomAlarmOption(kIcom, alarms));
        ASSERT_TRUE(doc->SetIntercomAlarmOption(kIcom, notify));
        ASSERT_TRUE(doc->SetTrunkOption(kTrunk, alarms));
        ASSERT_TRUE(doc->SetTrunkOption(kTrunk, notify));

        const bool queued =
            doc->AddAlarm(c.type, c.index, c.category, c.resolved, "text", "context", 4);
        EXPECT_EQ(queued, c.outcome.queued);
        EXPECT_EQ(doc->IsDirty(ModelCollection::Alarms), c.outcome.queued);
        doc->TakeDirty(ModelCollection::Alarms);
        auto lock = doc->LockAlarms();
        ASSERT_EQ(doc->AlarmQueue().size(), c.outcome.queued ? 1u : 0u);
        if (!c.outcome.queued) {
            continue;
        }
        const CAlarm a = doc->AlarmQueue().front();
        doc->AlarmQueue().clear();
        EXPECT_EQ(a.operation, alarmop::kRaiseOrResolve);
        EXPECT_EQ(a.deviceType, c.type);
        EXPECT_EQ(a.deviceIndex, c.index);
        EXPECT_EQ(a.category, c.category);
        EXPECT_EQ(a.resolved, c.resolved);
        EXPECT_EQ(a.notify, c.outcome.notify);
        EXPECT_EQ(a.notificationDelay, seconds(c.outcome.delay));
        EXPECT_EQ(a.description, "text");
        EXPECT_EQ(a.context, "context");
        EXPECT_EQ(a.extra, 4);
        EXPECT_EQ(a.time, clock.Now());
    }
}

TEST_F(AlarmRaisingTest, AcknowledgeAndCancelQueueOperations) {
    const WallTime when = clock.Now() - seconds(60);
    EXPECT_TRUE(doc->AcknowledgeAlarm(31, when));
    EXPECT_TRUE(doc->CancelAlarmNotification(32, 2, when));
    EXPECT_TRUE(doc->TakeDirty(ModelCollection::Alarms));
    auto lock = doc->LockAlarms();
    ASSERT_EQ(doc->AlarmQueue().size(), 2u);
    const CAlarm& ack = doc->AlarmQueue()[0];
    const CAlarm& cancel = doc->AlarmQueue()[1];
    EXPECT_EQ(ack.operation, alarmop::kAcknowledge);
    EXPECT_EQ(ack.notify, kNone);
    EXPECT_EQ(cancel.operation, alarmop::kCancelNotification);
    EXPECT_EQ(cancel.notify, 2);
    for (const CAlarm* a : {&ack, &cancel}) {
        EXPECT_EQ(a->deviceType, kNone);
        EXPECT_EQ(a->category, kNone);
        EXPECT_EQ(a->deviceIndex, a == &ack ? 31 : 32);
        EXPECT_EQ(a->resolved, 1);
        EXPECT_EQ(a->time, when);
        EXPECT_TRUE(a->description.empty());
        EXPECT_TRUE(a->context.empty());
        EXPECT_EQ(a->notificationDelay, seconds(0));
        EXPECT_EQ(a->extra, 0);
    }
}

TEST_F(AlarmRaisingTest, TheAlarmLockIsReentrantForTheWriteBack) {
    // The alarm write-back queues acknowledgements while it holds the alarm lock.
    auto lock = doc->LockAlarms();
    EXPECT_TRUE(doc->AcknowledgeAlarm(1, clock.Now()));
    EXPECT_TRUE(doc->AddAlarm(devicetype::kQuillex, 1, 0, 0, "", "", 0));
    EXPECT_EQ(doc->AlarmQueue().size(), 2u);
}

}  // namespace
}  // namespace corvane
