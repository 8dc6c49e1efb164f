#include "preferences/ArchivePageValues.h"

#include "settings/AppSettings.h"

namespace corvane {

ArchivePageValues ArchivePageValues::FromSettings(const AppSettings& s, bool requestPage) {
    ArchivePageValues v;
    v.requestPage = requestPage;
    if (requestPage) {
        v.deleteDayFiles = s.RequestDeleteDayArchiveFiles;
        v.taskPeriod = s.RequestArchiveTaskPeriod;
        v.moveAge = s.RequestArchiveMoveAge;
        v.purgeAge = s.RequestArchivePurgeAge;
        v.deleteFilesAge = s.RequestDeleteDayArchiveFilesAge;
        v.mode = s.RequestCreateDayArchiveFiles ? 1 : 0;
        v.atStartup = s.ArchiveIncompleteRequestsAtStartup;
    } else {
        v.deleteDayFiles = s.AlarmDeleteDayArchiveFiles;
        v.taskPeriod = s.AlarmArchiveTaskPeriod;
        v.moveAge = s.AlarmArchiveMoveAge;
        v.purgeAge = s.AlarmArchivePurgeAge;
        v.deleteFilesAge = s.AlarmDeleteDayArchiveFilesAge;
        v.mode = s.AlarmCreateDayArchiveFiles ? 1 : 0;
        v.atStartup = s.ArchiveStaleAlarmsAtStartup;
        v.allowActive = s.AllowActiveAlarmsToBeArchived;
    }
    return v;
}

void ArchivePageValues::ApplyTo(AppSettings& s) const {
    if (requestPage) {
        s.RequestDeleteDayArchiveFiles = deleteDayFiles;
        s.RequestArchiveTaskPeriod = taskPeriod;
        s.RequestArchiveMoveAge = moveAge;
        s.RequestArchivePurgeAge = purgeAge;
        s.RequestDeleteDayArchiveFilesAge = deleteFilesAge;
        s.RequestCreateDayArchiveFiles = mode != 0;
        s.ArchiveIncompleteRequestsAtStartup = atStartup;
    } else {
        s.AlarmDeleteDayArchiveFiles = deleteDayFiles;
        s.AlarmArchiveTaskPeriod = taskPeriod;
        s.AlarmArchiveMoveAge = moveAge;
        s.AlarmArchivePurgeAge = purgeAge;
        s.AlarmDeleteDayArchiveFilesAge = deleteFilesAge;
        s.AlarmCreateDayArchiveFiles = mode != 0;
        s.ArchiveStaleAlarmsAtStartup = atStartup;
        s.AllowActiveAlarmsToBeArchived = allowActive;
    }
}

}  // namespace corvane
