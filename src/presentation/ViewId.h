#pragma once

#include <cstdint>
#include <memory>

#include "presentation/ViewKind.h"

namespace corvane {

// What a navigation tree item opens, packed into one 32-bit value: the kind in the top four
// bits, then an index (an intercom or a layout) and a sub-item (a function type) of 14 bits
// each. Kind 8 makes it negative.
using ViewId = int32_t;

// An index or sub-item of "all".
inline constexpr int kViewIdAll = 0x3FFF;

ViewId MakeViewId(ViewKind kind, int index, int sub);

struct ViewIdParts {
    ViewKind kind = ViewKind::None;
    int index = kViewIdAll;
    int sub = kViewIdAll;
};
ViewIdParts SplitViewId(ViewId id);

// The filter a frame is switched with to show what an id names: the kind's own filter (for a
// kind without one, a filter that carries just the selectors) with index and sub as its first
// two selectors.
std::unique_ptr<CVorlinFilterData> NewViewFilter(ViewKind kind, int index, int sub);

// Whether a frame of a kind with this filter shows what the id names: the same kind and first
// two selectors, and no further choice of rows beyond the masks.
bool ShowsViewId(ViewKind kind, const CVorlinFilterData* filter, ViewId id);

}  // namespace corvane
