#include "preferences/TestParmsPageValues.h"

#include "settings/AppSettings.h"

namespace corvane {

TestParmsPageValues TestParmsPageValues::FromSettings(const AppSettings& s) {
    TestParmsPageValues v;
    v.loopLoss = s.AllowedTonexaLoopLoss;
    v.cascadeLoss = s.AllowedCascadeLoopLoss;
    v.trunkLoss = s.AllowedTrunkLoss;
    v.txFrequency = s.TonexaTxFrequency;
    v.txLevel = s.TonexaTxLevel;
    v.sensitivityIndex = s.UseLowFrequencyTestRange ? 1 : 0;
    v.terminationIndex = s.TonexaImpedance;
    v.outputFrequency = s.OutputFrequency;
    v.outputImpedance = s.OutputImpedance;
    v.inputImpedance = s.InputImpedance;
    return v;
}

std::vector<TesterSetting> TestParmsPageValues::ApplyTo(AppSettings& s) const {
    std::vector<TesterSetting> changed;
    s.AllowedTonexaLoopLoss = loopLoss;
    s.AllowedCascadeLoopLoss = cascadeLoss;
    s.AllowedTrunkLoss = trunkLoss;
    if (s.TonexaTxFrequency != txFrequency) {
        s.TonexaTxFrequency = txFrequency;
        changed.push_back(TesterSetting::TonexaTxFrequency);
    }
    if (s.TonexaTxLevel != txLevel) {
        s.TonexaTxLevel = txLevel;
        changed.push_back(TesterSetting::TonexaTxLevel);
    }
    if (s.TonexaImpedance != terminationIndex) {
        s.TonexaImpedance = terminationIndex;
        changed.push_back(TesterSetting::TonexaImpedance);
    }
    s.UseLowFrequencyTestRange = sensitivityIndex == 1;
    if (s.OutputFrequency != outputFrequency) {
        s.OutputFrequency = outputFrequency;
        changed.push_back(TesterSetting::Rt2mFrequency);
    }
    if (s.OutputImpedance != outputImpedance) {
        s.OutputImpedance = outputImpedance;
        changed.push_back(TesterSetting::Rt2mOutputImpedance);
    }
    if (s.InputImpedance != inputImpedance) {
        s.InputImpedance = inputImpedance;
        changed.push_back(TesterSetting::Rt2mInputImpedance);
    }
    return changed;
}

const std::vector<std::string>& SensitivityItems() {
    static const std::vector<std::string> items{"200Hz to 300KHz", "40Hz to 20KHz"};
    return items;
}

const std::vector<std::string>& TerminationItems() {
    static const std::vector<std::string> items{"150 Ohms", "600 Ohms", "900 Ohms", "1200 Ohms"};
    return items;
}

const std::vector<int>& Rt2mFrequencyItems() {
    static const std::vector<int> items{500, 750, 1000, 1500, 2000, 2500};
    return items;
}

const std::vector<std::string>& Rt2mOutputImpedanceItems() {
    static const std::vector<std::string> items{"150", "600"};
    return items;
}

const std::vector<std::string>& Rt2mInputImpedanceItems() {
    static const std::vector<std::string> items{"100K", "600", "PHANTOM"};
    return items;
}

}  // namespace corvane
