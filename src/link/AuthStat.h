#pragma once

#include <atomic>
#include <cstdint>

namespace corvane {

// The compatibility status the controller reports for one intercom matrix. The poll thread
// writes it; the compatibility dialog reads it and clears its change flags on the
// user-interface thread. Every field is atomic, and the flags are one byte that is set and
// cleared in single steps, so neither thread loses the other's write.
class CAuthStat {
public:
    // States: 0 and 1 no concern, 2 incompatible (will be isolated), 3 isolated.
    static constexpr int kIncompatible = 2;
    static constexpr int kIsolated = 3;

    // Change flags.
    static constexpr uint8_t kBecameOneFromZero = 0x01;
    static constexpr uint8_t kRoseToTwo = 0x02;
    static constexpr uint8_t kBecameThree = 0x04;

    CAuthStat() = default;
    virtual ~CAuthStat() = default;
    CAuthStat(const CAuthStat&) = delete;
    CAuthStat& operator=(const CAuthStat&) = delete;

    // False when unchanged; otherwise stores it, marks the change flags it earns, true.
    bool SetState(int state);
    // Store; true when the value changed.
    bool SetByteValue(int value) { return Store(byteValue_, value); }
    bool SetWordValue1(int value) { return Store(wordValue1_, value); }
    bool SetWordValue2(int value) { return Store(wordValue2_, value); }

    int State() const { return state_.load(std::memory_order_relaxed); }
    int ByteValue() const { return byteValue_.load(std::memory_order_relaxed); }
    int WordValue1() const { return wordValue1_.load(std::memory_order_relaxed); }
    // While the state is 2: the minutes left before isolation.
    int WordValue2() const { return wordValue2_.load(std::memory_order_relaxed); }
    uint8_t ChangeFlags() const { return flags_.load(std::memory_order_acquire); }
    // Clears the three flags and returns what they were, in one step: a flag the poll thread
    // sets at the same time is either returned here or kept.
    uint8_t ClearChangeFlags() { return flags_.exchange(0, std::memory_order_acq_rel); }

    // State and the three values equal.
    bool operator==(const CAuthStat& other) const;

private:
    static bool Store(std::atomic<int>& field, int value) {
        return field.exchange(value, std::memory_order_relaxed) != value;
    }

    std::atomic<int> state_{0};
    std::atomic<int> byteValue_{0};
    std::atomic<int> wordValue1_{0};
    std::atomic<int> wordValue2_{0};
    std::atomic<uint8_t> flags_{0};
};

}  // namespace corvane
