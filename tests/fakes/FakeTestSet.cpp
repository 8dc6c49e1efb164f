#include "fakes/FakeTestSet.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace corvane::testing {
namespace {

bool IsMeasurement(const std::string& command) {
    return command == "CLO\r" || command == "CLN\r";
}

// The commands the test set knows besides the measurement: they are echoed.
bool IsEchoed(const std::string& command) {
    static const char* const kFixed[] = {"\r",      "CLO A\r", "CLO B\r", "CLN A\r",
                                         "CLN B\r", "CI A\r",  "CI B\r"};
    for (const char* fixed : kFixed) {
        if (command == fixed) {
            return true;
        }
    }
    if (command.size() < 5 ||
        (command.compare(0, 3, "CL ") != 0 && command.compare(0, 3, "CF ") != 0)) {
        return false;
    }
    size_t at = 3;
    if (command[at] == '-') {
        ++at;
    }
    const size_t digits = at;
    while (at < command.size() && command[at] >= '0' && command[at] <= '9') {
        ++at;
    }
    return at > digits && at + 1 == command.size();
}

}  // namespace

FakeTestSet::FakeTestSet() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    char name[256] = {};
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        return;
    }
    // Holding the slave open keeps the line up while the driver closes and reopens it.
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        return;
    }
    termios raw{};
    if (::tcgetattr(slave_, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
    }
    deviceName_ = name;
    thread_ = std::thread([this] { Serve(); });
}

FakeTestSet::~FakeTestSet() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (slave_ >= 0) {
        ::close(slave_);
    }
    if (master_ >= 0) {
        ::close(master_);
    }
}

void FakeTestSet::QueueReadings(const std::vector<Reading>& readings) {
    std::lock_guard lock(mutex_);
    readings_.insert(readings_.end(), readings.begin(), readings.end());
}

void FakeTestSet::ClearReadings() {
    std::lock_guard lock(mutex_);
    readings_.clear();
}

void FakeTestSet::QueueFault(Fault fault, const std::string& command) {
    std::lock_guard lock(mutex_);
    faults_.push_back({fault, command});
}

void FakeTestSet::SetSilent(bool silent) {
    std::lock_guard lock(mutex_);
    silent_ = silent;
}

std::vector<std::string> FakeTestSet::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

int FakeTestSet::CountOf(const std::string& command) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count(commands_.begin(), commands_.end(), command));
}

bool FakeTestSet::WaitFor(const std::function<bool(const std::vector<std::string>&)>& test,
                          std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return test(commands_); });
}

bool FakeTestSet::WaitForCount(const std::string& command, int count,
                               std::chrono::milliseconds limit) const {
    return WaitFor(
        [&](const std::vector<std::string>& commands) {
            return std::count(commands.begin(), commands.end(), command) >= count;
        },
        limit);
}

bool FakeTestSet::WaitUntilAnswerRead(const std::string& command,
                                      std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_until(lock, end, [&] {
                return std::find(answered_.begin(), answered_.end(), command) != answered_.end();
            })) {
            return false;
        }
    }
    // The slave side shares the driver's input queue.
    for (;;) {
        int waiting = 0;
        if (::ioctl(slave_, FIONREAD, &waiting) == 0 && waiting == 0) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::string FakeTestSet::FormatReading(const Reading& reading) {
    const int magnitude = std::abs(reading.level);
    char text[64];
    std::snprintf(text, sizeof text, "%s%d.%d,%d", reading.level < 0 ? "-" : "", magnitude / 10,
                  magnitude % 10, reading.frequency);
    return text;
}

void FakeTestSet::Serve() {
    std::string line;
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        const int n = ::poll(&p, 1, 20);
        if (n <= 0 || (p.revents & POLLIN) == 0) {
            continue;
        }
        char bytes[256];
        const ssize_t got = ::read(master_, bytes, sizeof bytes);
        if (got <= 0) {
            continue;
        }
        for (ssize_t i = 0; i < got; ++i) {
            line.push_back(bytes[i]);
            if (bytes[i] == '\r') {
                Answer(line);
                line.clear();
            }
        }
    }
}

void FakeTestSet::Answer(const std::string& command) {
    std::string reply;
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
        const auto match = std::find_if(faults_.begin(), faults_.end(), [&](const QueuedFault& f) {
            return f.command.empty() || f.command == command;
        });
        std::optional<Fault> fault;
        if (match != faults_.end()) {
            fault = match->fault;
            faults_.erase(match);
        }
        if (!silent_) {
            reply = ReplyTo(command, fault ? &*fault : nullptr);
        }
    }
    changed_.notify_all();
    Send(reply);
    {
        std::lock_guard lock(mutex_);
        answered_.push_back(command);
    }
    changed_.notify_all();
}

// The caller holds the lock.
std::string FakeTestSet::ReplyTo(const std::string& command, const Fault* fault) {
    std::string body;
    if (IsMeasurement(command)) {
        if (!readings_.empty()) {
            lastReading_ = readings_.front();
            readings_.pop_front();
        }
        body = FormatReading(lastReading_);
    } else if (!IsEchoed(command)) {
        return "?\r\n>";
    }
    std::string echo = command;
    std::string lineFeed = "\n";
    std::string prompt = ">";
    if (fault != nullptr) {
        switch (*fault) {
            case Fault::WrongEcho:
                echo[0] = echo[0] == 'X' ? 'Y' : 'X';
                break;
            case Fault::NoLineFeed:
                lineFeed.clear();
                break;
            case Fault::BadDigits:
                if (IsMeasurement(command)) {
                    body = "-1#.5,1004";
                } else {
                    echo.insert(echo.begin(), '#');
                }
                break;
            case Fault::NoPrompt:
                prompt.clear();
                break;
            case Fault::Silence:
                return "";
            case Fault::Overlong:
                return std::string(5000, 'x') + ">";
        }
    }
    return echo + lineFeed + body + prompt;
}

void FakeTestSet::Send(const std::string& bytes) const {
    size_t done = 0;
    while (done < bytes.size() && !stop_) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            // A full line waits for the driver to read or drop what is there.
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 20);
        } else if (n < 0 && errno != EINTR) {
            return;
        }
    }
}

}  // namespace corvane::testing
