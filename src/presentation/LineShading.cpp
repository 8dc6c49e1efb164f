#include "presentation/LineShading.h"

#include <algorithm>

namespace corvane {

ColorRef ShadeColor(ColorRef color, ColorRef offset) {
    return Rgb(std::max(RedOf(color) - RedOf(offset), 0),
               std::max(GreenOf(color) - GreenOf(offset), 0),
               std::max(BlueOf(color) - BlueOf(offset), 0));
}

}  // namespace corvane
