#include "testing/RT2MParameters.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "settings/AppSettings.h"

namespace corvane {
namespace {

unsigned ClampMs(int value, int high) {
    return static_cast<unsigned>(std::clamp(value, 0, high));
}

std::string Upper(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

// The trigger waits this long beyond the trunk latency.
constexpr unsigned kTriggerLag = 42;
// Beyond the test's own terms: the analyzer's start and the level read-out.
constexpr unsigned kTestOverhead = 106;

}  // namespace

RT2MParameters RT2MParametersFrom(const AppSettings& s) {
    RT2MParameters p;
    const double volts = std::clamp(s.OutputLevel / 1000.0, 0.1, 3.0);
    p.outputLevelDb = 20.0 * std::log10(volts);
    p.outputFrequency = s.OutputFrequency;
    p.pretriggerLength = ClampMs(s.PretriggerLength, 5000);
    p.multitoneLength = ClampMs(s.MultitoneLength, 1000);
    p.outputFloat = s.OutputFloat;
    p.outputImpedance = s.OutputImpedance == "150" ? "150" : "600";
    p.inputDeemphasis = s.InputDeemphasis != 0;
    const std::string in = Upper(s.InputImpedance);
    p.inputImpedance = (in == "100K" || in == "PHANTOM") ? in : "600";
    p.micSensitivity = std::clamp(s.InputMICSensitivity / 10.0, 5.0, 5000.0);
    p.dividerRatio = std::clamp(s.InputVoltageDividerRatio / 10.0, 1.0, 100.0);
    p.trunkSetupDelay = ClampMs(s.TrunkSetupDelay, 1000);
    p.trunkLatency[0] = s.TrunkLatency1;
    p.trunkLatency[1] = s.TrunkLatency2;
    p.trunkLatency[2] = s.TrunkLatency3;
    p.noiseFloor = std::clamp(s.NoiseFloor, 0, 100);
    p.turnaroundTime = s.TurnaroundTime;
    p.portName = s.TonexaSerialPort;
    return p;
}

int RT2MTenths(double decibels) {
    return static_cast<int>(std::lround(decibels * 10.0));
}

std::vector<unsigned> RT2MLatencyCandidates(const RT2MParameters& p, unsigned analysisDelay) {
    std::vector<unsigned> list;
    for (const int latency : p.trunkLatency) {
        // In 64 bits, so that no setting can overflow the sums.
        long long b = latency;
        if (b + kTriggerLag <= 50) {
            continue;
        }
        if (analysisDelay + b + kTriggerLag > 10000) {
            b = 9958 - static_cast<long long>(analysisDelay);
        }
        if (list.empty() || b >= static_cast<long long>(list.back())) {
            list.push_back(static_cast<unsigned>(b));
        }
    }
    if (list.empty()) {
        list.push_back(3500);
    }
    return list;
}

unsigned RT2MTriggerTimeout(unsigned latency) {
    return (latency + kTriggerLag + 99) / 100 * 100;
}

unsigned RT2MTestDuration(const RT2MParameters& p, const RT2MBand& band, unsigned latency,
                          bool withSetupDelay) {
    return latency + p.multitoneLength + band.analysisDelayMs + p.pretriggerLength + kTestOverhead +
           (withSetupDelay ? p.trunkSetupDelay : 0);
}

int RT2MTestTimeoutSeconds(const RT2MParameters& p, const RT2MBand& band) {
    const std::vector<unsigned> candidates = RT2MLatencyCandidates(p, band.analysisDelayMs);
    // The initial test, two headroom measurements per candidate (the second after an
    // overload), and a final test per candidate at the worst latency.
    unsigned long long w = RT2MTriggerTimeout(candidates.front()) +
                           RT2MTestDuration(p, band, candidates.front(), true);
    unsigned worstFinal = 0;
    for (const unsigned l : candidates) {
        w += 2ull * (l + band.analysisDelayMs);
        worstFinal =
            std::max(worstFinal, RT2MTriggerTimeout(l) + RT2MTestDuration(p, band, l, false));
    }
    w += static_cast<unsigned long long>(candidates.size()) * worstFinal;
    const long long seconds = 2 * static_cast<long long>((w + 999) / 1000);
    return static_cast<int>(std::max<long long>(seconds, 5));
}

}  // namespace corvane
