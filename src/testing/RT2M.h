#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "log/DiagLogSource.h"
#include "platform/Clock.h"
#include "testing/RT2MOptions.h"
#include "testing/RT2MParameters.h"
#include "testing/TrunkTester.h"

namespace corvane {

class CSerialPort;
class CVorlinModel;
class SharedSettings;

// The RT-2M audio analyzer on a serial line (analyzer type 2). A worker thread of its own
// owns the port: it resets the analyzer, sends the configuration, reads the error queue once
// a second and runs a multitone trunk test when asked. The operations only set request flags
// or copy results, and return at once.
class CRT2M final : public CTrunkTester {
public:
    // Contact states.
    static constexpr int kNoContact = 0, kContactLost = 1, kInContact = 2;

    // The model and the settings must outlive the instrument.
    CRT2M(CVorlinModel& model, const SharedSettings& settings, RT2MOptions options = {});
    // Stops and joins the worker; the port is closed.
    ~CRT2M() override;
    CRT2M(const CRT2M&) = delete;
    CRT2M& operator=(const CRT2M&) = delete;

    void Start() override;
    void Stop() override;
    void Join() override;
    bool IsStopped() const override { return stopped_.load(); }
    bool IsConnected() const override { return contact_.load() == kInContact; }
    void StartTest(int trunk, int allowedLoss, int loopLoss, int& timeOutSeconds) override;
    TestResultState GetTestResult(TrunkTestMeasurement& measurement) override;
    void SetReinitRequested(bool requested) override { reinitRequested_ = requested; }
    bool IsDisconnectRequested() const override { return disconnectRequested_.load(); }
    void SetDisconnectRequested(bool requested) override { disconnectRequested_ = requested; }

    // Called by the parameter page after a change of the matching setting.
    void SetFrequencyChanged() { frequencyChanged_ = true; }
    void SetOutputImpedanceChanged() { outputImpedanceChanged_ = true; }
    void SetInputImpedanceChanged() { inputImpedanceChanged_ = true; }

    int ContactState() const { return contact_.load(); }

private:
    // Measurement outcomes.
    enum class Reading { kOk = 0, kNoTrigger = 1, kOverload = 2, kFailed = 3 };
    struct Judgement {
        bool retransmit = false;
        bool reset = false;
        int malfunctions = 0;
        std::optional<unsigned> retest;  // the first class 6 code
    };

    void Run();
    void MarkLoopbackDue() const;
    void Pass();

    // The line (RT2MLine.cpp).
    void OpenPort();
    void ClosePort();
    void CheckRequests() const;
    bool Transmit(const std::string& command);
    // Waits at most the wait for a block, in reads of at most the longest read; false when
    // none came. Throws when a stop or a request to the port is seen between the reads.
    bool ReadBlock(uint8_t* block, size_t size, size_t& count, std::chrono::milliseconds wait);
    std::optional<std::string> Receive();
    std::optional<std::vector<unsigned>> FetchErrors();
    Judgement JudgeErrors(const std::vector<unsigned>& codes);
    void RestartErrorPoll();
    void ReadErrorQueue(bool idle);
    void IssueCommand(const std::string& command);
    std::string IssueQuery(const std::string& query);

    // Reset and configuration (RT2MSetup.cpp).
    void Reset();
    void RestoredContact();
    void LostContact();
    void RaiseDeviceAlarm(unsigned code);
    void Configure();
    void SendMultitone();
    void SendOutputLevel();
    void SendOutputImpedance();
    void SendInputImpedance();
    void SendInputRange(double decibels);

    // The test procedure (RT2MProcedure.cpp).
    void RunTestProcedure();
    bool TestAbortRequested() const;
    // One multitone measurement of the level (else the headroom) in dB.
    Reading Measure(bool level, unsigned durationMs, double& decibels);
    void SetTestTimers(unsigned pretrigger, unsigned multitoneLength, unsigned latency);
    void FinishTest(TestResultState status, std::optional<double> receivedDb);
    void AbortTest();

    CVorlinModel& model_;
    const SharedSettings& settings_;
    RT2MOptions options_;
    const IClock& clock_;
    CDiagLogSource log_;
    std::thread thread_;

    // Set by the user-interface thread, taken by the worker.
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> stopped_{true};
    std::atomic<bool> reinitRequested_{true};
    std::atomic<bool> disconnectRequested_{false};
    std::atomic<bool> frequencyChanged_{false};
    std::atomic<bool> outputImpedanceChanged_{false};
    std::atomic<bool> inputImpedanceChanged_{false};
    std::atomic<int> contact_{kNoContact};
    std::atomic<int> bandIndex_;          // the band last sent
    std::atomic<int> timeoutSeconds_{0};  // 0 until computed for that band

    // The worker's own.
    std::unique_ptr<CSerialPort> port_;
    bool resetRequired_ = true;
    bool configureAll_ = true;
    RT2MParameters parameters_;
    int outputLevelTenths_ = 0;
    double inputRange_ = 0;
    SteadyTime lastErrorPoll_{};
    int failedIdlePolls_ = 0;

    // The test request and its result, shared by both threads.
    mutable std::mutex testMutex_;
    bool testInProgress_ = false;
    bool abortRequested_ = false;
    uint64_t latestRequest_ = 0;   // number of the last accepted request
    uint64_t runningRequest_ = 0;  // the one the worker is measuring
    TestResultState status_ = TestResultState::NoResult;
    TrunkTestMeasurement result_;
};

}  // namespace corvane
