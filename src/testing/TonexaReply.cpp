#include "testing/TonexaReply.h"

#include "platform/Format.h"

namespace corvane {
namespace {

constexpr char kPrompt = '>';
constexpr char kLineFeed = '\n';
constexpr size_t kEchoLength = 4;  // "CLO" or "CLN" and its CR
constexpr size_t kMaxLevelDigits = 4;
constexpr size_t kMaxFrequencyDigits = 6;

const char* RangeLetters(bool lowFrequencyRange) {
    return lowFrequencyRange ? "CLN" : "CLO";
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

TonexaReplyCheck Failure(TonexaReplyError error, uint8_t badByte = 0) {
    TonexaReplyCheck check;
    check.error = error;
    check.badByte = badByte;
    return check;
}

// A run of 1..maxDigits digits; the first byte that is not a digit ends it.
bool ReadDigits(std::string_view text, size_t& at, size_t maxDigits, int32_t& value) {
    const size_t begin = at;
    value = 0;
    while (at < text.size() && IsDigit(text[at])) {
        if (at - begin == maxDigits) {
            return false;
        }
        value = value * 10 + (text[at] - '0');
        ++at;
    }
    return at > begin;
}

}  // namespace

TonexaCommand TonexaKeepAliveCommand() {
    return {TonexaReplyKind::KeepAlive, "\r", "Take Control"};
}

TonexaCommand TonexaSetLevelCommand(int level) {
    return {TonexaReplyKind::SetLevel, StrFormat("CL %d\r", level), "Set Level"};
}

TonexaCommand TonexaSetFrequencyCommand(int frequency) {
    return {TonexaReplyKind::SetFrequency, StrFormat("CF %d\r", frequency), "Set Frequency"};
}

TonexaCommand TonexaSetImpedanceCommand(int impedance) {
    if (impedance < 0 || impedance > 'Z' - 'A') {
        impedance = 1;
    }
    return {TonexaReplyKind::SetImpedance, StrFormat("CI %c\r", 'A' + impedance), "Set Impedance"};
}

TonexaCommand TonexaStartTestCommand(bool lowFrequencyRange) {
    return {TonexaReplyKind::StartTest, StrFormat("%s A\r", RangeLetters(lowFrequencyRange)),
            "Start Level Frequency Test"};
}

TonexaCommand TonexaMeasurementCommand(bool lowFrequencyRange) {
    return {TonexaReplyKind::Measurement, StrFormat("%s\r", RangeLetters(lowFrequencyRange)),
            "Take Level Frequency Measurement"};
}

TonexaCommand TonexaEndTestCommand(bool lowFrequencyRange) {
    return {TonexaReplyKind::EndTest, StrFormat("%s B\r", RangeLetters(lowFrequencyRange)),
            "End Level Frequency Test"};
}

TonexaReplyCheck ParseTonexaReading(std::string_view text) {
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && text[at] == '-') {
        negative = true;
        ++at;
    }
    int32_t whole = 0;
    if (!ReadDigits(text, at, kMaxLevelDigits, whole)) {
        if (at < text.size() && !IsDigit(text[at]) && text[at] != '.' && text[at] != ',') {
            return Failure(TonexaReplyError::BadDigit, static_cast<uint8_t>(text[at]));
        }
        return Failure(TonexaReplyError::BadReading);
    }
    int32_t tenths = whole * 10;
    if (at < text.size() && text[at] == '.') {
        ++at;
        if (at >= text.size() || !IsDigit(text[at])) {
            return at < text.size() && text[at] != ','
                       ? Failure(TonexaReplyError::BadDigit, static_cast<uint8_t>(text[at]))
                       : Failure(TonexaReplyError::BadReading);
        }
        tenths += text[at] - '0';
        ++at;
    }
    if (at >= text.size()) {
        return Failure(TonexaReplyError::BadReading);
    }
    if (text[at] != ',') {
        // A second decimal or a fifth whole digit is a reading out of bounds, not a bad byte.
        return IsDigit(text[at]) || text[at] == '.'
                   ? Failure(TonexaReplyError::BadReading)
                   : Failure(TonexaReplyError::BadDigit, static_cast<uint8_t>(text[at]));
    }
    ++at;
    int32_t frequency = 0;
    if (!ReadDigits(text, at, kMaxFrequencyDigits, frequency)) {
        if (at < text.size() && !IsDigit(text[at])) {
            return Failure(TonexaReplyError::BadDigit, static_cast<uint8_t>(text[at]));
        }
        return Failure(TonexaReplyError::BadReading);
    }
    if (at != text.size()) {
        return Failure(TonexaReplyError::BadDigit, static_cast<uint8_t>(text[at]));
    }
    TonexaReplyCheck check;
    check.reading.level = negative ? -tenths : tenths;
    check.reading.frequency = frequency;
    return check;
}

TonexaReplyCheck CheckTonexaReply(const TonexaCommand& sent, std::string_view reply) {
    if (reply.size() > kTonexaReplyCapacity) {
        return Failure(TonexaReplyError::TooLong);
    }
    switch (sent.kind) {
        case TonexaReplyKind::None:
            return Failure(TonexaReplyError::NoCommand);
        case TonexaReplyKind::Measurement: {
            if (reply.size() < kEchoLength || sent.text.size() != kEchoLength ||
                reply.substr(0, kEchoLength) != sent.text) {
                return Failure(TonexaReplyError::WrongEcho);
            }
            if (reply.size() <= kEchoLength || reply[kEchoLength] != kLineFeed) {
                return Failure(TonexaReplyError::NoLineFeed);
            }
            if (reply.back() != kPrompt) {
                return Failure(TonexaReplyError::NoPrompt);
            }
            return ParseTonexaReading(
                reply.substr(kEchoLength + 1, reply.size() - kEchoLength - 2));
        }
        case TonexaReplyKind::StartTest:
        case TonexaReplyKind::KeepAlive:
        case TonexaReplyKind::EndTest:
        case TonexaReplyKind::SetLevel:
        case TonexaReplyKind::SetFrequency:
        case TonexaReplyKind::SetImpedance: {
            if (reply.size() != sent.text.size() + 2 ||
                reply.substr(0, sent.text.size()) != sent.text ||
                reply[sent.text.size()] != kLineFeed || reply.back() != kPrompt) {
                return Failure(TonexaReplyError::WrongText);
            }
            return {};
        }
    }
    return Failure(TonexaReplyError::UnknownKind);
}

}  // namespace corvane
