#pragma once

#include <cstdint>
#include <string>

#include "graphics/GraphicObjList.h"

namespace corvane {

class CIcomObj;
class CTrunkSetObj;
struct TrunkSetCounts;

// One graphical layout: four owning lists of objects, the selection and two flags.
// Every object lives in exactly one owning list; every trunk set is in the trunk-set lists of
// both its ends; every caption's owner points back to it; the selection holds exactly the
// objects whose selected flag is set, captions at its head, intercoms at its tail.
class CGraphicLayout {
public:
    CGraphicLayout();
    CGraphicLayout(const CGraphicLayout&) = delete;
    CGraphicLayout& operator=(const CGraphicLayout&) = delete;

    // Set at construction; cleared once read from or written to its file.
    bool NeedsLoading() const { return needsLoading_; }
    void SetNeedsLoading(bool needs) { needsLoading_ = needs; }
    // Set by every edit, cleared after a save.
    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // Changes whenever objects of the layout are deleted, and no two layout objects share
    // one: whoever keeps an object between events knows by it when the object may be gone.
    uint64_t ObjectsEpoch() const { return epoch_; }

    CGraphicObjList& Intercoms() { return intercoms_; }
    CGraphicObjList& TrunkSets() { return trunkSets_; }
    CGraphicObjList& IntercomCaptions() { return intercomCaptions_; }
    CGraphicObjList& TrunkSetCaptions() { return trunkSetCaptions_; }
    CGraphicObjList& Selection() { return selection_; }
    const CGraphicObjList& Intercoms() const { return intercoms_; }
    const CGraphicObjList& TrunkSets() const { return trunkSets_; }
    const CGraphicObjList& IntercomCaptions() const { return intercomCaptions_; }
    const CGraphicObjList& TrunkSetCaptions() const { return trunkSetCaptions_; }
    const CGraphicObjList& Selection() const { return selection_; }

    CIcomObj* FindIntercom(int32_t number) const;
    CTrunkSetObj* FindTrunkSet(int32_t key) const;

    // A new intercom box with its caption centred on the point, at the heads of their lists.
    CIcomObj& AddIntercom(int32_t number, GraphicPoint centre, const std::string& text);
    // A new trunk set between two boxes of this layout with its caption, at the heads of
    // their lists.
    CTrunkSetObj& AddTrunkSet(CIcomObj& first, CIcomObj& second, const TrunkSetCounts& counts);

    // Selects the object and enters it in the selection (a caption at the head, anything
    // else at the tail); false when it was selected already.
    bool SelectObject(CGraphicObj& obj);
    // Deselects the object and takes it out of the selection; false when it was not selected.
    bool DeselectObject(CGraphicObj& obj);
    void ClearSelection();

    // Empties the selection and deletes every object.
    void DeleteAllObjects();
    // Deletes every intercom whose own flag hides it, with its caption and its trunk sets
    // and their captions; returns how many intercoms went.
    size_t RemoveHiddenIntercoms();

    // Trunk-set captions, intercom captions, intercoms, trunk sets: the first hit wins.
    GraphicHit HitTestAll(GraphicPoint point, const GraphicOptions& options) const;
    // The largest right and bottom of all objects, plus 10.
    GraphicSize GetExtent() const;

private:
    void DeleteTrunkSet(CTrunkSetObj* trunkSet);
    void NewEpoch();

    bool needsLoading_ = true;
    bool modified_ = false;
    uint64_t epoch_ = 0;
    // Destroyed in reverse order: the selection first.
    CGraphicObjList intercoms_{true};
    CGraphicObjList trunkSets_{true};
    CGraphicObjList intercomCaptions_{true};
    CGraphicObjList trunkSetCaptions_{true};
    CGraphicObjList selection_{false};
};

}  // namespace corvane
