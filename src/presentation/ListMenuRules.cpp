#include "presentation/ListMenuRules.h"

#include "model/ModelNumbers.h"
#include "store/FunctionCodes.h"

namespace corvane {
namespace {

int Assignment(int functionType, int number) {
    if (!IsValidFunctionType(functionType) || number < 0 || number > 0xFFFF) {
        return CVorlinFilterData::kAny;
    }
    return functionType << 16 | number;
}

}  // namespace

std::optional<ViewSwitch> IntercomViewSwitch(int commandId, int intercom) {
    ViewKind kind;
    switch (commandId) {
        case listmenu::kViewSummary:
            kind = ViewKind::TrunkSummary;
            break;
        case listmenu::kViewAlphas:
            kind = ViewKind::Alphas;
            break;
        case listmenu::kViewRequests:
            kind = ViewKind::Requests;
            break;
        case listmenu::kViewTrunks:
            kind = ViewKind::Trunks;
            break;
        default:
            return std::nullopt;
    }
    // The intercom is the first selector of each of these kinds.
    ViewSwitch view{kind, NewFilterOf(kind)};
    view.filter->SetSelector(1, intercom);
    return view;
}

std::unique_ptr<CRequestFilterData> AssignmentRequestsFilter(int intercom,
                                                             const std::string& functionCode,
                                                             int number) {
    auto filter = std::make_unique<CRequestFilterData>();
    const int type = FunctionTypeOfCode(functionCode);
    filter->SetIntercom1(intercom);
    filter->SetFunctionType(IsValidFunctionType(type) ? type : CVorlinFilterData::kAny);
    filter->SetAssignment(Assignment(type, number));
    return filter;
}

std::unique_ptr<CRequestFilterData> ConflictRequestsFilter(int trunk, int conflictingTrunk) {
    if (!IsTrunkNumber(trunk) || !IsTrunkNumber(conflictingTrunk)) {
        return nullptr;
    }
    auto filter = std::make_unique<CRequestFilterData>();
    filter->SetTrunk(trunk);
    return filter;
}

std::vector<RequestMenuItem> RequestMenuItems(const FoundRequest& found) {
    std::vector<RequestMenuItem> items;
    const int ids[2] = {listmenu::kViewRequestsEnd1, listmenu::kViewRequestsEnd2};
    for (int end = 0; end < 2; ++end) {
        if (!found.captions[end].empty()) {
            items.push_back({ids[end], end, found.captions[end]});
        }
    }
    return items;
}

CRequestFilterData RequestEndFilter(const CRequestFilterData& form, const RequestEndPort& end) {
    CRequestFilterData filter;
    filter.AssignSelectors(form);
    filter.SetIntercom1(IsIntercomNumber(end.intercom) ? end.intercom : CVorlinFilterData::kAny);
    filter.SetFunctionType(IsValidFunctionType(end.functionType) ? end.functionType
                                                                 : CVorlinFilterData::kAny);
    filter.SetAssignment(Assignment(end.functionType, end.number));
    filter.SetIntercom2(CVorlinFilterData::kAny);
    filter.SetTrunk(CVorlinFilterData::kAny);
    filter.changed = 1;
    return filter;
}

CSummaryFilterData IntercomSummaryFilter(const CSummaryFilterData& form, int intercom) {
    CSummaryFilterData filter;
    filter.AssignSelectors(form);
    filter.SetIntercom(intercom);
    filter.changed = 1;
    return filter;
}

}  // namespace corvane
