#include "store/FunctionCodes.h"

#include <cctype>

namespace corvane {

int FunctionTypeOfCode(std::string_view code) {
    for (int type = 0; type < kFunctionTypes; ++type) {
        const std::string_view known = kFunctionCodes[type];
        if (known.size() == code.size() &&
            std::toupper(static_cast<unsigned char>(code[0])) == known[0] &&
            std::toupper(static_cast<unsigned char>(code[1])) == known[1]) {
            return type;
        }
    }
    return -1;
}

}  // namespace corvane
