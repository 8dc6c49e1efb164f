#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include "fakes/AiosmtpdServer.h"
#include "fakes/FakeController.h"
#include "fakes/FakeControllerModel.h"
#include "fakes/FakeNetworkBuilder.h"
#include "fakes/FakeTrunkStates.h"
#include "fakes/TempDir.h"
#include "graphics/GraphicLayout.h"
#include "graphics/GraphicLayouts.h"
#include "graphics/LayoutFile.h"
#include "mail/MailOutboxFile.h"
#include "platform/ProfileStore.h"
#include "store/StoreFixture.h"

extern char** environ;

namespace corvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The profile that names the controller's serial line.
std::string SerialProfile(const std::string& serialPort) {
    return "[Settings\\Configuration]\nQuillexConnectionType=0\nQuillexSerialPort=" + serialPort +
           "\n";
}

// The program itself (or another build of it), started in a temporary tree with a temporary
// config folder that holds the given profile, and the given variables added to its
// environment.
class RunningProgram {
public:
    RunningProgram(const testing::TempDir& tree, const std::string& profile,
                   const std::vector<std::string>& environment = {},
                   std::string program = CORVANE_BINARY)
        : tree_(tree) {
        fs::create_directories(tree.Path() / "bin");
        fs::create_directories(tree.Path() / "config/Qelvo");
        std::ofstream(tree.Path() / "config/Qelvo/vorlin.ini", std::ios::binary) << profile;
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("XDG_CONFIG_HOME=", 0) != 0 &&
                entry.rfind("QT_QPA_PLATFORM=", 0) != 0) {
                env.push_back(entry);
            }
        }
        env.push_back("XDG_CONFIG_HOME=" + (tree.Path() / "config").string());
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.insert(env.end(), environment.begin(), environment.end());
        std::vector<char*> envp;
        for (auto& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::string nologo = "-nologo";
        char* argv[] = {program.data(), nologo.data(), nullptr};

        const fs::path old = fs::current_path();
        fs::current_path(tree.Path() / "bin");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string output = (tree.Path() / "output.txt").string();
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        spawned_ = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, envp.data()) == 0;
        posix_spawn_file_actions_destroy(&actions);
        fs::current_path(old);
    }
    ~RunningProgram() {
        if (spawned_ && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    bool Spawned() const { return spawned_; }

    std::string Log() const {
        std::string all;
        const fs::path logs = tree_.Path() / "Logs";
        if (fs::is_directory(logs)) {
            for (const auto& entry : fs::directory_iterator(logs)) {
                std::ifstream in(entry.path());
                std::stringstream text;
                text << in.rdbuf();
                all += text.str();
            }
        }
        return all;
    }
    std::string Output() const {
        std::ifstream in(tree_.Path() / "output.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Waits, bounded, until the log holds the text or the program ended.
    bool WaitForLog(const std::string& text) {
        for (auto waited = 0ms; waited < 60s; waited += 20ms) {
            if (Log().find(text) != std::string::npos) {
                return true;
            }
            if (Exited()) {
                return false;
            }
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

    // The exit status, or -1 when the program did not end within the bound.
    int WaitForExit() {
        for (auto waited = 0ms; waited < 60s; waited += 20ms) {
            if (Exited()) {
                return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }

    void Signal(int signalNumber) { ::kill(pid_, signalNumber); }
    // SIGTERM and SIGINT in turn, a millisecond apart, until the program has ended; at most
    // the given count.
    void SignalUntilExit(int most) {
        for (int sent = 0; sent < most && !Exited(); ++sent) {
            ::kill(pid_, sent % 2 == 0 ? SIGTERM : SIGINT);
            std::this_thread::sleep_for(1ms);
        }
    }

private:
    bool Exited() {
        if (!exited_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) {
            exited_ = true;
        }
        return exited_;
    }

    const testing::TempDir& tree_;
    pid_t pid_ = -1;
    bool spawned_ = false;
    bool exited_ = false;
    int status_ = 0;
};

// The orderly stop, in the order the log must show it.
const char* const kStopLines[] = {"Document ready",          "Start-up complete",
                                  "First supervision tick",  "closing the main window",
                                  "Main window closing",     "Controller stopped",
                                  "Test instrument stopped", "Notify agent stopped",
                                  "Document closed after",   "Application Document closed",
                                  "Stopped with exit code 0"};

// The count of a text in the log.
size_t Occurrences(const std::string& log, const std::string& text) {
    size_t count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) {
        ++count;
    }
    return count;
}

// Also with more signals while the first one's stop is under way, up to the program's exit:
// they start no second stop and do not cut the exit short.
TEST(Startup, StartsTicksAndClosesOnASignalInOrder) {
    struct Case {
        int signalNumber;
        bool moreUntilTheExit;
    };
    for (const Case c : {Case{SIGTERM, false}, Case{SIGINT, false}, Case{SIGTERM, true}}) {
        const int signalNumber = c.signalNumber;
        SCOPED_TRACE(::testing::Message()
                     << signalNumber << (c.moreUntilTheExit ? " and more" : ""));
        testing::TempDir tree;
        testing::FakeController fake;
        testing::FakeControllerModel model(testing::BuildFakeNetwork(4, 20));
        model.Install(fake);
        ASSERT_TRUE(fake.StartSerial());
        RunningProgram program(tree, SerialProfile(fake.SerialPortName()));
        ASSERT_TRUE(program.Spawned());
        ASSERT_TRUE(program.WaitForLog("First supervision tick")) << program.Output();
        // The program supervises the controller: its trunks reach the database.
        {
            testing::RawDb db((tree.Path() / "database/vorlin.mdb").string());
            int count = 0;
            for (const auto& trunk : model.Network().trunks) {
                count += trunk.defined ? 1 : 0;
            }
            const std::string defined = std::to_string(count);
            bool filled = false;
            for (auto waited = 0ms; waited < 30s && !filled; waited += 50ms) {
                filled = db.One("SELECT COUNT(*) FROM Trunks") == defined;
                std::this_thread::sleep_for(50ms);
            }
            EXPECT_TRUE(filled) << program.Log();
        }
        if (c.moreUntilTheExit) {
            program.SignalUntilExit(20000);
        } else {
            program.Signal(signalNumber);
        }
        EXPECT_EQ(program.WaitForExit(), 0) << program.Output();
        fake.Stop();

        const std::string log = program.Log();
        size_t at = 0;
        for (const char* line : kStopLines) {
            const size_t found = log.find(line, at);
            ASSERT_NE(found, std::string::npos) << line << "\n" << log;
            at = found;
            EXPECT_EQ(Occurrences(log, line), 1u) << line << "\n" << log;
        }
        EXPECT_NE(log.find("Signal " + std::to_string(signalNumber)), std::string::npos);
        for (const char* folder :
             {"views", "Logs", "database/archives/alarms", "database/archives/requests"}) {
            EXPECT_TRUE(fs::is_directory(tree.Path() / folder)) << folder;
        }
        std::ifstream profile(tree.Path() / "config/Qelvo/vorlin.ini");
        std::stringstream text;
        text << profile.rdbuf();
        EXPECT_NE(text.str().find("[Settings\\Configuration]"), std::string::npos);
        EXPECT_NE(text.str().find("[Preferences\\ToolBars\\-Bar0]"), std::string::npos);
    }
}

// A request row that another program wrote without its talk, listen and inactive flags, a
// matrix name stored with the list cell marker in front (the bytes 01 74 41 42) and a
// controller that names the matrix so: the program starts on the request list, which shows
// both, takes the controller's name so that no list mistakes it for a marker, and stops in
// order.
TEST(Startup, ARequestWithoutFlagsAndAMatrixNamedWithTheCellMarkerAreShown) {
    testing::TempDir tree;
    testing::FakeController fake;
    testing::FakeNetwork network = testing::BuildFakeNetwork(4, 20);
    network.matrices[0].name = "\x01tAB";
    testing::FakeControllerModel model(network);
    model.Install(fake);
    ASSERT_TRUE(fake.StartSerial());
    const std::string profile = SerialProfile(fake.SerialPortName());
    const std::string database = (tree.Path() / "database/vorlin.mdb").string();
    {
        RunningProgram first(tree, profile);
        ASSERT_TRUE(first.Spawned());
        ASSERT_TRUE(first.WaitForLog("First supervision tick")) << first.Output();
        first.Signal(SIGTERM);
        ASSERT_EQ(first.WaitForExit(), 0) << first.Output();
    }
    {
        testing::RawDb db(database);
        db.Exec(
            "INSERT INTO Requests (State, RequestTime, FinishedTime, End1IntercomIndex, "
            "End1Function, End1Number, End2IntercomIndex, End2Function, End2Number, End2Talk) "
            "VALUES ('Finished', datetime('now', 'localtime'), datetime('now', 'localtime'), 1, "
            "'PP', 3, 2, 'PP', 4, -1)");
        db.Exec(
            "INSERT INTO Intercoms (IntercomIndex, IntercomName) VALUES (1, char(1) || 'tAB') "
            "ON CONFLICT (IntercomIndex) DO UPDATE SET IntercomName = excluded.IntercomName");
    }
    RunningProgram program(tree, profile);
    ASSERT_TRUE(program.Spawned());
    ASSERT_TRUE(program.WaitForLog("First supervision tick")) << program.Output();
    {
        testing::RawDb db(database);
        bool named = false;
        for (auto waited = 0ms; waited < 30s && !named; waited += 50ms) {
            named = db.One("SELECT IntercomName FROM Intercoms WHERE IntercomIndex = 1") == "?tAB";
            std::this_thread::sleep_for(50ms);
        }
        EXPECT_TRUE(named) << program.Log();
        EXPECT_EQ(db.One("SELECT COUNT(*) FROM Requests WHERE End1Talk IS NULL"), "1");
    }
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 0) << program.Output();
    fake.Stop();
    EXPECT_NE(program.Log().find("Stopped with exit code 0"), std::string::npos) << program.Log();
}

TEST(Startup, AProfileItCannotReadIsLeftAsItIsThroughAStartAndAClose) {
    testing::TempDir tree;
    const std::string profile = "[Settings\\Alarm Setup]\nEmailHost=mail.example.org\n" +
                                std::string(CProfileStore::kMaxFileBytes, '#') + "\n";
    RunningProgram program(tree, profile);
    ASSERT_TRUE(program.Spawned());
    ASSERT_TRUE(program.WaitForLog("First supervision tick")) << program.Output();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 0) << program.Output();
    const std::string log = program.Log();
    EXPECT_NE(log.find("the file is left as it is"), std::string::npos) << log;
    EXPECT_NE(log.find("Stopped with exit code 0"), std::string::npos) << log;
    std::ifstream in(tree.Path() / "config/Qelvo/vorlin.ini", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(text.str() == profile) << "the profile was written over";
}

TEST(Startup, LayoutFilesBeyondTheLargestIndexAreLeftOutWithOneLogLine) {
    testing::TempDir tree;
    fs::create_directories(tree.Path() / "views");
    for (int i = 0; i < CGraphicLayouts::kMaxLayoutIndex + 3; ++i) {
        std::ofstream(tree.Path() / "views" / ("l" + std::to_string(100000 + i) + ".vlv")).put('x');
    }
    testing::FakeController fake;
    testing::FakeControllerModel model(testing::BuildFakeNetwork(2, 0));
    model.Install(fake);
    ASSERT_TRUE(fake.StartSerial());
    RunningProgram program(tree, SerialProfile(fake.SerialPortName()));
    ASSERT_TRUE(program.Spawned());
    ASSERT_TRUE(program.WaitForLog("First supervision tick")) << program.Output();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 0) << program.Output();
    fake.Stop();
    const std::string log = program.Log();
    const std::string line = "3 layout files of ../views left out";
    const size_t at = log.find(line);
    EXPECT_NE(at, std::string::npos) << log;
    EXPECT_EQ(log.find(line, at + 1), std::string::npos) << "one line";
}

// Another program holds the database's write lock: the error box stays up unanswered while the
// supervision goes on, the intercom the controller loses and gets back meanwhile has its alarm
// once the lock is gone, and SIGTERM ends the program in order all the same.
TEST(Startup, AnUnansweredDatabaseErrorBoxHoldsNeitherTheTickNorASignal) {
    testing::TempDir tree;
    testing::FakeController fake;
    testing::FakeControllerModel model(testing::BuildFakeNetwork(4, 20));
    model.Install(fake);
    ASSERT_TRUE(fake.StartSerial());
    RunningProgram program(tree, SerialProfile(fake.SerialPortName()));
    ASSERT_TRUE(program.Spawned());
    ASSERT_TRUE(program.WaitForLog("First supervision tick")) << program.Output();
    testing::RawDb db((tree.Path() / "database/vorlin.mdb").string());
    const auto waitFor = [&](const std::string& sql, const std::string& want) {
        for (auto waited = 0ms; waited < 60s; waited += 50ms) {
            if (db.One(sql) == want) {
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    };
    const std::string communicating =
        "SELECT ComState LIKE 'OK%' FROM Intercoms WHERE IntercomIndex = 2";
    ASSERT_TRUE(waitFor(communicating, "1")) << program.Log();

    db.Exec("PRAGMA busy_timeout = 10000");  // the program may be writing this moment
    db.Exec("BEGIN IMMEDIATE");              // as an operator's sqlite3 session holds it
    const testing::FakeNetwork network = model.Network();
    int changed = -1;
    for (size_t t = 0; t < network.trunks.size() && changed < 0; ++t) {
        if (network.trunks[t].defined) {
            changed = static_cast<int>(t);
            model.SetTrunkStatus(changed, network.trunks[t].status == 4 ? 3 : 4);
        }
    }
    ASSERT_TRUE(program.WaitForLog("Database error: Error, updating")) << program.Log();
    model.SetCommStatus(1, 0x01);
    ASSERT_TRUE(program.WaitForLog("Intercom 2: status \"Bad")) << program.Log();
    model.SetCommStatus(1, 0x81);
    ASSERT_TRUE(program.WaitForLog("Intercom 2: status \"OK")) << program.Log();
    db.Exec("COMMIT");

    const std::string state =
        testing::TrunkStateName(model.Network().trunks[static_cast<size_t>(changed)].status);
    EXPECT_TRUE(waitFor(
        "SELECT State FROM Trunks WHERE TrunkIndex = " + std::to_string(changed + 1), state))
        << program.Log();
    EXPECT_TRUE(
        waitFor("SELECT COUNT(*) FROM Alarms WHERE DeviceType = 'Intercom' AND "
                "DeviceInstance = 2 AND Description = 'Lost contact with intercom' "
                "AND State = 'Resolved'",
                "1"))
        << program.Log();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 0) << program.Output();
    fake.Stop();
    const std::string log = program.Log();
    EXPECT_NE(log.find("Box closed unanswered: Error, updating"), std::string::npos) << log;
    EXPECT_NE(log.find("Stopped with exit code 0"), std::string::npos) << log;
}

// The outbox beside the program's database, as its next start reads it.
OutboxContents ProgramOutbox(const testing::TempDir& tree) {
    std::ifstream in(tree.Path() / "database/mail.outbox", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return ReadOutbox(bytes.str());
}

// Waits, bounded, for the condition.
bool WaitFor(const std::function<bool()>& condition) {
    for (auto waited = 0ms; waited < 60s; waited += 50ms) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

TEST(Startup, AMessageWaitingForItsRetryIsDeliveredOnceAfterASigkill) {
    testing::TempDir tree;
    testing::AiosmtpdServer server({.deferred = {"ops@example.org"}});
    const std::string mailServer = "[Settings\\Alarm Setup]\nEmailHost=127.0.0.1\nEmailSMTPPort=" +
                                   std::to_string(server.Port()) + "\n";
    const std::string intercomMail =
        "[Settings\\Alarm Setup\\Intercom Events]\nGenerateNotification=1\nSendEmail=1\n"
        "EmailTO=ops@example.org\n";
    {
        testing::FakeController fake;
        testing::FakeControllerModel model(testing::BuildFakeNetwork(4, 20));
        model.Install(fake);
        ASSERT_TRUE(fake.StartSerial());
        RunningProgram program(tree,
                               SerialProfile(fake.SerialPortName()) + mailServer + intercomMail);
        ASSERT_TRUE(program.Spawned());
        ASSERT_TRUE(program.WaitForLog("First supervision tick")) << program.Output();
        testing::RawDb db((tree.Path() / "database/vorlin.mdb").string());
        // A status change raises an alarm once a first status is stored.
        ASSERT_TRUE(WaitFor([&] {
            return db.One("SELECT ComState FROM Intercoms WHERE IntercomIndex = 3")
                       .rfind("OK", 0) == 0;
        })) << program.Log();
        model.SetCommStatus(2, 0x01);
        // Its first attempt was refused; the next is 30 s away.
        ASSERT_TRUE(WaitFor([&] {
            const OutboxContents kept = ProgramOutbox(tree);
            return kept.entries.size() == 1 && kept.entries[0].attempts == 1;
        })) << program.Log();
        program.Signal(SIGKILL);
        EXPECT_EQ(program.WaitForExit(), 128 + SIGKILL);
        fake.Stop();
    }
    EXPECT_TRUE(server.Records("MESSAGE").empty());

    // The next start: the server takes it now, and this run notifies nothing of its own.
    server.Restart({});
    testing::FakeController fake;
    testing::FakeControllerModel model(testing::BuildFakeNetwork(4, 20));
    model.Install(fake);
    ASSERT_TRUE(fake.StartSerial());
    RunningProgram program(tree, SerialProfile(fake.SerialPortName()) + mailServer);
    ASSERT_TRUE(program.Spawned());
    ASSERT_TRUE(WaitFor([&] { return !server.Records("MESSAGE").empty(); })) << program.Log();
    ASSERT_TRUE(WaitFor([&] { return ProgramOutbox(tree).entries.empty(); })) << program.Log();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 0) << program.Output();
    fake.Stop();
    const auto messages = server.Records("MESSAGE");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Fields("to"), std::vector<std::string>{"ops@example.org"});
    EXPECT_NE(messages[0].Field("data").find("Subject: VORLIN Alarm : Intercom"),
              std::string::npos);
    EXPECT_TRUE(ProgramOutbox(tree).entries.empty());
}

TEST(Startup, TheReleaseNotesLieBesideTheProgram) {
    EXPECT_TRUE(fs::is_regular_file(fs::path(CORVANE_BINARY).parent_path() / "WHATSNEW.HTM"));
}

// A signal is nobody at the window: where the close would ask, it asks nothing, stops in
// order, logs the trunk operations it leaves and keeps the changed layout.
TEST(Startup, ASignalStopsWithoutAskingAndKeepsWhatChanged) {
    struct Case {
        const char* name;
        const char* steps;
        const char* profile;
        const char* logged;
        bool layoutSaved;
    };
    const Case cases[] = {
        {"trunk tests queued while testing is paused", "pause-testing queue-test:2 queue-test:3",
         "", "left to the controller: tests queued for trunks 2-3", false},
        {"a changed layout without auto-save", "edit-layout",
         "[Settings\\Graphical Layouts]\nAutoSaveLayouts=0\n",
         "Changed layout default saved at the close", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir tree;
        testing::FakeController fake;
        testing::FakeControllerModel model(testing::BuildFakeNetwork(4, 20));
        model.Install(fake);
        ASSERT_TRUE(fake.StartSerial());
        RunningProgram program(tree, SerialProfile(fake.SerialPortName()) + c.profile,
                               {std::string("CORVANE_OPERATOR=") + c.steps},
                               CORVANE_OPERATOR_BINARY);
        ASSERT_TRUE(program.Spawned());
        ASSERT_TRUE(program.WaitForLog("Operator steps done")) << program.Output();
        program.Signal(SIGTERM);
        EXPECT_EQ(program.WaitForExit(), 0) << program.Log();
        fake.Stop();
        const std::string log = program.Log();
        EXPECT_NE(log.find("closing the main window without asking"), std::string::npos) << log;
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
        EXPECT_EQ(log.find("Close refused"), std::string::npos) << log;
        EXPECT_NE(log.find("Stopped with exit code 0"), std::string::npos) << log;
        CGraphicLayout saved;
        const bool read =
            LoadLayoutFile(saved, (tree.Path() / "views").string(), "default").status ==
            LayoutLoadStatus::Loaded;
        EXPECT_EQ(read && saved.FindIntercom(1) != nullptr, c.layoutSaved);
    }
}

}  // namespace
}  // namespace corvane
