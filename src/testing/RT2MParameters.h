#pragma once

#include <string>
#include <vector>

#include "testing/RT2MBand.h"

namespace corvane {

struct AppSettings;

// The analyzer settings as the driver sends them, clamped to what the analyzer takes.
struct RT2MParameters {
    double outputLevelDb = 0;  // relative to 1 V peak
    int outputFrequency = 1000;
    unsigned pretriggerLength = 500;  // ms
    unsigned multitoneLength = 250;   // ms
    bool outputFloat = true;
    std::string outputImpedance = "600";  // "150" or "600"
    bool inputDeemphasis = false;
    std::string inputImpedance = "100K";  // "100K", "PHANTOM" or "600"
    double micSensitivity = 50.0;
    double dividerRatio = 1.0;
    unsigned trunkSetupDelay = 500;  // ms
    int trunkLatency[3] = {2000, 3500, 5000};
    double noiseFloor = 50;     // dB relative to 1 V peak
    int turnaroundTime = 1000;  // ms, before the driver's lower bound
    std::string portName = "COM2";
};

RT2MParameters RT2MParametersFrom(const AppSettings& settings);

// The output level in tenths of a dB, as the driver reports it.
int RT2MTenths(double decibels);

// The trunk latencies (ms) the test tries in turn, for a band's analysis delay.
std::vector<unsigned> RT2MLatencyCandidates(const RT2MParameters& p, unsigned analysisDelay);

// The smallest multiple of 100 ms not below the latency plus the trigger's own lag.
unsigned RT2MTriggerTimeout(unsigned latency);
// Duration in ms of one multitone test at a latency; the initial test also waits the trunk
// set-up delay.
unsigned RT2MTestDuration(const RT2MParameters& p, const RT2MBand& band, unsigned latency,
                          bool withSetupDelay);
// Seconds after which a caller counts a whole test procedure as timed out.
int RT2MTestTimeoutSeconds(const RT2MParameters& p, const RT2MBand& band);

}  // namespace corvane
