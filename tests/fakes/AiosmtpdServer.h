#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "fakes/TempDir.h"

namespace corvane::testing {

// One thing the server saw: "CONNECT", "AUTH", "DEFERRED", "MESSAGE" or "QUIT", in the session
// (one TCP connection, numbered from 1) where it happened, with its fields ("from", "to",
// "login", "data" of a message; "to" of a deferred recipient; "mechanism", "login",
// "password", "result" of a login).
struct SmtpRecord {
    std::string event;
    int session = 0;
    std::vector<std::pair<std::string, std::string>> fields;

    std::string Field(const std::string& name) const {
        for (const auto& [key, value] : fields) {
            if (key == name) {
                return value;
            }
        }
        return "";
    }
    std::vector<std::string> Fields(const std::string& name) const {
        std::vector<std::string> values;
        for (const auto& [key, value] : fields) {
            if (key == name) {
                values.push_back(value);
            }
        }
        return values;
    }
};

struct AiosmtpdOptions {
    std::string user = {};  // empty: no login succeeds
    std::string password = {};
    bool requireAuth = false;  // MAIL is refused before a login
    int hangupAfter = -1;      // the server process ends at the DATA of the message after these
    std::vector<std::string> deferred = {};  // recipients refused with 451 ("DEFERRED")
};

// Debian's aiosmtpd, run by /usr/bin/python3 (the python3 that sees Debian's packages) on a
// free port of 127.0.0.1, recording everything into a file of its own temporary folder.
class AiosmtpdServer {
public:
    explicit AiosmtpdServer(AiosmtpdOptions options = {}) : options_(std::move(options)) {
        Launch(0);
    }
    ~AiosmtpdServer() { Stop(); }
    AiosmtpdServer(const AiosmtpdServer&) = delete;
    AiosmtpdServer& operator=(const AiosmtpdServer&) = delete;

    int Port() const { return port_; }

    // Ends the server process and waits for it.
    void Stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            Reap(std::chrono::seconds(10));
            if (pid_ > 0) {
                ::kill(pid_, SIGKILL);
                Reap(std::chrono::seconds(10));
            }
        }
    }

    // Starts the server again on the same port and record file, with new options.
    void Restart(AiosmtpdOptions options) {
        Stop();
        options_ = std::move(options);
        Launch(port_);
    }

    // Waits for the server process to end by itself (after a hang-up); true when it did.
    bool WaitForExit(std::chrono::milliseconds timeout) {
        Reap(timeout);
        return pid_ <= 0;
    }

    std::vector<SmtpRecord> Records() const {
        std::ifstream in(RecordPath(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return Parse(s.str());
    }

    std::vector<SmtpRecord> Records(const std::string& event) const {
        std::vector<SmtpRecord> chosen;
        for (SmtpRecord& r : Records()) {
            if (r.event == event) {
                chosen.push_back(std::move(r));
            }
        }
        return chosen;
    }

    std::string ErrorOutput() const {
        std::ifstream in(dir_ / "server.err");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    static std::string Script() { return std::string(CORVANE_FAKES_DIR) + "/smtp_server.py"; }
    std::string RecordPath() const { return dir_ / "records"; }

    void Launch(int port) {
        std::vector<std::string> args = {"/usr/bin/python3",  "-B",         Script(),
                                         "--record",          RecordPath(), "--port",
                                         std::to_string(port)};
        if (!options_.user.empty()) {
            args.insert(args.end(), {"--user", options_.user, "--password", options_.password});
        }
        if (options_.requireAuth) {
            args.push_back("--require-auth");
        }
        if (options_.hangupAfter >= 0) {
            args.insert(args.end(), {"--hangup-after", std::to_string(options_.hangupAfter)});
        }
        for (const std::string& address : options_.deferred) {
            args.insert(args.end(), {"--defer", address});
        }
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        const std::string errPath = dir_ / "server.err";

        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe failed");
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            // Only calls that are safe between fork and exec.
            ::dup2(out[1], STDOUT_FILENO);
            const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
            if (err >= 0) {
                ::dup2(err, STDERR_FILENO);
            }
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        if (pid_ < 0) {
            ::close(out[0]);
            throw std::runtime_error("fork failed");
        }
        port_ = ReadPort(out[0]);
        ::close(out[0]);
        if (port_ <= 0) {
            Stop();
            throw std::runtime_error("aiosmtpd did not start: " + ErrorOutput());
        }
    }

    // The "PORT <n>" line the server prints once it listens.
    static int ReadPort(int fd) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (line.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{fd, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
                return -1;
            }
            char buffer[64];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) {
                return -1;
            }
            line.append(buffer, static_cast<size_t>(n));
        }
        return line.rfind("PORT ", 0) == 0 ? std::atoi(line.c_str() + 5) : -1;
    }

    void Reap(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (pid_ > 0) {
            const pid_t done = ::waitpid(pid_, nullptr, WNOHANG);
            if (done == pid_ || (done < 0 && errno != EINTR)) {
                pid_ = -1;
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    static std::vector<SmtpRecord> Parse(const std::string& text) {
        std::vector<SmtpRecord> records;
        size_t at = 0;
        const auto line = [&]() -> std::string {
            const size_t end = text.find('\n', at);
            if (end == std::string::npos) {
                at = text.size();
                return "";
            }
            std::string l = text.substr(at, end - at);
            at = end + 1;
            return l;
        };
        while (at < text.size()) {
            SmtpRecord record;
            std::istringstream head(line());
            head >> record.event >> record.session;
            bool ended = false;
            for (std::string field = line(); !field.empty(); field = line()) {
                if (field == "END") {
                    ended = true;
                    break;
                }
                const size_t space = field.find(' ');
                if (space == std::string::npos) {
                    return records;  // a record still being written
                }
                const size_t count = std::stoul(field.substr(space + 1));
                if (at + count + 1 > text.size()) {
                    return records;
                }
                record.fields.emplace_back(field.substr(0, space), text.substr(at, count));
                at += count + 1;
            }
            if (!ended) {
                return records;  // a record still being written
            }
            records.push_back(std::move(record));
        }
        return records;
    }

    AiosmtpdOptions options_;
    TempDir dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace corvane::testing
