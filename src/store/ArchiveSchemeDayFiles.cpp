// The daily step of the archive scheme: yesterday's rows into a day archive file of their
// own, and old day files away.
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "log/DiagLogSource.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "store/ArchiveScheme.h"
#include "store/DaoException.h"
#include "store/DatabaseFiles.h"
#include "store/DatabaseSchema.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

// The schema name a day file is attached under; the kinds' fix-ups name it too.
constexpr const char* kDaySchema = "DayArchive";

// The day file is reached through the main database, which the copies read.
class ScopedDayAttach {
public:
    ScopedDayAttach(CDaoDatabase& db, const std::string& path) : db_(db) {
        db_.Execute(std::string("ATTACH DATABASE ?1 AS ") + kDaySchema, {DaoValue(path)});
    }
    ~ScopedDayAttach() {
        if (!detached_) {
            try {
                Detach();
            } catch (const CDaoException& e) {
                db_.Log().Printf(0, "Closing the day archive file failed: %s",
                                 e.Description().c_str());
            }
        }
    }
    ScopedDayAttach(const ScopedDayAttach&) = delete;
    ScopedDayAttach& operator=(const ScopedDayAttach&) = delete;
    // Throws when the file stays attached.
    void Detach() {
        db_.Execute(std::string("DETACH DATABASE ") + kDaySchema);
        detached_ = true;
    }

private:
    CDaoDatabase& db_;
    bool detached_ = false;
};

WallTime FromTimeT(std::time_t t) {
    return std::chrono::system_clock::from_time_t(t);
}

bool EndsWithNoCase(const std::string& text, const char* tail) {
    const size_t n = std::strlen(tail);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, tail) == 0;
}

}  // namespace

void CArchiveScheme::DayStep(const ArchivePolicy& policy) {
    const WallTime now = clock_.Now();
    if (now < today_.start || now >= today_.end) {
        // A new day, or the clock was set: once per day only, not on every tick.
        const std::time_t t = std::chrono::system_clock::to_time_t(now);
        std::tm tm{};
        localtime_r(&t, &tm);
        tm.tm_hour = tm.tm_min = tm.tm_sec = 0;
        tm.tm_isdst = -1;
        today_.number = tm.tm_yday + 1;
        today_.start = FromTimeT(std::mktime(&tm));
        std::tm next = tm;
        next.tm_mday += 1;
        next.tm_isdst = -1;
        today_.end = FromTimeT(std::mktime(&next));
        if (today_.end <= today_.start || today_.start > now) {
            today_.start = now;  // no usable calendar: look again on the next tick
            today_.end = now;
            return;
        }
        if (today_.number != dayNumber_) {
            dayNumber_ = today_.number;
            dayDone_ = false;
        }
    }
    if (dayDone_ || now - today_.start <= policy.dailyTime) {
        return;
    }
    // Once a day, also when what follows fails, so a failure shows one message a day.
    dayDone_ = true;
    const std::string path =
        (db_.*kind_.dayFileName)(ToLocalTime(today_.start - std::chrono::seconds(1)));
    if (FileExists(path)) {
        return;
    }
    if (WriteDayFile(path, today_.start) && policy.deleteDayFiles) {
        DeleteOldDayFiles(DirectoryOf(path), policy);
    }
}

void CArchiveScheme::ReportDayError(const char* what, const std::string& description) const {
    ReportDaoException(
        CDaoException(description, 0),
        StrFormat("Error, creating %s archive %s", kind_.noun, what) + "\nDescription: %s");
}

bool CArchiveScheme::WriteDayFile(const std::string& path, WallTime midnight) {
    const std::string folder = DirectoryOf(path);
    std::string error;
    if (!MakeDirectories(folder, 0755, error)) {
        ReportDayError("database file", error);
        return false;
    }
    Log().Printf(3, "Writing day archive file %s", path.c_str());
    // Built under another name and renamed when complete, so that a file under the day's
    // name is always whole, and a failed day is written again at the next start.
    const std::string building = path + ".new";
    RemoveDatabaseFiles(building);
    if (!CreateDayFile(building) || !CopyIntoDayFile(building, midnight)) {
        RemoveDatabaseFiles(building);
        return false;
    }
    if (const int e = SyncFile(building); e != 0) {
        Log().Printf(1, "Day archive file %s: fsync failed: %s", building.c_str(),
                     std::strerror(e));
    }
    if (std::rename(building.c_str(), path.c_str()) != 0) {
        const int e = errno;
        RemoveDatabaseFiles(building);
        ReportDayError("table", StrFormat("%s: %s", path.c_str(), std::strerror(e)));
        return false;
    }
    SyncDirectory(folder);
    RemoveArchivedDay(path, midnight);
    return true;
}

bool CArchiveScheme::CreateDayFile(const std::string& building) {
    CDaoDatabase file(Log());
    try {
        file.Create(building);
    } catch (const CDaoException& e) {
        ReportDaoException(e, StrFormat("Error, creating %s archive database file", kind_.noun) +
                                  "\nDescription: %s");
        return false;
    }
    const bool created = kind_.createTable(file, kind_.archiveTable);
    file.Close();
    return created;
}

bool CArchiveScheme::CopyIntoDayFile(const std::string& building, WallTime midnight) {
    CDaoDatabase& db = db_.Database();
    const std::vector<DaoValue> params{DaoValue::Date(midnight)};
    const std::string target = std::string(kDaySchema) + "." + QuoteIdentifier(kind_.archiveTable);
    auto copyFrom = [&](const char* table) {
        db.Execute("INSERT INTO " + target + " (" + columns_ + ") SELECT " + columns_ + " FROM " +
                       QuoteIdentifier(table) + " WHERE " + kind_.dayCopyCondition,
                   params);
        return db.GetRecordsAffected();
    };
    try {
        ScopedDayAttach attach(db, building);
        CDaoTransaction transaction(db);
        const long archived = copyFrom(kind_.archiveTable);
        const long live = copyFrom(kind_.liveTable);
        if (kind_.dayFileFixup != nullptr) {
            db.Execute(kind_.dayFileFixup, params);
        }
        transaction.Commit();
        attach.Detach();
        Log().Printf(3, "Day archive file %s: copied %ld records from %s and %ld from %s",
                     building.c_str(), archived, kind_.archiveTable, live, kind_.liveTable);
        return true;
    } catch (const CDaoException& e) {
        ReportDaoException(
            e, StrFormat("Error, creating %s archive table", kind_.noun) + "\nDescription: %s");
        return false;
    }
}

void CArchiveScheme::RemoveArchivedDay(const std::string& path, WallTime midnight) {
    CDaoDatabase& db = db_.Database();
    const std::string archive = QuoteIdentifier(kind_.archiveTable);
    const std::string id = QuoteIdentifier(kind_.layout.primaryKey.front());
    try {
        ScopedDayAttach attach(db, path);
        // Only rows the written file holds leave the archive table.
        db.Execute("DELETE FROM " + archive + " WHERE (" + kind_.dayRemoveCondition + ") AND " +
                       id + " IN (SELECT " + id + " FROM " + kDaySchema + "." + archive + ")",
                   {DaoValue::Date(midnight)});
        const long removed = db.GetRecordsAffected();
        attach.Detach();
        Log().Printf(3, "Day archive file %s written, %ld records removed from %s table",
                     path.c_str(), removed, kind_.archiveTable);
    } catch (const CDaoException& e) {
        // The rows stay and go into the next day's file as well.
        ReportDaoException(
            e, StrFormat("Error, creating %s archive table", kind_.noun) + "\nDescription: %s");
    }
}

void CArchiveScheme::DeleteOldDayFiles(const std::string& folder,
                                       const ArchivePolicy& policy) const {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const WallTime limit = clock_.Now() - policy.deleteDayFilesAge;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        // Hidden entries (and "." and "..") are not ours to delete.
        if (name.empty() || name[0] == '.' || !EndsWithNoCase(name, ".mdb")) {
            continue;
        }
        const std::string file = folder + "/" + name;
        struct stat st {};
        if (::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
            (st.st_mode & S_IWUSR) == 0) {
            continue;  // folders, links, devices and read-only files stay
        }
        const WallTime written = FromTimeT(st.st_mtim.tv_sec);
        if (written < limit && RemoveDatabaseFiles(file) == 0) {
            Log().Printf(3, "Deleted day archive file %s", file.c_str());
        }
    }
    ::closedir(dir);
}

}  // namespace corvane
