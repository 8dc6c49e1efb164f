#include "testing/AutoTestSchedule.h"

#include <gtest/gtest.h>

#include "store/WriteBackFixture.h"

namespace corvane::testing {
namespace {

// Trunks 1-3 in the database; automatic testing is off for trunk 3. 2024-05-05 is a Sunday.
class AutoTestScheduleTest : public WriteBackTest {
protected:
    AutoTestScheduleTest() : schedule(*doc, *store, settings, clock) {
        DefineTrunks(3);
        doc->SetTrunkOption(3, CVorlinDoc::kCmdDisableAutoTest);
        Tick();
    }
    void At(int day, int hour, int minute, int second = 0) {
        clock.SetWall(LocalWall(2024, 5, day, hour, minute, second));
        schedule.MarkTrunksForAutoTesting();
    }
    std::vector<int> Queued() {
        std::vector<int> queued;
        for (int t = 1; t <= 3; ++t) {
            if (doc->TrunkAt(t)->PendingOps().testWanted != 0) {
                queued.push_back(t);
                doc->TrunkAt(t)->PendingOps().testWanted = 0;
            }
        }
        return queued;
    }
    void Mode(int mode) {
        settings.Modify([mode](AppSettings& s) {
            s.AutomaticTestMode = mode;
            s.WeeklyTestDayOfWeek = 1;
        });
    }

    CAutoTestSchedule schedule;
};

TEST_F(AutoTestScheduleTest, NeverTouchesNothing) {
    Mode(CAutoTestSchedule::kNever);
    At(5, 10, 0);
    At(5, 23, 45);
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(schedule.LastDayOfWeek(), 0);
    EXPECT_FALSE(schedule.IsDoneToday());
}

TEST_F(AutoTestScheduleTest, DailyStartedAfterSetTimeWaitsForNextDay) {
    Mode(CAutoTestSchedule::kDaily);
    At(6, 23, 45);
    EXPECT_TRUE(Queued().empty());
    EXPECT_TRUE(schedule.IsDoneToday());
    At(7, 23, 30, 0);
    EXPECT_TRUE(Queued().empty());
    At(7, 23, 30, 1);
    EXPECT_EQ(Queued(), (std::vector<int>{1, 2}));
    At(7, 23, 50);
    EXPECT_TRUE(Queued().empty());
}

TEST_F(AutoTestScheduleTest, DailyStartedBeforeSetTimeFiresThatDay) {
    Mode(CAutoTestSchedule::kDaily);
    At(6, 10, 0);
    At(6, 23, 31);
    EXPECT_EQ(Queued(), (std::vector<int>{1, 2}));
}

TEST_F(AutoTestScheduleTest, WeeklyFiresOnlyOnItsDay) {
    Mode(CAutoTestSchedule::kWeekly);
    At(4, 10, 0);  // Saturday: the first call
    At(4, 23, 31);
    EXPECT_TRUE(Queued().empty());
    At(5, 23, 31);  // Sunday
    EXPECT_EQ(Queued(), (std::vector<int>{1, 2}));
    At(6, 23, 31);  // Monday
    EXPECT_TRUE(Queued().empty());
}

TEST_F(AutoTestScheduleTest, AStoredDayOrTimeOutsideItsRangeRunsAsTheDefault) {
    Mode(CAutoTestSchedule::kWeekly);
    // Held as the profile has them, so that a save keeps them there.
    settings.Modify([](AppSettings& s) {
        s.WeeklyTestDayOfWeek = 9;
        s.WeeklyTestTime = std::chrono::minutes(5000);
    });
    At(4, 10, 0);
    At(5, 23, 29);  // Sunday, before 23:30
    EXPECT_TRUE(Queued().empty());
    At(5, 23, 31);
    EXPECT_EQ(Queued(), (std::vector<int>{1, 2}));
}

TEST_F(AutoTestScheduleTest, EditedScheduleWithPassedTimeWaitsForTomorrow) {
    Mode(CAutoTestSchedule::kDaily);
    At(6, 10, 0);
    settings.Modify([](AppSettings& s) { s.DailyTestTime = std::chrono::minutes(9 * 60); });
    schedule.ResetDayLastSeen();
    At(6, 10, 1);
    EXPECT_TRUE(Queued().empty());
    At(7, 9, 0, 1);
    EXPECT_EQ(Queued(), (std::vector<int>{1, 2}));
}

TEST_F(AutoTestScheduleTest, EmptyTableEndsTheDay) {
    raw.Exec("DELETE FROM Trunks");
    Mode(CAutoTestSchedule::kDaily);
    At(6, 10, 0);
    At(6, 23, 31);
    EXPECT_TRUE(Queued().empty());
    EXPECT_TRUE(schedule.IsDoneToday());
}

}  // namespace
}  // namespace corvane::testing
