#pragma once

#include <deque>
#include <vector>

#include "testing/TrunkTester.h"

namespace corvane::testing {

// An instrument that answers measurements from a script. It counts every result it was asked
// for while no measurement was started, so a test can see that the caller never takes a
// result for a measurement it did not start. User-interface thread only.
class FakeTrunkTester final : public CTrunkTester {
public:
    struct Answer {
        TestResultState result = TestResultState::Measured;
        TrunkTestMeasurement measurement;
        int pollsRunning = 0;      // polls answered "running" first; -1: forever
        bool loseContact = false;  // the instrument goes out of contact as it answers
    };
    struct Started {
        int trunk = 0;
        int allowedLoss = 0;
        int loopLoss = 0;
    };

    bool connected = true;
    int timeOutSeconds = 10;
    // Answers in the order of the measurements; once empty, a measured loss of 0 dB.
    std::deque<Answer> answers;

    static Answer Measured(int transmitted, int received, int txFreq = 1004, int rxFreq = 1004) {
        Answer a;
        a.measurement.transmittedLevel = transmitted;
        a.measurement.receivedLevel = received;
        a.measurement.transmittedFrequency = txFreq;
        a.measurement.receivedFrequency = rxFreq;
        a.measurement.flag = 1;
        return a;
    }
    static Answer Result(TestResultState result, int pollsRunning = 0) {
        Answer a;
        a.result = result;
        a.pollsRunning = pollsRunning;
        return a;
    }

    const std::vector<Started>& StartedTests() const { return started_; }
    int ResultsTakenWithoutStart() const { return withoutStart_; }
    int Polls() const { return polls_; }

    void Start() override { stopped_ = false; }
    void Stop() override { stopped_ = true; }
    void Join() override {}
    bool IsStopped() const override { return stopped_; }
    bool IsConnected() const override { return connected; }
    void StartTest(int trunk, int allowedLoss, int loopLoss, int& timeOut) override {
        started_.push_back({trunk, allowedLoss, loopLoss});
        timeOut = timeOutSeconds;
        if (answers.empty()) {
            current_ = Measured(0, 0);
        } else {
            current_ = answers.front();
            answers.pop_front();
        }
        open_ = true;
    }
    TestResultState GetTestResult(TrunkTestMeasurement& measurement) override {
        measurement = TrunkTestMeasurement{};
        ++polls_;
        if (!open_) {
            ++withoutStart_;
            return TestResultState::Running;
        }
        if (!connected) {
            return TestResultState::NoResult;
        }
        if (current_.pollsRunning != 0) {
            if (current_.pollsRunning > 0) {
                --current_.pollsRunning;
            }
            return TestResultState::Running;
        }
        open_ = false;
        if (current_.loseContact) {
            connected = false;
        }
        if (current_.result == TestResultState::Measured) {
            measurement = current_.measurement;
        }
        return current_.result;
    }
    void SetReinitRequested(bool) override {}
    bool IsDisconnectRequested() const override { return false; }
    void SetDisconnectRequested(bool) override {}

private:
    std::vector<Started> started_;
    Answer current_;
    bool open_ = false;
    bool stopped_ = true;
    int withoutStart_ = 0;
    int polls_ = 0;
};

}  // namespace corvane::testing
