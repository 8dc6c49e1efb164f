#include "link/AuthStat.h"

namespace corvane {

bool CAuthStat::SetState(int state) {
    const int old = State();
    if (state == old) {
        return false;
    }
    uint8_t earned = 0;
    if (state == kIsolated) {
        earned = kBecameThree;
    } else if (state == kIncompatible) {
        earned = old < kIncompatible ? kRoseToTwo : 0;
    } else if (state == 1 && old == 0) {
        earned = kBecameOneFromZero;
    }
    state_.store(state, std::memory_order_relaxed);
    flags_.fetch_or(earned, std::memory_order_acq_rel);
    return true;
}

bool CAuthStat::operator==(const CAuthStat& other) const {
    return State() == other.State() && ByteValue() == other.ByteValue() &&
           WordValue1() == other.WordValue1() && WordValue2() == other.WordValue2();
}

}  // namespace corvane
