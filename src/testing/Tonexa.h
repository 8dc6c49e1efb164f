#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "log/DiagLogSource.h"
#include "testing/TonexaOptions.h"
#include "testing/TonexaReply.h"
#include "testing/TrunkTester.h"

namespace corvane {

class CVorlinModel;
class CSerialPort;
class SharedSettings;

// Thrown inside the worker when contact with the test set is lost; the loop catches it.
struct CTXDied {};

// The Tonexa transmission-impairment test set on a serial line. A worker thread owns the
// port, keeps contact with a keep-alive every second, sends the transmit settings when they
// change and runs the level-versus-frequency measurement that a caller asks for.
//
// Threads: the caller's operations only set flags and read results. Requests are numbered;
// only the result of the latest request is ever reported, so a measurement the caller has
// given up on cannot stand in for the next one.
class CTonexa final : public CTrunkTester {
public:
    CTonexa(CVorlinModel& model, const SharedSettings& settings, TonexaOptions options = {});
    ~CTonexa() override;
    CTonexa(const CTonexa&) = delete;
    CTonexa& operator=(const CTonexa&) = delete;

    void Start() override;
    void Stop() override;
    void Join() override;
    bool IsStopped() const override { return stopped_.load(); }
    bool IsConnected() const override { return contact_.load() == kInContact; }
    // A test set out of contact answers at once with NoResult.
    void StartTest(int trunk, int allowedLoss, int loopLoss, int& timeOutSeconds) override;
    TestResultState GetTestResult(TrunkTestMeasurement& measurement) override;
    void SetReinitRequested(bool requested) override;
    bool IsDisconnectRequested() const override { return disconnectRequested_.load(); }
    void SetDisconnectRequested(bool requested) override;

    // The parameter page changed a transmit setting: send it again.
    void SetResendFrequency() { resendFrequency_ = true; }
    void SetResendLevel() { resendLevel_ = true; }
    void SetResendImpedance() { resendImpedance_ = true; }

    // 0 not yet known, 1 in contact, 2 contact lost.
    static constexpr int kContactUnknown = 0, kInContact = 1, kContactLost = 2;
    int ContactState() const { return contact_.load(); }

private:
    struct TestRequest {
        uint64_t number = 0;
        int64_t tolerance = 0;  // tenths of a dB
        int32_t transmittedLevel = 0;
        bool lowFrequencyRange = false;
    };
    enum class ErrorKind { WriteOrWait, Read, Invalid };

    void Run();
    void RunPass();
    void OpenPort();
    void ClosePort();
    // Pauses for the interval, or less when Stop is called.
    void Pause(std::chrono::milliseconds interval);
    void CheckStop() const;

    // One command and its reply; the reading of a measurement reply. Throws CTXDied or
    // CAppDied.
    TonexaReading Transact(const TonexaCommand& command);
    // Sends, waits and reads once; false with the kind of error to count.
    bool TryTransact(const TonexaCommand& command, ErrorKind& error, TonexaReading& reading);
    bool ReadReply(std::string& reply, ErrorKind& error);
    bool ProcessReply(const TonexaCommand& command, const std::string& reply,
                      TonexaReading& reading);
    [[noreturn]] void LoseContact();

    void SendSettings();
    void RunTest(const TestRequest& request);
    // Only the latest request's result is kept.
    void Publish(uint64_t number, TestResultState status, const TonexaReading* reading);
    std::optional<TestRequest> TakeRequest();
    void AnswerPendingRequest();
    bool TestAbandoned() const { return abortTest_.load(); }

    CVorlinModel& model_;
    const SharedSettings& settings_;
    const TonexaOptions options_;
    const IClock& clock_;
    CDiagLogSource log_{"Tonexa", "Tonexa log", 0};

    std::thread thread_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> stopped_{true};
    std::mutex pauseMutex_;
    std::condition_variable pauseWake_;

    // Worker only.
    std::unique_ptr<CSerialPort> port_;
    std::optional<SteadyTime> lastKeepAlive_;

    std::atomic<int> contact_{kContactUnknown};
    std::atomic<bool> reinitRequested_{true};
    std::atomic<bool> disconnectRequested_{false};
    std::atomic<bool> resendFrequency_{true};
    std::atomic<bool> resendLevel_{true};
    std::atomic<bool> resendImpedance_{true};
    // The running test is no longer wanted; cleared when the worker takes a new request.
    std::atomic<bool> abortTest_{false};

    mutable std::mutex resultMutex_;
    uint64_t latestRequest_ = 0;                          // under resultMutex_
    std::optional<TestRequest> pending_;                  // under resultMutex_
    TestResultState status_ = TestResultState::NoResult;  // under resultMutex_
    TrunkTestMeasurement result_;                         // under resultMutex_
};

}  // namespace corvane
