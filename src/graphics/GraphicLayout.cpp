#include "graphics/GraphicLayout.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "graphics/CaptionObj.h"
#include "graphics/IcomObj.h"
#include "graphics/IntercomPairKey.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {

CGraphicLayout::CGraphicLayout() {
    NewEpoch();
}

void CGraphicLayout::NewEpoch() {
    static std::atomic<uint64_t> last{0};
    epoch_ = ++last;
}

CIcomObj* CGraphicLayout::FindIntercom(int32_t number) const {
    return GraphicCast<CIcomObj>(intercoms_.FindById(number));
}

CTrunkSetObj* CGraphicLayout::FindTrunkSet(int32_t key) const {
    return GraphicCast<CTrunkSetObj>(trunkSets_.FindById(key));
}

CIcomObj& CGraphicLayout::AddIntercom(int32_t number, GraphicPoint centre,
                                      const std::string& text) {
    auto intercom = std::make_unique<CIcomObj>();
    auto caption = std::make_unique<CIcomCaption>();
    intercom->Init(number, centre.x, centre.y, caption.get(), text);
    intercomCaptions_.AddHead(caption.release());
    CIcomObj& added = *intercom;
    intercoms_.AddHead(intercom.release());
    return added;
}

CTrunkSetObj& CGraphicLayout::AddTrunkSet(CIcomObj& first, CIcomObj& second,
                                          const TrunkSetCounts& counts) {
    auto trunkSet = std::make_unique<CTrunkSetObj>();
    auto caption = std::make_unique<CTrunkSetCaption>();
    trunkSet->Attach(MakePairKey(first.GetId(), second.GetId()), &first, &second, caption.get());
    trunkSet->SetTrunkCounts(counts);
    trunkSetCaptions_.AddHead(caption.release());
    CTrunkSetObj& added = *trunkSet;
    trunkSets_.AddHead(trunkSet.release());
    return added;
}

bool CGraphicLayout::SelectObject(CGraphicObj& obj) {
    if (obj.IsSelected()) {
        return false;
    }
    obj.Select(true);
    if (obj.IsCaption()) {
        selection_.AddHead(&obj);
    } else {
        selection_.AddTail(&obj);
    }
    return true;
}

bool CGraphicLayout::DeselectObject(CGraphicObj& obj) {
    if (!obj.IsSelected()) {
        return false;
    }
    obj.Select(false);
    selection_.Remove(&obj);
    return true;
}

void CGraphicLayout::ClearSelection() {
    selection_.DeselectAll();
    selection_.DeleteAll();
}

void CGraphicLayout::DeleteAllObjects() {
    NewEpoch();
    ClearSelection();
    intercoms_.DeleteAll();
    trunkSets_.DeleteAll();
    intercomCaptions_.DeleteAll();
    trunkSetCaptions_.DeleteAll();
}

void CGraphicLayout::DeleteTrunkSet(CTrunkSetObj* trunkSet) {
    for (CIcomObj* end : {trunkSet->FirstEnd(), trunkSet->SecondEnd()}) {
        if (end != nullptr) {
            while (end->TrunkSets().Remove(trunkSet)) {
            }
        }
    }
    if (CTrunkSetCaption* caption = trunkSet->Caption()) {
        trunkSetCaptions_.Remove(caption);
        selection_.Remove(caption);
        delete caption;
    }
    trunkSets_.Remove(trunkSet);
    selection_.Remove(trunkSet);
    delete trunkSet;
}

size_t CGraphicLayout::RemoveHiddenIntercoms() {
    std::vector<CIcomObj*> hidden;
    for (CGraphicObj* obj : intercoms_) {
        if (!obj->VisibleFlag()) {
            hidden.push_back(static_cast<CIcomObj*>(obj));
        }
    }
    if (!hidden.empty()) {
        NewEpoch();
    }
    for (CIcomObj* intercom : hidden) {
        // A set whose two ends are this box is listed twice.
        std::vector<CTrunkSetObj*> trunkSets;
        for (CGraphicObj* obj : intercom->TrunkSets()) {
            auto* trunkSet = static_cast<CTrunkSetObj*>(obj);
            if (std::find(trunkSets.begin(), trunkSets.end(), trunkSet) == trunkSets.end()) {
                trunkSets.push_back(trunkSet);
            }
        }
        for (CTrunkSetObj* trunkSet : trunkSets) {
            DeleteTrunkSet(trunkSet);
        }
        if (CIcomCaption* caption = intercom->Caption()) {
            intercomCaptions_.Remove(caption);
            selection_.Remove(caption);
            delete caption;
        }
        intercoms_.Remove(intercom);
        selection_.Remove(intercom);
        delete intercom;
    }
    return hidden.size();
}

GraphicHit CGraphicLayout::HitTestAll(GraphicPoint point, const GraphicOptions& options) const {
    for (const CGraphicObjList* list :
         {&trunkSetCaptions_, &intercomCaptions_, &intercoms_, &trunkSets_}) {
        const GraphicHit hit = list->HitTest(point, options);
        if (hit.code != HitCode::Nothing) {
            return hit;
        }
    }
    return {};
}

GraphicSize CGraphicLayout::GetExtent() const {
    GraphicSize size;
    for (const CGraphicObjList* list :
         {&intercoms_, &trunkSets_, &intercomCaptions_, &trunkSetCaptions_}) {
        list->GetExtent(size);
    }
    return {size.cx + 10, size.cy + 10};
}

}  // namespace corvane
