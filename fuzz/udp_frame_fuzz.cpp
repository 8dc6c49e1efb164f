// The network frame decoder on arbitrary datagrams: it must not crash, must keep its bounds,
// and what it accepts must survive encoding and a second decoding unchanged, header and all.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/NetworkFrame.h"

using corvane::NetworkFrameError;
using corvane::QuillexNetworkFrame;
using corvane::QuillexNetworkHeader;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> body;
    if (QuillexNetworkFrame::Decode({data, size}, body) != NetworkFrameError::kNone) {
        if (!body.empty()) {
            std::abort();
        }
        return 0;
    }
    if (body.size() <= QuillexNetworkHeader::kSize || body.size() > QuillexNetworkFrame::kMaxBody) {
        std::abort();
    }
    const QuillexNetworkHeader header = QuillexNetworkHeader::Parse(body);
    std::vector<uint8_t> rebuilt;
    header.AppendTo(rebuilt);
    if (!std::equal(rebuilt.begin(), rebuilt.end(), body.begin())) {
        std::abort();
    }
    std::vector<uint8_t> wire;
    std::vector<uint8_t> again;
    if (!QuillexNetworkFrame::Encode(body, wire) || wire.size() > QuillexNetworkFrame::kMaxFrame ||
        QuillexNetworkFrame::Decode(wire, again) != NetworkFrameError::kNone || again != body) {
        std::abort();
    }
    body.back() = corvane::NetworkFrameChecksum({body.data(), body.size() - 1});
    unsigned sum = 0;
    for (const uint8_t b : body) {
        sum += b;
    }
    if (sum % 256 != 0) {
        std::abort();
    }
    return 0;
}
