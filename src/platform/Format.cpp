#include "platform/Format.h"

#include <cstdio>
#include <vector>

namespace corvane {

std::string StrFormatV(const char* format, va_list args) {
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0) {
        return {};
    }
    if (static_cast<size_t>(needed) < sizeof small) {
        return std::string(small, static_cast<size_t>(needed));
    }
    std::string out(static_cast<size_t>(needed), '\0');
    std::vsnprintf(out.data(), out.size() + 1, format, args);
    return out;
}

std::string StrFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = StrFormatV(format, args);
    va_end(args);
    return out;
}

std::string InsertArgs(std::string_view text, std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> inserts(args);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '%' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char next = text[i + 1];
        if (next == '%') {
            out += '%';
            ++i;
        } else if (next >= '1' && next <= '9') {
            const size_t index = static_cast<size_t>(next - '1');
            if (index < inserts.size()) {
                out += inserts[index];
            }
            ++i;
            // "%1!d!" carries a printf type for the insert; the insert is already text.
            if (i + 1 < text.size() && text[i + 1] == '!') {
                const size_t close = text.find('!', i + 2);
                if (close != std::string_view::npos) {
                    i = close;
                }
            }
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace corvane
