// The controller simulator as people run it: its own process, its addresses from the command
// line, stopped by a signal.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "fakes/TempDir.h"

extern char** environ;

namespace corvane {
namespace {

using namespace std::chrono_literals;

// A UDP socket bound to the address and port; -1 when the bind fails.
int BoundUdp(const std::string& address, uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    ::inet_pton(AF_INET, address.c_str(), &a.sin_addr);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        return fd;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return -1;
}

bool CanBind(const std::string& address, uint16_t port) {
    const int fd = BoundUdp(address, port);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

// A port that is free on loopback now.
uint16_t FreeUdpPort() {
    const int fd = BoundUdp("127.0.0.1", 0);
    sockaddr_in a{};
    socklen_t size = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    ::close(fd);
    return ntohs(a.sin_port);
}

// One simulator process, its output in a file of its own.
class Simulator {
public:
    Simulator(const testing::TempDir& dir, const std::string& name,
              std::vector<std::string> options)
        : output_(dir / (name + ".txt")) {
        std::vector<std::string> args = {CORVANE_SIMULATOR, "--matrices", "2", "--trunks", "4"};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        spawned_ = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Simulator() {
        if (spawned_ && !Exited()) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    std::string Output() const {
        std::ifstream in(output_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Until it says it answers on its addresses (true) or it ends (false); bounded.
    bool WaitForStart() {
        for (auto waited = 0ms; spawned_ && waited < 30s; waited += 10ms) {
            if (Output().find("Quillex simulator:") != std::string::npos) {
                return true;
            }
            if (Exited()) {
                return false;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }
    // The exit status after SIGTERM, or after it ended by itself; -1 when it did not end.
    int Stop() {
        if (spawned_ && !Exited()) {
            ::kill(pid_, SIGTERM);
        }
        return WaitForExit();
    }
    int WaitForExit() {
        for (auto waited = 0ms; spawned_ && waited < 30s; waited += 10ms) {
            if (Exited()) {
                return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

private:
    bool Exited() {
        if (!exited_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) {
            exited_ = true;
        }
        return exited_;
    }

    std::string output_;
    pid_t pid_ = -1;
    bool spawned_ = false;
    bool exited_ = false;
    int status_ = 0;
};

TEST(QuillexSimulator, TwoRunSideBySideEachOnThreeAddressesOfItsOwn) {
    testing::TempDir dir;
    const uint16_t port = FreeUdpPort();
    const std::string p = std::to_string(port);
    Simulator first(dir, "first", {"--port", p});
    ASSERT_TRUE(first.WaitForStart()) << first.Output();
    Simulator second(
        dir, "second",
        {"--port", p, "--main", "127.0.0.4", "--partner", "127.0.0.5", "--other", "127.0.0.6"});
    ASSERT_TRUE(second.WaitForStart()) << second.Output();
    for (const char* address :
         {"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5", "127.0.0.6"}) {
        EXPECT_FALSE(CanBind(address, port)) << address;
    }
    EXPECT_EQ(first.Stop(), 0);
    EXPECT_EQ(second.Stop(), 0) << second.Output();
    EXPECT_TRUE(CanBind("127.0.0.6", port));
}

TEST(QuillexSimulator, RefusesAddressesItCannotHave) {
    struct Case {
        std::vector<std::string> options;
        const char* message;
    };
    const Case cases[] = {
        // Beside a simulator on the defaults, a second that keeps the default third address.
        {{"--main", "127.0.0.4", "--partner", "127.0.0.5"},
         "cannot bind UDP port %s on 127.0.0.4, 127.0.0.5 and 127.0.0.3"},
        {{"--other", "10.0.0.1"}, "bad option --other 10.0.0.1"},
    };
    testing::TempDir dir;
    const std::string p = std::to_string(FreeUdpPort());
    Simulator first(dir, "first", {"--port", p});
    ASSERT_TRUE(first.WaitForStart()) << first.Output();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> options = {"--port", p};
        options.insert(options.end(), c.options.begin(), c.options.end());
        Simulator refused(dir, "refused", options);
        EXPECT_EQ(refused.WaitForExit(), 1);
        std::string message = c.message;
        if (const size_t at = message.find("%s"); at != std::string::npos) {
            message.replace(at, 2, p);
        }
        EXPECT_NE(refused.Output().find(message), std::string::npos) << refused.Output();
    }
    EXPECT_EQ(first.Stop(), 0);
}

}  // namespace
}  // namespace corvane
