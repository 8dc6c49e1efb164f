#pragma once

#include "platform/Clock.h"

namespace corvane {

class CVorlinDatabase;
class CVorlinModel;
class SharedSettings;

// Queues every trunk whose automatic testing is enabled once a day or once a week, when the
// local time of day first passes the set time. Called on every tick, before the sequencer.
// A set time that had already passed when the program started is not caught up that day.
class CAutoTestSchedule {
public:
    static constexpr int kDaily = 0, kWeekly = 1, kNever = 2;

    CAutoTestSchedule(CVorlinModel& model, CVorlinDatabase& db, const SharedSettings& settings,
                      const IClock& clock);

    void MarkTrunksForAutoTesting();

    // After the schedule was edited: the next call only records the day, so a new time that
    // has already passed today does not fire until tomorrow.
    void ResetDayLastSeen() { lastDay_ = 0; }

    // 1 Sunday .. 7 Saturday; 0 before the first call.
    int LastDayOfWeek() const { return lastDay_; }
    bool IsDoneToday() const { return doneToday_; }

private:
    void QueueAllTrunks();

    CVorlinModel& model_;
    CVorlinDatabase& db_;
    const SharedSettings& settings_;
    const IClock& clock_;
    int lastDay_ = 0;
    bool doneToday_ = false;
};

}  // namespace corvane
