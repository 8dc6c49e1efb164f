#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace corvane::testing {

// A Tonexa test set on the master side of a pseudo-terminal. It answers every command ended
// by CR with its echo, LF and the prompt ">", a measurement with a reading from its script,
// and can be told to answer wrongly. Every command it receives is recorded. Its codec is its
// own, so that a mistake in the driver's cannot hide on both sides.
class FakeTestSet {
public:
    enum class Fault {
        WrongEcho,   // the echo's first letter is changed
        NoLineFeed,  // the LF after the echo is left out
        BadDigits,   // the reading carries a byte that is not a digit
        NoPrompt,    // the prompt is left out
        Silence,     // no answer at all
        Overlong,    // an answer longer than any receive buffer
    };
    struct Reading {
        int level = 0;  // tenths of a dB
        int frequency = 1004;
    };

    FakeTestSet();
    ~FakeTestSet();
    FakeTestSet(const FakeTestSet&) = delete;
    FakeTestSet& operator=(const FakeTestSet&) = delete;

    // The slave device the driver opens; empty when no pseudo-terminal could be made.
    const std::string& DeviceName() const { return deviceName_; }

    // Measurements take these in order, then keep giving the last reading.
    void QueueReadings(const std::vector<Reading>& readings);
    // Drops the readings not yet taken; the last one given stays.
    void ClearReadings();
    // The next answer to the command (any command when empty) carries the fault.
    void QueueFault(Fault fault, const std::string& command = "");
    // While silent nothing is answered, as when the cable is pulled.
    void SetSilent(bool silent);

    std::vector<std::string> Commands() const;
    int CountOf(const std::string& command) const;
    // Waits until the recorded commands satisfy the test, at most the limit.
    bool WaitFor(const std::function<bool(const std::vector<std::string>&)>& test,
                 std::chrono::milliseconds limit = std::chrono::seconds(20)) const;
    bool WaitForCount(const std::string& command, int count,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) const;
    // Waits until the answer to the command has been sent and the driver has taken every
    // byte of it from the line.
    bool WaitUntilAnswerRead(const std::string& command,
                             std::chrono::milliseconds limit = std::chrono::seconds(20)) const;

    // The reading as the test set prints it: "-12.5,1004".
    static std::string FormatReading(const Reading& reading);

private:
    struct QueuedFault {
        Fault fault;
        std::string command;
    };
    void Serve();
    void Answer(const std::string& command);
    std::string ReplyTo(const std::string& command, const Fault* fault);
    void Send(const std::string& bytes) const;

    int master_ = -1;
    int slave_ = -1;
    std::string deviceName_;
    std::atomic<bool> stop_{false};
    std::thread thread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> commands_;
    std::vector<std::string> answered_;  // the commands whose answer has gone out
    std::deque<Reading> readings_;
    Reading lastReading_;
    std::vector<QueuedFault> faults_;
    bool silent_ = false;
};

}  // namespace corvane::testing
