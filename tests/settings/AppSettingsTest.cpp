#include "settings/AppSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "fakes/TempDir.h"
#include "platform/ProfileStore.h"
#include "settings/ColorSettings.h"

namespace corvane {
namespace {

struct Row {
    std::string section;
    const char* key;
    const char* value;
};

// Every key the first start must leave in the profile, with its default as stored.
std::vector<Row> ExpectedDefaults() {
    const std::string setup = "Settings\\Alarm Setup";
    const std::string alarmArchive = "Settings\\Alarm Archive";
    const std::string requestArchive = "Settings\\Request Archive";
    const std::string layouts = "Settings\\Graphical Layouts";
    const std::string config = "Settings\\Configuration";
    const std::string params = "Settings\\Test Parameters";
    const std::string rt2m = "Settings\\Test Parameters\\RT-2M";
    const std::string options = "Settings\\Test Options";
    const std::string schedule = "Settings\\Test Schedule";
    const std::string prefs = "Preferences";
    std::vector<Row> rows = {
        {setup, "EmailFromAddress", "VORLIN"},
        {setup, "EmailFromDisplayName", "Corvane"},
        {setup, "EmailXMailer", "Corvane"},
        {setup, "EmailReplyTo", ""},
        {setup, "EmailHost", ""},
        {setup, "EmailUsername", ""},
        {setup, "EmailPassword", ""},
        {setup, "EmailSMTPPort", "25"},
        {setup, "EmailSMTPLoginType", "0"},
        {setup, "PagerFromAddress", "VORLIN"},
        {setup, "PagerFromDisplayName", "Corvane"},
        {setup, "PagerXMailer", "Corvane"},
        {setup, "PagerReplyTo", ""},
        {setup, "AcknowledgeCancelsNotification", "1"},
        {setup, "AbortNotificationForStaleAlarms", "1"},
        {setup, "AutoAcknowledgeResolvedAlarms", "0"},
        {setup, "IncludeFromAddressInPagerMessages", "0"},
        {setup, "IncludeReplyToInPagerMessages", "0"},
        {alarmArchive, "AlarmArchiveTaskPeriod", "1"},
        {alarmArchive, "AlarmArchiveMoveAge", "10"},
        {alarmArchive, "AlarmArchivePurgeAge", "168"},
        {alarmArchive, "DeleteDayArchiveFilesAge", "14"},
        {alarmArchive, "CreateDayArchiveFiles", "0"},
        {alarmArchive, "DeleteDayArchiveFiles", "0"},
        {alarmArchive, "ArchiveStaleAlarmsAtStartup", "0"},
        {alarmArchive, "AllowActiveAlarmsToBeArchived", "0"},
        {alarmArchive, "DailyDayArchiveTime", "60"},
        {requestArchive, "RequestArchiveTaskPeriod", "1"},
        {requestArchive, "RequestArchiveMoveAge", "10"},
        {requestArchive, "RequestArchivePurgeAge", "168"},
        {requestArchive, "DeleteDayArchiveFilesAge", "14"},
        {requestArchive, "CreateDayArchiveFiles", "0"},
        {requestArchive, "DeleteDayArchiveFiles", "0"},
        {requestArchive, "ArchiveIncompleteRequestsAtStartup", "1"},
        {requestArchive, "DailyDayArchiveTime", "60"},
        {layouts, "AllowEditOperations", "1"},
        {layouts, "AutoEnableAllowChanges", "1"},
        {layouts, "AllowFileOperations", "1"},
        {layouts, "ConfirmFileDeletes", "1"},
        {layouts, "AutoSaveLayouts", "1"},
        {layouts, "AutoHideEmptyTrunkSets", "0"},
        {config, "AudioAnalyzer", "None"},
        {params, "TonexaTxLevel", "10"},
        {params, "TonexaTxFrequency", "1004"},
        {params, "TonexaImpedance", "1"},
        {"Settings\\Configuration\\RT-2M", "TurnaroundTime", "1000"},
        {rt2m, "OutputLevel", "1000"},
        {rt2m, "OutputFrequency", "1000"},
        {rt2m, "PretriggerLength", "500"},
        {rt2m, "MultitoneLength", "250"},
        {rt2m, "OutputFloat", "1"},
        {rt2m, "OutputImpedance", "600"},
        {rt2m, "InputDeemphasis", "0"},
        {rt2m, "InputImpedance", "100K"},
        {rt2m, "InputMICSensitivity", "500"},
        {rt2m, "InputVoltageDividerRatio", "10"},
        {rt2m, "TrunkSetupDelay", "500"},
        {rt2m, "TrunkLatency1", "2000"},
        {rt2m, "TrunkLatency2", "3500"},
        {rt2m, "TrunkLatency3", "5000"},
        {rt2m, "NoiseFloor", "50"},
        {params, "AllowedTonexaLoopLoss", "5"},
        {params, "AllowedCascadeLoopLoss", "5"},
        {params, "AllowedTrunkLoss", "5"},
        {params, "UseLowFrequencyTestRange", "0"},
        {config, "TonexaIntercom", "0"},
        {config, "TonexaPort", "0"},
        {config, "QuillexConnectionType", "0"},
        {config, "QuillexSerialPort", "COM1"},
        {config, "QuillexMainIPAddress", ""},
        {config, "QuillexPartnerIPAddress", ""},
        {config, "TonexaSerialPort", "COM2"},
        {options, "SkipInUseTrunks", "1"},
        {options, "SkipTrunksInMaintenanceMode", "1"},
        {options, "WarnBeforeTestingInUseTrunks", "1"},
        {options, "LeaveFailedTrunksInMaintenanceMode", "0"},
        {options, "ReturnPassedTrunksToActiveService", "0"},
        {schedule, "WeeklyTestDayOfWeek", "1"},
        {schedule, "AutomaticTestMode", "2"},
        {schedule, "InterTestDelay", "1"},
        {schedule, "WeeklyTestTime", "1410"},
        {schedule, "DailyTestTime", "1410"},
        {prefs, "AlternateLineShading", "2"},
        {prefs, "AutoSynchronizeTreeView", "1"},
        {prefs, "ShowNamelessIntercoms", "0"},
        {prefs, "AutoUpdateSortOrder", "0"},
        {prefs, "AlphaSize", "4"},
        {prefs, "CompactDBThreshold", "10485760"},
        {prefs, "PopupHelpID", "0"},
        {prefs, "LaunchHelp", "1"},
    };
    const char* kinds[] = {"Quillex Events",      "Tonexa Events",     "Intercom Events",
                           "Trunk Test Failures", "Trunk Test Errors", "Trunk Request Busy Events",
                           "RT-2M Events"};
    for (const char* kind : kinds) {
        const std::string section = setup + "\\" + kind;
        for (const Row& r :
             std::vector<Row>{{section, "GenerateAlarm", "1"},
                              {section, "GenerateNotification", "0"},
                              {section, "GenerateResolvedNotification", "0"},
                              {section, "NotificationDelayTime", "0"},
                              {section, "SuppressNotificationForResolvedAlarms", "0"},
                              {section, "SendEmail", "0"},
                              {section, "SendPage", "0"},
                              {section, "EmailTO", ""},
                              {section, "PagerTO", ""}}) {
            rows.push_back(r);
        }
    }
    return rows;
}

class AppSettingsTest : public ::testing::Test {
protected:
    testing::TempDir config;
    std::string path = config / "Qelvo/vorlin.ini";
};

TEST_F(AppSettingsTest, AFirstStartLeavesEveryKeyWithItsDefault) {
    {
        CProfileStore profile;
        ASSERT_TRUE(profile.Load(path));
        SharedSettings settings;
        EXPECT_TRUE(settings.Load(profile).empty());
        ASSERT_TRUE(settings.Save(profile));
        ColorSettings colors;
        colors.Load(profile);
        ASSERT_TRUE(colors.Save(profile));
    }
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    CProfileStore stored;
    ASSERT_TRUE(stored.Load(path));
    for (const Row& row : ExpectedDefaults()) {
        ASSERT_TRUE(stored.HasEntry(row.section, row.key)) << row.section << " " << row.key;
        EXPECT_EQ(stored.GetProfileString(row.section, row.key), row.value)
            << row.section << " " << row.key;
    }
    // Read-only keys are never written.
    EXPECT_FALSE(stored.HasEntry("Settings\\Configuration", "SyncQuillexClock"));
    EXPECT_FALSE(stored.HasEntry("Settings\\Alarm Setup", "IncludeEmailFromInPagerMessages"));
    EXPECT_EQ(stored.GetProfileInt("Preferences\\Colors", "TrunksIdle", -1), 0x00C000);
    EXPECT_EQ(stored.GetProfileInt("Preferences\\Colors", "Background", -1), 0xF5F5F5);
    EXPECT_EQ(stored.GetProfileInt("Preferences\\Colors", "AlarmActiveBackground", -1), 0xE0E0FF);
    EXPECT_EQ(stored.GetProfileInt("Preferences\\Colors", "AcknowledgedAlarmStaleBackground", -1),
              0xFFFFFF);

    // A second load gives the same values.
    AppSettings first;
    first.Load(stored);
    EXPECT_EQ(first.EmailFromAddress, "VORLIN");
    EXPECT_EQ(first.WeeklyTestTime, std::chrono::minutes(1410));
    EXPECT_TRUE(first.GenerateAlarm[6]);
    EXPECT_TRUE(first.SyncQuillexClock);
}

TEST_F(AppSettingsTest, ChangedValuesSurviveASaveAndLoad) {
    CProfileStore profile;
    profile.Load(path);
    AppSettings s;
    s.EmailHost = "127.0.0.1";
    s.EmailPassword = "p=a;ss\\word";
    s.SendEmail[2] = true;
    s.EmailTO[2] = "ops@example.invalid";
    s.NotificationDelayTime[5] = 90;
    s.DailyTestTime = std::chrono::minutes(90);
    s.AudioAnalyzer = "RT-2M";
    ASSERT_TRUE(s.Save(profile));
    EXPECT_EQ(profile.GetProfileInt("Settings\\Test Schedule", "DailyTestTime", 0), 90);

    CProfileStore again;
    again.Load(path);
    AppSettings loaded;
    loaded.Load(again);
    EXPECT_EQ(loaded.EmailHost, "127.0.0.1");
    EXPECT_EQ(loaded.EmailPassword, "p=a;ss\\word");
    EXPECT_TRUE(loaded.SendEmail[2]);
    EXPECT_FALSE(loaded.SendEmail[1]);
    EXPECT_EQ(loaded.EmailTO[2], "ops@example.invalid");
    EXPECT_EQ(loaded.NotificationDelayTime[5], 90);
    EXPECT_EQ(loaded.DailyTestTime, std::chrono::seconds(5400));
    EXPECT_EQ(loaded.AudioAnalyzer, "RT-2M");
}

TEST_F(AppSettingsTest, DefaultsThatFollowOtherKeys) {
    CProfileStore profile;
    profile.Load("");
    profile.WriteProfileString("Settings\\Alarm Setup", "EmailFromAddress", "ops");
    profile.WriteProfileInt("Settings\\Alarm Setup", "IncludeEmailFromInPagerMessages", 1);
    AppSettings s;
    s.Load(profile);
    EXPECT_EQ(s.PagerFromAddress, "ops");
    EXPECT_TRUE(s.IncludeFromAddressInPagerMessages);
    EXPECT_FALSE(s.IncludeReplyToInPagerMessages);

    profile.WriteProfileString("Settings\\Alarm Setup", "PagerFromAddress", "pager");
    profile.WriteProfileInt("Settings\\Alarm Setup", "IncludeFromAddressInPagerMessages", 0);
    s.Load(profile);
    EXPECT_EQ(s.PagerFromAddress, "pager");  // once written it keeps its own value
    EXPECT_FALSE(s.IncludeFromAddressInPagerMessages);
}

TEST_F(AppSettingsTest, UnusableStoredValuesFallBackToDefaults) {
    struct Case {
        const char* section;
        const char* key;
        const char* stored;
        bool keptBySave;  // a number out of its range stays; text that is no number does not
    } cases[] = {
        {"Settings\\Test Schedule", "WeeklyTestTime", "1440", true},
        {"Settings\\Test Schedule", "DailyTestTime", "-5", true},
        {"Settings\\Alarm Archive", "DailyDayArchiveTime", "99999", true},
        {"Settings\\Request Archive", "DailyDayArchiveTime", "2147483647", true},
        {"Settings\\Test Schedule", "WeeklyTestDayOfWeek", "0", true},
        {"Settings\\Test Schedule", "WeeklyTestDayOfWeek", "8", true},
        {"Settings\\Alarm Setup", "EmailSMTPPort", "twenty-five", false},
    };
    for (const Case& c : cases) {
        CProfileStore profile;
        profile.Load("");
        profile.WriteProfileString(c.section, c.key, c.stored);
        AppSettings s;
        EXPECT_EQ(s.Load(profile).size(), c.keptBySave ? 1u : 0u) << c.key << "=" << c.stored;
        const AppSettings defaults;
        EXPECT_EQ(s.WeeklyTestTimeInUse(), defaults.WeeklyTestTime) << c.key << "=" << c.stored;
        EXPECT_EQ(s.DailyTestTimeInUse(), defaults.DailyTestTime) << c.key << "=" << c.stored;
        EXPECT_EQ(s.AlarmDailyDayArchiveTimeInUse(), defaults.AlarmDailyDayArchiveTime);
        EXPECT_EQ(s.RequestDailyDayArchiveTimeInUse(), defaults.RequestDailyDayArchiveTime);
        EXPECT_EQ(s.WeeklyTestDayInUse(), defaults.WeeklyTestDayOfWeek) << c.stored;
        EXPECT_EQ(s.EmailSMTPPort, 25);
        // A save at start-up keeps what the operator stored.
        ASSERT_TRUE(s.Save(profile));
        EXPECT_EQ(profile.GetProfileString(c.section, c.key) == c.stored, c.keptBySave)
            << c.key << "=" << c.stored;
    }
    CProfileStore edge;
    edge.Load("");
    edge.WriteProfileInt("Settings\\Test Schedule", "WeeklyTestTime", 1439);
    edge.WriteProfileInt("Settings\\Test Schedule", "WeeklyTestDayOfWeek", 7);
    AppSettings s;
    EXPECT_TRUE(s.Load(edge).empty());
    EXPECT_EQ(s.WeeklyTestTimeInUse(), std::chrono::minutes(1439));
    EXPECT_EQ(s.WeeklyTestDayInUse(), 7);
}

TEST_F(AppSettingsTest, AMalformedProfileGivesDefaults) {
    std::filesystem::create_directories(config.Path() / "Qelvo");
    std::ofstream(path, std::ios::binary)
        << std::string("\x00\xff[[[\n=\n[Preferences\nAlphaSize=9\n", 28);
    CProfileStore profile;
    profile.Load(path);
    AppSettings s;
    s.Load(profile);
    EXPECT_EQ(s.AlphaSize, 4);
    EXPECT_FALSE(profile.TakeProblems().empty());
}

}  // namespace
}  // namespace corvane
