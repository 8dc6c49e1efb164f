#include "graphics/AnsiCodePage.h"

#include <array>
#include <cstdint>

namespace corvane {
namespace {

// The characters of bytes 0x80-0x9F; every other byte is the code point of its value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CharOfByte(uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte};
}

// The byte of a character, or '?' when the code page has none.
char ByteOfChar(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point of the UTF-8 sequence at pos and its length; length 0 for a broken one.
char32_t DecodeUtf8(std::string_view s, size_t pos, size_t& length) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(s[pos + i]); };
    const uint8_t lead = byte(0);
    length = 0;
    size_t need = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        need = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        need = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        need = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (pos + need > s.size()) {
        return 0;
    }
    for (size_t i = 1; i < need; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (byte(i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return 0;
    }
    length = need;
    return c;
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char b : ansi) {
        AppendUtf8(out, CharOfByte(static_cast<uint8_t>(b)));
    }
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        size_t length = 0;
        const char32_t c = DecodeUtf8(utf8, pos, length);
        if (length == 0) {
            out += '?';
            ++pos;
        } else {
            out += ByteOfChar(c);
            pos += length;
        }
    }
    return out;
}

std::string Utf16ToAnsi(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            ++i;  // a pair stands for one character beyond the code page
            out += '?';
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out += '?';
        } else {
            out += ByteOfChar(unit);
        }
    }
    return out;
}

}  // namespace corvane
