#include "testing/RT2M.h"

#include <exception>

#include "link/AppDied.h"
#include "link/SerialPort.h"
#include "settings/AppSettings.h"
#include "testing/RT2MExceptions.h"

namespace corvane {

CRT2M::CRT2M(CVorlinModel& model, const SharedSettings& settings, RT2MOptions options)
    : model_(model),
      settings_(settings),
      options_(std::move(options)),
      clock_(options_.clock != nullptr ? *options_.clock : RealClock()),
      log_("RT-2M", "RT-2M Logging", 0),
      bandIndex_(RT2MBandIndex(500)) {
    if (!options_.sleep) {
        options_.sleep = [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); };
    }
}

CRT2M::~CRT2M() {
    if (thread_.joinable()) {
        stopRequested_ = true;
        thread_.join();
    }
    ClosePort();
}

void CRT2M::Start() {
    if (thread_.joinable()) {
        return;
    }
    log_.Printf(3, "Run the RT-2M interface thread");
    stopRequested_ = false;
    stopped_ = false;
    thread_ = std::thread([this] { Run(); });
}

void CRT2M::Stop() {
    if (stopRequested_.exchange(true)) {
        log_.Printf(1,
                    "Original attempt to terminate the RT-2M interface thread seems to have "
                    "failed; trying again!");
        return;
    }
    log_.Printf(3, "Terminate the RT-2M interface thread");
}

void CRT2M::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void CRT2M::StartTest(int /*trunk*/, int allowedLoss, int loopLoss, int& timeOutSeconds) {
    int timeout = timeoutSeconds_.load();
    if (timeout == 0) {
        const RT2MParameters p = RT2MParametersFrom(settings_.Snapshot());
        timeout = RT2MTestTimeoutSeconds(p, RT2MBandAt(bandIndex_.load()));
        timeoutSeconds_ = timeout;
    }
    timeOutSeconds = timeout;

    std::lock_guard lock(testMutex_);
    // A caller that asks again has given up on its earlier request: whatever that test
    // still measures is not the answer to this one.
    ++latestRequest_;
    if (testInProgress_) {
        log_.Printf(0, "Test requested while earlier test in progress!");
        abortRequested_ = true;
        return;
    }
    log_.Printf(3, "Test requested: allowed loss %d (x0.1 dB); timeout: %u sec",
                allowedLoss + loopLoss, static_cast<unsigned>(timeout));
    abortRequested_ = false;
    result_ = TrunkTestMeasurement{};
    status_ = TestResultState::Running;
    testInProgress_ = true;
}

TestResultState CRT2M::GetTestResult(TrunkTestMeasurement& measurement) {
    std::lock_guard lock(testMutex_);
    if (testInProgress_) {
        measurement = TrunkTestMeasurement{};
        return TestResultState::Running;
    }
    log_.Printf(4, "Test results reported");
    measurement = result_;
    return status_;
}

void CRT2M::MarkLoopbackDue() const {
    if (options_.loopbackDue) {
        options_.loopbackDue();
    }
}

void CRT2M::Run() {
    log_.Printf(3, "RT-2M interface thread running");
    while (!stopRequested_) {
        options_.sleep(options_.loopPause);
        if (stopRequested_) {
            break;
        }
        try {
            Pass();
        } catch (const CRT2MMode&) {
            AbortTest();
            resetRequired_ = true;
            MarkLoopbackDue();
        } catch (const CRT2MPort&) {
            AbortTest();
            resetRequired_ = true;
            MarkLoopbackDue();
        } catch (const CRT2MDied&) {
            AbortTest();
            resetRequired_ = true;
            MarkLoopbackDue();
            LostContact();
        } catch (const CRT2MTest&) {
            AbortTest();
        } catch (const CAppDied&) {
            AbortTest();
        } catch (const std::exception& e) {
            log_.Printf(0, "RT-2M interface thread failed: %s", e.what());
            AbortTest();
            resetRequired_ = true;
        }
    }
    // A test still asked for gets its answer rather than running for ever.
    AbortTest();
    contact_ = kNoContact;
    ClosePort();
    log_.Printf(3, "RT-2M interface thread terminated");
    stopped_ = true;
}

void CRT2M::Pass() {
    if (disconnectRequested_) {
        ClosePort();
        disconnectRequested_ = false;
    }
    if (reinitRequested_.exchange(false)) {
        ClosePort();
        OpenPort();
        resetRequired_ = true;
    }
    if (!port_ || !port_->IsOpen()) {
        AbortTest();
        return;
    }
    if (resetRequired_) {
        resetRequired_ = false;
        Reset();
        RestoredContact();
    }
    if (configureAll_) {
        configureAll_ = false;
        Configure();
    }
    if (frequencyChanged_.exchange(false)) {
        SendMultitone();
    }
    if (outputImpedanceChanged_.exchange(false)) {
        SendOutputImpedance();
    }
    if (inputImpedanceChanged_.exchange(false)) {
        SendInputImpedance();
    }
    bool test = false;
    {
        std::lock_guard lock(testMutex_);
        test = testInProgress_;
    }
    if (test) {
        RunTestProcedure();
    }
    if (clock_.Steady() - lastErrorPoll_ >= options_.errorPoll) {
        ReadErrorQueue(true);
    }
}

}  // namespace corvane
