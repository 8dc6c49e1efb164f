#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/Clock.h"
#include "store/DaoException.h"

namespace corvane {

class CVorlinDatabase;

// The times the database will not take the model's writes, told to the operator once an
// outage rather than on every tick. An outage begins with the first write that fails and
// ends with the next one that succeeds. Its beginning and its end are logged; a lock that
// another program holds (a sqlite3 session with an open transaction, a backup) is not logged
// again, and every other failure (a full disk, an I/O error) at most once a minute, with the
// count of failed writes since the last line. While an outage lasts no write waits for that
// lock, so that the tick does not hold the window on every pass. User-interface thread only.
class CDatabaseOutage {
public:
    static constexpr std::chrono::minutes kRepeatLinePeriod{1};

    CDatabaseOutage(CVorlinDatabase& db, const IClock& clock) : db_(db), clock_(clock) {}

    // The first failure of an outage is kept for the database error box: format ends in
    // "\nDescription: %s".
    void WriteFailed(const CDaoException& e, const std::string& format);
    void WriteSucceeded();
    bool IsActive() const { return failedWrites_ > 0; }
    // Shows the box of a new outage, if there is one. The writer calls it with no lock of the
    // model held, so that the poll thread's setters go on while the box is open.
    void ShowReport();

private:
    CVorlinDatabase& db_;
    const IClock& clock_;
    int failedWrites_ = 0;
    int failedSinceLine_ = 0;
    SteadyTime lastLine_{};
    std::optional<std::pair<CDaoException, std::string>> report_;
};

}  // namespace corvane
