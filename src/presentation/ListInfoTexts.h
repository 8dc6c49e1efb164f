#pragma once

#include <optional>
#include <string>

namespace corvane {

// The counts the list views show in their frame's info bars, texts 1 to 10; every text a
// list does not fill is empty, and so is every count text while its totals are not known.

std::string AlphaInfoText(int number, long rows);
std::string DupTrunkInfoText(int number, long rows);

// The request totals of the rows that pass the list's filter.
struct RequestTotals {
    long all = 0;
    long queued = 0;
    long active = 0;
    long allocated = 0;
};
std::string RequestInfoText(int number, const std::optional<RequestTotals>& totals);

struct AlarmTotals {
    long all = 0;
    long active = 0;
    long resolved = 0;
    long stale = 0;
    long unresolved = 0;
};
std::string AlarmInfoText(int number, const std::optional<AlarmTotals>& totals);

// The sums of the trunk summary rows that pass the list's filter.
struct SummaryTotals {
    long intercoms = 0;
    long trunks = 0;
    long allocated = 0;
    long inUse = 0;
    long maintenance = 0;
    long outOfService = 0;
};
// The summary of every intercom lists each intercom's totals, so each trunk is counted at
// both its ends: its trunk counts are halved. One intercom's are shown as counted.
int SummaryDivisor(int intercom);
// The trunk counts are 0 when no intercom was counted; the out-of-service text stays empty
// unless the controller has the out-of-service state; the intercom count is never divided.
std::string SummaryInfoText(int number, const std::optional<SummaryTotals>& totals, int divisor,
                            bool outOfServiceSupported);

}  // namespace corvane
