#pragma once

#include <string>
#include <vector>

#include "graphics/GraphicLayout.h"
#include "graphics/LayoutModelSource.h"

namespace corvane {

// What showing or hiding did to a layout.
struct LayoutEditResult {
    bool modified = false;  // the layout changed
    bool refresh = false;   // the picture is to be drawn again
    std::vector<LayoutModelError> errors;
};

// Intercom numbers of the model; the menus offer no other.
inline constexpr int kMaxLayoutIntercom = 256;

// Shows or hides the intercom's box; a box not yet in the layout is made for showing, centred
// on the point, with the intercom's name, state and remote mark from the model.
LayoutEditResult ShowIntercom(CGraphicLayout& layout, LayoutModelSource& model, int number,
                              bool show, GraphicPoint centre);
// Shows or hides the trunk set between two intercoms; one not yet in the layout is made for
// showing, with the trunk summary's counts from a to b, when both boxes are in the layout.
LayoutEditResult ShowTrunkSet(CGraphicLayout& layout, LayoutModelSource& model, int a, int b,
                              bool show);
// The trunk sets from the intercom to every other visible box whose set is missing or
// hidden, where the two have trunks.
LayoutEditResult ShowTrunkSetsToVisible(CGraphicLayout& layout, LayoutModelSource& model,
                                        int number, const GraphicOptions& options);

// An intercom a menu offers: its number and its text.
struct MenuIntercom {
    int number = 0;
    std::string text;
    friend bool operator==(const MenuIntercom&, const MenuIntercom&) = default;
};

// The background menu's intercoms, in the model's name order: those with a name that are not
// in the layout or are hidden there; and how many of them are hidden there.
struct IntercomsToShow {
    std::vector<MenuIntercom> items;
    int hidden = 0;
};
IntercomsToShow FindIntercomsToShow(const CGraphicLayout& layout,
                                    const std::vector<LayoutModelSource::IntercomEntry>& intercoms);

// The other intercoms the intercom menu offers a trunk set to, in the model's name order: the
// visible boxes whose set with this one is missing or hidden; a nameless one shows its number.
std::vector<MenuIntercom> FindTrunkSetPartners(
    const CGraphicLayout& layout, int number,
    const std::vector<LayoutModelSource::IntercomEntry>& intercoms, const GraphicOptions& options);

}  // namespace corvane
