#pragma once

#include <condition_variable>
#include <cstdarg>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Clock.h"

namespace corvane {

// The one daily log file that every source writes into, with its size cap and purge thread.
class CDiagLogFile {
public:
    CDiagLogFile() = default;
    ~CDiagLogFile();
    CDiagLogFile(const CDiagLogFile&) = delete;
    CDiagLogFile& operator=(const CDiagLogFile&) = delete;

    static constexpr const char* kFileSection = "Diagnostic Log - File Settings";
    static constexpr const char* kDirectory = "../Logs";
    static constexpr size_t kLineBuffer = 200;

    // Reads the file settings, checks the folder and starts logging when enabled.
    // True when logging is enabled with a file open.
    bool LoadSettings();
    void Start();
    void Stop();
    void SetFileSettings(int sizeKb, int days, bool write);
    void PurgeOldFiles();

    bool IsEnabled() const;
    bool HasOpenFile() const;
    std::string Directory() const;
    int DaysToKeep() const;
    int MaxSizeKb() const;

    // Time source for line stamps, day changes and the purge age; the real clock by default.
    void SetClock(const IClock* clock);

    // Called by the sources: a complete line of at most kLineBuffer - 1 characters is built
    // by format(buffer, room) after the time prefix.
    template <typename Body>
    void WriteLine(const std::string& sourceName, Body body) {
        std::lock_guard lock(mutex_);
        const LocalTime now = ToLocalTime(clock_->Now());
        if (!DayCheck(now)) {
            return;
        }
        char line[kLineBuffer + 1];
        size_t used = Prefix(line, now, sourceName);
        used += body(line + used, kLineBuffer - used);
        Emit(line, used);
    }

private:
    bool DayCheck(const LocalTime& now);
    void OpenDayFile(const LocalTime& now);
    void CloseFile();
    size_t Prefix(char* line, const LocalTime& now, const std::string& name) const;
    void Emit(char* line, size_t used);
    void PurgeLoop();
    void StopPurgeThread();

    mutable std::recursive_mutex mutex_;
    const IClock* clock_ = &RealClock();
    bool enabled_ = false;
    std::string headerText_;
    std::string directory_;
    std::string extension_ = "log";
    uint64_t maxSize_ = 0;
    int daysToKeep_ = 0;
    int fd_ = -1;
    int fileYear_ = 0, fileMonth_ = 0, fileDay_ = 0;

    std::mutex purgeMutex_;
    std::condition_variable purgeWake_;
    bool purgeSignalled_ = false;
    bool purgeRunning_ = false;
    std::thread purgeThread_;
};

// The program's one log file.
CDiagLogFile& DiagLogFile();

void StartDiagLog();
void StopDiagLog();

}  // namespace corvane
