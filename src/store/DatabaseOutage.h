#pragma once

#include <string>

namespace corvane {

class CDaoException;
class CVorlinDatabase;

// The times the database will not take the document's writes, told to the operator once an
// outage rather than on every tick. An outage begins with the first write that fails and
// ends with the next one that succeeds. A lock that another program holds (a sqlite3 session
// with an open transaction, a backup) is logged when the outage begins; every other failure
// (a full disk, an I/O error) each time. While an outage lasts no write waits for that lock,
// so that the tick does not hold the window on every pass. User-interface thread only.
class CDatabaseOutage {
public:
    explicit CDatabaseOutage(CVorlinDatabase& db) : db_(db) {}

    // The first failure of an outage is shown in the database error box: format ends in
    // "\nDescription: %s".
    void WriteFailed(const CDaoException& e, const std::string& format);
    void WriteSucceeded();
    bool IsActive() const { return failedWrites_ > 0; }

private:
    CVorlinDatabase& db_;
    int failedWrites_ = 0;
};

}  // namespace corvane
