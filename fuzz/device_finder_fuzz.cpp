// The discovery reply decoder on arbitrary datagrams: it must not crash, must keep its bounds,
// and what it accepts must be a reply to one of the two queries with texts from the datagram.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/DeviceFinderFrame.h"

using corvane::DeviceFinderFrame;
using corvane::DeviceFinderReply;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> body;
    const bool framed = DeviceFinderFrame::Decode({data, size}, body);
    if (!framed && !body.empty()) {
        std::abort();
    }
    if (framed && body.size() + 2 > size) {
        std::abort();
    }
    DeviceFinderReply reply;
    reply.sourceAddress = 0x7F000001;
    if (!corvane::DecodeDeviceFinderReply({data, size}, reply)) {
        return 0;
    }
    if (!framed || (reply.command != 222 && reply.command != 209) ||
        reply.sourceAddress != 0x7F000001 || reply.deviceType < 0 || reply.deviceType > 255 ||
        reply.name.size() > 2 * 255 || reply.description.size() > 2 * 255 ||
        reply.frameIndex > 255 || reply.frameCount > 255) {
        std::abort();
    }
    return 0;
}
