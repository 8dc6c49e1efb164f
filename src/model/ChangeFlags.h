#pragma once

#include <atomic>
#include <cstdint>

namespace corvane {

// The change byte that begins every intercom, trunk, queued-request, usage and summary-count
// record. 0xFF: nothing has been reported yet. Writers hold the collection's lock; the
// sequencer and the views read it without one, hence the atomic.
class ChangeFlags {
public:
    static constexpr uint8_t kUnset = 0xFF;

    uint8_t Mask() const { return value_.load(std::memory_order_relaxed); }
    bool IsUnset() const { return Mask() == kUnset; }
    bool HasChange() const {
        const uint8_t v = Mask();
        return v != kUnset && v != 0;
    }
    // False while the byte is unset.
    bool Test(uint8_t bits) const {
        const uint8_t v = Mask();
        return v != kUnset && (v & bits) != 0;
    }

    // An unset byte first becomes 0.
    void Mark(uint8_t bits) {
        uint8_t v = Mask();
        while (!value_.compare_exchange_weak(v, static_cast<uint8_t>((v == kUnset ? 0 : v) | bits),
                                             std::memory_order_relaxed)) {
        }
    }
    // Leaves an unset byte unset.
    void Clear(uint8_t bits) {
        uint8_t v = Mask();
        while (v != kUnset && !value_.compare_exchange_weak(v, static_cast<uint8_t>(v & ~bits),
                                                            std::memory_order_relaxed)) {
        }
    }
    void SetUnset() { value_.store(kUnset, std::memory_order_relaxed); }

private:
    std::atomic<uint8_t> value_{kUnset};
};

// Bits of the intercom record.
namespace intercombit {
inline constexpr uint8_t kRequests = 0x01;  // a queued request was added, refreshed or ended
inline constexpr uint8_t kRow = 0x02;       // row fields changed
inline constexpr uint8_t kSwitches = 0x04;  // alarm or notification switch changed
inline constexpr uint8_t kSummary = 0x08;   // a trunk-summary count changed
}  // namespace intercombit

// Bits of the trunk record.
namespace trunkbit {
inline constexpr uint8_t kUsage = 0x01;       // a usage record was added, changed or ended
inline constexpr uint8_t kDefinition = 0x02;  // definition, undefinition or out-of-service
inline constexpr uint8_t kState = 0x04;
inline constexpr uint8_t kSwitches = 0x08;  // auto-test, alarm or notification switch
}  // namespace trunkbit

// Bits of the queued-request and usage records.
namespace recordbit {
inline constexpr uint8_t kFilled = 0x01;   // a new request or usage
inline constexpr uint8_t kChanged = 0x02;  // refreshed or ended
}  // namespace recordbit

// The bit of a summary-count record.
inline constexpr uint8_t kSummaryCountBit = 0x01;

}  // namespace corvane
