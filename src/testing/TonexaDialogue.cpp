// The serial dialogue of the test set: transactions with their resends and the
// level-versus-frequency measurement.
#include <algorithm>
#include <cstdlib>

#include "link/AppDied.h"
#include "link/SerialPort.h"
#include "model/Alarm.h"
#include "model/NameTables.h"
#include "model/VorlinModel.h"
#include "settings/AppSettings.h"
#include "testing/Tonexa.h"

namespace corvane {
namespace {

constexpr int kMaxErrors = 3;
constexpr int kMaxRepetitions = 10;
// Two readings agree within these.
constexpr int32_t kLevelAgreement = 10;       // tenths of a dB
constexpr int32_t kFrequencyAgreement = 100;  // Hz
constexpr size_t kReadChunk = 1024;
constexpr int kDefaultReplyTimeout = 10;  // seconds

bool Agree(const TonexaReading& a, const TonexaReading& b) {
    return std::llabs(int64_t{a.level} - b.level) <= kLevelAgreement &&
           std::llabs(int64_t{a.frequency} - b.frequency) <= kFrequencyAgreement;
}

}  // namespace

TonexaReading CTonexa::Transact(const TonexaCommand& command) {
    int errors = 0;
    for (;;) {
        CheckStop();
        ErrorKind error = ErrorKind::Invalid;
        TonexaReading reading;
        if (TryTransact(command, error, reading)) {
            return reading;
        }
        if (++errors >= kMaxErrors) {
            switch (error) {
                case ErrorKind::WriteOrWait:
                    log_.Printf(2, "Write Errors/Timeouts equal to the maximum!");
                    break;
                case ErrorKind::Read:
                    log_.Printf(2, "Read Errors equal to the maximum!");
                    break;
                case ErrorKind::Invalid:
                    log_.Printf(2, "Invalid response was received a number of times!");
                    break;
            }
            LoseContact();
        }
    }
}

bool CTonexa::TryTransact(const TonexaCommand& command, ErrorKind& error, TonexaReading& reading) {
    log_.Printf(3, "Send '%s' Message", command.name);
    // A late reply to an earlier try must not be taken for the reply to this one.
    port_->DiscardInput();
    log_.Printf(3, "Overlapped Write");
    if (!port_->Write(reinterpret_cast<const uint8_t*>(command.text.data()), command.text.size())) {
        log_.Printf(2, "Write Error/Timeout Occurred!");
        error = ErrorKind::WriteOrWait;
        return false;
    }
    CheckStop();
    log_.Printf(3, "Wait For a Character");
    if (!port_->WaitForEvent()) {
        log_.Printf(2, "Error/Timeout Occurred While Waiting!");
        error = ErrorKind::WriteOrWait;
        return false;
    }
    CheckStop();
    std::string reply;
    if (!ReadReply(reply, error)) {
        return false;
    }
    CheckStop();
    log_.Printf(3, "Process Received Reply");
    if (!ProcessReply(command, reply, reading)) {
        log_.Printf(2, "Invalid response was received!");
        error = ErrorKind::Invalid;
        return false;
    }
    log_.Printf(3, "Response has been received successfully");
    if (contact_.exchange(kInContact) != kInContact) {
        model_.AddAlarm(devicetype::kTonexa, 1, alarmcat::kCommunication, alarmresolve::kResolve,
                        "", "", 0);
    }
    return true;
}

// Reads until the last byte is the prompt. A reply that outgrows the buffer is read to its
// prompt and dropped, so that the next try starts in step with the test set, and counts as
// invalid.
bool CTonexa::ReadReply(std::string& reply, ErrorKind& error) {
    log_.Printf(3, "Overlapped Read");
    const int seconds = options_.profile->GetProfileInt("Settings\\Configuration", "TonexaTimeout",
                                                        kDefaultReplyTimeout);
    // A value below one second would lose the contact before any reply could come.
    const SteadyTime deadline = clock_.Steady() + std::chrono::seconds(std::max(seconds, 1));
    uint8_t chunk[kReadChunk];
    bool overflow = false;
    bool prompt = false;
    while (!prompt) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock_.Steady());
        if (left.count() <= 0) {
            log_.Printf(2, "Waiting Timeout Occurred!");
            LoseContact();
        }
        // No read waits longer than the port's own bound, so that a stop is seen between
        // reads rather than after the whole reply time-out.
        size_t count = 0;
        if (!port_->Read(chunk, sizeof chunk, count, std::min(left, options_.serial.read))) {
            if (port_->ReadTimedOut()) {
                CheckStop();
                continue;  // the deadline above decides
            }
            log_.Printf(2, "Read Error Occurred!");
            error = ErrorKind::Read;
            return false;
        }
        if (count == 0) {
            continue;
        }
        prompt = chunk[count - 1] == '>';
        if (!overflow && reply.size() + count > kTonexaReplyCapacity) {
            log_.Printf(2, "Reply longer than %zu bytes!", kTonexaReplyCapacity);
            overflow = true;
            reply.clear();
        }
        if (!overflow) {
            reply.append(reinterpret_cast<const char*>(chunk), count);
        }
        CheckStop();
    }
    log_.Printf(3, "Prompt '>' has been received");
    if (overflow) {
        error = ErrorKind::Invalid;
        return false;
    }
    return true;
}

bool CTonexa::ProcessReply(const TonexaCommand& command, const std::string& reply,
                           TonexaReading& reading) {
    if (command.kind == TonexaReplyKind::None) {
        log_.Printf(2, "Null Message Reply!");
        return false;
    }
    log_.Printf(3, "'%s' Reply", command.name);
    const TonexaReplyCheck check = CheckTonexaReply(command, reply);
    switch (check.error) {
        case TonexaReplyError::None:
            log_.Printf(3, "'%s' Reply Received Successfully", command.name);
            reading = check.reading;
            return true;
        case TonexaReplyError::NoCommand:
            log_.Printf(2, "Null Message Reply!");
            break;
        case TonexaReplyError::UnknownKind:
            log_.Printf(2, "Unknown Message Reply!");
            break;
        case TonexaReplyError::NoLineFeed:
            log_.Printf(2, "Error, New Line not received!");
            break;
        case TonexaReplyError::BadDigit:
            log_.Printf(2, "Error, %02x is not valid digit!", check.badByte);
            break;
        case TonexaReplyError::BadReading:
            log_.Printf(2, "Error, the reading is empty or out of range!");
            break;
        case TonexaReplyError::WrongEcho:
        case TonexaReplyError::WrongText:
        case TonexaReplyError::NoPrompt:
        case TonexaReplyError::TooLong:
            log_.Printf(2, "Error, the reply does not answer the command sent!");
            break;
    }
    return false;
}

void CTonexa::LoseContact() {
    if (contact_.exchange(kContactLost) != kContactLost) {
        model_.AddAlarm(devicetype::kTonexa, 1, alarmcat::kCommunication, alarmresolve::kRaise,
                        "Lost contact with Tonexa", "", 0);
    }
    throw CTXDied{};
}

// Each flag is taken before its command, so a change made while the command is on the line
// is sent again; a lost contact raises all three again.
void CTonexa::SendSettings() {
    CheckStop();
    if (resendFrequency_.exchange(false)) {
        log_.Printf(3, "Build 'Set Frequency' Message");
        Transact(TonexaSetFrequencyCommand(settings_.Snapshot().TonexaTxFrequency));
    }
    CheckStop();
    if (resendLevel_.exchange(false)) {
        log_.Printf(3, "Build 'Set Level' Message");
        Transact(TonexaSetLevelCommand(settings_.Snapshot().TonexaTxLevel));
    }
    CheckStop();
    if (resendImpedance_.exchange(false)) {
        log_.Printf(3, "Build 'Set Impedance' Message");
        Transact(TonexaSetImpedanceCommand(settings_.Snapshot().TonexaImpedance));
    }
}

void CTonexa::RunTest(const TestRequest& request) {
    log_.Printf(3, "Level vs. Frequency test required");
    const bool low = request.lowFrequencyRange;
    try {
        log_.Printf(3, "Call Start Level Frequency Test");
        log_.Printf(3, "Build 'Start Level Frequency Test' Message");
        Transact(TonexaStartTestCommand(low));

        const TonexaCommand measure = TonexaMeasurementCommand(low);
        log_.Printf(3, "Call Take Level Frequency Measurement");
        log_.Printf(3, "Build 'Take Level Frequency Measurement' Message");
        TonexaReading reading = Transact(measure);
        bool stable = false;
        bool acceptable = false;
        for (int repetition = 0; repetition < kMaxRepetitions && !acceptable; ++repetition) {
            if (TestAbandoned()) {
                break;
            }
            const TonexaReading last = reading;
            log_.Printf(3, "Build 'Take Level Frequency Measurement' Message");
            reading = Transact(measure);
            stable = Agree(last, reading);
            acceptable =
                stable && int64_t{request.transmittedLevel} - reading.level <= request.tolerance;
        }

        log_.Printf(3, "Call End Level Frequency Test");
        log_.Printf(3, "Build 'End Level Frequency Test' Message");
        Transact(TonexaEndTestCommand(low));
        if (TestAbandoned()) {
            log_.Printf(2, "Level vs. Frequency test abandoned");
            Publish(request.number, TestResultState::NoResult, nullptr);
            return;
        }
        // The sequencer judges the loss itself; here only the stability counts.
        Publish(request.number, stable ? TestResultState::Measured : TestResultState::Failed,
                &reading);
    } catch (const CTXDied&) {
        Publish(request.number, TestResultState::NoResult, nullptr);
        throw;
    } catch (const CAppDied&) {
        Publish(request.number, TestResultState::NoResult, nullptr);
        throw;
    }
}

}  // namespace corvane
