#pragma once

#include <cstdint>

namespace corvane {

// One measurement of a trunk's loss; every field is 0 while a measurement runs.
struct TrunkTestMeasurement {
    int32_t transmittedLevel = 0;  // tenths of a dB
    int32_t receivedLevel = 0;     // tenths of a dB
    int32_t transmittedFrequency = 0;
    int32_t receivedFrequency = 0;
    uint8_t flag = 0;  // 1 when the analyzer's test procedure succeeded
};

// What GetTestResult reports.
enum class TestResultState : int { Running = 0, Measured = 1, Failed = 2, NoResult = 3 };

// The test instrument as the sequencer, the configuration page and the status bar see it.
// Every operation returns at once: the instrument's worker thread does the work.
class CTrunkTester {
public:
    virtual ~CTrunkTester() = default;

    virtual void Start() = 0;
    // Asks the worker to end; Join waits until it has. A new instrument counts as stopped, and
    // Start clears the flag before its worker runs.
    virtual void Stop() = 0;
    virtual void Join() = 0;
    virtual bool IsStopped() const = 0;
    virtual bool IsConnected() const = 0;
    // allowedLoss and loopLoss in tenths of a dB; timeOutSeconds says when the caller gives up.
    virtual void StartTest(int trunk, int allowedLoss, int loopLoss, int& timeOutSeconds) = 0;
    virtual TestResultState GetTestResult(TrunkTestMeasurement& measurement) = 0;
    virtual void SetReinitRequested(bool requested) = 0;
    virtual bool IsDisconnectRequested() const = 0;
    virtual void SetDisconnectRequested(bool requested) = 0;
};

// The instrument when none is configured: it never answers.
class CDummyTester final : public CTrunkTester {
public:
    void Start() override {}
    void Stop() override {}
    void Join() override {}
    bool IsStopped() const override { return true; }
    bool IsConnected() const override { return false; }
    void StartTest(int, int, int, int&) override {}
    TestResultState GetTestResult(TrunkTestMeasurement&) override {
        return TestResultState::NoResult;
    }
    void SetReinitRequested(bool) override {}
    bool IsDisconnectRequested() const override { return false; }
    void SetDisconnectRequested(bool) override {}
};

}  // namespace corvane
