#include "graphics/LayoutArchiveBytes.h"

#include <algorithm>

#include "graphics/AnsiCodePage.h"
#include "platform/Format.h"

namespace corvane {
namespace {

constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kUnicodeMark = 0xFFFE;
constexpr uint16_t kWideLength = 0xFFFF;

}  // namespace

LayoutFormatError::LayoutFormatError(const std::string& what, size_t offset)
    : std::runtime_error(StrFormat("%s (at byte %zu)", what.c_str(), offset)), offset_(offset) {}

void LayoutArchiveOut::Word(uint16_t value) {
    bytes_ += static_cast<char>(value & 0xFF);
    bytes_ += static_cast<char>(value >> 8);
}

void LayoutArchiveOut::Dword(uint32_t value) {
    Word(static_cast<uint16_t>(value & 0xFFFF));
    Word(static_cast<uint16_t>(value >> 16));
}

void LayoutArchiveOut::Count(uint32_t count) {
    if (count < 0xFFFF) {
        Word(static_cast<uint16_t>(count));
    } else {
        Word(0xFFFF);
        Dword(count);
    }
}

void LayoutArchiveOut::String(std::string_view utf8) {
    const std::string ansi = Utf8ToAnsi(utf8);
    if (ansi.size() > UINT32_MAX) {
        throw LayoutFormatError("a text is too long to store", bytes_.size());
    }
    const auto length = static_cast<uint32_t>(ansi.size());
    if (length < kLongLength) {
        bytes_ += static_cast<char>(length);
    } else if (length < kUnicodeMark) {
        bytes_ += static_cast<char>(kLongLength);
        Word(static_cast<uint16_t>(length));
    } else {
        bytes_ += static_cast<char>(kLongLength);
        Word(kWideLength);
        Dword(length);
    }
    bytes_ += ansi;
}

void LayoutArchiveIn::Fail(const std::string& what) const {
    throw LayoutFormatError(what, pos_);
}

void LayoutArchiveIn::Need(size_t length) const {
    if (length > Remaining()) {
        Fail("the file ends early");
    }
}

uint8_t LayoutArchiveIn::Byte() {
    Need(1);
    return bytes_[pos_++];
}

uint16_t LayoutArchiveIn::Word() {
    Need(2);
    const uint16_t value = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return value;
}

uint32_t LayoutArchiveIn::Dword() {
    const uint32_t low = Word();
    const uint32_t high = Word();
    return low | (high << 16);
}

uint32_t LayoutArchiveIn::Count() {
    const uint16_t count = Word();
    return count < 0xFFFF ? count : Dword();
}

uint32_t LayoutArchiveIn::StringLength() {
    const uint8_t length = Byte();
    if (length < kLongLength) {
        return length;
    }
    const uint16_t wide = Word();
    return wide < kWideLength ? wide : Dword();
}

std::string LayoutArchiveIn::String(size_t maxLength) {
    const size_t start = pos_;
    bool unicode = false;
    uint32_t length = 0;
    if (Byte() == kLongLength && Word() == kUnicodeMark) {
        unicode = true;
        length = StringLength();
    } else {
        pos_ = start;
        length = StringLength();
    }
    const size_t size = unicode ? size_t{length} * 2 : length;
    if (size > Remaining()) {
        Fail(StrFormat("a text of %u characters is longer than the rest of the file", length));
    }
    const size_t kept = std::min<size_t>(length, maxLength);
    if (!unicode) {
        const std::string_view ansi = Raw(length);
        return AnsiToUtf8(ansi.substr(0, kept));
    }
    std::u16string units(kept, u'\0');
    for (char16_t& unit : units) {
        unit = Word();
    }
    Raw((length - kept) * 2);
    return AnsiToUtf8(Utf16ToAnsi(units));
}

std::string_view LayoutArchiveIn::Raw(size_t length) {
    Need(length);
    const auto* data = reinterpret_cast<const char*>(bytes_.data() + pos_);
    pos_ += length;
    return {data, length};
}

}  // namespace corvane
