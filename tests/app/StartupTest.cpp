#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "fakes/FakeController.h"
#include "fakes/FakeControllerModel.h"
#include "fakes/FakeNetworkBuilder.h"
#include "fakes/TempDir.h"
#include "graphics/GraphicLayouts.h"
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

// The program itself, started in a temporary tree with a temporary config folder that holds
// the given profile.
class RunningProgram {
public:
    RunningProgram(const testing::TempDir& tree, const std::string& profile) : tree_(tree) {
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
        std::vector<char*> envp;
        for (auto& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::string program = CORVANE_BINARY;
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

TEST(Startup, StartsTicksAndClosesOnASignalInOrder) {
    for (int signalNumber : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signalNumber);
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
        program.Signal(signalNumber);
        EXPECT_EQ(program.WaitForExit(), 0) << program.Output();
        fake.Stop();

        const std::string log = program.Log();
        size_t at = 0;
        for (const char* line : kStopLines) {
            const size_t found = log.find(line, at);
            ASSERT_NE(found, std::string::npos) << line << "\n" << log;
            at = found;
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

TEST(Startup, TheReleaseNotesLieBesideTheProgram) {
    EXPECT_TRUE(fs::is_regular_file(fs::path(CORVANE_BINARY).parent_path() / "WHATSNEW.HTM"));
}

}  // namespace
}  // namespace corvane
