#pragma once

#include <array>
#include <memory>
#include <string>

#include "store/TotalsRecordsets.h"

namespace corvane {

// The counts beside the trunk list: per state and out of service in the frame's first info
// bar, per test result in the second. Each bar's counts are read (and their queries built for
// the list's filter) only when the bar shows them, so a tick costs no count a hidden bar would
// not show; a bar shown again reads what changed meanwhile.
class CTrunkListTotals {
public:
    enum Bar { kStateBar = 0, kResultBar = 1 };

    // Without a database there are no totals and every text stays empty.
    explicit CTrunkListTotals(CDaoDatabase* db);
    ~CTrunkListTotals();

    // The list's filter text; every bar is built again for it when next read.
    void SetFilter(const std::string& filter);
    // The trunks may have changed: every bar is read again when next shown.
    void Invalidate();
    // Reads the bar's counts when they are not current. A database failure while building a
    // query reaches the caller (the counts stay as they were); the counting itself keeps
    // what it counted.
    void Read(Bar bar);

    // Info text 1 to 10: "%d Trunks", "%d Allocated", "%d In Use", "%d Maintenance",
    // "%d Out-of-service" (only when the controller reports that state), "%d Pending",
    // "%d Skipped", "%d Failed", "%d Error", and an empty tenth. A text stays empty until its
    // recordset exists.
    std::string InfoText(int number, bool outOfServiceReported) const;
    // The bar that shows an info text.
    static Bar BarOf(int number) { return number <= 5 ? kStateBar : kResultBar; }

private:
    // Makes the bar's missing recordsets; true when it made them all now.
    bool MakeRecordsets(Bar which);
    void BuildQueries(Bar which);
    // Counts what the bar's queries read, reading the rows again first when asked.
    void Count(Bar which, bool readAgain);

    struct BarState {
        bool current = false;
        bool built = false;  // the queries hold the current filter
    };

    CDaoDatabase* db_;
    std::string filter_;
    std::array<BarState, 2> bars_{};
    std::unique_ptr<CTrunkStatusRS> status_;
    std::unique_ptr<CTrunkServiceRS> service_;
    std::unique_ptr<CTrunkResultsRS> results_;
};

}  // namespace corvane
