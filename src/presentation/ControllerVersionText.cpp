#include "presentation/ControllerVersionText.h"

namespace corvane {

std::string ControllerVersionText(const std::string& reported) {
    std::string text;
    text.reserve(reported.size());
    for (const char c : reported) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            text.push_back(c);
        } else {
            text.push_back(static_cast<char>(0xC0 | (b >> 6)));
            text.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return text;
}

}  // namespace corvane
