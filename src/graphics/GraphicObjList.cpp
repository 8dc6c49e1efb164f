#include "graphics/GraphicObjList.h"

#include <algorithm>

namespace corvane {

CGraphicObjList::~CGraphicObjList() {
    DeleteAll();
}

void CGraphicObjList::DeselectAll() {
    for (CGraphicObj* obj : items_) {
        obj->Select(false);
    }
}

void CGraphicObjList::DeleteAll() {
    if (owns_) {
        for (CGraphicObj* obj : items_) {
            delete obj;
        }
    }
    items_.clear();
}

void CGraphicObjList::DrawAll(GraphicPainter& painter, const GraphicDrawContext& context) const {
    for (CGraphicObj* obj : items_) {
        obj->Draw(painter, context);
    }
}

CGraphicObj* CGraphicObjList::FindById(int32_t key) const {
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [key](const CGraphicObj* obj) { return obj->GetId() == key; });
    return it == items_.end() ? nullptr : *it;
}

void CGraphicObjList::GetExtent(GraphicSize& size) const {
    for (const CGraphicObj* obj : items_) {
        size.cx = std::max(size.cx, obj->GetRect().right);
        size.cy = std::max(size.cy, obj->GetRect().bottom);
    }
}

GraphicHit CGraphicObjList::HitTest(GraphicPoint point, const GraphicOptions& options) const {
    for (CGraphicObj* obj : items_) {
        const HitCode code = obj->HitTest(point, options);
        if (code != HitCode::Nothing) {
            return {code, obj->GetId(), obj};
        }
    }
    return {};
}

bool CGraphicObjList::IsShown(int32_t key, const GraphicOptions& options) const {
    const CGraphicObj* obj = FindById(key);
    return obj != nullptr && obj->IsVisible(options);
}

bool CGraphicObjList::Remove(const CGraphicObj* obj) {
    const auto it = std::find(items_.begin(), items_.end(), obj);
    if (it == items_.end()) {
        return false;
    }
    items_.erase(it);
    return true;
}

void CGraphicObjList::ShowAll(bool visible) {
    for (CGraphicObj* obj : items_) {
        obj->Show(visible);
    }
}

bool CGraphicObjList::SelectInRect(const GraphicRect& rect, const GraphicOptions& options,
                                   CGraphicObjList& selection) const {
    bool changed = false;
    for (CGraphicObj* obj : items_) {
        if (!obj->IsVisible(options)) {
            continue;
        }
        const bool meets = rect.Intersects(obj->GetRect());
        if (meets && !obj->IsSelected()) {
            obj->Select(true);
            if (obj->IsCaption()) {
                selection.AddHead(obj);
            } else {
                selection.AddTail(obj);
            }
            changed = true;
        } else if (!meets && obj->IsSelected()) {
            obj->Select(false);
            selection.Remove(obj);
            changed = true;
        }
    }
    return changed;
}

}  // namespace corvane
