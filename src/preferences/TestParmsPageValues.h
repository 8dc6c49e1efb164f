#pragma once

#include <string>
#include <vector>

#include "document/PreferenceTarget.h"

namespace corvane {

struct AppSettings;

// The loss limits and the per-instrument settings of the test parameter pages.
struct TestParmsPageValues {
    // Whole dB; the sequencer multiplies them by 10.
    int loopLoss = 5;
    int cascadeLoss = 5;
    int trunkLoss = 5;
    // The test set.
    int txFrequency = 1004;
    int txLevel = 10;
    int sensitivityIndex = 0;  // 1 the low frequency range
    int terminationIndex = 1;
    // The RT-2M.
    int outputFrequency = 1000;
    std::string outputImpedance = "600";
    std::string inputImpedance = "100K";

    static constexpr int kLossLow = 0, kLossHigh = 30;
    static constexpr int kTxFrequencyLow = 20, kTxFrequencyHigh = 20000;
    static constexpr int kTxLevelLow = -20, kTxLevelHigh = 20;

    static TestParmsPageValues FromSettings(const AppSettings& s);
    // Stores every value; returns the instrument settings that changed, whose resend flags
    // the instrument must raise.
    std::vector<TesterSetting> ApplyTo(AppSettings& s) const;
};

// The items of the instrument lists.
const std::vector<std::string>& SensitivityItems();  // "200Hz to 300KHz", "40Hz to 20KHz"
const std::vector<std::string>& TerminationItems();  // "150 Ohms" .. "1200 Ohms"
const std::vector<int>& Rt2mFrequencyItems();        // 500 .. 2500 Hz
const std::vector<std::string>& Rt2mOutputImpedanceItems();
const std::vector<std::string>& Rt2mInputImpedanceItems();

}  // namespace corvane
