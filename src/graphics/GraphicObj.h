#pragma once

#include <cstdint>

#include "graphics/GraphicGeometry.h"
#include "graphics/GraphicPainter.h"

namespace corvane {

// The four classes a layout file names.
enum class GraphicClass { IcomObj, TrunkSetObj, IcomCaption, TrunkSetCaption };

// What a point hits; the values are those the help and tool-tip codes are built from.
enum class HitCode : int {
    Intercom = 0,
    TrunkSet = 1,
    IntercomCaption = 2,
    TrunkSetCaption = 3,
    Nothing = 4,
};

// One visible thing of a graphical layout: a visible and a selected flag and a rectangle.
class CGraphicObj {
public:
    virtual ~CGraphicObj() = default;
    CGraphicObj(const CGraphicObj&) = delete;
    CGraphicObj& operator=(const CGraphicObj&) = delete;

    virtual GraphicClass Class() const = 0;

    bool IsSelected() const { return selected_; }
    // The own flag, and for captions and trunk sets also what they hang on.
    virtual bool IsVisible(const GraphicOptions& options) const { return visible_; }
    // The object's own visible flag alone.
    bool VisibleFlag() const { return visible_; }
    const GraphicRect& GetRect() const { return rect_; }
    // Returns at once when the object is not visible. A caption may fit its rectangle.
    virtual void Draw(GraphicPainter& painter, const GraphicDrawContext& context) = 0;
    // Intercom: its number; trunk set: its pair key; caption: its owner's, 0 without owner.
    virtual int32_t GetId() const = 0;
    GraphicPoint GetTopLeft() const { return {rect_.left, rect_.top}; }
    virtual GraphicSize GetSize() const { return {rect_.Width(), rect_.Height()}; }
    virtual HitCode HitTest(GraphicPoint point, const GraphicOptions& options) const = 0;
    void Select(bool selected) { selected_ = selected; }
    // Moves the top-left corner, keeping the size.
    virtual void MoveTo(int32_t x, int32_t y);
    void Show(bool visible) { visible_ = visible; }

    bool IsCaption() const {
        return Class() == GraphicClass::IcomCaption || Class() == GraphicClass::TrunkSetCaption;
    }

protected:
    CGraphicObj() = default;

    bool visible_ = true;
    bool selected_ = false;
    GraphicRect rect_;

private:
    friend class CLayoutArchiveReader;
};

// The object as its class, or null when it is of another class.
template <typename T>
T* GraphicCast(CGraphicObj* obj) {
    return obj != nullptr && obj->Class() == T::kClass ? static_cast<T*>(obj) : nullptr;
}
template <typename T>
const T* GraphicCast(const CGraphicObj* obj) {
    return obj != nullptr && obj->Class() == T::kClass ? static_cast<const T*>(obj) : nullptr;
}

}  // namespace corvane
