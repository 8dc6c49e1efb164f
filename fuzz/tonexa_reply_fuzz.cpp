// The test set's reply check on arbitrary bytes: it must not crash, must keep a reading within
// its bounds, and what it accepts must read back the same once printed again. The first byte
// chooses the command the reply answers (low three bits) and the frequency range (top bit).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "testing/TonexaReply.h"

namespace {

using namespace corvane;

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

TonexaCommand Command(uint8_t choice) {
    const bool low = (choice & 0x80) != 0;
    switch (choice & 0x07) {
        case 0:
            return TonexaCommand{};
        case 1:
            return TonexaMeasurementCommand(low);
        case 2:
            return TonexaStartTestCommand(low);
        case 3:
            return TonexaKeepAliveCommand();
        case 4:
            return TonexaEndTestCommand(low);
        case 5:
            return TonexaSetLevelCommand((choice >> 3) & 0x0F);
        case 6:
            return TonexaSetFrequencyCommand(1004);
        default:
            return TonexaSetImpedanceCommand((choice >> 3) & 0x01);
    }
}

void CheckReading(const TonexaReading& r) {
    Check(r.level >= -99999 && r.level <= 99999);
    Check(r.frequency >= 0 && r.frequency <= 999999);
    const int32_t magnitude = r.level < 0 ? -r.level : r.level;
    char text[64];
    std::snprintf(text, sizeof text, "%s%d.%d,%d", r.level < 0 ? "-" : "", magnitude / 10,
                  magnitude % 10, r.frequency);
    const TonexaReplyCheck again = ParseTonexaReading(text);
    Check(again.Valid() && again.reading.level == r.level &&
          again.reading.frequency == r.frequency);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const TonexaCommand command = Command(data[0]);
    const std::string_view reply(reinterpret_cast<const char*>(data) + 1, size - 1);

    const TonexaReplyCheck check = CheckTonexaReply(command, reply);
    if (check.Valid()) {
        Check(command.kind != TonexaReplyKind::None);
        Check(reply.size() <= kTonexaReplyCapacity && !reply.empty() && reply.back() == '>');
        Check(reply.substr(0, command.text.size()) == command.text);
        if (command.kind == TonexaReplyKind::Measurement) {
            CheckReading(check.reading);
        } else {
            Check(reply == command.text + "\n>");
        }
    }
    const TonexaReplyCheck reading = ParseTonexaReading(reply);
    if (reading.Valid()) {
        CheckReading(reading.reading);
    }
    return 0;
}
