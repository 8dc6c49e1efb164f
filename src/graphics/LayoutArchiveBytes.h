#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace corvane {

// A layout file that cannot be read: what is wrong and the byte offset where it was found.
class LayoutFormatError : public std::runtime_error {
public:
    LayoutFormatError(const std::string& what, size_t offset);
    size_t Offset() const { return offset_; }

private:
    size_t offset_;
};

// The primitive encodings of a layout archive, written: little-endian integers, booleans as
// int32 0 or 1, counts, and strings in the ANSI code page behind a length prefix.
class LayoutArchiveOut {
public:
    void Word(uint16_t value);
    void Dword(uint32_t value);
    void Int32(int32_t value) { Dword(static_cast<uint32_t>(value)); }
    void Bool(bool value) { Dword(value ? 1 : 0); }
    // WORD below 0xFFFF, else WORD 0xFFFF and the 32-bit count.
    void Count(uint32_t count);
    // The UTF-8 text converted to the code page.
    void String(std::string_view utf8);
    void Raw(std::string_view bytes) { bytes_.append(bytes); }

    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// The same encodings, read from untrusted bytes; every shortfall throws LayoutFormatError.
class LayoutArchiveIn {
public:
    explicit LayoutArchiveIn(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint8_t Byte();
    uint16_t Word();
    uint32_t Dword();
    int32_t Int32() { return static_cast<int32_t>(Dword()); }
    // Any value but 0 is true.
    bool Bool() { return Dword() != 0; }
    uint32_t Count();
    // As UTF-8; UTF-16 strings (marked by 0xFF, 0xFFFE) are taken through the code page. Only
    // the first maxLength characters are kept; the rest is passed over.
    std::string String(size_t maxLength);
    std::string_view Raw(size_t length);

    size_t Offset() const { return pos_; }
    size_t Remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    [[noreturn]] void Fail(const std::string& what) const;

private:
    void Need(size_t length) const;
    uint32_t StringLength();

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

}  // namespace corvane
