#pragma once

#include <string>

namespace corvane {

struct AppSettings;

// The values of one archive page, for requests or for alarms.
struct ArchivePageValues {
    bool requestPage = true;
    bool deleteDayFiles = false;
    int taskPeriod = 1;
    int moveAge = 10;
    int purgeAge = 168;
    int deleteFilesAge = 14;
    int mode = 0;  // 0 purge archived rows, 1 day archive files
    bool atStartup = false;
    bool allowActive = false;  // the alarm page only

    static constexpr int kTaskPeriodLow = 1, kTaskPeriodHigh = 60;
    static constexpr int kMoveAgeLow = 1, kMoveAgeHigh = 120;
    static constexpr int kPurgeAgeLow = 1, kPurgeAgeHigh = 336;
    static constexpr int kDeleteAgeLow = 1, kDeleteAgeHigh = 60;

    static ArchivePageValues FromSettings(const AppSettings& s, bool requestPage);
    // The request page never touches the alarm-only switch.
    void ApplyTo(AppSettings& s) const;
};

}  // namespace corvane
