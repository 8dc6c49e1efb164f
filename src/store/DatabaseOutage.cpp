#include "store/DatabaseOutage.h"

#include <sqlite3.h>

#include <chrono>

#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

bool IsLockedByAnother(const CDaoException& e) {
    const int primary = e.Code() & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

}  // namespace

void CDatabaseOutage::WriteFailed(const CDaoException& e, const std::string& format) {
    const CDiagLogSource& log = db_.Log();
    const SteadyTime now = clock_.Steady();
    if (++failedWrites_ == 1) {
        log.Printf(0,
                   "The database refuses writes: %s. What it did not take is kept and tried "
                   "again on the next ticks",
                   e.Description().c_str());
        db_.Database().SetBusyTimeout(std::chrono::milliseconds::zero());
        report_.emplace(e, format);
        lastLine_ = now;
        failedSinceLine_ = 0;
        return;
    }
    if (IsLockedByAnother(e)) {
        return;
    }
    // A full disk fails every pass of every tick: a line a minute tells as much.
    ++failedSinceLine_;
    if (now - lastLine_ >= kRepeatLinePeriod) {
        log.Printf(1, "The database still refuses writes: %s; %d writes failed in the last %lld s",
                   e.Description().c_str(), failedSinceLine_,
                   static_cast<long long>(
                       std::chrono::duration_cast<std::chrono::seconds>(now - lastLine_).count()));
        lastLine_ = now;
        failedSinceLine_ = 0;
    }
}

void CDatabaseOutage::ShowReport() {
    if (!report_) {
        return;
    }
    const auto report = std::move(*report_);
    report_.reset();
    ReportDaoException(report.first, report.second);
}

void CDatabaseOutage::WriteSucceeded() {
    if (failedWrites_ == 0) {
        return;
    }
    db_.Log().Printf(0, "The database takes writes again after %d failed writes", failedWrites_);
    failedWrites_ = 0;
    db_.Database().SetBusyTimeout(CDaoDatabase::kBusyTimeout);
}

}  // namespace corvane
