#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "presentation/FilterData.h"
#include "presentation/ViewKind.h"
#include "store/ListRequestFinder.h"

namespace corvane {

// The commands of the list views' context menus.
namespace listmenu {
inline constexpr int kViewAlphas = 32786;
inline constexpr int kViewRequests = 32787;
inline constexpr int kViewTrunks = 32788;
inline constexpr int kViewAssignmentRequests = 32789;
inline constexpr int kViewSummary = 32790;
inline constexpr int kViewRequestsEnd1 = 32791;
inline constexpr int kViewRequestsEnd2 = 32792;
inline constexpr int kAcknowledge = 32793;
inline constexpr int kCancelNotification = 32794;
}  // namespace listmenu

// Where a command opens the frame: a kind with a new filter of that kind.
struct ViewSwitch {
    ViewKind kind;
    std::unique_ptr<CVorlinFilterData> filter;
};

// The view of a row's intercom that a command opens: its trunk summary (32790), alphas
// (32786), requests (32787) or trunks (32788), filtered on the intercom; none for any other
// command.
std::optional<ViewSwitch> IntercomViewSwitch(int commandId, int intercom);

// The requests involving an alpha row's assignment: its intercom, its function type (by its
// code) and the assignment of type and number.
std::unique_ptr<CRequestFilterData> AssignmentRequestsFilter(int intercom,
                                                             const std::string& functionCode,
                                                             int number);

// The requests on a conflict row's trunk; none unless both trunk numbers of the row were
// read.
std::unique_ptr<CRequestFilterData> ConflictRequestsFilter(int trunk, int conflictingTrunk);

// The request list's menu: one item for each end of the selected request that has a
// caption, 32791 for end 1 and 32792 for end 2.
struct RequestMenuItem {
    int id;
    int end;  // 0 or 1
    std::string caption;
};
std::vector<RequestMenuItem> RequestMenuItems(const FoundRequest& found);

// The requests involving one end's port: the form's filter (its state mask kept) on the
// end's intercom, function type and assignment, with any second intercom and trunk; marked
// changed, so that the form shows it at once.
CRequestFilterData RequestEndFilter(const CRequestFilterData& form, const RequestEndPort& end);

// The form's trunk summary filter on another intercom, marked changed.
CSummaryFilterData IntercomSummaryFilter(const CSummaryFilterData& form, int intercom);

}  // namespace corvane
