#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "store/DaoValue.h"

namespace corvane {

class CDaoDatabase;
class CDiagLogSource;
class CVorlinDatabase;
struct TableLayout;

// One kind's archive settings, in the units the steps work with.
struct ArchivePolicy {
    std::chrono::seconds taskPeriod{60};  // of the move step; the purge step waits ten
    std::chrono::seconds moveAge{600};
    std::chrono::seconds purgeAge{168 * 3600};
    bool createDayFiles = false;  // day files instead of purging
    bool deleteDayFiles = false;
    std::chrono::seconds deleteDayFilesAge{14 * 86400};
    std::chrono::seconds dailyTime{3600};  // after local midnight
};

// Builds a policy from the values as the settings hold them (minutes, hours, days). A task
// period below one minute counts as one, so an idle tick never reaches the database.
ArchivePolicy MakeArchivePolicy(int taskPeriodMinutes, int moveAgeMinutes, int purgeAgeHours,
                                bool createDayFiles, bool deleteDayFiles, int deleteDayFilesAgeDays,
                                std::chrono::seconds dailyTime);

// What differs between the alarm and the request archive. Conditions are SQL with ?1
// standing for local midnight.
struct ArchiveKind {
    const char* noun;          // "alarm", in messages
    const char* liveTable;     // "Alarms"
    const char* archiveTable;  // "AlarmsArchive", in the database and in each day file
    const TableLayout& layout;
    // The rows a day file receives, from the archive table and from the live table.
    const char* dayCopyCondition;
    // The rows that leave the archive table once their day file is written; always a part
    // of dayCopyCondition.
    const char* dayRemoveCondition;
    // Run on the day file's table before it takes its name, or null.
    const char* dayFileFixup;
    const char* purgeColumn;  // a row is purged when this time is older than the purge age
    bool (*createTable)(CDaoDatabase& db, std::string name);
    std::string (CVorlinDatabase::*dayFileName)(const LocalTime& date) const;
};

// The two kinds.
const ArchiveKind& AlarmArchiveKind();
const ArchiveKind& RequestArchiveKind();

// The start of a move step: now and the age limit of the rows that move.
struct MoveStepTimes {
    WallTime now;
    WallTime cutoff;
};

// The scheme both archives follow on every tick: a periodic move of closed rows from the
// live table into the archive table, then either a periodic purge of the archive table or,
// once a day, a copy of yesterday's rows into a day archive file of their own. Each
// instance keeps one kind's timers. User-interface thread only.
class CArchiveScheme {
public:
    CArchiveScheme(CVorlinDatabase& db, const ArchiveKind& kind, const IClock& clock);

    // Times of the move step when it is due (and remembers that it ran), else nothing.
    std::optional<MoveStepTimes> BeginMoveStep(const ArchivePolicy& policy);

    // Moves the live rows that match the condition into the archive table, in one
    // transaction, so that a row is always in exactly one of the two. True when rows moved.
    // Failures are logged; nothing moves then.
    bool MoveRows(const std::string& condition, const std::vector<DaoValue>& params);

    // The day step or the purge step, whichever the policy asks for.
    void Maintain(const ArchivePolicy& policy);

    // "Error during alarm archiving: %s" with the description.
    void LogMoveError(const std::string& description) const;

private:
    // The local day that holds a time, kept so that most ticks need no calendar.
    struct LocalDay {
        WallTime start{WallTime::max()};
        WallTime end{WallTime::min()};
        int number = 0;  // day of the year plus one
    };

    void DayStep(const ArchivePolicy& policy);
    void PurgeStep(const ArchivePolicy& policy);
    // Writes yesterday's rows into the day file and then removes the finished ones from the
    // archive table. Errors are reported; what is not in a complete day file stays.
    bool WriteDayFile(const std::string& path, WallTime midnight);
    bool CreateDayFile(const std::string& building);
    bool CopyIntoDayFile(const std::string& building, WallTime midnight);
    void RemoveArchivedDay(const std::string& path, WallTime midnight);
    void DeleteOldDayFiles(const std::string& folder, const ArchivePolicy& policy) const;
    // "Error, creating alarm archive <what>\nDescription: %s" with the description.
    void ReportDayError(const char* what, const std::string& description) const;
    const CDiagLogSource& Log() const;

    CVorlinDatabase& db_;
    const ArchiveKind& kind_;
    const IClock& clock_;
    std::string columns_;  // every column of the layout, by name
    SteadyTime lastMoveCheck_;
    SteadyTime lastPurgeCheck_;
    LocalDay today_;
    int dayNumber_ = 0;
    bool dayDone_ = false;
};

}  // namespace corvane
