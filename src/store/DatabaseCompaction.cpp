// Compaction: VACUUM INTO a file beside the database, then an atomic rename over it, so
// the live file is never missing and a killed compaction leaves the old file as it was.
#include <cerrno>
#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "store/DaoException.h"
#include "store/DatabaseFiles.h"
#include "store/VorlinDatabase.h"

namespace corvane {

std::string CVorlinDatabase::CompactionTempPath() const {
    const std::string dir = DirectoryOf(path_);
    return dir.empty() ? "_QRNTEMP.mdb" : dir + "/_QRNTEMP.mdb";
}

void CVorlinDatabase::OfferCompaction() {
    const int timeout = profile_.GetProfileInt("Preferences", "CompactDBTimeout", 20);
    profile_.WriteProfileInt("Preferences", "CompactDBTimeout", timeout);
    const bool yesByDefault = profile_.GetProfileInt("Preferences", "CompactDB", 1) != 0;
    profile_.WriteProfileInt("Preferences", "CompactDB", yesByDefault ? 1 : 0);

    TimedQuestion question;
    question.text = LoadString(ids::kCompactQuestion);
    question.caption = LoadString(ids::kAppCaption);
    question.style = mb::kYesNo | mb::kIconStop | (yesByDefault ? 0 : mb::kDefButton2);
    question.timeoutSeconds = timeout;
    // A question that timed out carries the time-out bit, so it is never Yes.
    if (Ui().Ask(question) != answer::kYes) {
        return;
    }
    CompactDatabase();
}

void CVorlinDatabase::CompactDatabase() {
    const std::string temp = CompactionTempPath();
    auto fileError = [&](int error) {
        RemoveDatabaseFiles(temp);
        Ui().MessageBox(StrFormat("Error, compacting database\nFile Name: %s\nError Code: %d",
                                  path_.c_str(), error),
                        LoadString(ids::kAppCaption), mb::kOk);
    };
    CloseDatabase();
    db_ = std::make_unique<CDaoDatabase>(log_);
    try {
        db_->Open(path_);
        RemoveDatabaseFiles(temp);
        db_->Execute("VACUUM INTO ?", {DaoValue(temp)});
    } catch (const CDaoException& e) {
        db_->Close();
        RemoveDatabaseFiles(temp);
        log_.Printf(0, "Compaction failed, the database stays as it was: %s",
                    e.Description().c_str());
        ReportDaoException(e, "Error, compacting database\nDescription: %s");
        return;
    }
    // Closing the last connection folds the WAL back into the file and removes it.
    db_->Close();
    if (FileExists(path_ + "-wal") || FileExists(path_ + "-journal")) {
        // Another program still has the database open: its changes would be lost.
        fileError(EBUSY);
        return;
    }
    if (const int error = SyncFile(temp); error != 0) {
        fileError(error);
        return;
    }
    std::remove((path_ + "-shm").c_str());
    if (std::rename(temp.c_str(), path_.c_str()) != 0) {
        fileError(errno);
        return;
    }
    SyncDirectory(DirectoryOf(path_).empty() ? "." : DirectoryOf(path_));
    log_.Printf(1, "Database compacted to %lld bytes", static_cast<long long>(FileSize(path_)));
}

}  // namespace corvane
