#pragma once

#include <string>

#include "link/QuillexRequest.h"
#include "link/ReplyDecode.h"
#include "platform/Clock.h"

namespace corvane {

// Hello, version, capabilities and the controller's clock.

inline constexpr const char* kHelloReplyName = "Hello Reply";
inline constexpr const char* kGetQxVersionReplyName = "Get QX Version Reply";
inline constexpr const char* kCapabilitiesReplyName = "Capabilities Reply";
inline constexpr const char* kGetDateAndTimeReplyName = "Get Date and Time Reply";
inline constexpr const char* kSetDateTimeReplyName = "Set Date Time Reply";

QuillexRequest HelloRequest();
QuillexRequest GetQxVersionRequest();
QuillexRequest CapabilitiesRequest();
QuillexRequest GetDateAndTimeRequest();
// The given local time: year % 2000 + 100, month, day, hour, minute, second.
QuillexRequest SetDateTimeRequest(const LocalTime& now);

struct HelloReply {
    bool capabilitiesSupported = false;       // bit 7
    bool reReadEverything = false;            // bit 1
    bool overallQueryNow = false;             // bit 2
    bool setAllChangeFlagsSupported = false;  // bit 3
    bool alphaSizeFromSetting = false;        // bit 5
};
// One byte; bit 0 clear means the controller is not ready and the reply is refused.
Decoded<HelloReply> DecodeHelloReply(ReplyBytes payload);

// The alpha size in use: the setting when the controller asks for it (4, 6 or 8; any other
// value is taken as 4), else 4.
int AlphaSizeFor(bool fromSetting, int setting);
bool IsAlphaSize(int size);
// Size code of Request Alphas: 1, 2, 3 for sizes 4, 6, 8 when the setting is used, else 0.
int AlphaSizeCode(bool fromSetting, int alphaSize);
// 128, 85 or 64.
int AlphasPerPage(int alphaSize);

// Any payload is the version text (up to a zero byte).
std::string DecodeQxVersionReply(ReplyBytes payload);

struct Capabilities {
    bool networkInformation = false;     // bit 0
    bool periodicCompatibility = false;  // bit 1
    bool outOfService = false;           // bit 2
    bool extendedIntercoms = false;      // bit 3: 255 intercoms
};
// At least one byte. An empty payload is refused here; the handler logs it and goes on.
Decoded<Capabilities> DecodeCapabilitiesReply(ReplyBytes payload);

struct ControllerDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
// Six bytes; a year below 100 is after 2000, else after 1900.
Decoded<ControllerDateTime> DecodeDateAndTimeReply(ReplyBytes payload);

}  // namespace corvane
