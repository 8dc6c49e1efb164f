// The command-line parser on arbitrary arguments (NUL-separated): it must not crash, and a
// switch it reports must be one of the arguments without its leading '-' or '/'.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "presentation/CommandLineInfoEx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    corvane::CCommandLineInfoEx line;
    line.Parse(arguments);
    for (const std::string& a : arguments) {
        std::string value;
        const bool isSwitch = a.size() > 1 && (a[0] == '-' || a[0] == '/');
        if (isSwitch && !line.GetOption(a.substr(1), value)) {
            std::abort();
        }
    }
    return 0;
}
