#include "graphics/LayoutEditing.h"

#include "graphics/IcomObj.h"
#include "graphics/IntercomPairKey.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {
namespace {

constexpr int kRemoteBaudRate = 9600;

}  // namespace

LayoutEditResult ShowIntercom(CGraphicLayout& layout, LayoutModelSource& model, int number,
                              bool show, GraphicPoint centre) {
    LayoutEditResult result;
    result.refresh = true;
    if (CIcomObj* intercom = layout.FindIntercom(number)) {
        intercom->Show(show);
        result.modified = true;
        return result;
    }
    if (!show) {
        return result;
    }
    std::string name = "?";
    LayoutModelSource::IntercomRow row;
    std::string error;
    switch (model.FindIntercom(number, row, error)) {
        case LayoutModelSource::Lookup::Found:
            name = IntercomCaptionText(number, row.name);
            break;
        case LayoutModelSource::Lookup::Failed:
            result.errors.push_back({kIntercomNameErrorFormat, error});
            row = {};
            break;
        case LayoutModelSource::Lookup::NotFound:
            row = {};
            break;
    }
    CIcomObj& intercom = layout.AddIntercom(number, centre, name);
    intercom.SetOnline(IsOnlineComState(row.comState));
    intercom.SetBaud9600Mark(row.baudRate == kRemoteBaudRate);
    result.modified = true;
    return result;
}

LayoutEditResult ShowTrunkSet(CGraphicLayout& layout, LayoutModelSource& model, int a, int b,
                              bool show) {
    LayoutEditResult result;
    if (CTrunkSetObj* trunkSet = layout.FindTrunkSet(MakePairKey(a, b))) {
        trunkSet->Show(show);
        result.modified = true;
        result.refresh = true;
        return result;
    }
    if (!show) {
        result.refresh = true;
        return result;
    }
    TrunkSetCounts counts;
    std::string error;
    const LayoutModelSource::Lookup found = model.FindTrunkSummary(a, b, counts, error);
    if (found == LayoutModelSource::Lookup::Failed) {
        result.errors.push_back({kTrunkUsageErrorFormat, error});
    }
    if (found != LayoutModelSource::Lookup::Found) {
        counts = {};
    }
    CIcomObj* first = layout.FindIntercom(a);
    CIcomObj* second = layout.FindIntercom(b);
    if (first == nullptr || second == nullptr) {
        return result;
    }
    layout.AddTrunkSet(*first, *second, counts);
    result.modified = true;
    result.refresh = true;
    return result;
}

LayoutEditResult ShowTrunkSetsToVisible(CGraphicLayout& layout, LayoutModelSource& model,
                                        int number, const GraphicOptions& options) {
    std::vector<int> others;
    for (const CGraphicObj* obj : layout.Intercoms()) {
        const int other = obj->GetId();
        if (other != number && obj->IsVisible(options) &&
            !layout.TrunkSets().IsShown(MakePairKey(number, other), options)) {
            others.push_back(other);
        }
    }
    LayoutEditResult result;
    for (const int other : others) {
        TrunkSetCounts counts;
        std::string error;
        const LayoutModelSource::Lookup found =
            model.FindTrunkSummary(number, other, counts, error);
        if (found == LayoutModelSource::Lookup::Failed) {
            result.errors.push_back({kTrunkUsageErrorFormat, error});
            continue;
        }
        if (found == LayoutModelSource::Lookup::Found && counts.total != 0) {
            LayoutEditResult shown = ShowTrunkSet(layout, model, number, other, true);
            result.modified = result.modified || shown.modified;
            result.refresh = result.refresh || shown.refresh;
            result.errors.insert(result.errors.end(), shown.errors.begin(), shown.errors.end());
        }
    }
    return result;
}

IntercomsToShow FindIntercomsToShow(
    const CGraphicLayout& layout, const std::vector<LayoutModelSource::IntercomEntry>& intercoms) {
    IntercomsToShow found;
    for (const LayoutModelSource::IntercomEntry& entry : intercoms) {
        if (entry.number > kMaxLayoutIntercom) {
            continue;
        }
        if (const CIcomObj* box = layout.FindIntercom(entry.number)) {
            if (box->VisibleFlag()) {
                continue;
            }
            ++found.hidden;
        }
        // Nameless intercoms are not offered here.
        if (entry.name.find_last_not_of(' ') != std::string::npos) {
            found.items.push_back({entry.number, IntercomCaptionText(entry.number, entry.name)});
        }
    }
    return found;
}

std::vector<MenuIntercom> FindTrunkSetPartners(
    const CGraphicLayout& layout, int number,
    const std::vector<LayoutModelSource::IntercomEntry>& intercoms, const GraphicOptions& options) {
    std::vector<MenuIntercom> partners;
    for (const LayoutModelSource::IntercomEntry& entry : intercoms) {
        if (entry.number == number || entry.number > kMaxLayoutIntercom ||
            !layout.Intercoms().IsShown(entry.number, options) ||
            layout.TrunkSets().IsShown(MakePairKey(number, entry.number), options)) {
            continue;
        }
        partners.push_back({entry.number, IntercomCaptionText(entry.number, entry.name)});
    }
    return partners;
}

}  // namespace corvane
