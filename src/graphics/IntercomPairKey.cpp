#include "graphics/IntercomPairKey.h"

#include <algorithm>

namespace corvane {

int32_t MakePairKey(int a, int b) {
    if (a == b) {
        return 0;
    }
    return ((std::min(a, b) & 0xFF) << 8) | (std::max(a, b) & 0xFF);
}

std::pair<int, int> SplitPairKey(int32_t key) {
    const int smaller = (key >> 8) & 0xFF;
    const int larger = key & 0xFF;
    return {smaller, larger == 0 && smaller != 0 ? 256 : larger};
}

}  // namespace corvane
