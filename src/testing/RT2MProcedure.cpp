// The multitone trunk test: an initial test, then a walk over the candidate trunk latencies
// that measures the headroom and repeats the test with the input range it gives.
#include <cmath>

#include "platform/Format.h"
#include "settings/AppSettings.h"
#include "testing/RT2M.h"
#include "testing/RT2MErrorTable.h"
#include "testing/RT2MExceptions.h"
#include "testing/RT2MReply.h"

namespace corvane {
namespace {

constexpr int kAttempts = 3;
constexpr unsigned kNoTriggerCode = 203;
constexpr unsigned kOverloadCode = 210;
// The range never goes below this; a headroom that asks for less means no signal.
constexpr double kLowestRange = -60.0;

// The range that takes the largest signal the analyzer's inputs can carry.
double MaximumRange() {
    return 20.0 * std::log10(12.0) + 6.0;
}

}  // namespace

bool CRT2M::TestAbortRequested() const {
    std::lock_guard lock(testMutex_);
    return abortRequested_ || runningRequest_ != latestRequest_;
}

CRT2M::Reading CRT2M::Measure(bool level, unsigned durationMs, double& decibels) {
    const std::chrono::seconds limit((durationMs + 500 + 999) / 1000);
    const RT2MBand& band = RT2MBandAt(bandIndex_.load());
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (TestAbortRequested()) {
            throw CRT2MTest{};
        }
        if (!Transmit("OUTPUT:MTONE:START")) {
            continue;
        }
        log_.Printf(4, "Issued command %s", "OUTPUT:MTONE:START");
        // The analyzer answers its error queue once the measurement is done.
        const SteadyTime started = clock_.Steady();
        std::optional<std::vector<unsigned>> codes;
        while (!codes) {
            options_.sleep(options_.resultPoll);
            if (TestAbortRequested()) {
                throw CRT2MTest{};
            }
            codes = FetchErrors();
            if (!codes && clock_.Steady() - started > limit) {
                throw CRT2MDied{};
            }
        }
        const Judgement j = JudgeErrors(*codes);
        if (j.reset) {
            throw CRT2MMode{};
        }
        if (j.retest) {
            const unsigned code = *j.retest;
            log_.Printf(2, "Retest required due to error %u: %s", code, LookupRT2MError(code).text);
            if (code == kNoTriggerCode) {
                return Reading::kNoTrigger;
            }
            return code == kOverloadCode ? Reading::kOverload : Reading::kFailed;
        }
        if (j.retransmit) {
            continue;
        }
        if (level) {
            const std::optional<RT2MLevelReading> r =
                ParseRT2MLevel(IssueQuery("MEASUREMENT1:LEVEL?"));
            if (!r || r->bin != band.bin) {
                return Reading::kFailed;
            }
            decibels = r->decibels;
            return Reading::kOk;
        }
        const std::optional<double> h = ParseRT2MHeadroom(IssueQuery("MEASUREMENT1:HEADROOM?"));
        if (!h) {
            return Reading::kFailed;
        }
        decibels = *h;
        return Reading::kOk;
    }
    throw CRT2MDied{};
}

void CRT2M::SetTestTimers(unsigned pretrigger, unsigned multitoneLength, unsigned latency) {
    IssueCommand(StrFormat("OUTPUT:MTONE:PRETRIGGERLENGTH %u", pretrigger));
    IssueCommand(StrFormat("OUTPUT:MTONE:MTONELENGTH %u", multitoneLength));
    IssueCommand(StrFormat("INPUT:TRIGGER:TIMEOUT %u", RT2MTriggerTimeout(latency)));
}

void CRT2M::RunTestProcedure() {
    {
        std::lock_guard lock(testMutex_);
        runningRequest_ = latestRequest_;
    }
    parameters_ = RT2MParametersFrom(settings_.Snapshot());
    const RT2MParameters& p = parameters_;
    const RT2MBand& band = RT2MBandAt(bandIndex_.load());
    const std::vector<unsigned> candidates = RT2MLatencyCandidates(p, band.analysisDelayMs);

    unsigned latency = candidates.front();
    SendInputRange(p.outputLevelDb + 6.0);
    IssueCommand("INPUT:SYNC INTERNAL");
    SetTestTimers(p.trunkSetupDelay + p.pretriggerLength, p.multitoneLength, latency);
    double level = 0;
    const Reading initial = Measure(true, RT2MTestDuration(p, band, latency, true), level);
    if (initial == Reading::kOk) {
        log_.Printf(3,
                    "Initial test succeeded: output level: %d (x0.1 dB); input level %d (x0.1 dB)",
                    outputLevelTenths_, RT2MTenths(level));
        FinishTest(TestResultState::Measured, level);
        return;
    }
    log_.Printf(3, "Initial test failed: measuring headroom and trunk latency");
    bool overload = initial == Reading::kOverload;
    if (overload) {
        SendInputRange(MaximumRange());
    }
    IssueCommand("INPUT:SYNC INTNOHEADER");

    for (size_t i = 0; i < candidates.size(); ++i) {
        latency = candidates[i];
        IssueCommand(StrFormat("OUTPUT:MTONE:MTONELENGTH %u", latency));
        double headroom = 0;
        const unsigned duration = latency + band.analysisDelayMs;
        Reading r = Measure(false, duration, headroom);
        while (r == Reading::kOverload && MaximumRange() > inputRange_) {
            overload = true;
            SendInputRange(MaximumRange());
            r = Measure(false, duration, headroom);
        }
        if (r != Reading::kOk) {
            log_.Printf(
                3, "Headroom measurement failed: the trunk (or the RT-2M itself) may be faulty");
            FinishTest(TestResultState::Failed, std::nullopt);
            return;
        }
        const double range = inputRange_ - (headroom - 6.0);
        if (headroom > p.noiseFloor || range < kLowestRange) {
            if (overload) {
                log_.Printf(3,
                            "Measured headroom of %.1f dBVp exceeds noise floor of %.1f dBVp: the "
                            "trunk may be disconnected (or faulty)",
                            headroom, p.noiseFloor);
                FinishTest(TestResultState::Failed, std::nullopt);
                return;
            }
            log_.Printf(3,
                        "Measured headroom of %.1f dBVp exceeds noise floor of %.1f dBVp: the "
                        "trunk latency may exceed %u msec",
                        headroom, p.noiseFloor, latency);
            continue;
        }
        log_.Printf(3,
                    "Measured headroom of %.1f dBVp within noise floor of %.1f dBVp; trunk "
                    "latency within %u msec",
                    headroom, p.noiseFloor, latency);
        SendInputRange(range);
        IssueCommand("INPUT:SYNC INTERNAL");
        SetTestTimers(p.pretriggerLength, p.multitoneLength, latency);
        // Each candidate not yet tried buys one more try at this latency.
        const size_t repeats = candidates.size() - 1 - i;
        for (size_t k = 0;; ++k) {
            if (Measure(true, RT2MTestDuration(p, band, latency, false), level) == Reading::kOk) {
                log_.Printf(3,
                            "Final test succeeded: output level: %d (x0.1 dB); input level %d "
                            "(x0.1 dB)",
                            outputLevelTenths_, RT2MTenths(level));
                FinishTest(TestResultState::Measured, level);
                return;
            }
            if (k >= repeats) {
                break;
            }
            log_.Printf(3, "Final test failed: repeating test");
        }
        break;
    }
    log_.Printf(3, "Test failed: the trunk may be faulty");
    FinishTest(TestResultState::Failed, std::nullopt);
}

void CRT2M::FinishTest(TestResultState status, std::optional<double> receivedDb) {
    std::lock_guard lock(testMutex_);
    testInProgress_ = false;
    // Asked again while it ran: the caller no longer waits for this one.
    const bool current = runningRequest_ == latestRequest_ && !abortRequested_;
    abortRequested_ = false;
    if (!current) {
        log_.Printf(3, "Test aborted");
        status_ = TestResultState::NoResult;
        result_ = TrunkTestMeasurement{};
        return;
    }
    const int nominal = RT2MBandAt(bandIndex_.load()).nominalHz;
    result_.transmittedLevel = outputLevelTenths_;
    result_.transmittedFrequency = nominal;
    result_.receivedFrequency = nominal;
    result_.receivedLevel = receivedDb ? RT2MTenths(*receivedDb) : 0;
    result_.flag = status == TestResultState::Measured ? 1 : 0;
    status_ = status;
}

void CRT2M::AbortTest() {
    std::lock_guard lock(testMutex_);
    if (testInProgress_) {
        log_.Printf(3, "Test aborted");
        status_ = TestResultState::NoResult;
        testInProgress_ = false;
    }
    abortRequested_ = false;
}

}  // namespace corvane
