#include "testing/Tonexa.h"

#include <algorithm>
#include <limits>

#include "link/AppDied.h"
#include "link/SerialPort.h"
#include "model/NameTables.h"
#include "model/VorlinModel.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

CTonexa::CTonexa(CVorlinModel& model, const SharedSettings& settings, TonexaOptions options)
    : model_(model),
      settings_(settings),
      options_(std::move(options)),
      clock_(options_.clock != nullptr ? *options_.clock : RealClock()) {}

CTonexa::~CTonexa() {
    Stop();
    Join();
}

void CTonexa::Start() {
    if (thread_.joinable()) {
        return;
    }
    log_.Printf(3, "Start the Tonexa thread");
    stopRequested_ = false;
    stopped_ = false;
    thread_ = std::thread([this] { Run(); });
}

void CTonexa::Stop() {
    {
        std::lock_guard lock(pauseMutex_);
        stopRequested_ = true;
    }
    pauseWake_.notify_all();
}

void CTonexa::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void CTonexa::StartTest(int /*trunk*/, int allowedLoss, int loopLoss, int& timeOutSeconds) {
    timeOutSeconds = options_.testTimeOutSeconds;
    const AppSettings settings = settings_.Snapshot();
    TestRequest request;
    request.tolerance = int64_t{allowedLoss} + loopLoss;
    request.transmittedLevel = ClampToInt32(int64_t{settings.TonexaTxLevel} * 10);
    request.lowFrequencyRange = settings.UseLowFrequencyTestRange;

    std::lock_guard lock(resultMutex_);
    request.number = ++latestRequest_;
    result_ = TrunkTestMeasurement{};
    result_.transmittedLevel = request.transmittedLevel;
    result_.transmittedFrequency = settings.TonexaTxFrequency;
    // Whatever runs now belongs to an older request.
    abortTest_ = true;
    if (!IsConnected()) {
        log_.Printf(2, "Test requested while the Tonexa is not communicating");
        pending_.reset();
        status_ = TestResultState::NoResult;
        return;
    }
    pending_ = request;
    status_ = TestResultState::Running;
}

TestResultState CTonexa::GetTestResult(TrunkTestMeasurement& measurement) {
    log_.Printf(3, "Get status of the ongoing test request");
    std::lock_guard lock(resultMutex_);
    if (status_ == TestResultState::Running) {
        log_.Printf(3, "Test in progress");
        measurement = TrunkTestMeasurement{};
        return status_;
    }
    log_.Printf(3, "Test completed");
    measurement = result_;
    return status_;
}

void CTonexa::SetReinitRequested(bool requested) {
    reinitRequested_ = requested;
}

void CTonexa::SetDisconnectRequested(bool requested) {
    if (requested) {
        abortTest_ = true;
    }
    disconnectRequested_ = requested;
}

void CTonexa::Publish(uint64_t number, TestResultState status, const TonexaReading* reading) {
    std::lock_guard lock(resultMutex_);
    if (number != latestRequest_) {
        log_.Printf(2, "Result of an abandoned test request dropped");
        return;
    }
    status_ = status;
    if (reading != nullptr) {
        result_.receivedLevel = reading->level;
        result_.receivedFrequency = reading->frequency;
    }
    result_.flag = 0;
}

std::optional<CTonexa::TestRequest> CTonexa::TakeRequest() {
    std::lock_guard lock(resultMutex_);
    std::optional<TestRequest> request;
    request.swap(pending_);
    if (request) {
        abortTest_ = false;
    }
    return request;
}

// A request that cannot be run is answered at once rather than left to time out.
void CTonexa::AnswerPendingRequest() {
    std::lock_guard lock(resultMutex_);
    if (pending_) {
        log_.Printf(2, "Test request answered: the Tonexa is not communicating");
        pending_.reset();
        status_ = TestResultState::NoResult;
    }
}

void CTonexa::Pause(std::chrono::milliseconds interval) {
    std::unique_lock lock(pauseMutex_);
    pauseWake_.wait_for(lock, interval, [this] { return stopRequested_.load(); });
}

void CTonexa::CheckStop() const {
    if (stopRequested_.load()) {
        throw CAppDied{};
    }
}

void CTonexa::Run() {
    lastKeepAlive_.reset();
    while (!stopRequested_.load()) {
        RunPass();
    }
    ClosePort();
    contact_ = kContactLost;
    AnswerPendingRequest();
    stopped_ = true;
}

void CTonexa::RunPass() {
    Pause(options_.passInterval);
    if (stopRequested_.load()) {
        return;
    }
    if (disconnectRequested_.load()) {
        ClosePort();
        disconnectRequested_ = false;
    }
    if (reinitRequested_.exchange(false)) {
        OpenPort();
        resendFrequency_ = true;
        resendLevel_ = true;
        resendImpedance_ = true;
    }
    if (!port_) {
        AnswerPendingRequest();
        return;
    }
    try {
        const SteadyTime now = clock_.Steady();
        if (!lastKeepAlive_ || now - *lastKeepAlive_ >= options_.keepAliveInterval) {
            lastKeepAlive_ = now;
            log_.Printf(3, "Build 'Take Control' Message");
            Transact(TonexaKeepAliveCommand());
        }
        if (contact_.load() != kInContact) {
            AnswerPendingRequest();
            Pause(options_.outOfContactInterval);
            return;
        }
        SendSettings();
        CheckStop();
        if (std::optional<TestRequest> request = TakeRequest()) {
            RunTest(*request);
        }
    } catch (const CTXDied&) {
        resendFrequency_ = true;
        resendLevel_ = true;
        resendImpedance_ = true;
        AnswerPendingRequest();
        if (options_.loopbackDue) {
            options_.loopbackDue();
        }
    } catch (const CAppDied&) {
        // The loop ends on the stop flag.
    }
}

void CTonexa::OpenPort() {
    ClosePort();
    // A port opened afresh is checked at once rather than a keep-alive interval later.
    lastKeepAlive_.reset();
    const std::string portName = settings_.Snapshot().TonexaSerialPort;
    const std::string& device = LoadString(ids::kDeviceTypeFirst + devicetype::kTonexa);
    port_ = std::make_unique<CSerialPort>("TX_SPort", "TX_SPort log", options_.serial, clock_);
    if (!port_->Open(portName, options_.baudRate)) {
        log_.Printf(0, "Failed to open the serial port %s", portName.c_str());
        port_.reset();
        Ui().PostMessageBox(InsertArgs(LoadString(ids::kFailedToOpenComPort), {device, portName}),
                            LoadString(ids::kAppCaption), mb::kOk);
    }
}

// Without a port the test set cannot answer: it is no longer in contact, but nothing was
// lost that deserves an alarm.
void CTonexa::ClosePort() {
    port_.reset();
    int expected = kInContact;
    contact_.compare_exchange_strong(expected, kContactUnknown);
}

}  // namespace corvane
