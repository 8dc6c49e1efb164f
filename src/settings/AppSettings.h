#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace corvane {

class CProfileStore;

// Number of alarm setup kinds ("Quillex Events" .. "RT-2M Events").
inline constexpr int kAlarmSetupKinds = 7;

template <typename T>
using PerAlarmKind = std::array<T, kAlarmSetupKinds>;

// Every setting of the program with its default. Loaded from and saved to the profile;
// the section and key of each member are in AppSettings.cpp.
struct AppSettings {
    // "Settings\Alarm Setup"
    std::string EmailFromAddress = "VORLIN";
    std::string EmailFromDisplayName = "Corvane";
    std::string EmailXMailer = "Corvane";
    std::string EmailReplyTo;
    std::string EmailHost;
    std::string EmailUsername;
    std::string EmailPassword;
    int EmailSMTPPort = 25;
    int EmailSMTPLoginType = 0;  // 0 HELO, 2 AUTH LOGIN, 3 AUTH LOGIN PLAIN
    std::string PagerFromAddress = "VORLIN";
    std::string PagerFromDisplayName = "Corvane";
    std::string PagerXMailer = "Corvane";
    std::string PagerReplyTo;

    // "Settings\Alarm Setup\<kind>", indexed by AlarmSetupKind
    PerAlarmKind<bool> GenerateAlarm{true, true, true, true, true, true, true};
    PerAlarmKind<bool> GenerateNotification{};
    PerAlarmKind<bool> GenerateResolvedNotification{};
    PerAlarmKind<int> NotificationDelayTime{};  // seconds
    PerAlarmKind<bool> SuppressNotificationForResolvedAlarms{};
    PerAlarmKind<bool> SendEmail{};
    PerAlarmKind<bool> SendPage{};
    PerAlarmKind<std::string> EmailTO{};
    PerAlarmKind<std::string> PagerTO{};

    bool AcknowledgeCancelsNotification = true;
    bool AbortNotificationForStaleAlarms = true;
    bool AutoAcknowledgeResolvedAlarms = false;
    bool IncludeFromAddressInPagerMessages = false;
    bool IncludeReplyToInPagerMessages = false;

    // "Settings\Alarm Archive"
    int AlarmArchiveTaskPeriod = 1;
    int AlarmArchiveMoveAge = 10;
    int AlarmArchivePurgeAge = 168;
    int AlarmDeleteDayArchiveFilesAge = 14;
    bool AlarmCreateDayArchiveFiles = false;
    bool AlarmDeleteDayArchiveFiles = false;
    bool ArchiveStaleAlarmsAtStartup = false;
    bool AllowActiveAlarmsToBeArchived = false;

    // "Settings\Request Archive"
    int RequestArchiveTaskPeriod = 1;
    int RequestArchiveMoveAge = 10;
    int RequestArchivePurgeAge = 168;
    int RequestDeleteDayArchiveFilesAge = 14;
    bool RequestCreateDayArchiveFiles = false;
    bool RequestDeleteDayArchiveFiles = false;
    bool ArchiveIncompleteRequestsAtStartup = true;

    // "Settings\Graphical Layouts"
    bool AllowEditOperations = true;
    bool AutoEnableAllowChanges = true;
    bool AllowFileOperations = true;
    bool ConfirmFileDeletes = true;
    bool AutoSaveLayouts = true;
    bool AutoHideEmptyTrunkSets = false;

    // "Settings\Configuration", "Settings\Test Parameters" and their RT-2M subsections
    std::string AudioAnalyzer = "None";
    int TonexaTxLevel = 10;
    int TonexaTxFrequency = 1004;
    int TonexaImpedance = 1;
    int TurnaroundTime = 1000;
    int OutputLevel = 1000;
    int OutputFrequency = 1000;
    int PretriggerLength = 500;
    int MultitoneLength = 250;
    bool OutputFloat = true;
    std::string OutputImpedance = "600";
    int InputDeemphasis = 0;
    std::string InputImpedance = "100K";
    int InputMICSensitivity = 500;
    int InputVoltageDividerRatio = 10;
    int TrunkSetupDelay = 500;
    int TrunkLatency1 = 2000;
    int TrunkLatency2 = 3500;
    int TrunkLatency3 = 5000;
    int NoiseFloor = 50;
    int AllowedTonexaLoopLoss = 5;
    int AllowedCascadeLoopLoss = 5;
    int AllowedTrunkLoss = 5;
    int TonexaIntercom = 0;
    int TonexaPort = 0;
    int QuillexConnectionType = 0;  // 0 serial line, 1 network
    std::string QuillexSerialPort = "COM1";
    std::string QuillexMainIPAddress;
    std::string QuillexPartnerIPAddress;
    bool SyncQuillexClock = true;  // read only
    std::string TonexaSerialPort = "COM2";

    // "Settings\Test Options"
    bool SkipInUseTrunks = true;
    bool SkipTrunksInMaintenanceMode = true;
    bool WarnBeforeTestingInUseTrunks = true;
    bool LeaveFailedTrunksInMaintenanceMode = false;
    bool ReturnPassedTrunksToActiveService = false;
    bool UseLowFrequencyTestRange = false;

    // "Settings\Test Schedule"
    int WeeklyTestDayOfWeek = 1;  // 1 Sunday .. 7 Saturday; as stored, see WeeklyTestDayInUse
    int AutomaticTestMode = 2;
    int InterTestDelay = 1;

    // "Preferences"
    int AlternateLineShading = 2;
    bool AutoSynchronizeTreeView = true;
    bool ShowNamelessIntercoms = false;
    bool AutoUpdateSortOrder = false;

    // Times of day, stored as minutes after midnight; held as stored, see the InUse calls.
    std::chrono::seconds WeeklyTestTime{1410 * 60};
    std::chrono::seconds DailyTestTime{1410 * 60};
    std::chrono::seconds RequestDailyDayArchiveTime{60 * 60};
    std::chrono::seconds AlarmDailyDayArchiveTime{60 * 60};

    int AlphaSize = 4;
    int CompactDBThreshold = 10485760;
    bool PopupHelpID = false;
    bool LaunchHelp = true;

    // The schedule values as the schedule and the archives use them. A stored day or time
    // outside its range is held as it is, so that saving keeps it in the profile, and its
    // default is used in its place.
    int WeeklyTestDayInUse() const;
    std::chrono::seconds WeeklyTestTimeInUse() const;
    std::chrono::seconds DailyTestTimeInUse() const;
    std::chrono::seconds RequestDailyDayArchiveTimeInUse() const;
    std::chrono::seconds AlarmDailyDayArchiveTimeInUse() const;

    // Reads every value, a missing one giving its default; a value that is no number gives
    // its default too, a number outside its range is held as stored. Returns what was
    // unusable, for the log.
    std::vector<std::string> Load(const CProfileStore& profile);
    // Writes every value but the read-only ones; false when the profile could not be saved.
    bool Save(CProfileStore& profile) const;
};

// The settings shared by the user-interface thread, which changes them, and the workers,
// which read a snapshot.
class SharedSettings {
public:
    AppSettings Snapshot() const {
        std::lock_guard lock(mutex_);
        return values_;
    }
    // Changes the values under the lock.
    template <typename F>
    void Modify(F change) {
        std::lock_guard lock(mutex_);
        change(values_);
    }
    std::vector<std::string> Load(const CProfileStore& profile);
    bool Save(CProfileStore& profile) const;

private:
    mutable std::mutex mutex_;
    AppSettings values_;
};

// Section names of the seven alarm setup kinds: "Settings\Alarm Setup\Quillex Events" ...
std::string AlarmSetupSection(int kind);

}  // namespace corvane
