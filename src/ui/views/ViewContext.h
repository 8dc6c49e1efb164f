#pragma once

#include <functional>

namespace corvane {

class CAppResources;
class CGraphicLayouts;
class CProfileStore;
class CVorlinDoc;
class CVorlinFilterData;
class SharedSettings;
struct ColorSettings;
enum class ViewKind : int;

// What every pane of a child frame works with: the one document, the settings, the display
// colours, the profile its layouts are kept in, the shared images and the graphical layouts;
// and the main frame's service that opens a view in a new child frame.
struct ViewContext {
    CVorlinDoc& doc;
    SharedSettings& settings;
    const ColorSettings& colors;
    CProfileStore& profile;
    const CAppResources& resources;
    CGraphicLayouts& layouts;
    // kind, first and second selector; false when no frame could be opened.
    std::function<bool(ViewKind, int, int)> openFilteredView;
};

}  // namespace corvane
