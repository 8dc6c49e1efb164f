#include "presentation/ViewId.h"

namespace corvane {
namespace {

constexpr uint32_t kFieldMask = 0x3FFF;

}  // namespace

ViewId MakeViewId(ViewKind kind, int index, int sub) {
    const uint32_t packed = static_cast<uint32_t>(ViewKindNumber(kind)) << 28 |
                            (static_cast<uint32_t>(index) & kFieldMask) << 14 |
                            (static_cast<uint32_t>(sub) & kFieldMask);
    return static_cast<ViewId>(packed);
}

ViewIdParts SplitViewId(ViewId id) {
    const auto packed = static_cast<uint32_t>(id);
    return {ViewKindOf(static_cast<int>(packed >> 28)), static_cast<int>(packed >> 14 & kFieldMask),
            static_cast<int>(packed & kFieldMask)};
}

std::unique_ptr<CVorlinFilterData> NewViewFilter(ViewKind kind, int index, int sub) {
    std::unique_ptr<CVorlinFilterData> filter = NewFilterOf(kind);
    if (filter == nullptr) {
        // Two plain selectors and no masks: the graphical view reads its layout from the first.
        filter = std::make_unique<CAlphaFilterData>();
    }
    filter->SetSelector(1, index);
    filter->SetSelector(2, sub);
    return filter;
}

bool ShowsViewId(ViewKind kind, const CVorlinFilterData* filter, ViewId id) {
    if (kind != SplitViewId(id).kind) {
        return false;
    }
    if (filter == nullptr) {
        return true;
    }
    if (MakeViewId(kind, filter->Selector(1), filter->Selector(2)) != id) {
        return false;
    }
    for (int n = 3; n <= 6; ++n) {
        if (!IsMaskSelector(filter->Kind(), n) && filter->Selector(n) != CVorlinFilterData::kAny) {
            return false;
        }
    }
    return true;
}

}  // namespace corvane
