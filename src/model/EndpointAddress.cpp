#include "model/EndpointAddress.h"

#include "model/ModelNumbers.h"

namespace corvane {

bool ToModelEndpoint(const EndpointAddress& in, bool oneBased, EndpointAddress& out) {
    const int intercom = ToModelNumber(in.intercom, oneBased);
    const int number = ToModelNumber(in.number, oneBased);
    // 0xFFFF from the controller becomes 65536, which no 16-bit field holds.
    if (intercom > UINT16_MAX || number > UINT16_MAX) {
        return false;
    }
    out = in;
    out.intercom = static_cast<uint16_t>(intercom);
    out.number = static_cast<uint16_t>(number);
    return true;
}

}  // namespace corvane
