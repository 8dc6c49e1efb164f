#include <strings.h>

#include <filesystem>

#include "document/PreferenceTarget.h"
#include "link/SerialPortName.h"
#include "platform/Format.h"
#include "preferences/ConfigPageValues.h"
#include "preferences/PrefContext.h"
#include "preferences/PrefHostAddress.h"
#include "preferences/PrefSheetLayout.h"
#include "settings/AnalyzerName.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kLinkPoll{100};
constexpr int kLinkPolls = 100;
constexpr milliseconds kStopPoll{500};
constexpr int kStopPolls = 180;

// The device a setting names, through "COMn" and symbolic links (such as the stable names
// under /dev/serial/by-id); a path that does not resolve as it is.
std::string DeviceOf(const std::string& port) {
    const std::string path = SerialDevicePath(port);
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(path, ec);
    return ec ? path : resolved.string();
}

bool Validate(ConfigPageValues& edited, PrefContext& context) {
    if (edited.connectionType == 1) {
        // What was typed stays in the edit when it does not resolve.
        const std::string typed = TrimBlanks(edited.mainAddress);
        const std::string resolved = typed.empty() ? std::string() : context.resolveHost(typed);
        if (resolved.empty()) {
            ShowPrefStop(
                "The IP address or hostname of the main Quillex computer must be specified in "
                "order to establish a network connection!");
            return false;
        }
        edited.mainAddress = resolved;
    } else if (AnalyzerTypeOf(edited.analyzer) != 0 &&
               SameSerialPort(edited.serialPort, edited.testerSerialPort)) {
        ShowPrefStop(StrFormat("The Quillex and the %s cannot share the same COM port!",
                               AnalyzerDisplayName(edited.analyzer).c_str()));
        return false;
    }
    return true;
}

}  // namespace

ConfigPageValues ConfigPageValues::FromSettings(const AppSettings& s) {
    ConfigPageValues v;
    v.connectionType = s.QuillexConnectionType;
    v.serialPort = s.QuillexSerialPort;
    v.mainAddress = s.QuillexMainIPAddress;
    v.partnerAddress = s.QuillexPartnerIPAddress;
    v.alphaSelection = AlphaSelectionOf(s.AlphaSize);
    v.analyzer = s.AudioAnalyzer;
    v.testerSerialPort = s.TonexaSerialPort;
    v.testerIntercom = s.TonexaIntercom;
    v.testerPort = s.TonexaPort;
    v.emailHost = s.EmailHost;
    return v;
}

int ConfigPageValues::AlphaSize() const {
    return alphaSelection == 1 ? 6 : alphaSelection == 2 ? 8 : 4;
}

int AlphaSelectionOf(int alphaSize) {
    return alphaSize == 6 ? 1 : alphaSize == 8 ? 2 : 0;
}

bool SameSerialPort(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0 || DeviceOf(a) == DeviceOf(b);
}

bool ApplyConfigPage(ConfigPageValues& edited, PrefContext& context) {
    if (!Validate(edited, context)) {
        return false;
    }
    const AppSettings current = context.settings.Snapshot();
    IPreferenceTarget* target = context.target;
    const bool analyzerSelected = AnalyzerTypeOf(edited.analyzer) != 0;
    const bool analyzerConfigured = AnalyzerTypeOf(current.AudioAnalyzer) != 0;
    const bool analyzerChanged = edited.analyzer != current.AudioAnalyzer;
    const bool bothNetwork = current.QuillexConnectionType == 1 && edited.connectionType == 1;

    const bool dropLink =
        (current.QuillexConnectionType == 0 && analyzerSelected &&
         SameSerialPort(current.QuillexSerialPort, edited.testerSerialPort)) ||
        (bothNetwork && (edited.mainAddress != current.QuillexMainIPAddress ||
                         edited.partnerAddress != current.QuillexPartnerIPAddress));
    const bool releaseTesterPort = edited.connectionType == 0 && analyzerConfigured &&
                                   SameSerialPort(current.TonexaSerialPort, edited.serialPort);

    if (target != nullptr && dropLink) {
        // A link that does not report disconnected in time is restarted all the same.
        target->RequestDisconnect();
        context.PollUntil([target] { return target->IsDisconnected(); }, kLinkPoll, kLinkPolls);
    }
    if (target != nullptr && analyzerChanged && target->HasTester()) {
        target->StopTester();
        if (!context.PollUntil([target] { return target->IsTesterStopped(); }, kStopPoll,
                               kStopPolls)) {
            ShowPrefStop(StrFormat("Unable to disconnect from the %s!\n",
                                   AnalyzerDisplayName(current.AudioAnalyzer).c_str()));
            return false;
        }
        target->DeleteTester();
    }
    if (target != nullptr && target->HasTester() && releaseTesterPort) {
        target->SetTesterDisconnectRequested(true);
        context.PollUntil([target] { return !target->IsTesterDisconnectRequested(); }, kLinkPoll,
                          kLinkPolls);
    }
    if (target != nullptr && target->HasTester() &&
        edited.testerSerialPort != current.TonexaSerialPort) {
        context.settings.Modify(
            [&](AppSettings& s) { s.TonexaSerialPort = edited.testerSerialPort; });
        target->SetTesterReinitRequested(true);
        target->SetLoopbackDue();
    }
    if (analyzerChanged) {
        context.settings.Modify([&](AppSettings& s) {
            s.AudioAnalyzer = edited.analyzer;
            s.TonexaSerialPort = edited.testerSerialPort;
        });
        if (target != nullptr) {
            if (!target->CreateTester()) {
                const std::string name = AnalyzerDisplayName(edited.analyzer);
                ShowPrefStop(StrFormat(
                    "Unable to connect to the %s!\nWill continue running but without the %s.",
                    name.c_str(), name.c_str()));
            }
            target->SetLoopbackDue();
            target->UpdateAllViews(kTesterChangedHint, 0);
        }
    }

    // A new instrument port is kept even while no instrument object runs to take it.
    context.settings.Modify([&](AppSettings& s) { s.TonexaSerialPort = edited.testerSerialPort; });

    bool restartLink = false;
    const bool network = edited.connectionType == 1;
    context.settings.Modify([&](AppSettings& s) {
        if (s.QuillexConnectionType != edited.connectionType) {
            s.QuillexConnectionType = edited.connectionType;
            restartLink = true;
        }
        if (s.QuillexSerialPort != edited.serialPort) {
            s.QuillexSerialPort = edited.serialPort;
            restartLink = restartLink || !network;
        }
        if (s.QuillexMainIPAddress != edited.mainAddress) {
            s.QuillexMainIPAddress = edited.mainAddress;
            restartLink = restartLink || network;
        }
        if (s.QuillexPartnerIPAddress != edited.partnerAddress) {
            s.QuillexPartnerIPAddress = edited.partnerAddress;
            restartLink = restartLink || network;
        }
        if (s.AlphaSize != edited.AlphaSize()) {
            s.AlphaSize = edited.AlphaSize();
        }
    });
    if (target != nullptr && restartLink) {
        if (network) {
            target->SetNetworkAddresses(edited.mainAddress, edited.partnerAddress);
        } else {
            target->SetSerialPort(edited.serialPort);
        }
    }

    const bool intercomChanged = current.TonexaIntercom != edited.testerIntercom;
    const bool portChanged = current.TonexaPort != edited.testerPort;
    context.settings.Modify([&](AppSettings& s) {
        s.TonexaIntercom = edited.testerIntercom;
        s.TonexaPort = edited.testerPort;
        s.EmailHost = edited.emailHost;
    });
    // "None" for the intercom or port names no maintenance port the controller could set.
    const bool portNamed = edited.testerIntercom > 0 && edited.testerIntercom <= 255 &&
                           edited.testerPort > 0 && edited.testerPort <= 999;
    if (target != nullptr && (intercomChanged || portChanged) && portNamed) {
        target->SetMaintenancePortRequest(edited.testerIntercom, edited.testerPort);
        target->SetLoopbackDue();
    }
    return context.SaveAll();
}

}  // namespace corvane
