#include "graphics/LayoutViewFilters.h"

#include "graphics/IntercomPairKey.h"

namespace corvane {

std::unique_ptr<CVorlinFilterData> IntercomViewFilter(ViewKind kind, int number) {
    switch (kind) {
        case ViewKind::Trunks: {
            auto filter = std::make_unique<CTrunkFilterData>();
            filter->SetIntercom(number);
            return filter;
        }
        case ViewKind::Requests: {
            auto filter = std::make_unique<CRequestFilterData>();
            filter->SetIntercom1(number);
            return filter;
        }
        case ViewKind::TrunkSummary: {
            auto filter = std::make_unique<CSummaryFilterData>();
            filter->SetIntercom(number);
            return filter;
        }
        default:
            return nullptr;
    }
}

std::unique_ptr<CVorlinFilterData> PairViewFilter(ViewKind kind, int32_t pairKey) {
    const auto [smaller, larger] = SplitPairKey(pairKey);
    switch (kind) {
        case ViewKind::Trunks: {
            auto filter = std::make_unique<CTrunkFilterData>();
            filter->SetIntercom(smaller);
            filter->SetOtherIntercom(larger);
            return filter;
        }
        case ViewKind::Requests: {
            auto filter = std::make_unique<CRequestFilterData>();
            filter->SetIntercom1(smaller);
            filter->SetIntercom2(larger);
            return filter;
        }
        default:
            return nullptr;
    }
}

}  // namespace corvane
