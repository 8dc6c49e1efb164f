#pragma once

#include <cstdint>
#include <optional>

#include "graphics/GraphicLayout.h"
#include "graphics/LayoutSelection.h"

namespace corvane {

// The mouse over a graphical view: the object the last click hit and whether it was selected
// then, whether the left button is held since a press that may edit, and whether the mouse has
// since moved far enough to drag the selection (from an object) or a rubber band (from the
// background). The layout is handed in with every event, so that one gone in between (or
// whose objects were deleted, by whichever view) only ends what this pointer was doing.
class CLayoutPointer {
public:
    // A move shorter than this in both directions after a press is no drag.
    static constexpr int32_t kDragDistance = 5;

    struct Effect {
        bool changed = false;  // the picture changed: repaint this view and tell the others
        bool moved = false;    // objects moved: the layout is modified and may have grown
        bool band = false;     // only the rubber band moved or went: repaint this view
    };

    // A click at the point: selects as SelectHit does and remembers what was hit. Also the
    // right button's click, before its menu.
    Effect SelectAt(CGraphicLayout* layout, GraphicPoint point, KeyFlags keys,
                    const GraphicOptions& options);
    // The left button. Without editing only a plain selection happens: no keys, no drag.
    Effect Press(CGraphicLayout* layout, GraphicPoint point, KeyFlags keys, bool editing,
                 const GraphicOptions& options);
    Effect Move(CGraphicLayout* layout, GraphicPoint point, const GraphicOptions& options);
    Effect Release(CGraphicLayout* layout, GraphicPoint point, KeyFlags keys,
                   const GraphicOptions& options);

    // Forgets the hit object and every state of the mouse.
    void Reset();

    bool IsPressed() const { return pressed_; }
    bool IsDragging() const { return dragging_; }
    // Where the mouse was last seen: a newly shown intercom is centred there.
    GraphicPoint LastPoint() const { return last_; }
    // The rubber band from where the drag started to the mouse, while one is drawn.
    std::optional<GraphicRect> Band() const;
    // What the last click hit, none once the layout's objects were deleted since.
    GraphicHit HitObject(const CGraphicLayout* layout);

private:
    // False, and the gesture over, when the objects of the hit have gone.
    bool HitStillThere(const CGraphicLayout* layout);

    GraphicHit hit_;
    bool hitWasSelected_ = false;
    uint64_t epoch_ = 0;
    GraphicPoint last_;
    GraphicPoint dragStart_;
    bool pressed_ = false;
    bool dragging_ = false;
};

}  // namespace corvane
