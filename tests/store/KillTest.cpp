// A writer killed with SIGKILL in the middle of its work, in a child process: the database
// must open afterwards, pass the integrity check and hold everything committed before.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "StoreFixture.h"

namespace corvane::testing {
namespace {

class KillTest : public StoreTest {
protected:
    // Runs body in a child that never returns into the test; its exit code is 0 when the
    // body ended, 2 when it threw.
    template <typename Body>
    pid_t Child(Body body) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            int code = 0;
            try {
                body();
            } catch (...) {
                code = 2;
            }
            ::_exit(code);
        }
        return pid;
    }
    static char ReadByte(int fd) {
        char c = 0;
        return ::read(fd, &c, 1) == 1 ? c : '?';
    }
    static int KillAndReap(pid_t pid) {
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }
    void CheckOpensWith(const std::string& alarmCount, const std::string& sequence) {
        auto store = OpenStore();
        ASSERT_TRUE(store->IsOpen()) << Errors();
        store->CloseDatabase();
        RawDb raw(DbPath());
        EXPECT_EQ(raw.One("PRAGMA integrity_check"), "ok");
        EXPECT_EQ(raw.One("SELECT count(*) FROM Alarms"), alarmCount);
        EXPECT_EQ(raw.One("SELECT seq FROM sqlite_sequence WHERE name = 'Alarms'"), sequence);
    }
};

TEST_F(KillTest, AWriterKilledInTheMiddleOfATransactionLosesOnlyThatTransaction) {
    OpenStore()->CloseDatabase();
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = Child([&] {
        ::close(fds[0]);
        CVorlinDatabase store(profile, settings, clock, dbaseLog, DbPath());
        if (!store.OpenDatabase()) {
            return;
        }
        CAlarmsRS& rs = store.Alarms();
        auto add = [&](int i) {
            rs.AddNew();
            rs.m_State = "Active";
            rs.m_DeviceInstance = i;
            rs.m_Context = std::string(60, static_cast<char>('a' + i % 26));
            rs.Update();
        };
        CDaoTransaction first(store.Database());
        for (int i = 0; i < 1000; ++i) {
            add(i);
        }
        first.Commit();
        ::write(fds[1], "c", 1);
        CDaoTransaction second(store.Database());
        for (int i = 0; i < 2'000'000; ++i) {
            add(i);
            if (i == 20000) {
                ::write(fds[1], "m", 1);  // well inside the transaction
            }
        }
    });
    ASSERT_GT(pid, 0);
    ::close(fds[1]);
    EXPECT_EQ(ReadByte(fds[0]), 'c');
    EXPECT_EQ(ReadByte(fds[0]), 'm');
    const int status = KillAndReap(pid);
    ::close(fds[0]);
    ASSERT_TRUE(WIFSIGNALED(status));
    CheckOpensWith("1000", "1000");
}

TEST_F(KillTest, AnInterruptedCompactionLeavesTheDatabaseWithAllItsRows) {
    OpenStore()->CloseDatabase();
    {
        RawDb raw(DbPath());
        raw.Exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
            "INSERT INTO Alarms (State, Description, Context) SELECT 'Resolved', "
            "printf('%030d', i), printf('%060d', i) FROM n;"
            "DELETE FROM Alarms WHERE AlarmID % 2 = 0;");
    }
    settings.Modify([](AppSettings& s) { s.CompactDBThreshold = 1 << 30; });
    const std::string temp = MakeStore()->CompactionTempPath();
    // Kill at several points: as soon as the copy appears, and later into it.
    for (const int extraMicroseconds : {0, 2000, 20000, 100000}) {
        SCOPED_TRACE(extraMicroseconds);
        const pid_t pid = Child([&] { MakeStore()->CompactDatabase(); });
        ASSERT_GT(pid, 0);
        int status = 0;
        bool reaped = false;
        for (int i = 0; i < 200000 && !FileExists(temp) && !reaped; ++i) {
            // A child that finished before the copy was seen is still a valid run.
            reaped = ::waitpid(pid, &status, WNOHANG) == pid;
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        if (!reaped) {
            std::this_thread::sleep_for(std::chrono::microseconds(extraMicroseconds));
            KillAndReap(pid);
        }
        CheckOpensWith("20000", "40000");
    }
}

}  // namespace
}  // namespace corvane::testing
