#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// What the command last sent expects back.
enum class TonexaReplyKind : int {
    None = 0,
    Measurement = 1,
    StartTest = 2,
    KeepAlive = 3,
    EndTest = 4,
    SetLevel = 5,
    SetFrequency = 6,
    SetImpedance = 7,
};

// One command of the test set: its text (ended by CR), what it expects back and the name its
// log lines carry.
struct TonexaCommand {
    TonexaReplyKind kind = TonexaReplyKind::None;
    std::string text;
    const char* name = "";
};

TonexaCommand TonexaKeepAliveCommand();
TonexaCommand TonexaSetLevelCommand(int level);
TonexaCommand TonexaSetFrequencyCommand(int frequency);
// impedance 0 gives "A", 1 "B"; anything outside the letters gives the default "B".
TonexaCommand TonexaSetImpedanceCommand(int impedance);
TonexaCommand TonexaStartTestCommand(bool lowFrequencyRange);
TonexaCommand TonexaMeasurementCommand(bool lowFrequencyRange);
TonexaCommand TonexaEndTestCommand(bool lowFrequencyRange);

// The longest reply the driver keeps; anything longer is an invalid reply.
inline constexpr size_t kTonexaReplyCapacity = 4096;

// A level-versus-frequency reading.
struct TonexaReading {
    int32_t level = 0;      // tenths of a dB
    int32_t frequency = 0;  // Hz
};

enum class TonexaReplyError {
    None,
    NoCommand,    // nothing was pending
    UnknownKind,  // the pending kind has no reply rule
    WrongEcho,    // the reply does not start with the command sent
    NoLineFeed,   // the echo is not followed by LF
    NoPrompt,     // the reply does not end with the prompt
    BadDigit,     // a byte that has no place in a reading
    BadReading,   // an empty, misplaced or over-long part of a reading
    WrongText,    // a plain reply that is not the echo, LF and prompt
    TooLong,      // longer than the receive buffer
};

struct TonexaReplyCheck {
    TonexaReplyError error = TonexaReplyError::None;
    uint8_t badByte = 0;    // with BadDigit
    TonexaReading reading;  // with a valid measurement reply

    bool Valid() const { return error == TonexaReplyError::None; }
};

// Checks a whole reply (up to and including the prompt) against the command it answers.
// A measurement reply is the four-byte echo, LF, "[-]d[.d],d>" with at most four whole digits
// of level (one decimal, or none for whole dB) and at most six digits of frequency.
TonexaReplyCheck CheckTonexaReply(const TonexaCommand& sent, std::string_view reply);

// The reading of the part between LF and the prompt ("-12.5,1004").
TonexaReplyCheck ParseTonexaReading(std::string_view text);

}  // namespace corvane
