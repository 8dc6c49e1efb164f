#include "graphics/GraphicObj.h"

namespace corvane {

void CGraphicObj::MoveTo(int32_t x, int32_t y) {
    const int64_t width = int64_t{rect_.right} - rect_.left;
    const int64_t height = int64_t{rect_.bottom} - rect_.top;
    const int32_t left = ClampCoordinate(x);
    const int32_t top = ClampCoordinate(y);
    rect_ = {left, top, ClampCoordinate(left + width), ClampCoordinate(top + height)};
}

}  // namespace corvane
