#include "log/BitArray.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace corvane {

namespace {

std::size_t ByteCount(unsigned nBits) {
    return (static_cast<std::size_t>(nBits) + 7) / 8;
}

std::uint8_t BitMask(unsigned bit) {
    return static_cast<std::uint8_t>(1u << (bit % 8));
}

}  // namespace

CBitArray::CBitArray(unsigned nBits, std::span<const unsigned> setBits) {
    Resize(nBits);
    for (unsigned bit : setBits) {
        Set(bit);
    }
}

CBitArray::CBitArray(const CBitArray& other) : bytes_(other.bytes_), size_(other.size_) {}

CBitArray& CBitArray::operator=(const CBitArray& other) {
    if (this != &other) {
        bytes_ = other.bytes_;
        size_ = other.size_;
    }
    cursor_ = -1;
    return *this;
}

bool CBitArray::operator==(const CBitArray& other) const {
    return size_ == other.size_ && bytes_ == other.bytes_;
}

void CBitArray::Resize(unsigned nBits) {
    if (nBits > kMaxBits) {
        throw std::length_error("CBitArray: too many bits");
    }
    bytes_.assign(ByteCount(nBits), 0);
    if (nBits == 0) {
        bytes_.shrink_to_fit();
    }
    size_ = nBits;
    cursor_ = -1;
}

bool CBitArray::Test(unsigned bit) const {
    return bit < size_ && (bytes_[bit / 8] & BitMask(bit)) != 0;
}

void CBitArray::Set(unsigned bit, bool value) {
    if (bit >= size_) {
        return;
    }
    if (value) {
        bytes_[bit / 8] |= BitMask(bit);
    } else {
        bytes_[bit / 8] &= static_cast<std::uint8_t>(~BitMask(bit));
    }
}

void CBitArray::SetRange(unsigned start, unsigned count, bool value) {
    if (start >= size_) {
        return;
    }
    const unsigned end = start + std::min(count, size_ - start);
    for (unsigned bit = start; bit < end; ++bit) {
        Set(bit, value);
    }
}

void CBitArray::SetAll(bool value) {
    std::fill(bytes_.begin(), bytes_.end(), value ? 0xFF : 0x00);
    ClearSpareBits();
}

bool CBitArray::SetFromList(std::span<const unsigned> bits) {
    if (bits.size() > size_) {
        return false;
    }
    SetAll(false);
    for (unsigned bit : bits) {
        Set(bit);
    }
    return true;
}

unsigned CBitArray::CountSet(unsigned start, unsigned count) const {
    if (start >= size_) {
        return 0;
    }
    const unsigned end = start + std::min(count, size_ - start);
    unsigned total = 0;
    unsigned bit = start;
    // Single bits up to a byte boundary and after the last whole byte; whole bytes between.
    for (; bit < end && bit % 8 != 0; ++bit) {
        total += Test(bit) ? 1 : 0;
    }
    for (; end - bit >= 8; bit += 8) {
        total += static_cast<unsigned>(std::popcount(bytes_[bit / 8]));
    }
    for (; bit < end; ++bit) {
        total += Test(bit) ? 1 : 0;
    }
    return total;
}

int CBitArray::FindFirst() {
    cursor_ = -1;
    return FindNext();
}

int CBitArray::FindNext() {
    if (cursor_ >= static_cast<int>(size_)) {
        return -1;
    }
    const int found = FindNextFrom(cursor_ + 1);
    cursor_ = found < 0 ? static_cast<int>(size_) : found;
    return found;
}

int CBitArray::FindNextFrom(int pos) const {
    for (unsigned bit = static_cast<unsigned>(std::max(pos, 0)); bit < size_; ++bit) {
        if (bytes_[bit / 8] == 0) {
            bit |= 7;  // skip the rest of an empty byte
        } else if (Test(bit)) {
            return static_cast<int>(bit);
        }
    }
    return -1;
}

int CBitArray::FindPrevious(int pos) const {
    if (size_ == 0) {
        return -1;
    }
    if (pos < 0 || static_cast<unsigned>(pos) >= size_) {
        pos = static_cast<int>(size_ - 1);
    }
    for (int bit = pos; bit >= 0; --bit) {
        if (Test(static_cast<unsigned>(bit))) {
            return bit;
        }
    }
    return -1;
}

bool CBitArray::CopyTo(std::span<std::uint8_t> target) const {
    if (target.size() < bytes_.size()) {
        return false;
    }
    const std::size_t whole = size_ / 8;
    std::copy_n(bytes_.begin(), whole, target.begin());
    for (unsigned bit = static_cast<unsigned>(whole * 8); bit < size_; ++bit) {
        if (Test(bit)) {
            target[bit / 8] |= BitMask(bit);
        } else {
            target[bit / 8] &= static_cast<std::uint8_t>(~BitMask(bit));
        }
    }
    return true;
}

bool CBitArray::CopyFrom(std::span<const std::uint8_t> source) {
    if (source.size() < bytes_.size()) {
        return false;
    }
    const std::size_t whole = size_ / 8;
    std::copy_n(source.begin(), whole, bytes_.begin());
    for (unsigned bit = static_cast<unsigned>(whole * 8); bit < size_; ++bit) {
        Set(bit, (source[bit / 8] & BitMask(bit)) != 0);
    }
    return true;
}

void CBitArray::ClearSpareBits() {
    if (size_ % 8 != 0) {
        bytes_.back() &= static_cast<std::uint8_t>((1u << (size_ % 8)) - 1);
    }
}

}  // namespace corvane
