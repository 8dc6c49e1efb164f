#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/Connection.h"
#include "link/QuillexMessageCode.h"

namespace corvane {

// One request of the message set as the poll thread sends it: the code, the payload, the
// flags that end it and the line logged before it goes out.
struct QuillexRequest {
    QuillexMessageCode code{};
    std::vector<uint8_t> payload;
    int endFlags = 0;  // bit 0: the reply may carry the error bit
    std::string sendingLine;

    QuillexRequest& Byte(int value);
    // High byte first.
    QuillexRequest& Word(unsigned value);
    QuillexRequest& Bytes(const std::vector<uint8_t>& bytes);

    // Begins, fills and ends the message on the link (it is then ready to transact).
    void BuildOn(CConnection& link) const;
};

QuillexRequest MakeRequest(QuillexMessageCode code, std::string sendingLine, int endFlags = 0);

}  // namespace corvane
