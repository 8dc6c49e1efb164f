#pragma once

#include <climits>
#include <cstdint>
#include <span>
#include <vector>

namespace corvane {

// A fixed-size set of bits, bit i in byte i / 8 at position i % 8 (least significant first).
// Bits beyond the size in the last byte are always 0, so equal sets have equal bytes.
// Bit numbers are unsigned: a number beyond the size is ignored by setters and false to Test.
class CBitArray {
public:
    // Scans return bit numbers as int, so every bit number must fit in one.
    static constexpr unsigned kMaxBits = INT_MAX;

    // nBits clear bits, then every listed bit number below nBits set.
    explicit CBitArray(unsigned nBits = 0, std::span<const unsigned> setBits = {});
    CBitArray(const CBitArray& other);
    CBitArray& operator=(const CBitArray& other);

    // Same size and same bits; the scan cursor does not take part.
    bool operator==(const CBitArray& other) const;

    unsigned GetSize() const { return size_; }
    std::span<const std::uint8_t> Bytes() const { return bytes_; }

    // All bits clear afterwards, cursor reset. Throws std::length_error above kMaxBits.
    void Resize(unsigned nBits);

    bool Test(unsigned bit) const;
    void Set(unsigned bit, bool value = true);
    // Stops at the end of the array.
    void SetRange(unsigned start, unsigned count, bool value);
    void SetAll(bool value);
    // Clears all, then sets the listed bits below the size; refused when the list is longer
    // than the array.
    bool SetFromList(std::span<const unsigned> bits);

    // Set bits among count bits from start, cut at the end; 0 when start is beyond it.
    unsigned CountSet(unsigned start, unsigned count) const;
    unsigned CountSet() const { return CountSet(0, size_); }

    // Cursor scan: FindFirst starts over, FindNext continues after the last bit returned.
    // Both give -1 once no set bit is left.
    int FindFirst();
    int FindNext();
    // The first set bit at or after pos (a negative pos starts at 0), -1 when none.
    int FindNextFrom(int pos) const;
    // The last set bit at or before pos, -1 when none; a pos outside the array, negative
    // included, starts at the last bit.
    int FindPrevious(int pos) const;

    // The bits to or from an outside byte buffer of at least (size + 7) / 8 bytes; false and
    // nothing copied when it is shorter. Bits of the last outside byte beyond the size are
    // left as they were (CopyTo) or not taken (CopyFrom).
    bool CopyTo(std::span<std::uint8_t> target) const;
    bool CopyFrom(std::span<const std::uint8_t> source);

private:
    void ClearSpareBits();

    std::vector<std::uint8_t> bytes_;
    unsigned size_ = 0;
    int cursor_ = -1;
};

}  // namespace corvane
