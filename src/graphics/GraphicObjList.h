#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

#include "graphics/GraphicObj.h"

namespace corvane {

// What a hit test found: the code, the object and its key (the object's GetId).
struct GraphicHit {
    HitCode code = HitCode::Nothing;
    int32_t key = 0;
    CGraphicObj* object = nullptr;
};

// A list of graphic objects with list-wide operations. An owning list deletes its objects
// when it is emptied by DeleteAll or destroyed; a list that does not own them only forgets.
class CGraphicObjList {
public:
    using Items = std::list<CGraphicObj*>;

    explicit CGraphicObjList(bool owns) : owns_(owns) {}
    ~CGraphicObjList();
    CGraphicObjList(const CGraphicObjList&) = delete;
    CGraphicObjList& operator=(const CGraphicObjList&) = delete;

    bool Owns() const { return owns_; }
    size_t GetCount() const { return items_.size(); }
    bool IsEmpty() const { return items_.empty(); }
    Items::const_iterator begin() const { return items_.begin(); }
    Items::const_iterator end() const { return items_.end(); }

    // An owning list takes the object over.
    void AddHead(CGraphicObj* obj) { items_.push_front(obj); }
    void AddTail(CGraphicObj* obj) { items_.push_back(obj); }

    // Clears the selected flag of every object.
    void DeselectAll();
    void DeleteAll();
    // Head first.
    void DrawAll(GraphicPainter& painter, const GraphicDrawContext& context) const;
    // The first object whose GetId is the key; null when there is none.
    CGraphicObj* FindById(int32_t key) const;
    // Raises the size to the largest right and bottom of the objects.
    void GetExtent(GraphicSize& size) const;
    // The first object from the head that is hit.
    GraphicHit HitTest(GraphicPoint point, const GraphicOptions& options) const;
    // Whether an object with the key exists and is visible.
    bool IsShown(int32_t key, const GraphicOptions& options) const;
    // Removes the first entry that is the object; false when there was none.
    bool Remove(const CGraphicObj* obj);
    void ShowAll(bool visible);
    // Selects the visible objects whose rectangle meets the rectangle and deselects the
    // others, keeping the selection list in step (captions at its head, others at its tail).
    // Returns whether any object changed.
    bool SelectInRect(const GraphicRect& rect, const GraphicOptions& options,
                      CGraphicObjList& selection) const;

private:
    bool owns_;
    Items items_;
};

}  // namespace corvane
