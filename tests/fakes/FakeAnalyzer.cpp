#include "fakes/FakeAnalyzer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace corvane::testing {
namespace {

// The commands the analyzer knows; anything else is error 151.
const char* const kKnownHeaders[] = {
    "GIBBERISH",
    "SYSTEM:RESET",
    "SYSTEM:ERRORS?",
    "SYSTEM:INFORMATION?",
    "OUTPUT:MTONE:ACTIVE",
    "OUTPUT:MTONE:PARAMETER?",
    "OUTPUT:MTONE:PARAMETER",
    "OUTPUT1:LEVEL",
    "OUTPUT2:LEVEL",
    "OUTPUT1:MUTE",
    "OUTPUT2:MUTE",
    "OUTPUT:FLOAT",
    "OUTPUT:IMPEDANCE",
    "INPUT:DEEMPHASIS",
    "INPUT:IMPEDANCE",
    "INPUT1:MICSENSITIVITY",
    "INPUT2:MICSENSITIVITY",
    "INPUT1:VOLTAGEDIVIDERRATIO",
    "INPUT2:VOLTAGEDIVIDERRATIO",
    "INPUT:SWFILTER",
    "INPUT:LINK",
    "INPUT:TRIGGER:CONFIGURATION",
    "INPUT1:RANGE",
    "INPUT2:RANGE",
    "INPUT:SYNC",
    "OUTPUT:MTONE:PRETRIGGERLENGTH",
    "OUTPUT:MTONE:MTONELENGTH",
    "INPUT:TRIGGER:TIMEOUT",
    "OUTPUT:MTONE:START",
    "MEASUREMENT1:LEVEL?",
    "MEASUREMENT1:HEADROOM?",
};

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string HeaderOf(const std::string& command) {
    return command.substr(0, command.find(' '));
}

bool IsKnown(const std::string& header) {
    for (const char* h : kKnownHeaders) {
        if (header == h) {
            return true;
        }
    }
    return false;
}

std::string Number(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

FakeAnalyzer::FakeAnalyzer() {
    termios raw{};
    ::cfmakeraw(&raw);
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, &raw, nullptr) == 0) {
        portName_ = name;
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    thread_ = std::thread([this] { Serve(); });
}

FakeAnalyzer::~FakeAnalyzer() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    thread_.join();
    if (master_ >= 0) {
        ::close(master_);
    }
    if (slave_ >= 0) {
        ::close(slave_);
    }
}

void FakeAnalyzer::Serve() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_) {
                return;
            }
        }
        pollfd p{master_, POLLIN, 0};
        if (master_ < 0 || ::poll(&p, 1, 5) <= 0 || (p.revents & POLLIN) == 0) {
            continue;
        }
        char buffer[1024];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            continue;
        }
        std::lock_guard lock(mutex_);
        pending_.append(buffer, static_cast<size_t>(n));
        for (size_t lf = pending_.find('\n'); lf != std::string::npos; lf = pending_.find('\n')) {
            std::string line = pending_.substr(0, lf);
            pending_.erase(0, lf + 1);
            if (line.empty() || line.back() != '\r') {
                ++bareLines_;
            } else {
                line.pop_back();
            }
            HandleLine(line);
        }
    }
}

// Commands of a line run in turn; the answers of its queries go back as one line.
void FakeAnalyzer::HandleLine(const std::string& line) {
    std::string reply;
    bool answer = false;
    size_t start = 0;
    for (;;) {
        const size_t semi = line.find(';', start);
        const std::string command = line.substr(start, semi - start);
        commands_.push_back(command);
        HandleCommand(command, reply, answer);
        if (semi == std::string::npos) {
            break;
        }
        start = semi + 1;
    }
    if (answer && silent_) {
        ++unanswered_;
    } else if (answer) {
        Send(reply + "\r\n");
    }
}

void FakeAnalyzer::HandleCommand(const std::string& command, std::string& reply, bool& answer) {
    const std::string header = HeaderOf(command);
    const std::string parameter =
        header.size() < command.size() ? command.substr(header.size() + 1) : std::string();
    auto give = [&](std::string text) {
        for (auto it = replies_.begin(); it != replies_.end(); ++it) {
            if (StartsWith(command, it->first)) {
                text = it->second;
                replies_.erase(it);
                break;
            }
        }
        if (answer) {
            reply += ";";
        }
        reply += text;
        answer = true;
    };

    if (!IsKnown(header)) {
        queue_.push_back(151);
    } else if (header == "SYSTEM:RESET") {
        ++resets_;
        queue_.clear();
        silentErrorQueries_ = silentAfterReset_;
        silentAfterReset_ = 0;
        postResetAnswers_.assign(postResetScript_.begin(), postResetScript_.end());
        postResetScript_.clear();
    } else if (header == "SYSTEM:ERRORS?") {
        bool answered = true;
        std::string text = ErrorAnswer(answered);
        if (answered) {
            give(text);
        }
    } else if (header == "SYSTEM:INFORMATION?") {
        give("RT-2M,FAKE,0,1.00");
    } else if (header == "OUTPUT:MTONE:PARAMETER?") {
        give(multitoneParameter_);
    } else if (header == "OUTPUT:MTONE:PARAMETER") {
        multitoneParameter_ = parameter;
    } else if (header == "OUTPUT:MTONE:START") {
        if (measurements_.empty()) {
            current_ = defaultMeasurement_;
        } else {
            current_ = measurements_.front();
            measurements_.pop_front();
        }
        queue_.insert(queue_.end(), current_.errors.begin(), current_.errors.end());
        silentErrorQueries_ += current_.silentPolls;
    } else if (header == "MEASUREMENT1:LEVEL?") {
        give(std::to_string(current_.bin) + "/" + Number("%.4E", current_.level) + " DB");
    } else if (header == "MEASUREMENT1:HEADROOM?") {
        give(Number("%.4E", current_.headroom) + " DB");
    }
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (StartsWith(command, it->prefix)) {
            queue_.insert(queue_.end(), it->codes.begin(), it->codes.end());
            if (--it->times <= 0) {
                faults_.erase(it);
            }
            break;
        }
    }
}

std::string FakeAnalyzer::ErrorAnswer(bool& answer) {
    if (silentErrorQueries_ > 0) {
        --silentErrorQueries_;
        ++unanswered_;
        answer = false;
        return {};
    }
    if (!postResetAnswers_.empty()) {
        std::string text = postResetAnswers_.front();
        postResetAnswers_.pop_front();
        return text;
    }
    if (queue_.empty()) {
        return "0";
    }
    std::string text;
    for (const unsigned code : queue_) {
        text += (text.empty() ? "" : ",") + std::to_string(code);
    }
    queue_.clear();
    return text;
}

void FakeAnalyzer::Send(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(master_, text.data() + done, text.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        }
    }
}

void FakeAnalyzer::FailCommand(const std::string& prefix, std::vector<unsigned> codes, int times) {
    std::lock_guard lock(mutex_);
    faults_.push_back({prefix, std::move(codes), times});
}

void FakeAnalyzer::SetSilent(bool silent) {
    std::lock_guard lock(mutex_);
    silent_ = silent;
}

int FakeAnalyzer::Unanswered() const {
    std::lock_guard lock(mutex_);
    return unanswered_;
}

void FakeAnalyzer::SilenceErrorQueries(int n) {
    std::lock_guard lock(mutex_);
    silentErrorQueries_ = n;
}

void FakeAnalyzer::SilenceAfterNextReset(int n) {
    std::lock_guard lock(mutex_);
    silentAfterReset_ = n;
}

bool FakeAnalyzer::CtsFlowControl() const {
    termios tio{};
    return ::tcgetattr(slave_, &tio) == 0 && (tio.c_cflag & CRTSCTS) != 0;
}

bool FakeAnalyzer::RunsAt38400() const {
    termios tio{};
    return ::tcgetattr(slave_, &tio) == 0 && ::cfgetospeed(&tio) == B38400;
}

void FakeAnalyzer::SetPostResetAnswers(std::vector<std::string> answers) {
    std::lock_guard lock(mutex_);
    postResetScript_ = std::move(answers);
}

void FakeAnalyzer::ReplyNext(const std::string& prefix, std::string reply) {
    std::lock_guard lock(mutex_);
    replies_.emplace(prefix, std::move(reply));
}

void FakeAnalyzer::PushMeasurement(FakeMeasurement m) {
    std::lock_guard lock(mutex_);
    measurements_.push_back(std::move(m));
}

void FakeAnalyzer::SetDefaultMeasurement(FakeMeasurement m) {
    std::lock_guard lock(mutex_);
    defaultMeasurement_ = std::move(m);
}

std::vector<std::string> FakeAnalyzer::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

int FakeAnalyzer::Count(const std::string& prefix) const {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const std::string& c : commands_) {
        n += StartsWith(c, prefix) ? 1 : 0;
    }
    return n;
}

int FakeAnalyzer::Resets() const {
    std::lock_guard lock(mutex_);
    return resets_;
}

int FakeAnalyzer::BareLines() const {
    std::lock_guard lock(mutex_);
    return bareLines_;
}

void FakeAnalyzer::ClearCommands() {
    std::lock_guard lock(mutex_);
    commands_.clear();
}

}  // namespace corvane::testing
