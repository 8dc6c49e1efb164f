#include "presentation/ListInfoTexts.h"

#include "model/ModelNumbers.h"
#include "platform/Format.h"

namespace corvane {
namespace {

std::string Count(const char* format, long count) {
    return StrFormat(format, static_cast<int>(count));
}

}  // namespace

std::string AlphaInfoText(int number, long rows) {
    return number == 1 ? Count("%d Alphas", rows) : std::string();
}

std::string DupTrunkInfoText(int number, long rows) {
    return number == 1 ? Count("%d Trunk Conflicts", rows) : std::string();
}

std::string RequestInfoText(int number, const std::optional<RequestTotals>& totals) {
    if (!totals) {
        return {};
    }
    switch (number) {
        case 1:
            return Count("%d Requests", totals->all);
        case 2:
            return Count("%d Queued", totals->queued);
        case 3:
            return Count("%d Active", totals->active);
        case 4:
            return Count("%d Allocated", totals->allocated);
        default:
            return {};
    }
}

std::string AlarmInfoText(int number, const std::optional<AlarmTotals>& totals) {
    if (!totals) {
        return {};
    }
    switch (number) {
        case 1:
            return Count("%d Alarms", totals->all);
        case 2:
            return Count("%d Active", totals->active);
        case 3:
            return Count("%d Resolved", totals->resolved);
        case 4:
            return Count("%d Stale", totals->stale);
        case 5:
            return Count("%d Unresolved", totals->unresolved);
        default:
            return {};
    }
}

int SummaryDivisor(int intercom) {
    return intercom < kIntercomCount ? 1 : 2;
}

std::string SummaryInfoText(int number, const std::optional<SummaryTotals>& totals, int divisor,
                            bool outOfServiceSupported) {
    if (!totals) {
        return {};
    }
    const auto trunks = [&](long count) {
        return totals->intercoms == 0 || divisor <= 0 ? 0 : count / divisor;
    };
    switch (number) {
        case 1:
            return Count("%d Trunks", trunks(totals->trunks));
        case 2:
            return Count("%d Allocated", trunks(totals->allocated));
        case 3:
            return Count("%d In Use", trunks(totals->inUse));
        case 4:
            return Count("%d Maintenance", trunks(totals->maintenance));
        case 5:
            return outOfServiceSupported ? Count("%d Out-of-service", trunks(totals->outOfService))
                                         : std::string();
        case 6:
            return Count("%d Intercoms", totals->intercoms);
        default:
            return {};
    }
}

}  // namespace corvane
