// Text read from a database file, which any program may have written: dates, declared
// types, alarm contexts and width cuts must never crash, and what they accept must hold.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/AlarmContext.h"
#include "store/DaoValue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    corvane::WallTime time;
    if (corvane::ParseDaoDate(text, time) && corvane::FormatDaoDate(time).size() != 19) {
        std::abort();
    }
    const corvane::DaoColumnType type = corvane::ParseDeclaredType(text);
    if (type.known && type.type == corvane::DaoType::Text && type.width > 0 &&
        corvane::ParseDeclaredType(corvane::DeclaredType(type.type, type.width)).width !=
            type.width) {
        std::abort();
    }
    std::string cut = text;
    const int width = size > 0 ? data[0] % 64 : 0;
    corvane::CutToWidth(cut, width);
    if (cut.size() > text.size() || text.compare(0, cut.size(), cut) != 0) {
        std::abort();
    }
    std::string a1, a2, a3, flags, a4;
    if (corvane::ParseContextFiveFields(text, a1, a2, a3, flags, a4) &&
        (flags.size() != 3 || a1.size() != a4.size())) {
        std::abort();
    }
    corvane::ParseContextTwoAlphas(text, a1, a2);
    corvane::ParseContextOneAlpha(text, a1);
    return 0;
}
