#pragma once

#include <cstdint>

namespace corvane {

// One intercom port as the controller names it, with its talk, listen and inactive flags.
struct EndpointAddress {
    uint16_t intercom = 0;
    uint8_t functionType = 0;
    uint16_t number = 0;
    uint8_t talk = 0;
    uint8_t listen = 0;
    uint8_t inactive = 0;

    // The same port: intercom, function type and number (the flags are not compared).
    bool SamePort(const EndpointAddress& other) const {
        return intercom == other.intercom && functionType == other.functionType &&
               number == other.number;
    }
    // Copies the three flags; true when any changed.
    bool RefreshFlags(const EndpointAddress& other) {
        const bool changed =
            talk != other.talk || listen != other.listen || inactive != other.inactive;
        talk = other.talk;
        listen = other.listen;
        inactive = other.inactive;
        return changed;
    }
    // Talks, or listens while active.
    bool IsActive() const { return talk != 0 || (listen != 0 && inactive == 0); }
};

// An endpoint from the controller with intercom and number converted to the model's numbering;
// false when either does not fit (the function type is not converted).
bool ToModelEndpoint(const EndpointAddress& in, bool oneBased, EndpointAddress& out);

}  // namespace corvane
