// The analyzer's line: the port, CR LF commands and responses, and the error queue read
// after every command.
#include <algorithm>

#include "link/AppDied.h"
#include "link/SerialPort.h"
#include "model/NameTables.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "settings/AppSettings.h"
#include "testing/RT2M.h"
#include "testing/RT2MErrorTable.h"
#include "testing/RT2MExceptions.h"
#include "testing/RT2MReply.h"

namespace corvane {
namespace {

constexpr int kAttempts = 3;
constexpr size_t kBlockBytes = 512;
// Idle error polls in a row that get no valid answer before contact counts as lost.
constexpr int kIdlePollFailures = 3;

// The line of each step of the open that can fail, with the port and the error.
const char* OpenFailureText(SerialOpenStep step) {
    switch (step) {
        case SerialOpenStep::kGetSettings:
            return "Failed to get communication settings for serial port %s (error: %u)";
        case SerialOpenStep::kSetSettings:
            return "Failed to set communication settings for serial port %s (error: %u)";
        case SerialOpenStep::kGetTimeouts:
            return "Failed to get communication timeouts for serial port %s (error: %u)";
        case SerialOpenStep::kSetTimeouts:
            return "Failed to set communication timeouts for serial port %s (error: %u)";
        default:
            return "Failed to open serial port %s (error: %u)";
    }
}

}  // namespace

void CRT2M::OpenPort() {
    parameters_ = RT2MParametersFrom(settings_.Snapshot());
    const std::string& name = parameters_.portName;
    if (!port_) {
        port_ = std::make_unique<CSerialPort>(
            "RT_SPort", "RT_SPort log",
            SerialPortTimeouts{options_.writeTimeout, options_.minimumTurnaround,
                               options_.minimumTurnaround});
        port_->RestoreSettingsOnClose();
    }
    if (!port_->Open(name, options_.baudRate, /*ctsFlowControl=*/true)) {
        const SerialOpenFailure failure = port_->LastOpenFailure();
        log_.Printf(1, OpenFailureText(failure.step), name.c_str(),
                    static_cast<unsigned>(failure.error));
        Ui().PostMessageBox(InsertArgs(LoadString(ids::kFailedToOpenComPort),
                                       {LoadString(ids::kAnalyzerNameFirst + 2), name}),
                            LoadString(ids::kAppCaption), mb::kOk);
        LostContact();
        return;
    }
    log_.Printf(3, "Opened serial port %s", name.c_str());
}

void CRT2M::ClosePort() {
    if (port_ && port_->IsOpen()) {
        port_->Close();
        log_.Printf(3, "Closed the serial port");
    }
}

void CRT2M::CheckRequests() const {
    if (stopRequested_) {
        throw CAppDied{};
    }
    if (reinitRequested_ || disconnectRequested_) {
        throw CRT2MPort{};
    }
}

bool CRT2M::Transmit(const std::string& command) {
    CheckRequests();
    const std::string line = command + "\r\n";
    if (port_ && port_->Write(reinterpret_cast<const uint8_t*>(line.data()), line.size())) {
        log_.Printf(5, "Transmitted %s", command.c_str());
        return true;
    }
    log_.Printf(5, "Failed to transmit %s", command.c_str());
    return false;
}

bool CRT2M::ReadBlock(uint8_t* block, size_t size, size_t& count, std::chrono::milliseconds wait) {
    for (;;) {
        const std::chrono::milliseconds piece = std::min(wait, options_.longestRead);
        if (port_->Read(block, size, count, piece)) {
            return count > 0;
        }
        wait -= piece;
        if (!port_->ReadTimedOut() || wait.count() <= 0) {
            return false;
        }
        CheckRequests();
    }
}

std::optional<std::string> CRT2M::Receive() {
    CheckRequests();
    if (!port_ || !port_->IsOpen()) {
        log_.Printf(5, "Failed to receive a response");
        return std::nullopt;
    }
    const std::chrono::milliseconds turnaround =
        std::max(options_.minimumTurnaround, std::chrono::milliseconds(parameters_.turnaroundTime));
    std::string bytes;
    uint8_t block[kBlockBytes];
    std::chrono::milliseconds wait = turnaround;
    for (;;) {
        size_t n = 0;
        if (!ReadBlock(block, sizeof block, n, wait)) {
            break;
        }
        // A line that never ends, or a flood, is not a response.
        if (bytes.size() + n > kRT2MMaxReplyBytes) {
            port_->DiscardInput();
            log_.Printf(5, "Received oversized response");
            return std::nullopt;
        }
        bytes.append(reinterpret_cast<const char*>(block), n);
        // After a complete line take only what is already there; a line still coming gets
        // the interval.
        wait = bytes.back() == '\n' ? std::chrono::milliseconds(0) : options_.readInterval;
    }
    if (bytes.empty()) {
        log_.Printf(5, "Failed to receive a response");
        return std::nullopt;
    }
    RT2MReceived received = SplitRT2MReceived(bytes);
    for (const std::string& stale : received.stale) {
        log_.Printf(5, "Received stale response %s", stale.c_str());
    }
    if (!received.response) {
        log_.Printf(5, "Received incomplete response %s", received.incomplete.c_str());
        return std::nullopt;
    }
    if (!received.incomplete.empty()) {
        log_.Printf(5, "Received incomplete response %s", received.incomplete.c_str());
    }
    log_.Printf(5, "Received %s", received.response->c_str());
    return std::move(received.response);
}

std::optional<std::vector<unsigned>> CRT2M::FetchErrors() {
    if (!Transmit("SYSTEM:ERRORS?")) {
        return std::nullopt;
    }
    const std::optional<std::string> answer = Receive();
    if (!answer) {
        return std::nullopt;
    }
    std::optional<std::vector<unsigned>> codes = ParseRT2MErrorList(*answer);
    if (!codes) {
        log_.Printf(2, "Invalid error list %s", answer->c_str());
    }
    return codes;
}

CRT2M::Judgement CRT2M::JudgeErrors(const std::vector<unsigned>& codes) {
    Judgement j;
    for (const unsigned code : codes) {
        if (code == 0) {
            continue;
        }
        const RT2MError& e = LookupRT2MError(code);
        log_.Printf(2, "RT-2M reported error %u: %s", code, e.text);
        if (IsRetransmitClass(e.actionClass)) {
            log_.Printf(2, "Retransmit required due to error %u: %s", code, e.text);
            j.retransmit = true;
        } else if (IsResetClass(e.actionClass)) {
            log_.Printf(1, "RT-2M reset required due to error %u: %s", code, e.text);
            j.reset = true;
        } else if (IsMalfunctionClass(e.actionClass)) {
            log_.Printf(0, "RT-2M malfunction %u: %s", code, e.text);
            RaiseDeviceAlarm(code);
            ++j.malfunctions;
        } else if (e.actionClass == rt2mclass::kRetest && !j.retest) {
            j.retest = code;
        }
    }
    RestartErrorPoll();
    return j;
}

void CRT2M::RestartErrorPoll() {
    lastErrorPoll_ = clock_.Steady();
}

void CRT2M::ReadErrorQueue(bool idle) {
    const std::optional<std::vector<unsigned>> codes = FetchErrors();
    if (!codes) {
        if (idle) {
            RestartErrorPoll();
            // An analyzer that no longer answers its idle polls is not in contact.
            if (++failedIdlePolls_ >= kIdlePollFailures) {
                failedIdlePolls_ = 0;
                throw CRT2MDied{};
            }
        }
        return;
    }
    failedIdlePolls_ = 0;
    if (JudgeErrors(*codes).reset) {
        throw CRT2MMode{};
    }
}

void CRT2M::IssueCommand(const std::string& command) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (!Transmit(command)) {
            continue;
        }
        const std::optional<std::vector<unsigned>> codes = FetchErrors();
        if (!codes) {
            continue;
        }
        const Judgement j = JudgeErrors(*codes);
        if (j.reset) {
            throw CRT2MMode{};
        }
        if (j.retransmit) {
            continue;
        }
        log_.Printf(4, "Issued command %s", command.c_str());
        return;
    }
    throw CRT2MDied{};
}

std::string CRT2M::IssueQuery(const std::string& query) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (!Transmit(query)) {
            continue;
        }
        std::optional<std::string> answer = Receive();
        if (!answer) {
            continue;
        }
        log_.Printf(4, "Issued query %s; obtained response %s", query.c_str(), answer->c_str());
        if (attempt > 0) {
            // The failed attempts may have left errors behind.
            int tries = 0;
            std::optional<std::vector<unsigned>> codes;
            while (!codes && tries++ < kAttempts) {
                codes = FetchErrors();
            }
            if (!codes) {
                throw CRT2MDied{};
            }
            if (JudgeErrors(*codes).reset) {
                throw CRT2MMode{};
            }
        }
        return std::move(*answer);
    }
    throw CRT2MDied{};
}

}  // namespace corvane
