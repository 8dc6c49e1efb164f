#include "presentation/TrunkListTotals.h"

#include "platform/Format.h"

namespace corvane {
namespace {

constexpr int kResultFail = 1, kResultError = 2, kResultPending = 3, kResultSkipped = 5;

}  // namespace

CTrunkListTotals::CTrunkListTotals(CDaoDatabase* db) : db_(db) {}

CTrunkListTotals::~CTrunkListTotals() = default;

void CTrunkListTotals::SetFilter(const std::string& filter) {
    filter_ = filter;
    bars_ = {};
}

void CTrunkListTotals::Invalidate() {
    for (BarState& bar : bars_) {
        bar.current = false;
    }
}

void CTrunkListTotals::Read(Bar which) {
    BarState& bar = bars_[which];
    if (bar.current || db_ == nullptr) {
        return;
    }
    // A failure is reported once: the bar is tried again after the next change.
    bar.current = true;
    // New recordsets have read every trunk, and a built one the trunks of its filter: their
    // counts are taken as they are; only older reads are read again.
    const bool fresh = MakeRecordsets(which);
    const bool build = !bar.built && !(fresh && filter_.empty());
    const bool readAgain = bar.built;
    bar.built = true;
    if (build) {
        BuildQueries(which);
    }
    Count(which, readAgain);
}

bool CTrunkListTotals::MakeRecordsets(Bar which) {
    if (which == kResultBar) {
        if (results_ != nullptr) {
            return false;
        }
        results_ = std::make_unique<CTrunkResultsRS>(*db_);
        return true;
    }
    const bool none = status_ == nullptr && service_ == nullptr;
    if (status_ == nullptr) {
        status_ = std::make_unique<CTrunkStatusRS>(*db_);
    }
    if (service_ == nullptr) {
        service_ = std::make_unique<CTrunkServiceRS>(*db_);
    }
    return none;
}

void CTrunkListTotals::BuildQueries(Bar which) {
    if (which == kResultBar) {
        results_->BuildQuery(filter_);
    } else {
        status_->BuildQuery(filter_);
        service_->BuildQuery(filter_);
    }
}

void CTrunkListTotals::Count(Bar which, bool readAgain) {
    if (which == kResultBar) {
        readAgain ? results_->ReadTotals() : results_->CountTotals();
    } else if (readAgain) {
        status_->ReadTotals();
        service_->ReadCount();
    } else {
        status_->CountTotals();
        service_->TakeCount();
    }
}

std::string CTrunkListTotals::InfoText(int number, bool outOfServiceReported) const {
    const auto count = [](const char* format, long n) {
        return StrFormat(format, static_cast<int>(n));
    };
    if (number >= 1 && number <= 4 && status_ == nullptr) {
        return {};
    }
    if (number >= 6 && number <= 9 && results_ == nullptr) {
        return {};
    }
    switch (number) {
        case 1:
            return count("%d Trunks", status_->GetGrandTotal());
        case 2:
            return count("%d Allocated", status_->GetAllocated());
        case 3:
            return count("%d In Use", status_->GetInUse());
        case 4:
            return count("%d Maintenance", status_->GetMaintenance());
        case 5:
            return service_ != nullptr && outOfServiceReported
                       ? count("%d Out-of-service", service_->GetCount())
                       : std::string();
        case 6:
            return count("%d Pending", results_->GetTotal(kResultPending));
        case 7:
            return count("%d Skipped", results_->GetTotal(kResultSkipped));
        case 8:
            return count("%d Failed", results_->GetTotal(kResultFail));
        case 9:
            return count("%d Error", results_->GetTotal(kResultError));
        default:
            return {};
    }
}

}  // namespace corvane
