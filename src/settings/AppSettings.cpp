#include "settings/AppSettings.h"

#include "platform/Format.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"

namespace corvane {
namespace {

constexpr const char* kAlarmSetup = "Settings\\Alarm Setup";
constexpr const char* kAlarmArchive = "Settings\\Alarm Archive";
constexpr const char* kRequestArchive = "Settings\\Request Archive";
constexpr const char* kLayouts = "Settings\\Graphical Layouts";
constexpr const char* kConfiguration = "Settings\\Configuration";
constexpr const char* kRt2mConfiguration = "Settings\\Configuration\\RT-2M";
constexpr const char* kTestParameters = "Settings\\Test Parameters";
constexpr const char* kRt2mParameters = "Settings\\Test Parameters\\RT-2M";
constexpr const char* kTestOptions = "Settings\\Test Options";
constexpr const char* kTestSchedule = "Settings\\Test Schedule";
constexpr const char* kPreferences = "Preferences";

constexpr int kMinutesPerDay = 1440;

// One walk over every setting serves both loading and saving, so the two cannot drift apart.
class SettingsVisitor {
public:
    virtual ~SettingsVisitor() = default;
    virtual void Int(const std::string& section, const char* key, int& value) = 0;
    virtual void Bool(const std::string& section, const char* key, bool& value) = 0;
    virtual void String(const std::string& section, const char* key, std::string& value) = 0;
    // A string whose default is another setting's current value.
    virtual void StringDefaultingTo(const std::string& section, const char* key, std::string& value,
                                    const std::string& fallback) = 0;
    // A switch whose default is read from the key it replaced; the old key is never written.
    virtual void BoolReplacing(const std::string& section, const char* key, const char* oldKey,
                               bool& value) = 0;
    // Read, never written.
    virtual void ReadOnlyBool(const std::string& section, const char* key, bool& value) = 0;
    // Minutes after midnight in the profile, seconds in memory.
    virtual void TimeOfDay(const std::string& section, const char* key,
                           std::chrono::seconds& value) = 0;
    // An int that must lie in [low, high] to be used.
    virtual void IntInRange(const std::string& section, const char* key, int& value, int low,
                            int high) = 0;
};

void VisitAll(AppSettings& s, SettingsVisitor& v) {
    v.Int(kPreferences, "AlternateLineShading", s.AlternateLineShading);
    v.Bool(kPreferences, "AutoSynchronizeTreeView", s.AutoSynchronizeTreeView);
    v.Bool(kPreferences, "ShowNamelessIntercoms", s.ShowNamelessIntercoms);
    v.Bool(kPreferences, "AutoUpdateSortOrder", s.AutoUpdateSortOrder);
    v.Int(kPreferences, "AlphaSize", s.AlphaSize);
    v.Int(kPreferences, "CompactDBThreshold", s.CompactDBThreshold);
    v.Bool(kPreferences, "PopupHelpID", s.PopupHelpID);
    v.Bool(kPreferences, "LaunchHelp", s.LaunchHelp);

    v.String(kAlarmSetup, "EmailFromAddress", s.EmailFromAddress);
    v.String(kAlarmSetup, "EmailFromDisplayName", s.EmailFromDisplayName);
    v.String(kAlarmSetup, "EmailXMailer", s.EmailXMailer);
    v.String(kAlarmSetup, "EmailReplyTo", s.EmailReplyTo);
    v.String(kAlarmSetup, "EmailHost", s.EmailHost);
    v.String(kAlarmSetup, "EmailUsername", s.EmailUsername);
    v.String(kAlarmSetup, "EmailPassword", s.EmailPassword);
    v.Int(kAlarmSetup, "EmailSMTPPort", s.EmailSMTPPort);
    v.Int(kAlarmSetup, "EmailSMTPLoginType", s.EmailSMTPLoginType);
    v.StringDefaultingTo(kAlarmSetup, "PagerFromAddress", s.PagerFromAddress, s.EmailFromAddress);
    v.StringDefaultingTo(kAlarmSetup, "PagerFromDisplayName", s.PagerFromDisplayName,
                         s.EmailFromDisplayName);
    v.StringDefaultingTo(kAlarmSetup, "PagerXMailer", s.PagerXMailer, s.EmailXMailer);
    v.String(kAlarmSetup, "PagerReplyTo", s.PagerReplyTo);
    for (int kind = 0; kind < kAlarmSetupKinds; ++kind) {
        const std::string section = AlarmSetupSection(kind);
        v.Bool(section, "GenerateAlarm", s.GenerateAlarm[kind]);
        v.Bool(section, "GenerateNotification", s.GenerateNotification[kind]);
        v.Bool(section, "GenerateResolvedNotification", s.GenerateResolvedNotification[kind]);
        v.Int(section, "NotificationDelayTime", s.NotificationDelayTime[kind]);
        v.Bool(section, "SuppressNotificationForResolvedAlarms",
               s.SuppressNotificationForResolvedAlarms[kind]);
        v.Bool(section, "SendEmail", s.SendEmail[kind]);
        v.Bool(section, "SendPage", s.SendPage[kind]);
        v.String(section, "EmailTO", s.EmailTO[kind]);
        v.String(section, "PagerTO", s.PagerTO[kind]);
    }
    v.Bool(kAlarmSetup, "AcknowledgeCancelsNotification", s.AcknowledgeCancelsNotification);
    v.Bool(kAlarmSetup, "AbortNotificationForStaleAlarms", s.AbortNotificationForStaleAlarms);
    v.Bool(kAlarmSetup, "AutoAcknowledgeResolvedAlarms", s.AutoAcknowledgeResolvedAlarms);
    v.BoolReplacing(kAlarmSetup, "IncludeFromAddressInPagerMessages",
                    "IncludeEmailFromInPagerMessages", s.IncludeFromAddressInPagerMessages);
    v.BoolReplacing(kAlarmSetup, "IncludeReplyToInPagerMessages",
                    "IncludeEmailReplyToInPagerMessages", s.IncludeReplyToInPagerMessages);

    v.Int(kAlarmArchive, "AlarmArchiveTaskPeriod", s.AlarmArchiveTaskPeriod);
    v.Int(kAlarmArchive, "AlarmArchiveMoveAge", s.AlarmArchiveMoveAge);
    v.Int(kAlarmArchive, "AlarmArchivePurgeAge", s.AlarmArchivePurgeAge);
    v.Int(kAlarmArchive, "DeleteDayArchiveFilesAge", s.AlarmDeleteDayArchiveFilesAge);
    v.Bool(kAlarmArchive, "CreateDayArchiveFiles", s.AlarmCreateDayArchiveFiles);
    v.Bool(kAlarmArchive, "DeleteDayArchiveFiles", s.AlarmDeleteDayArchiveFiles);
    v.Bool(kAlarmArchive, "ArchiveStaleAlarmsAtStartup", s.ArchiveStaleAlarmsAtStartup);
    v.Bool(kAlarmArchive, "AllowActiveAlarmsToBeArchived", s.AllowActiveAlarmsToBeArchived);

    v.Int(kRequestArchive, "RequestArchiveTaskPeriod", s.RequestArchiveTaskPeriod);
    v.Int(kRequestArchive, "RequestArchiveMoveAge", s.RequestArchiveMoveAge);
    v.Int(kRequestArchive, "RequestArchivePurgeAge", s.RequestArchivePurgeAge);
    v.Int(kRequestArchive, "DeleteDayArchiveFilesAge", s.RequestDeleteDayArchiveFilesAge);
    v.Bool(kRequestArchive, "CreateDayArchiveFiles", s.RequestCreateDayArchiveFiles);
    v.Bool(kRequestArchive, "DeleteDayArchiveFiles", s.RequestDeleteDayArchiveFiles);
    v.Bool(kRequestArchive, "ArchiveIncompleteRequestsAtStartup",
           s.ArchiveIncompleteRequestsAtStartup);

    v.Bool(kLayouts, "AllowEditOperations", s.AllowEditOperations);
    v.Bool(kLayouts, "AutoEnableAllowChanges", s.AutoEnableAllowChanges);
    v.Bool(kLayouts, "AllowFileOperations", s.AllowFileOperations);
    v.Bool(kLayouts, "ConfirmFileDeletes", s.ConfirmFileDeletes);
    v.Bool(kLayouts, "AutoSaveLayouts", s.AutoSaveLayouts);
    v.Bool(kLayouts, "AutoHideEmptyTrunkSets", s.AutoHideEmptyTrunkSets);

    v.String(kConfiguration, "AudioAnalyzer", s.AudioAnalyzer);
    v.Int(kTestParameters, "TonexaTxLevel", s.TonexaTxLevel);
    v.Int(kTestParameters, "TonexaTxFrequency", s.TonexaTxFrequency);
    v.Int(kTestParameters, "TonexaImpedance", s.TonexaImpedance);
    v.Int(kRt2mConfiguration, "TurnaroundTime", s.TurnaroundTime);
    v.Int(kRt2mParameters, "OutputLevel", s.OutputLevel);
    v.Int(kRt2mParameters, "OutputFrequency", s.OutputFrequency);
    v.Int(kRt2mParameters, "PretriggerLength", s.PretriggerLength);
    v.Int(kRt2mParameters, "MultitoneLength", s.MultitoneLength);
    v.Bool(kRt2mParameters, "OutputFloat", s.OutputFloat);
    v.String(kRt2mParameters, "OutputImpedance", s.OutputImpedance);
    v.Int(kRt2mParameters, "InputDeemphasis", s.InputDeemphasis);
    v.String(kRt2mParameters, "InputImpedance", s.InputImpedance);
    v.Int(kRt2mParameters, "InputMICSensitivity", s.InputMICSensitivity);
    v.Int(kRt2mParameters, "InputVoltageDividerRatio", s.InputVoltageDividerRatio);
    v.Int(kRt2mParameters, "TrunkSetupDelay", s.TrunkSetupDelay);
    v.Int(kRt2mParameters, "TrunkLatency1", s.TrunkLatency1);
    v.Int(kRt2mParameters, "TrunkLatency2", s.TrunkLatency2);
    v.Int(kRt2mParameters, "TrunkLatency3", s.TrunkLatency3);
    v.Int(kRt2mParameters, "NoiseFloor", s.NoiseFloor);
    v.Int(kTestParameters, "AllowedTonexaLoopLoss", s.AllowedTonexaLoopLoss);
    v.Int(kTestParameters, "AllowedCascadeLoopLoss", s.AllowedCascadeLoopLoss);
    v.Int(kTestParameters, "AllowedTrunkLoss", s.AllowedTrunkLoss);
    v.Int(kConfiguration, "TonexaIntercom", s.TonexaIntercom);
    v.Int(kConfiguration, "TonexaPort", s.TonexaPort);
    v.Int(kConfiguration, "QuillexConnectionType", s.QuillexConnectionType);
    v.String(kConfiguration, "QuillexSerialPort", s.QuillexSerialPort);
    v.String(kConfiguration, "QuillexMainIPAddress", s.QuillexMainIPAddress);
    v.String(kConfiguration, "QuillexPartnerIPAddress", s.QuillexPartnerIPAddress);
    v.ReadOnlyBool(kConfiguration, "SyncQuillexClock", s.SyncQuillexClock);
    v.String(kConfiguration, "TonexaSerialPort", s.TonexaSerialPort);

    v.Bool(kTestOptions, "SkipInUseTrunks", s.SkipInUseTrunks);
    v.Bool(kTestOptions, "SkipTrunksInMaintenanceMode", s.SkipTrunksInMaintenanceMode);
    v.Bool(kTestOptions, "WarnBeforeTestingInUseTrunks", s.WarnBeforeTestingInUseTrunks);
    v.Bool(kTestOptions, "LeaveFailedTrunksInMaintenanceMode",
           s.LeaveFailedTrunksInMaintenanceMode);
    v.Bool(kTestOptions, "ReturnPassedTrunksToActiveService", s.ReturnPassedTrunksToActiveService);
    v.Bool(kTestParameters, "UseLowFrequencyTestRange", s.UseLowFrequencyTestRange);

    v.IntInRange(kTestSchedule, "WeeklyTestDayOfWeek", s.WeeklyTestDayOfWeek, 1, 7);
    v.Int(kTestSchedule, "AutomaticTestMode", s.AutomaticTestMode);
    v.Int(kTestSchedule, "InterTestDelay", s.InterTestDelay);
    v.TimeOfDay(kTestSchedule, "WeeklyTestTime", s.WeeklyTestTime);
    v.TimeOfDay(kTestSchedule, "DailyTestTime", s.DailyTestTime);
    v.TimeOfDay(kRequestArchive, "DailyDayArchiveTime", s.RequestDailyDayArchiveTime);
    v.TimeOfDay(kAlarmArchive, "DailyDayArchiveTime", s.AlarmDailyDayArchiveTime);
}

class Loader final : public SettingsVisitor {
public:
    Loader(const CProfileStore& profile, std::vector<std::string>& problems)
        : p_(profile), problems_(problems) {}

    void Int(const std::string& section, const char* key, int& value) override {
        value = p_.GetProfileInt(section, key, value);
    }
    void Bool(const std::string& section, const char* key, bool& value) override {
        value = p_.GetProfileInt(section, key, value ? 1 : 0) != 0;
    }
    void String(const std::string& section, const char* key, std::string& value) override {
        value = p_.GetProfileString(section, key, value);
    }
    void StringDefaultingTo(const std::string& section, const char* key, std::string& value,
                            const std::string& fallback) override {
        value = p_.GetProfileString(section, key, fallback);
    }
    void BoolReplacing(const std::string& section, const char* key, const char* oldKey,
                       bool& value) override {
        const int old = p_.GetProfileInt(section, oldKey, value ? 1 : 0);
        value = p_.GetProfileInt(section, key, old) != 0;
    }
    void ReadOnlyBool(const std::string& section, const char* key, bool& value) override {
        Bool(section, key, value);
    }
    void TimeOfDay(const std::string& section, const char* key,
                   std::chrono::seconds& value) override {
        const int def = static_cast<int>(value.count() / 60);
        const int minutes = p_.GetProfileInt(section, key, def);
        if (minutes < 0 || minutes >= kMinutesPerDay) {
            problems_.push_back(StrFormat(
                "[%s] %s: %d is not a time of day; %d is used, and the stored value is kept",
                section.c_str(), key, minutes, def));
        }
        value = std::chrono::minutes(minutes);
    }
    void IntInRange(const std::string& section, const char* key, int& value, int low,
                    int high) override {
        const int stored = p_.GetProfileInt(section, key, value);
        if (stored < low || stored > high) {
            problems_.push_back(
                StrFormat("[%s] %s: %d is outside %d-%d; %d is used, and the stored value is kept",
                          section.c_str(), key, stored, low, high, value));
        }
        value = stored;
    }

private:
    const CProfileStore& p_;
    std::vector<std::string>& problems_;
};

class Saver final : public SettingsVisitor {
public:
    explicit Saver(CProfileStore& profile) : p_(profile) {}

    void Int(const std::string& section, const char* key, int& value) override {
        Track(p_.WriteProfileInt(section, key, value));
    }
    void Bool(const std::string& section, const char* key, bool& value) override {
        Track(p_.WriteProfileInt(section, key, value ? 1 : 0));
    }
    void String(const std::string& section, const char* key, std::string& value) override {
        Track(p_.WriteProfileString(section, key, value));
    }
    void StringDefaultingTo(const std::string& section, const char* key, std::string& value,
                            const std::string&) override {
        String(section, key, value);
    }
    void BoolReplacing(const std::string& section, const char* key, const char*,
                       bool& value) override {
        Bool(section, key, value);
    }
    void ReadOnlyBool(const std::string&, const char*, bool&) override {}
    void TimeOfDay(const std::string& section, const char* key,
                   std::chrono::seconds& value) override {
        Track(p_.WriteProfileInt(section, key, static_cast<int>(value.count() / 60)));
    }
    void IntInRange(const std::string& section, const char* key, int& value, int, int) override {
        Int(section, key, value);
    }
    bool Ok() const { return ok_; }

private:
    void Track(bool written) { ok_ = ok_ && written; }
    CProfileStore& p_;
    bool ok_ = true;
};

const AppSettings& Defaults() {
    static const AppSettings defaults;
    return defaults;
}

std::chrono::seconds TimeOfDayOr(std::chrono::seconds held, std::chrono::seconds fallback) {
    return held.count() >= 0 && held < std::chrono::minutes(kMinutesPerDay) ? held : fallback;
}

}  // namespace

int AppSettings::WeeklyTestDayInUse() const {
    return WeeklyTestDayOfWeek >= 1 && WeeklyTestDayOfWeek <= 7 ? WeeklyTestDayOfWeek
                                                                : Defaults().WeeklyTestDayOfWeek;
}

std::chrono::seconds AppSettings::WeeklyTestTimeInUse() const {
    return TimeOfDayOr(WeeklyTestTime, Defaults().WeeklyTestTime);
}

std::chrono::seconds AppSettings::DailyTestTimeInUse() const {
    return TimeOfDayOr(DailyTestTime, Defaults().DailyTestTime);
}

std::chrono::seconds AppSettings::RequestDailyDayArchiveTimeInUse() const {
    return TimeOfDayOr(RequestDailyDayArchiveTime, Defaults().RequestDailyDayArchiveTime);
}

std::chrono::seconds AppSettings::AlarmDailyDayArchiveTimeInUse() const {
    return TimeOfDayOr(AlarmDailyDayArchiveTime, Defaults().AlarmDailyDayArchiveTime);
}

std::string AlarmSetupSection(int kind) {
    return std::string(kAlarmSetup) + "\\" + LoadString(ids::kAlarmSetupKindFirst + kind);
}

std::vector<std::string> AppSettings::Load(const CProfileStore& profile) {
    std::vector<std::string> problems;
    Loader loader(profile, problems);
    VisitAll(*this, loader);
    return problems;
}

bool AppSettings::Save(CProfileStore& profile) const {
    CProfileStore::Batch batch(profile);
    Saver saver(profile);
    AppSettings values = *this;  // the walk takes its values by reference
    VisitAll(values, saver);
    return batch.Close() && saver.Ok();
}

std::vector<std::string> SharedSettings::Load(const CProfileStore& profile) {
    AppSettings loaded;
    std::vector<std::string> problems = loaded.Load(profile);
    std::lock_guard lock(mutex_);
    values_ = std::move(loaded);
    return problems;
}

bool SharedSettings::Save(CProfileStore& profile) const {
    return Snapshot().Save(profile);
}

}  // namespace corvane
