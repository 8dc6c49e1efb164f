#pragma once

#include <cstdint>
#include <memory>

#include "presentation/FilterData.h"
#include "presentation/ViewKind.h"

namespace corvane {

// The filter of the list a graphical view opens for one intercom: its trunks (Trunks), the
// requests involving it (Requests) or its trunk summary (TrunkSummary); none for another kind.
std::unique_ptr<CVorlinFilterData> IntercomViewFilter(ViewKind kind, int number);

// The same for the two intercoms of a trunk set's pair key, smaller number first: the trunks
// between them (Trunks) or the requests involving both (Requests); none for another kind.
std::unique_ptr<CVorlinFilterData> PairViewFilter(ViewKind kind, int32_t pairKey);

}  // namespace corvane
