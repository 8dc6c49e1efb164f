#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "StoreFixture.h"
#include "fakes/LogCapture.h"
#include "platform/Format.h"
#include "store/DatabaseArchiver.h"

namespace corvane::testing {
namespace {

using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;
namespace fs = std::filesystem;

constexpr const char* kAlarmFile = "2024-05-07 Alarm Archive.mdb";
constexpr const char* kRequestFile = "2024-05-07 Request Archive.mdb";

// Yesterday is 2024-05-07; the clock stands shortly after midnight of the 8th.
class ArchiveDayFilesTest : public StoreTest {
protected:
    void SetUp() override {
        clock.SetWall(LocalWall(2024, 5, 8, 0, 30));
        settings.Modify([](AppSettings& s) {
            s.AlarmCreateDayArchiveFiles = true;
            s.RequestCreateDayArchiveFiles = true;
        });
        store = OpenStore();
        raw = std::make_unique<RawDb>(DbPath());
        Restart();
    }
    void Restart() { archiver = std::make_unique<CDatabaseArchiver>(*store, settings, clock); }
    RawDb& Raw() { return *raw; }
    std::string AlarmsDir() const { return Dir() + "/archives/alarms"; }
    std::string RequestsDir() const { return Dir() + "/archives/requests"; }
    std::string AlarmFile() const { return AlarmsDir() + "/" + kAlarmFile; }
    ViewUpdateHint Tick() {
        ViewUpdateHint hint = 0;
        archiver->ArchiveAlarms(hint);
        archiver->ArchiveRequests(hint);
        return hint;
    }
    void At(int day, int hour, int minute, int second = 0) {
        clock.SetWall(LocalWall(2024, 5, day, hour, minute, second));
    }
    std::string Ids(const std::string& path, const char* table, const char* id) {
        RawDb file(path);
        return file.One(std::string("SELECT ifnull(group_concat(") + id + "), '') FROM (SELECT " +
                        id + " FROM " + table + " ORDER BY " + id + ")");
    }
    // An alarm with its four times; "" is a missing time.
    void AddAlarm(const char* table, int id, const char* alarm, const char* resolved,
                  const char* acknowledged, const char* notified) {
        auto time = [](const char* t) { return *t ? StrFormat("'%s'", t) : std::string("NULL"); };
        Raw().Exec(
            StrFormat("INSERT INTO %s (AlarmID, State, Acknowledged, AlarmTime, "
                      "ResolvedTime, AcknowledgedTime, NotificationTime, Description) "
                      "VALUES (%d, 'Resolved', 0, %s, %s, %s, %s, 'alarm %d')",
                      table, id, time(alarm).c_str(), time(resolved).c_str(),
                      time(acknowledged).c_str(), time(notified).c_str(), id));
    }
    void AddRequest(const char* table, int id, const char* state, const char* requested,
                    const char* finished) {
        auto time = [](const char* t) { return *t ? StrFormat("'%s'", t) : std::string("NULL"); };
        Raw().Exec(
            StrFormat("INSERT INTO %s (RequestID, State, RequestTime, FinishedTime) "
                      "VALUES (%d, '%s', %s, %s)",
                      table, id, state, time(requested).c_str(), time(finished).c_str()));
    }
    // Yesterday's alarms in the archive table and the live table, as the edge cases need.
    void AddYesterdaysAlarms() {
        const char* y = "2024-05-07 10:00:00";
        AddAlarm("AlarmsArchive", 1, y, y, y, y);                      // wholly yesterday
        AddAlarm("AlarmsArchive", 2, y, y, y, "");                     // never notified
        AddAlarm("AlarmsArchive", 3, y, "2024-05-08 00:10:00", y, y);  // resolved today
        AddAlarm("AlarmsArchive", 4, "2024-05-08 00:20:00", "2024-05-08 00:20:00",
                 "2024-05-08 00:20:00", "2024-05-08 00:20:00");
        AddAlarm("Alarms", 11, "2024-05-07 22:00:00", "", "", "");  // live, raised yesterday
        AddAlarm("Alarms", 12, "2024-05-08 00:25:00", "", "", "");
    }
    std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void SetWriteTime(const std::string& path, WallTime t) {
        const timespec times[2] = {{std::chrono::system_clock::to_time_t(t), 0},
                                   {std::chrono::system_clock::to_time_t(t), 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
    }

    LogCapture log{"Dbase", 3};
    std::unique_ptr<CVorlinDatabase> store;
    std::unique_ptr<RawDb> raw;
    std::unique_ptr<CDatabaseArchiver> archiver;
};

TEST_F(ArchiveDayFilesTest, YesterdaysRowsGoIntoTheDayFileAfterTheDailyTime) {
    AddYesterdaysAlarms();
    EXPECT_EQ(Tick(), 0u);
    At(8, 1, 0);  // not after 01:00 yet
    Tick();
    EXPECT_FALSE(FileExists(AlarmFile()));
    At(8, 1, 0, 1);
    EXPECT_EQ(Tick(), 0u);
    ASSERT_TRUE(FileExists(AlarmFile())) << Errors();
    EXPECT_EQ(Errors(), "");
    // Every alarm with a time before midnight is in the file; only those with all four
    // times before midnight leave the archive table; live alarms stay where they are.
    EXPECT_EQ(Ids(AlarmFile(), "AlarmsArchive", "AlarmID"), "1,2,3,11");
    EXPECT_EQ(Ids(DbPath(), "AlarmsArchive", "AlarmID"), "2,3,4");
    EXPECT_EQ(Ids(DbPath(), "Alarms", "AlarmID"), "11,12");
    RawDb file(AlarmFile());
    EXPECT_EQ(file.One("SELECT Description || '|' || NotificationTime FROM AlarmsArchive "
                       "WHERE AlarmID = 1"),
              "alarm 1|2024-05-07 10:00:00");
    // A file of its own: no journal beside it, nothing but the one table and its sequence.
    EXPECT_EQ(file.One("PRAGMA journal_mode"), "delete");
    EXPECT_FALSE(FileExists(AlarmFile() + ".new"));
    const std::string text = log.Text();
    EXPECT_NE(text.find("Writing day archive file"), std::string::npos) << text;
    EXPECT_NE(text.find("1 records removed from AlarmsArchive table"), std::string::npos) << text;
}

TEST_F(ArchiveDayFilesTest, OncePerDayAndEachDayItsOwnFile) {
    AddYesterdaysAlarms();
    At(8, 3, 0);  // started after the daily time: the first tick writes the file
    Tick();
    ASSERT_TRUE(FileExists(AlarmFile())) << Errors();
    fs::remove(AlarmFile());
    At(8, 23, 59);
    Tick();
    EXPECT_FALSE(FileExists(AlarmFile()));  // done for today, even with the file gone

    At(9, 1, 5);
    Tick();
    const std::string next = AlarmsDir() + "/2024-05-08 Alarm Archive.mdb";
    ASSERT_TRUE(FileExists(next)) << Errors();
    // The alarm never notified is copied into every day file and stays archived.
    EXPECT_EQ(Ids(next, "AlarmsArchive", "AlarmID"), "2,3,4,11,12");
    EXPECT_EQ(Ids(DbPath(), "AlarmsArchive", "AlarmID"), "2");
}

TEST_F(ArchiveDayFilesTest, ADayFileThatExistsIsLeftAloneAndNothingLeavesTheArchive) {
    AddYesterdaysAlarms();
    std::string error;
    ASSERT_TRUE(MakeDirectories(AlarmsDir(), 0755, error)) << error;
    {
        RawDb other(AlarmFile());
        other.Exec(
            "CREATE TABLE AlarmsArchive (AlarmID INTEGER); INSERT INTO AlarmsArchive "
            "VALUES (99)");
    }
    const std::string before = Contents(AlarmFile());
    At(8, 2, 0);
    Tick();
    EXPECT_EQ(Contents(AlarmFile()), before);
    EXPECT_EQ(Ids(DbPath(), "AlarmsArchive", "AlarmID"), "1,2,3,4");
    EXPECT_EQ(Errors(), "");
}

TEST_F(ArchiveDayFilesTest, RequestDayFilesEndEachRequestByTheEndOfItsDay) {
    const char* y = "2024-05-07 09:00:00";
    AddRequest("RequestsArchive", 1, "Finished", y, "2024-05-07 09:05:00");
    AddRequest("RequestsArchive", 2, "Finished", "2024-05-07 23:50:00", "2024-05-08 00:10:00");
    AddRequest("RequestsArchive", 3, "Finished", "2024-05-08 00:15:00", "2024-05-08 00:16:00");
    AddRequest("Requests", 11, "Active", y, "");
    At(8, 1, 30);
    Tick();
    const std::string path = RequestsDir() + "/" + kRequestFile;
    ASSERT_TRUE(FileExists(path)) << Errors();
    RawDb file(path);
    EXPECT_EQ(file.One("SELECT group_concat(RequestID || '=' || ifnull(FinishedTime, 'none'), "
                       "',') FROM (SELECT * FROM RequestsArchive ORDER BY RequestID)"),
              "1=2024-05-07 09:05:00,2=2024-05-08 00:00:00,11=none");
    EXPECT_EQ(Ids(DbPath(), "RequestsArchive", "RequestID"), "2,3");
    // The database keeps the real time; only the day file's copy is cut at midnight.
    RawDb main(DbPath());
    EXPECT_EQ(main.One("SELECT FinishedTime FROM RequestsArchive WHERE RequestID = 2"),
              "2024-05-08 00:10:00");
    EXPECT_EQ(Ids(DbPath(), "Requests", "RequestID"), "11");
}

TEST_F(ArchiveDayFilesTest, AFailedDayIsReportedOnceLosesNothingAndIsWrittenAtTheNextStart) {
    struct Case {
        const char* name;
        std::function<void()> block;
        std::function<void()> unblock;
        const char* message;
    };
    const Case cases[] = {
        {"the archive folder is a file",
         [this] {
             std::string error;
             MakeDirectories(Dir() + "/archives", 0755, error);
             std::ofstream(AlarmsDir()) << "in the way";
         },
         [this] { fs::remove(AlarmsDir()); },
         "Error, creating alarm archive database file\nDescription: %s"},
        {"the file cannot be created", [this] { fs::create_directories(AlarmFile() + ".new/x"); },
         [this] { fs::remove_all(AlarmFile() + ".new"); },
         "Error, creating alarm archive database file\nDescription: %s"},
        {"the rows cannot be copied",
         [this] {
             Raw().Exec("PRAGMA legacy_alter_table = ON; ALTER TABLE Alarms RENAME TO Away");
         },
         [this] { Raw().Exec("ALTER TABLE Away RENAME TO Alarms"); },
         "Error, creating alarm archive table\nDescription: %s"},
    };
    for (const auto& c : cases) {
        RecordingUiBridge boxes;
        Raw().Exec("DELETE FROM Alarms; DELETE FROM AlarmsArchive");
        AddYesterdaysAlarms();
        c.block();
        At(8, 2, 0);
        Restart();
        Tick();
        At(8, 2, 30);
        Tick();
        ASSERT_EQ(boxes.DatabaseErrors().size(), 1u) << c.name << "\n" << Errors();
        EXPECT_EQ(boxes.DatabaseErrors()[0].substr(0, boxes.DatabaseErrors()[0].find('|')),
                  c.message)
            << c.name;
        EXPECT_FALSE(FileExists(AlarmFile())) << c.name;
        EXPECT_EQ(Ids(DbPath(), "AlarmsArchive", "AlarmID"), "1,2,3,4") << c.name;
        c.unblock();
        EXPECT_EQ(Ids(DbPath(), "Alarms", "AlarmID"), "11,12") << c.name;
        Restart();
        Tick();
        ASSERT_TRUE(FileExists(AlarmFile())) << c.name << "\n" << Errors();
        EXPECT_EQ(Ids(AlarmFile(), "AlarmsArchive", "AlarmID"), "1,2,3,11") << c.name;
        EXPECT_EQ(Ids(DbPath(), "AlarmsArchive", "AlarmID"), "2,3,4") << c.name;
        fs::remove(AlarmFile());
    }
}

TEST_F(ArchiveDayFilesTest, AnUnwritableArchiveFolderIsReportedAndNothingIsLost) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not hold for root";
    }
    AddYesterdaysAlarms();
    fs::create_directories(AlarmsDir());
    fs::permissions(AlarmsDir(), fs::perms::owner_read | fs::perms::owner_exec);
    At(8, 2, 0);
    Tick();
    fs::permissions(AlarmsDir(), fs::perms::owner_all);
    ASSERT_EQ(ui.DatabaseErrors().size(), 1u) << Errors();
    EXPECT_EQ(ui.DatabaseErrors()[0].rfind(
                  "Error, creating alarm archive database file\nDescription: %s|", 0),
              0u);
    EXPECT_EQ(Ids(DbPath(), "AlarmsArchive", "AlarmID"), "1,2,3,4");
}

TEST_F(ArchiveDayFilesTest, OldDayFilesAreDeletedWhenAskedFor) {
    std::string error;
    ASSERT_TRUE(MakeDirectories(AlarmsDir() + "/folder.mdb", 0755, error)) << error;
    const WallTime old = clock.Now() - hours(24 * 15);
    const WallTime recent = clock.Now() - hours(24 * 13);
    struct Entry {
        const char* name;
        WallTime written;
        bool deleted;
    };
    const Entry entries[] = {
        {"2024-04-20 Alarm Archive.mdb", old, true},
        {"2024-04-22 Alarm Archive.MDB", old, true},
        {"2024-04-25 Alarm Archive.mdb", recent, false},
        {".hidden.mdb", old, false},
        {"readonly.mdb", old, false},
        {"notes.txt", old, false},
        {"folder.mdb", old, false},
    };
    for (const bool deleteFiles : {false, true}) {
        for (const auto& e : entries) {
            const std::string path = AlarmsDir() + "/" + e.name;
            if (!fs::is_directory(path)) {
                std::ofstream(path) << "day";
            }
            SetWriteTime(path, e.written);
        }
        ::chmod((AlarmsDir() + "/readonly.mdb").c_str(), 0444);
        settings.Modify([&](AppSettings& s) { s.AlarmDeleteDayArchiveFiles = deleteFiles; });
        fs::remove(AlarmFile());
        Restart();
        At(8, 2, 0);
        Tick();
        ASSERT_TRUE(FileExists(AlarmFile())) << Errors();
        for (const auto& e : entries) {
            EXPECT_EQ(FileExists(AlarmsDir() + "/" + e.name), !(deleteFiles && e.deleted))
                << e.name << " " << deleteFiles;
        }
        ::chmod((AlarmsDir() + "/readonly.mdb").c_str(), 0644);
    }
}

TEST_F(ArchiveDayFilesTest, SwitchingDayFilesOffPurgesAtTheNextTick) {
    AddAlarm("AlarmsArchive", 1, "2024-04-01 10:00:00", "", "2024-04-01 10:00:00", "");
    At(8, 0, 40);
    Tick();
    EXPECT_EQ(Ids(DbPath(), "AlarmsArchive", "AlarmID"), "1");
    settings.Modify([](AppSettings& s) { s.AlarmCreateDayArchiveFiles = false; });
    Tick();
    EXPECT_EQ(Ids(DbPath(), "AlarmsArchive", "AlarmID"), "");
}

}  // namespace
}  // namespace corvane::testing
