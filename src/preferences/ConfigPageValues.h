#pragma once

#include <string>

namespace corvane {

struct AppSettings;
struct PrefContext;

// The configuration page's copies of the settings, edited until the page is applied.
struct ConfigPageValues {
    int connectionType = 0;  // 0 serial line, 1 network
    std::string serialPort = "COM1";
    std::string mainAddress;
    std::string partnerAddress;
    int alphaSelection = 0;  // 0, 1, 2 for 4, 6, 8 characters
    std::string analyzer = "None";
    std::string testerSerialPort = "COM2";
    int testerIntercom = 0;
    int testerPort = 0;
    std::string emailHost;

    static ConfigPageValues FromSettings(const AppSettings& s);
    int AlphaSize() const;
};

// 6 gives selection 1, 8 selection 2, anything else 0.
int AlphaSelectionOf(int alphaSize);

// Two serial port settings that name the same device: equal but for case, or the same device
// once "COMn" is mapped and symbolic links are followed.
bool SameSerialPort(const std::string& a, const std::string& b);

// The hint that tells every view the test instrument changed.
inline constexpr unsigned kTesterChangedHint = 4194304;

// Validates the edited values, releases the controller link and the instrument where the
// change needs it, stores the values, restarts what they touch and saves all settings. False,
// with the reason shown, keeps the sheet open; edited then holds the resolved main address
// (the typed one when it does not resolve).
bool ApplyConfigPage(ConfigPageValues& edited, PrefContext& context);

}  // namespace corvane
