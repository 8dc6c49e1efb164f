#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace corvane::testing {

// What the fake measures on one "OUTPUT:MTONE:START".
struct FakeMeasurement {
    std::vector<unsigned> errors;  // left in the error queue by the measurement
    unsigned bin = 21;
    double level = -3.0;     // dB, for "MEASUREMENT1:LEVEL?"
    double headroom = 20.0;  // dB, for "MEASUREMENT1:HEADROOM?"
    int silentPolls = 0;     // error queries left unanswered while it measures
};

// An RT-2M analyzer on the master side of a pseudo-terminal. It reads CR LF lines of
// ';'-separated commands, keeps an error queue, answers the queries, and plays a script of
// faults: error codes after given commands, silence, silence after a reset, bad replies.
// Every command it receives is recorded.
class FakeAnalyzer {
public:
    FakeAnalyzer();
    ~FakeAnalyzer();
    FakeAnalyzer(const FakeAnalyzer&) = delete;
    FakeAnalyzer& operator=(const FakeAnalyzer&) = delete;

    const std::string& PortName() const { return portName_; }

    // The next `times` commands that begin with prefix leave the codes in the error queue.
    void FailCommand(const std::string& prefix, std::vector<unsigned> codes, int times = 1);
    // Answers nothing at all while set.
    void SetSilent(bool silent);
    // The next n error queries get no answer.
    void SilenceErrorQueries(int n);
    // After the next reset the first n error queries get no answer.
    void SilenceAfterNextReset(int n);
    // Answers to the error queries after the next reset, in turn, before the queue's own.
    void SetPostResetAnswers(std::vector<std::string> answers);
    // The next answer to a query that begins with prefix is this text instead.
    void ReplyNext(const std::string& prefix, std::string reply);
    // Measurements in turn; when none is left the default one.
    void PushMeasurement(FakeMeasurement m);
    void SetDefaultMeasurement(FakeMeasurement m);

    // Every command received, in order ("GIBBERISH;SYSTEM:RESET" gives two).
    std::vector<std::string> Commands() const;
    int Count(const std::string& prefix) const;
    int Resets() const;
    // Queries left without an answer by the silences: the driver waits for each.
    int Unanswered() const;
    // Lines that did not end in CR LF.
    int BareLines() const;
    // The line settings the driver gave the port.
    bool CtsFlowControl() const;
    bool RunsAt38400() const;
    // Clears the record of commands.
    void ClearCommands();

private:
    void Serve();
    void HandleLine(const std::string& line);
    void HandleCommand(const std::string& command, std::string& reply, bool& answer);
    std::string ErrorAnswer(bool& answer);
    void Send(const std::string& text);

    int master_ = -1;
    int slave_ = -1;  // kept open so that the line stays up while the driver re-opens it
    std::string portName_;
    std::thread thread_;
    bool stop_ = false;  // under mutex_

    mutable std::mutex mutex_;
    std::string pending_;
    std::vector<std::string> commands_;
    int resets_ = 0;
    int bareLines_ = 0;
    std::deque<unsigned> queue_;
    struct Fault {
        std::string prefix;
        std::vector<unsigned> codes;
        int times;
    };
    std::vector<Fault> faults_;
    bool silent_ = false;
    int silentErrorQueries_ = 0;
    int unanswered_ = 0;
    int silentAfterReset_ = 0;
    std::deque<std::string> postResetAnswers_;
    std::vector<std::string> postResetScript_;
    std::multimap<std::string, std::string> replies_;
    std::deque<FakeMeasurement> measurements_;
    FakeMeasurement defaultMeasurement_;
    FakeMeasurement current_;
    std::string multitoneParameter_ = "1,'DEFAULT',4096,1,1,10,10,0.000E00,0.000E00";
};

}  // namespace corvane::testing
