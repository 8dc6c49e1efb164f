#include "mail/Base64Coder.h"

#include <array>
#include <cstring>

namespace corvane {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint8_t kPad = 0xFF;
constexpr uint8_t kInvalid = 0xFE;

// Each alphabet character, and the same byte with bit 7 set, maps to its value; "=" and
// 0xBD are padding; everything else is not part of Base64.
const std::array<uint8_t, 256>& DecodeTable() {
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        t.fill(kInvalid);
        for (uint8_t value = 0; value < 64; ++value) {
            const auto c = static_cast<uint8_t>(kAlphabet[value]);
            t[c] = value;
            t[c | 0x80] = value;
        }
        t['='] = kPad;
        t[0xBD] = kPad;
        return t;
    }();
    return table;
}

void Reserve(std::vector<uint8_t>& buffer, size_t n) {
    if (buffer.size() < n) {
        buffer.assign(((n >> 12) + 1) << 12, 0);
    } else {
        std::fill(buffer.begin(), buffer.end(), 0);
    }
}

}  // namespace

const uint8_t* CBase64Coder::GetBinary() const {
    static const uint8_t empty = 0;
    return binary_.empty() ? &empty : binary_.data();
}

const char* CBase64Coder::GetText() const {
    return text_.empty() ? "" : reinterpret_cast<const char*>(text_.data());
}

void CBase64Coder::ReserveText(size_t n) {
    Reserve(text_, n);
    textLength_ = 0;
}

void CBase64Coder::ReserveBinary(size_t n) {
    Reserve(binary_, n);
    binaryLength_ = 0;
}

bool CBase64Coder::IsWhitespace(uint8_t byte) {
    return (byte >= 7 && byte <= 13) || byte == 32;
}

void CBase64Coder::SetTextStripped(const char* text, size_t count) {
    ReserveText(count + 1);
    for (size_t i = 0; i < count; ++i) {
        const auto c = static_cast<uint8_t>(text[i]);
        if (!IsWhitespace(c)) {
            text_[textLength_++] = c;
        }
    }
}

void CBase64Coder::SetBinary(const uint8_t* bytes, size_t count) {
    ReserveBinary(count + 1);
    if (count > 0) {
        std::memcpy(binary_.data(), bytes, count);
    }
    binaryLength_ = count;
}

void CBase64Coder::SplitGroup(const uint8_t bytes[3], uint8_t values[4]) {
    values[0] = bytes[0] >> 2;
    values[1] = static_cast<uint8_t>(((bytes[0] & 0x03) << 4) | (bytes[1] >> 4));
    values[2] = static_cast<uint8_t>(((bytes[1] & 0x0F) << 2) | (bytes[2] >> 6));
    values[3] = bytes[2] & 0x3F;
}

void CBase64Coder::JoinGroup(const uint8_t values[4], uint8_t bytes[3]) {
    bytes[0] = static_cast<uint8_t>((values[0] << 2) | (values[1] >> 4));
    bytes[1] = static_cast<uint8_t>((values[1] << 4) | (values[2] >> 2));
    bytes[2] = static_cast<uint8_t>((values[2] << 6) | values[3]);
}

int CBase64Coder::EncodeGroup(const uint8_t* group, size_t count, char* output) {
    uint8_t bytes[3] = {0, 0, 0};
    std::memcpy(bytes, group, count);
    uint8_t values[4];
    SplitGroup(bytes, values);
    const int padding = 3 - static_cast<int>(count);
    for (int i = 0; i < 4; ++i) {
        output[i] = i < 4 - padding ? kAlphabet[values[i]] : '=';
    }
    return padding;
}

int CBase64Coder::DecodeGroup(const uint8_t values[4], uint8_t output[3]) {
    // Only the values before the first padding carry bytes: n values give n - 1 bytes.
    int present = 0;
    while (present < 4 && values[present] != kPad) {
        ++present;
    }
    uint8_t joined[4];
    for (int i = 0; i < 4; ++i) {
        joined[i] = i < present ? values[i] : 0;
    }
    JoinGroup(joined, output);
    return present > 1 ? present - 1 : 0;
}

void CBase64Coder::EncodeText(const char* text) {
    if (text == nullptr) {
        return;
    }
    Encode(reinterpret_cast<const uint8_t*>(text), std::strlen(text));
}

void CBase64Coder::Encode(const uint8_t* bytes, size_t count) {
    SetBinary(bytes, count);
    ReserveText(std::max(2 * count, 4 * ((count + 2) / 3)) + 1);
    for (size_t i = 0; i < count; i += 3) {
        const size_t n = std::min<size_t>(3, count - i);
        EncodeGroup(binary_.data() + i, n, reinterpret_cast<char*>(text_.data() + textLength_));
        textLength_ += 4;
    }
}

void CBase64Coder::DecodeText(const char* text) {
    if (text == nullptr) {
        return;
    }
    Decode(text, std::strlen(text));
}

void CBase64Coder::Decode(const char* text, size_t count) {
    SetTextStripped(text, count);
    ReserveBinary(count + 1);
    const auto& table = DecodeTable();
    uint8_t values[4];
    int filled = 0;
    for (size_t i = 0; i < textLength_; ++i) {
        const uint8_t value = table[text_[i]];
        if (value == kInvalid) {
            continue;
        }
        values[filled++] = value;
        if (filled == 4) {
            binaryLength_ += DecodeGroup(values, binary_.data() + binaryLength_);
            filled = 0;
        }
    }
    if (filled > 0) {
        for (int i = filled; i < 4; ++i) {
            values[i] = kPad;
        }
        binaryLength_ += DecodeGroup(values, binary_.data() + binaryLength_);
    }
    // JoinGroup writes three bytes even for a short group; keep the text terminated.
    std::fill(binary_.begin() + binaryLength_, binary_.end(), 0);
}

std::string CBase64Coder::EncodeString(std::string_view bytes) {
    CBase64Coder coder;
    coder.Encode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return std::string(coder.GetText(), coder.GetTextLength());
}

std::string CBase64Coder::DecodeString(std::string_view text) {
    CBase64Coder coder;
    coder.Decode(text.data(), text.size());
    return std::string(reinterpret_cast<const char*>(coder.GetBinary()), coder.GetBinaryLength());
}

}  // namespace corvane
