#pragma once

#include "graphics/GraphicLayout.h"

namespace corvane {

// The keys held with a click.
struct KeyFlags {
    bool ctrl = false;
    bool shift = false;
};

// Selects what a click hit. Without Ctrl, a click on anything not yet selected (or on
// nothing) first empties the selection. An intercom brings its caption along and a caption
// its intercom, unless Shift is held; a trunk set selects its caption and both ends with
// their captions, and a trunk-set caption both ends with their captions unless Shift is held.
// A trunk set itself is never selected. Whether anything changed.
bool SelectHit(CGraphicLayout& layout, const GraphicHit& hit, KeyFlags keys);

// Ctrl and a click on a selected object: deselects it with what SelectHit brings along.
bool DeselectHit(CGraphicLayout& layout, const GraphicHit& hit, KeyFlags keys);

// Every intercom and every caption.
bool SelectAllObjects(CGraphicLayout& layout);

// The visible intercoms and captions that meet the band are selected, the others deselected.
bool SelectInBand(CGraphicLayout& layout, const GraphicRect& band, const GraphicOptions& options);

}  // namespace corvane
