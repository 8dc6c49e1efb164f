#include "graphics/LayoutLinks.h"

#include <map>
#include <utility>

#include "graphics/CaptionObj.h"
#include "graphics/IcomObj.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {
namespace {

template <typename Owner, typename Caption>
std::string FindBrokenCaptions(const std::vector<CGraphicObj*>& owners,
                               const std::vector<CGraphicObj*>& captions) {
    for (const CGraphicObj* obj : owners) {
        const auto* owner = static_cast<const Owner*>(obj);
        if (owner->Caption() != nullptr && owner->Caption()->GetOwner() != owner) {
            return "a caption that belongs to another object";
        }
    }
    for (const CGraphicObj* obj : captions) {
        const auto* caption = static_cast<const Caption*>(obj);
        if (caption->GetOwner() != nullptr && caption->GetOwner()->Caption() != caption) {
            return "a caption whose owner has another caption";
        }
    }
    return {};
}

std::string FindBrokenTrunkSetLists(const std::vector<CGraphicObj*>& intercoms,
                                    const std::vector<CGraphicObj*>& trunkSets) {
    using Link = std::pair<const CGraphicObj*, const CGraphicObj*>;  // (intercom, trunk set)
    std::map<Link, int> listed;
    for (const CGraphicObj* obj : intercoms) {
        for (const CGraphicObj* trunkSet : static_cast<const CIcomObj*>(obj)->TrunkSets()) {
            ++listed[{obj, trunkSet}];
        }
    }
    std::map<Link, int> ends;
    for (const CGraphicObj* obj : trunkSets) {
        const auto* trunkSet = static_cast<const CTrunkSetObj*>(obj);
        for (const CIcomObj* end : {trunkSet->FirstEnd(), trunkSet->SecondEnd()}) {
            if (end != nullptr) {
                ++ends[{end, obj}];
            }
        }
    }
    return listed == ends ? std::string()
                          : "a trunk set that is not listed at exactly its two ends";
}

}  // namespace

std::string FindBrokenLinks(const std::vector<CGraphicObj*>& intercoms,
                            const std::vector<CGraphicObj*>& trunkSets,
                            const std::vector<CGraphicObj*>& intercomCaptions,
                            const std::vector<CGraphicObj*>& trunkSetCaptions) {
    std::string broken = FindBrokenCaptions<CIcomObj, CIcomCaption>(intercoms, intercomCaptions);
    if (broken.empty()) {
        broken = FindBrokenCaptions<CTrunkSetObj, CTrunkSetCaption>(trunkSets, trunkSetCaptions);
    }
    if (broken.empty()) {
        broken = FindBrokenTrunkSetLists(intercoms, trunkSets);
    }
    return broken;
}

}  // namespace corvane
