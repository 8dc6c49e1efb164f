// The serial frame decoder on arbitrary received blocks: it must not crash, must keep its
// bounds, and what it accepts must survive encoding and a second decoding unchanged.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/SerialFrame.h"

using corvane::QuillexSerialFrame;
using corvane::SerialFrameError;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> body;
    if (QuillexSerialFrame::Decode({data, size}, body) != SerialFrameError::kNone) {
        if (!body.empty()) {
            std::abort();
        }
        return 0;
    }
    if (body.size() <= QuillexSerialFrame::kHeaderSize ||
        body.size() > QuillexSerialFrame::kMaxBody) {
        std::abort();
    }
    std::vector<uint8_t> wire;
    std::vector<uint8_t> again;
    if (!QuillexSerialFrame::Encode(body, wire) || wire.size() > QuillexSerialFrame::kMaxFrame ||
        QuillexSerialFrame::Decode(wire, again) != SerialFrameError::kNone || again != body) {
        std::abort();
    }
    // A body that carries its own CRC checks to zero, whatever else it holds.
    body.back() = corvane::SerialFrameCrc8({body.data(), body.size() - 1});
    if (corvane::SerialFrameCrc8(body) != 0) {
        std::abort();
    }
    return 0;
}
