#pragma once

#include "settings/ColorSettings.h"

namespace corvane {

// Rows whose index has a bit of the "AlternateLineShading" mask set are shaded (with the
// default 2: rows 2, 3, 6, 7, ...).
inline bool IsShadedRow(int row, int shadingMask) {
    return (row & shadingMask) != 0;
}

// A shaded colour: each channel less that channel of the offset, at least 0.
ColorRef ShadeColor(ColorRef color, ColorRef offset);

}  // namespace corvane
