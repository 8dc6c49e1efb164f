#pragma once

#include <cstdint>
#include <string>

#include "log/MacAddress.h"

namespace corvane {

// What the devices on the local network are asked and answer with.
namespace devicefinder {
inline constexpr int kAskIntercoms = 222;
inline constexpr int kAskControllers = 209;
inline constexpr uint16_t kQueryPort = 27410;
inline constexpr uint16_t kReplyPort = 27411;
}  // namespace devicefinder

// One device's answer to a discovery query.
struct DeviceFinderReply {
    int command = 0;     // the query it answers: 222 or 209
    int deviceType = 0;  // one byte on the wire
    bool active = false;
    int connections1 = 0;         // 16 bits
    int connections2 = 0;         // 16 bits
    uint32_t sourceAddress = 0;   // host order: where the datagram came from
    uint32_t partnerAddress = 0;  // host order; 0 or 255.255.255.255 for none
    std::string name;             // UTF-8
    std::string description;      // UTF-8
    int frameIndex = 0;           // 0-based
    int frameCount = 0;           // 0 when the reply does not say
    MacAddress mac1;              // not carried by the reply
    MacAddress mac2;
    uint8_t flags1 = 0;
    uint8_t flags2 = 0;
};

// Types 1, 7, 8 and 9 are controllers, every other type an intercom.
inline bool IsControllerDeviceType(int type) {
    return type == 1 || type == 7 || type == 8 || type == 9;
}

// A partner address of 0 or 255.255.255.255 stands for no partner.
inline bool HasPartnerAddress(uint32_t address) {
    return address != 0 && address != 0xFFFFFFFFu;
}

}  // namespace corvane
