#include "graphics/LayoutPointer.h"

#include <cstdlib>
#include <vector>

namespace corvane {

CLayoutPointer::Effect CLayoutPointer::SelectAt(CGraphicLayout* layout, GraphicPoint point,
                                                KeyFlags keys, const GraphicOptions& options) {
    last_ = point;
    hit_ = {};
    hitWasSelected_ = false;
    if (layout == nullptr) {
        return {};
    }
    hit_ = layout->HitTestAll(point, options);
    hitWasSelected_ = hit_.object != nullptr && hit_.object->IsSelected();
    epoch_ = layout->ObjectsEpoch();
    return {SelectHit(*layout, hit_, keys), false, false};
}

CLayoutPointer::Effect CLayoutPointer::Press(CGraphicLayout* layout, GraphicPoint point,
                                             KeyFlags keys, bool editing,
                                             const GraphicOptions& options) {
    pressed_ = editing && layout != nullptr;
    dragging_ = false;
    return SelectAt(layout, point, editing ? keys : KeyFlags{}, options);
}

CLayoutPointer::Effect CLayoutPointer::Move(CGraphicLayout* layout, GraphicPoint point,
                                            const GraphicOptions& options) {
    if (!pressed_ || layout == nullptr || !HitStillThere(layout)) {
        return {};
    }
    if (!dragging_) {
        if (std::abs(int64_t{point.x} - last_.x) < kDragDistance &&
            std::abs(int64_t{point.y} - last_.y) < kDragDistance) {
            return {};
        }
        dragging_ = true;
        dragStart_ = last_;
    }
    Effect effect;
    if (hit_.object != nullptr) {
        const int64_t dx = int64_t{point.x} - last_.x;
        const int64_t dy = int64_t{point.y} - last_.y;
        // Moving an intercom moves no object of the selection, but the copy keeps it plain.
        const std::vector<CGraphicObj*> selected(layout->Selection().begin(),
                                                 layout->Selection().end());
        for (CGraphicObj* obj : selected) {
            if (obj->IsVisible(options)) {
                const GraphicPoint at = obj->GetTopLeft();
                obj->MoveTo(ClampCoordinate(at.x + dx), ClampCoordinate(at.y + dy));
                effect.moved = true;
            }
        }
        effect.changed = true;
    } else {
        effect.changed =
            SelectInBand(*layout, {dragStart_.x, dragStart_.y, point.x, point.y}, options);
        effect.band = true;
    }
    last_ = point;
    return effect;
}

CLayoutPointer::Effect CLayoutPointer::Release(CGraphicLayout* layout, GraphicPoint point,
                                               KeyFlags keys, const GraphicOptions& options) {
    Effect effect;
    if (pressed_ && layout != nullptr && HitStillThere(layout)) {
        if (!dragging_ && hit_.object != nullptr && hitWasSelected_) {
            if (!keys.ctrl) {
                layout->ClearSelection();
                SelectAt(layout, point, {}, options);
                effect.changed = true;
            } else {
                effect.changed = DeselectHit(*layout, hit_, keys);
            }
        }
        effect.band = dragging_ && hit_.object == nullptr;
    }
    pressed_ = false;
    dragging_ = false;
    return effect;
}

void CLayoutPointer::Reset() {
    hit_ = {};
    hitWasSelected_ = false;
    pressed_ = false;
    dragging_ = false;
}

std::optional<GraphicRect> CLayoutPointer::Band() const {
    if (!dragging_ || hit_.object != nullptr) {
        return std::nullopt;
    }
    return GraphicRect{dragStart_.x, dragStart_.y, last_.x, last_.y}.Normalized();
}

GraphicHit CLayoutPointer::HitObject(const CGraphicLayout* layout) {
    HitStillThere(layout);
    return hit_;
}

bool CLayoutPointer::HitStillThere(const CGraphicLayout* layout) {
    if (hit_.object == nullptr || (layout != nullptr && layout->ObjectsEpoch() == epoch_)) {
        return true;
    }
    Reset();
    return false;
}

}  // namespace corvane
