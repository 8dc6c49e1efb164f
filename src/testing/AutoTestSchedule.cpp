#include "testing/AutoTestSchedule.h"

#include <chrono>

#include "model/VorlinModel.h"
#include "settings/AppSettings.h"
#include "store/DaoException.h"
#include "store/VorlinDatabase.h"

namespace corvane {

CAutoTestSchedule::CAutoTestSchedule(CVorlinModel& model, CVorlinDatabase& db,
                                     const SharedSettings& settings, const IClock& clock)
    : model_(model), db_(db), settings_(settings), clock_(clock) {}

void CAutoTestSchedule::MarkTrunksForAutoTesting() {
    const AppSettings s = settings_.Snapshot();
    if (s.AutomaticTestMode == kNever) {
        return;
    }
    const LocalTime now = ToLocalTime(clock_.Now());
    const long timeOfDay = now.hour * 3600L + now.minute * 60L + now.second;
    bool firstCall = false;
    if (now.weekday != lastDay_) {
        firstCall = lastDay_ == 0;
        lastDay_ = now.weekday;
        doneToday_ = false;
    }
    if (doneToday_) {
        return;
    }
    std::chrono::seconds setTime;
    if (s.AutomaticTestMode == kWeekly) {
        if (now.weekday != s.WeeklyTestDayInUse()) {
            return;
        }
        setTime = s.WeeklyTestTimeInUse();
    } else if (s.AutomaticTestMode == kDaily) {
        setTime = s.DailyTestTimeInUse();
    } else {
        return;
    }
    if (timeOfDay <= setTime.count()) {
        return;
    }
    doneToday_ = true;
    if (firstCall) {
        return;
    }
    QueueAllTrunks();
}

void CAutoTestSchedule::QueueAllTrunks() {
    if (!db_.IsOpen()) {
        return;
    }
    try {
        CTrunksRS& rs = db_.Trunks();
        rs.MoveFirst();
        while (!rs.IsEOF()) {
            // Refused for the trunks whose automatic testing is off.
            model_.QueueTrunkTest(true, rs.m_TrunkIndex.Value(), false, false);
            rs.MoveNext();
        }
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error, marking trunks for auto testing\nDescription: %s");
    }
}

}  // namespace corvane
