#pragma once

#include <cstdint>
#include <utility>

namespace corvane {

// The identity of the trunk set between two intercoms: 0 for an intercom with itself, else the
// smaller number in bits 8-15 and the larger in bits 0-7, each taken modulo 256.
int32_t MakePairKey(int a, int b);

// (smaller, larger) of a pair key. A low byte of 0 under a non-zero high byte can only come
// from intercom 256 as the larger number, and is read back as 256.
std::pair<int, int> SplitPairKey(int32_t key);

}  // namespace corvane
