#include "graphics/LayoutSelection.h"

#include "graphics/CaptionObj.h"
#include "graphics/IcomObj.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {
namespace {

// Selects or deselects one object, if there is one; whether it changed.
bool Mark(CGraphicLayout& layout, CGraphicObj* obj, bool select) {
    if (obj == nullptr) {
        return false;
    }
    return select ? layout.SelectObject(*obj) : layout.DeselectObject(*obj);
}

bool MarkIntercom(CGraphicLayout& layout, CIcomObj* intercom, bool withCaption, bool select) {
    bool changed = Mark(layout, intercom, select);
    if (withCaption && intercom != nullptr) {
        changed = Mark(layout, intercom->Caption(), select) || changed;
    }
    return changed;
}

bool MarkEnds(CGraphicLayout& layout, const CTrunkSetObj* trunkSet, bool select) {
    if (trunkSet == nullptr) {
        return false;
    }
    bool changed = MarkIntercom(layout, trunkSet->FirstEnd(), true, select);
    return MarkIntercom(layout, trunkSet->SecondEnd(), true, select) || changed;
}

// What a click on the object marks with it: the one rule of selecting and deselecting.
bool MarkHit(CGraphicLayout& layout, const GraphicHit& hit, KeyFlags keys, bool select) {
    switch (hit.code) {
        case HitCode::Intercom:
            return MarkIntercom(layout, GraphicCast<CIcomObj>(hit.object), !keys.shift, select);
        case HitCode::TrunkSet: {
            const auto* trunkSet = GraphicCast<CTrunkSetObj>(hit.object);
            const bool changed = trunkSet != nullptr && Mark(layout, trunkSet->Caption(), select);
            return MarkEnds(layout, trunkSet, select) || changed;
        }
        case HitCode::IntercomCaption: {
            auto* caption = GraphicCast<CIcomCaption>(hit.object);
            const bool changed = Mark(layout, caption, select);
            if (keys.shift || caption == nullptr) {
                return changed;
            }
            return Mark(layout, caption->GetOwner(), select) || changed;
        }
        case HitCode::TrunkSetCaption: {
            auto* caption = GraphicCast<CTrunkSetCaption>(hit.object);
            const bool changed = Mark(layout, caption, select);
            if (keys.shift || caption == nullptr) {
                return changed;
            }
            return MarkEnds(layout, caption->GetOwner(), select) || changed;
        }
        case HitCode::Nothing:
            break;
    }
    return false;
}

}  // namespace

bool SelectHit(CGraphicLayout& layout, const GraphicHit& hit, KeyFlags keys) {
    const bool wasSelected = hit.object != nullptr && hit.object->IsSelected();
    bool changed = false;
    if (!keys.ctrl && !wasSelected && !layout.Selection().IsEmpty()) {
        layout.ClearSelection();
        changed = true;
    }
    // A selected intercom or intercom caption brings nothing more along.
    const bool single = hit.code == HitCode::Intercom || hit.code == HitCode::IntercomCaption;
    if (single && wasSelected) {
        return changed;
    }
    return MarkHit(layout, hit, keys, true) || changed;
}

bool DeselectHit(CGraphicLayout& layout, const GraphicHit& hit, KeyFlags keys) {
    return MarkHit(layout, hit, keys, false);
}

bool SelectAllObjects(CGraphicLayout& layout) {
    bool changed = false;
    for (CGraphicObjList* list :
         {&layout.Intercoms(), &layout.IntercomCaptions(), &layout.TrunkSetCaptions()}) {
        for (CGraphicObj* obj : *list) {
            changed = layout.SelectObject(*obj) || changed;
        }
    }
    return changed;
}

bool SelectInBand(CGraphicLayout& layout, const GraphicRect& band, const GraphicOptions& options) {
    const GraphicRect rect = band.Normalized();
    bool changed = false;
    for (const CGraphicObjList* list :
         {&layout.Intercoms(), &layout.IntercomCaptions(), &layout.TrunkSetCaptions()}) {
        changed = list->SelectInRect(rect, options, layout.Selection()) || changed;
    }
    return changed;
}

}  // namespace corvane
