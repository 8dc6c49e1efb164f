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
    if (++failedWrites_ == 1) {
        log.Printf(0,
                   "The database refuses writes: %s. What it did not take is kept and tried "
                   "again on the next ticks",
                   e.Description().c_str());
        db_.Database().SetBusyTimeout(std::chrono::milliseconds::zero());
        report_.emplace(e, format);
    } else if (!IsLockedByAnother(e)) {
        log.Printf(1, "The database still refuses writes: %s", e.Description().c_str());
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
