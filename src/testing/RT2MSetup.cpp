// Reset, contact and configuration of the analyzer.
#include "model/Alarm.h"
#include "model/NameTables.h"
#include "model/VorlinModel.h"
#include "platform/Format.h"
#include "settings/AppSettings.h"
#include "testing/RT2M.h"
#include "testing/RT2MErrorTable.h"
#include "testing/RT2MExceptions.h"

namespace corvane {
namespace {

constexpr int kAnalyzerIndex = 1;

const char* OnOff(bool on) {
    return on ? "ON" : "OFF";
}

}  // namespace

void CRT2M::Reset() {
    int malfunctions = 0;
    for (;;) {
        if (!Transmit("GIBBERISH;SYSTEM:RESET")) {
            LostContact();
            options_.sleep(options_.resetRetry);
            continue;
        }
        malfunctions = 0;
        const SteadyTime sent = clock_.Steady();
        bool decided = false;
        bool stillRequired = false;
        while (clock_.Steady() - sent < options_.resetLimit) {
            options_.sleep(options_.resetPoll);
            const std::optional<std::vector<unsigned>> codes = FetchErrors();
            if (!codes) {
                continue;
            }
            // An analyzer still starting answers from before its reset; only an answer
            // after the settling time says whether the reset took.
            const bool settled = clock_.Steady() - sent >= options_.resetSettle;
            for (const unsigned code : *codes) {
                if (code == 0) {
                    continue;
                }
                const RT2MError& e = LookupRT2MError(code);
                log_.Printf(2, "RT-2M reported post-reset error %u: %s", code, e.text);
                if (IsMalfunctionClass(e.actionClass)) {
                    RaiseDeviceAlarm(code);
                    ++malfunctions;
                } else if (settled && IsRetransmitClass(e.actionClass)) {
                    log_.Printf(2, "RT-2M reset still required due to communications error %u: %s",
                                code, e.text);
                    stillRequired = true;
                } else if (settled &&
                           (IsResetClass(e.actionClass) || e.actionClass == rt2mclass::kRetest)) {
                    log_.Printf(2, "RT-2M reset still required due to error %u: %s", code, e.text);
                    stillRequired = true;
                }
            }
            if (settled) {
                decided = true;
                break;
            }
        }
        if (decided && !stillRequired) {
            break;
        }
        log_.Printf(5, "RT-2M reset still required");
    }
    RestartErrorPoll();
    log_.Printf(3, "RT-2M reset");
    if (malfunctions == 0) {
        log_.Printf(3, "RT-2M reported no malfunctions");
        model_.AddAlarm(devicetype::kRT2M, kAnalyzerIndex, alarmcat::kDevice,
                        alarmresolve::kResolve, "RT-2M reported no malfunctions", "", 0);
    }
    const std::string information = IssueQuery("SYSTEM:INFORMATION?");
    log_.Printf(3, "RT-2M device information: %s", information.c_str());
    configureAll_ = true;
}

void CRT2M::RestoredContact() {
    if (contact_.exchange(kInContact) != kInContact) {
        log_.Printf(1, "Restored contact with the RT-2M");
        model_.AddAlarm(devicetype::kRT2M, kAnalyzerIndex, alarmcat::kCommunication,
                        alarmresolve::kResolve, "Restored contact with RT-2M", "", 0);
    }
}

void CRT2M::LostContact() {
    if (contact_.exchange(kContactLost) != kContactLost) {
        log_.Printf(1, "Lost contact with the RT-2M");
        model_.AddAlarm(devicetype::kRT2M, kAnalyzerIndex, alarmcat::kCommunication,
                        alarmresolve::kRaise, "Lost contact with RT-2M", "", 0);
    }
}

void CRT2M::RaiseDeviceAlarm(unsigned code) {
    model_.AddAlarm(devicetype::kRT2M, kAnalyzerIndex, alarmcat::kDevice, alarmresolve::kRaise,
                    StrFormat("Report error %u to the manufacturer", code), "", 0);
}

void CRT2M::Configure() {
    frequencyChanged_ = false;
    SendMultitone();
    SendOutputLevel();
    IssueCommand(StrFormat("OUTPUT:FLOAT %s", OnOff(parameters_.outputFloat)));
    outputImpedanceChanged_ = false;
    SendOutputImpedance();
    IssueCommand("OUTPUT1:MUTE OFF;OUTPUT2:MUTE OFF");
    IssueCommand(StrFormat("INPUT:DEEMPHASIS %s", OnOff(parameters_.inputDeemphasis)));
    inputImpedanceChanged_ = false;
    SendInputImpedance();
    const double mic = parameters_.micSensitivity;
    IssueCommand(StrFormat("INPUT1:MICSENSITIVITY %.1f;INPUT2:MICSENSITIVITY %.1f", mic, mic));
    const double ratio = parameters_.dividerRatio;
    IssueCommand(
        StrFormat("INPUT1:VOLTAGEDIVIDERRATIO %.1f;INPUT2:VOLTAGEDIVIDERRATIO %.1f", ratio, ratio));
    IssueCommand("INPUT:SWFILTER OFF");
    IssueCommand("INPUT:LINK OFF");
    IssueCommand("INPUT:TRIGGER:CONFIGURATION LOOSE");
}

void CRT2M::SendMultitone() {
    parameters_ = RT2MParametersFrom(settings_.Snapshot());
    const int index = RT2MBandIndex(parameters_.outputFrequency);
    bandIndex_ = index;
    timeoutSeconds_ = 0;
    const std::string wanted = RT2MMultitoneParameter(RT2MBandAt(index));
    std::string present;
    try {
        IssueCommand("OUTPUT:MTONE:ACTIVE 1");
    } catch (const CRT2MDied&) {
    }
    try {
        present = IssueQuery("OUTPUT:MTONE:PARAMETER?");
    } catch (const CRT2MDied&) {
    }
    if (present != wanted) {
        IssueCommand("OUTPUT:MTONE:PARAMETER " + wanted);
        IssueCommand("OUTPUT:MTONE:ACTIVE 1");
    }
}

void CRT2M::SendOutputLevel() {
    const double level = parameters_.outputLevelDb;
    outputLevelTenths_ = RT2MTenths(level);
    IssueCommand(StrFormat("OUTPUT1:LEVEL %.2f DBVP;OUTPUT2:LEVEL %.2f DBVP", level, level));
}

void CRT2M::SendOutputImpedance() {
    parameters_ = RT2MParametersFrom(settings_.Snapshot());
    IssueCommand("OUTPUT:IMPEDANCE " + parameters_.outputImpedance);
}

void CRT2M::SendInputImpedance() {
    parameters_ = RT2MParametersFrom(settings_.Snapshot());
    IssueCommand("INPUT:IMPEDANCE " + parameters_.inputImpedance);
}

void CRT2M::SendInputRange(double decibels) {
    inputRange_ = decibels;
    IssueCommand(StrFormat("INPUT1:RANGE %.1f DBVP;INPUT2:RANGE %.1f DBVP", decibels, decibels));
}

}  // namespace corvane
