#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Base64 with the standard alphabet and "=" padding, without line breaks. Both results are
// kept zero-terminated in buffers that grow in steps of 4096 bytes and never shrink.
class CBase64Coder {
public:
    void EncodeText(const char* text);
    void Encode(const uint8_t* bytes, size_t count);
    void DecodeText(const char* text);
    // White space is skipped, and so is any other byte outside the alphabet.
    void Decode(const char* text, size_t count);

    const uint8_t* GetBinary() const;
    const char* GetText() const;
    size_t GetBinaryLength() const { return binaryLength_; }
    size_t GetTextLength() const { return textLength_; }

    // Convenience forms for callers that work in strings.
    static std::string EncodeString(std::string_view bytes);
    static std::string DecodeString(std::string_view text);

private:
    void ReserveText(size_t n);
    void ReserveBinary(size_t n);
    void SetTextStripped(const char* text, size_t count);
    void SetBinary(const uint8_t* bytes, size_t count);
    static int EncodeGroup(const uint8_t* group, size_t count, char* output);
    static int DecodeGroup(const uint8_t values[4], uint8_t output[3]);
    static void SplitGroup(const uint8_t bytes[3], uint8_t values[4]);
    static void JoinGroup(const uint8_t values[4], uint8_t bytes[3]);
    static bool IsWhitespace(uint8_t byte);

    std::vector<uint8_t> binary_;
    size_t binaryLength_ = 0;
    std::vector<uint8_t> text_;
    size_t textLength_ = 0;
};

}  // namespace corvane
