#include "link/ControllerMessages.h"

namespace corvane {

QuillexRequest HelloRequest() {
    return MakeRequest(QuillexMessageCode::kHello, "Sending Hello Message");
}

QuillexRequest GetQxVersionRequest() {
    return MakeRequest(QuillexMessageCode::kGetQxVersion, "Sending Get QX Version Message")
        .Byte(0)
        .Byte(0);
}

QuillexRequest CapabilitiesRequest() {
    return MakeRequest(QuillexMessageCode::kCapabilities, "Sending Capabilities Message");
}

QuillexRequest GetDateAndTimeRequest() {
    return MakeRequest(QuillexMessageCode::kGetDateAndTime, "Sending Get Date and Time Message");
}

QuillexRequest SetDateTimeRequest(const LocalTime& now) {
    return MakeRequest(QuillexMessageCode::kSetDateTime, "Sending Set Date Time Message")
        .Byte(now.year % 2000 + 100)
        .Byte(now.month)
        .Byte(now.day)
        .Byte(now.hour)
        .Byte(now.minute)
        .Byte(now.second);
}

Decoded<HelloReply> DecodeHelloReply(ReplyBytes payload) {
    if (payload.size() != 1) {
        return Decoded<HelloReply>::Refused(LengthFailure(kHelloReplyName));
    }
    const uint8_t b = payload[0];
    if ((b & 0x01) == 0) {
        return Decoded<HelloReply>::Refused("");
    }
    HelloReply r;
    r.capabilitiesSupported = (b & 0x80) != 0;
    r.reReadEverything = (b & 0x02) != 0;
    r.overallQueryNow = (b & 0x04) != 0;
    r.setAllChangeFlagsSupported = (b & 0x08) != 0;
    r.alphaSizeFromSetting = (b & 0x20) != 0;
    return r;
}

bool IsAlphaSize(int size) {
    return size == 4 || size == 6 || size == 8;
}

int AlphaSizeFor(bool fromSetting, int setting) {
    return fromSetting && IsAlphaSize(setting) ? setting : 4;
}

int AlphaSizeCode(bool fromSetting, int alphaSize) {
    return fromSetting && IsAlphaSize(alphaSize) ? alphaSize / 2 - 1 : 0;
}

int AlphasPerPage(int alphaSize) {
    return 512 / (IsAlphaSize(alphaSize) ? alphaSize : 4);
}

std::string DecodeQxVersionReply(ReplyBytes payload) {
    std::string text;
    for (const uint8_t b : payload) {
        if (b == 0) {
            break;
        }
        text.push_back(static_cast<char>(b));
    }
    return text;
}

Decoded<Capabilities> DecodeCapabilitiesReply(ReplyBytes payload) {
    if (payload.empty()) {
        return Decoded<Capabilities>::Refused(LengthFailure(kCapabilitiesReplyName));
    }
    const uint8_t b = payload[0];
    Capabilities c;
    c.networkInformation = (b & 0x01) != 0;
    c.periodicCompatibility = (b & 0x02) != 0;
    c.outOfService = (b & 0x04) != 0;
    c.extendedIntercoms = (b & 0x08) != 0;
    return c;
}

Decoded<ControllerDateTime> DecodeDateAndTimeReply(ReplyBytes payload) {
    if (payload.size() != 6) {
        return Decoded<ControllerDateTime>::Refused(LengthFailure(kGetDateAndTimeReplyName));
    }
    ControllerDateTime t;
    t.year = payload[0] + (payload[0] < 100 ? 2000 : 1900);
    t.month = payload[1];
    t.day = payload[2];
    t.hour = payload[3];
    t.minute = payload[4];
    t.second = payload[5];
    return t;
}

}  // namespace corvane
