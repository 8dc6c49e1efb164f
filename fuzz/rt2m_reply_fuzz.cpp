// The analyzer's reply parsers on arbitrary bytes: they must not crash, and whatever they
// accept must lie within their bounds.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "testing/RT2MReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RT2MReceived received = SplitRT2MReceived(bytes);
    if (received.response && received.response->find('\n') != std::string::npos) {
        std::abort();
    }
    const std::string_view line = received.response ? std::string_view(*received.response) : bytes;
    if (const auto codes = ParseRT2MErrorList(line)) {
        if (codes->empty() || codes->size() > kRT2MMaxErrorCodes) {
            std::abort();
        }
        for (const unsigned c : *codes) {
            if (c > 99999) {
                std::abort();
            }
        }
    }
    if (const auto level = ParseRT2MLevel(line)) {
        if (!std::isfinite(level->decibels) || std::fabs(level->decibels) > kRT2MMaxDecibels) {
            std::abort();
        }
    }
    if (const auto h = ParseRT2MHeadroom(line)) {
        if (!std::isfinite(*h) || std::fabs(*h) > kRT2MMaxDecibels) {
            std::abort();
        }
    }
    return 0;
}
