#include "log/DiagLogFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "log/DiagLogSource.h"
#include "platform/FileSystem.h"
#include "platform/FileVersionInfo.h"
#include "platform/Format.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"

namespace corvane {
namespace {

constexpr uint64_t kFourGiB = 4ull * 1024 * 1024 * 1024;
constexpr auto kPurgeInterval = std::chrono::hours(1);

void WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;  // write failures of the log are not reported
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void ShowLogError(const std::string& text) {
    Ui().MessageBox(text, LoadString(ids::kAppCaption), mb::kOk | mb::kIconExclamation);
}

}  // namespace

CDiagLogFile::~CDiagLogFile() {
    Stop();
}

bool CDiagLogFile::LoadSettings() {
    std::lock_guard lock(mutex_);
    CProfileStore& profile = Profile();
    extension_ = "log";
    const int sizeKb = profile.GetProfileInt(kFileSection, "Max File Size (kB)", 8192);
    maxSize_ = sizeKb > 0 ? static_cast<uint64_t>(sizeKb) * 1024 : 0;
    daysToKeep_ = profile.GetProfileInt(kFileSection, "Days to Keep Files", 7);
    const CFileVersionInfo version;
    headerText_ = version.GetProductName().empty()
                      ? std::string("No VERSIONINFO resource")
                      : StrFormat("%s version %s", version.GetProductName().c_str(),
                                  version.GetProductVersion().c_str());
    directory_ = kDirectory;
    const int fileEnabled = profile.GetProfileInt(kFileSection, "Log File Enabled", 1);

    std::string message;
    struct stat st {};
    if (::stat(directory_.c_str(), &st) != 0) {
        std::string error;
        if (!MakeDirectories(directory_, 0755, error)) {
            message = InsertArgs(
                "Error - Diagnostic Logging.\n\nUnable to create the log file directory \"%1\".\n\n"
                "Diagnostic Logging will be disabled.",
                {directory_});
        }
    } else if (!S_ISDIR(st.st_mode)) {
        message = InsertArgs(
            "Error - Diagnostic Logging.\n\nThe path used for dianostic logging (\"%1\") exits, "
            "but is not a directory.\n\nDiagnostic Logging will be disabled.",
            {directory_});
    } else if (::access(directory_.c_str(), W_OK | X_OK) != 0) {
        const char* user = std::getenv("USER");
        message = InsertArgs(
            "Error - Diagnostic Logging.\n\nThe directory used for diagnostic logging (\"%1\") "
            "exists, but the current Windows user account (%2) does not have sufficient "
            "permission to create files in this directory.\n\nDiagnostic Logging will be "
            "disabled.",
            {directory_, user != nullptr ? user : ""});
    }
    if (message.empty() && sizeKb <= 0) {
        message =
            "Error - Diagnostic Logging.\n\nThe maximum file size specified for diagnostic log "
            "files is negative or zero.\n\nDiagnostic Logging will be disabled.";
    }
    if (message.empty() && daysToKeep_ < 1) {
        message =
            "Error - Diagnostic Logging.\n\nThe number of days to keep diagnostic log files is "
            "less than one.\n\nDiagnostic Logging will be disabled.";
    }
    if (!message.empty()) {
        directory_.clear();
        ShowLogError(message);
    } else if (fileEnabled != 0) {
        Start();
    }
    return enabled_ && fd_ >= 0;
}

void CDiagLogFile::Start() {
    {
        std::lock_guard lock(mutex_);
        enabled_ = !directory_.empty();
        if (enabled_ && fd_ < 0) {
            OpenDayFile(ToLocalTime(clock_->Now()));
        }
        if (!enabled_) {
            return;
        }
    }
    std::lock_guard purgeLock(purgeMutex_);
    if (!purgeThread_.joinable()) {
        purgeRunning_ = true;
        purgeSignalled_ = true;  // one purge at once, then hourly
        purgeThread_ = std::thread([this] { PurgeLoop(); });
    }
}

void CDiagLogFile::Stop() {
    {
        std::lock_guard lock(mutex_);
        enabled_ = false;
        CloseFile();
    }
    StopPurgeThread();
}

void CDiagLogFile::StopPurgeThread() {
    std::thread thread;
    {
        std::lock_guard purgeLock(purgeMutex_);
        if (!purgeThread_.joinable()) {
            return;
        }
        purgeRunning_ = false;
        purgeSignalled_ = true;
        thread = std::move(purgeThread_);
    }
    purgeWake_.notify_all();
    thread.join();
}

void CDiagLogFile::SetFileSettings(int sizeKb, int days, bool write) {
    std::lock_guard lock(mutex_);
    if (sizeKb > 0) {
        maxSize_ = static_cast<uint64_t>(sizeKb) * 1024;
    }
    if (days > 0) {
        daysToKeep_ = days;
    }
    if (write) {
        CProfileStore::Batch batch(Profile());
        if (sizeKb > 0) {
            Profile().WriteProfileInt(kFileSection, "Max File Size (kB)", sizeKb);
        }
        if (daysToKeep_ > 0) {
            Profile().WriteProfileInt(kFileSection, "Days to Keep Files", daysToKeep_);
        }
    }
}

void CDiagLogFile::PurgeOldFiles() {
    std::string directory, extension;
    int days = 0;
    WallTime now;
    {
        std::lock_guard lock(mutex_);
        directory = directory_;
        extension = extension_;
        days = daysToKeep_;
        now = clock_->Now();
    }
    if (directory.empty()) {
        return;
    }
    const auto limit = std::chrono::system_clock::to_time_t(now - std::chrono::hours(24) * days);
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::string suffix = "." + extension;
    std::vector<std::string> doomed;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= suffix.size() ||
            strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) != 0) {
            continue;
        }
        const std::string path = directory + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && st.st_mtime < limit) {
            doomed.push_back(path);
        }
    }
    ::closedir(dir);
    for (const auto& path : doomed) {
        ::unlink(path.c_str());
    }
}

void CDiagLogFile::PurgeLoop() {
    sched_param param{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
    std::unique_lock lock(purgeMutex_);
    while (purgeRunning_) {
        purgeWake_.wait_for(lock, kPurgeInterval, [this] { return purgeSignalled_; });
        purgeSignalled_ = false;
        if (!purgeRunning_) {
            break;
        }
        lock.unlock();
        PurgeOldFiles();
        lock.lock();
    }
}

bool CDiagLogFile::IsEnabled() const {
    std::lock_guard lock(mutex_);
    return enabled_;
}

bool CDiagLogFile::HasOpenFile() const {
    std::lock_guard lock(mutex_);
    return fd_ >= 0;
}

std::string CDiagLogFile::Directory() const {
    std::lock_guard lock(mutex_);
    return directory_;
}

int CDiagLogFile::DaysToKeep() const {
    std::lock_guard lock(mutex_);
    return daysToKeep_;
}

int CDiagLogFile::MaxSizeKb() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(maxSize_ / 1024);
}

void CDiagLogFile::SetClock(const IClock* clock) {
    std::lock_guard lock(mutex_);
    clock_ = clock != nullptr ? clock : &RealClock();
}

bool CDiagLogFile::DayCheck(const LocalTime& now) {
    if (!enabled_) {
        return false;
    }
    if (now.year != fileYear_ || now.month != fileMonth_ || now.day != fileDay_) {
        CloseFile();
        OpenDayFile(now);
    }
    return fd_ >= 0;
}

void CDiagLogFile::OpenDayFile(const LocalTime& now) {
    const std::string path =
        StrFormat("%s/%d-%02d-%02d.log", directory_.c_str(), now.year, now.month, now.day);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;  // the next line tries again
    }
    fd_ = fd;
    const std::string head = StrFormat(
        "============ Diagnostic Log File - Date: %04d-%02d-%02d\n%02d:%02d:%02d.%03d Start "
        "Application: %s\n",
        now.year, now.month, now.day, now.hour, now.minute, now.second, now.millisecond,
        headerText_.c_str());
    WriteAll(fd_, head.data(), head.size());
    fileYear_ = now.year;
    fileMonth_ = now.month;
    fileDay_ = now.day;
}

void CDiagLogFile::CloseFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

size_t CDiagLogFile::Prefix(char* line, const LocalTime& now, const std::string& name) const {
    const int n = std::snprintf(line, kLineBuffer, "%02d:%02d:%02d.%03d %s ", now.hour, now.minute,
                                now.second, now.millisecond, name.c_str());
    return n < 0 ? 0 : std::min(static_cast<size_t>(n), kLineBuffer - 1);
}

void CDiagLogFile::Emit(char* line, size_t used) {
    used = std::min(used, kLineBuffer - 1);
    line[used++] = '\n';
    WriteAll(fd_, line, used);
    struct stat st {};
    if (::fstat(fd_, &st) == 0) {
        const uint64_t size = static_cast<uint64_t>(st.st_size);
        if (size >= maxSize_ || size >= kFourGiB) {
            CloseFile();  // nothing more today; the next day opens a new file
        }
    }
}

CDiagLogFile& DiagLogFile() {
    static CDiagLogFile file;
    return file;
}

void StartDiagLog() {
    DiagLogFile().LoadSettings();
    CDiagLogSource::ListLock lock;
    CDiagLogSource::started_ = true;
    for (CDiagLogSource* s = CDiagLogSource::head_; s != nullptr; s = s->next_) {
        s->LoadLevel();
    }
}

void StopDiagLog() {
    DiagLogFile().Stop();
    CDiagLogSource::ListLock lock;
    CDiagLogSource::started_ = false;  // the next start reloads every level
}

}  // namespace corvane
