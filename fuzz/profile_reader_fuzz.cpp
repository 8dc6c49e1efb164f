// The profile reader on arbitrary file contents: it must not crash, and what it reads must
// survive a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/ProfileText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> problems;
    const auto text = std::string_view(reinterpret_cast<const char*>(data), size);
    const corvane::ProfileData parsed = corvane::ParseProfileText(text, problems);
    std::vector<std::string> again;
    if (corvane::ParseProfileText(corvane::SerializeProfile(parsed), again) != parsed ||
        !again.empty()) {
        std::abort();
    }
    return 0;
}
