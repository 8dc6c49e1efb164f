#include "presentation/CompatibilityStatusReport.h"

#include <algorithm>
#include <climits>
#include <map>

#include "link/AuthStat.h"

namespace corvane {

namespace {

constexpr int kIntercoms = 255;
constexpr const char* kParagraph = "\r\n\r\n";

std::string Fill(std::string text, const std::string& first, const std::string& second = {}) {
    for (const auto& [marker, value] : {std::pair{"%1", &first}, std::pair{"%2", &second}}) {
        const size_t at = text.find(marker);
        if (at != std::string::npos) {
            text.replace(at, 2, *value);
        }
    }
    return text;
}

std::string Counted(int n, const char* one, const char* several) {
    return n == 1 ? std::string("1 ") + one : std::to_string(n) + " " + several;
}

// Who a message is about: how many, the last one met, the fewest minutes among them.
struct Group {
    int count = 0;
    const CompatibilityStatusEntry* last = nullptr;
    int fewestMinutes = INT_MAX;

    void Count(const CompatibilityStatusEntry& e) {
        ++count;
        last = &e;
        fewestMinutes = std::min(fewestMinutes, std::max(e.minutes, 0));
    }
};

// First sentence: the one-intercom text (number, name) or the several-intercom text (count).
std::string About(const Group& g, int oneId, int severalId) {
    if (g.count == 1) {
        return Fill(CompatibilityString(oneId), std::to_string(g.last->index + 1), g.last->name);
    }
    return Fill(CompatibilityString(severalId), std::to_string(g.count));
}

std::string IsolatedMessage(const Group& g) {
    return About(g, 5397, 5398) + kParagraph + CompatibilityString(g.count == 1 ? 5389 : 5390);
}

std::string IncompatibleMessage(const Group& g, int oneId, int severalId) {
    const bool one = g.count == 1;
    const int minutes = g.fewestMinutes;
    std::string grace;
    if (minutes > 0) {
        int amount = minutes;
        std::string unit = minutes == 1 ? "minute" : "minutes";
        if (minutes >= 1440) {
            amount = minutes / 1440;
            unit = amount == 1 ? "day" : "days";
        } else if (minutes >= 60) {
            amount = minutes / 60;
            unit = amount == 1 ? "hour" : "hours";
        }
        grace = Fill(CompatibilityString(one ? 5393 : 5394), std::to_string(amount), unit);
    } else {
        grace = CompatibilityString(one ? 5401 : 5402);
    }
    return About(g, oneId, severalId) + kParagraph + grace + " " +
           CompatibilityString(one ? 5395 : 5396) + kParagraph +
           CompatibilityString(one ? 5387 : 5388);
}

}  // namespace

const std::string& CompatibilityString(int id) {
    static const std::map<int, std::string> table = {
        {5387, "Please contact your sales representative about this intercom."},
        {5388, "Please contact your sales representative about these intercoms."},
        {5389,
         "You must contact your sales representative to have this intercom returned to the "
         "system."},
        {5390,
         "You must contact your sales representative to have these intercoms returned to the "
         "system."},
        {5391,
         "There seems to be a communication problem with Intercom #%1 (%2) that indicates the "
         "intercom may not be compatible with the Quillex."},
        {5392,
         "There seems to be a communication problem with %1 intercoms that indicates they may "
         "not be compatible with the Quillex."},
        {5393,
         "The Quillex will continue to try to communicate with this intercom for at least %1 "
         "more %2."},
        {5394,
         "The Quillex will continue to try to communicate with these intercoms for at least %1 "
         "more %2."},
        {5395,
         "However, if the communication/compatibility issue is not resolved within this time, "
         "the Quillex will isolate this intercom from the system in order to maintain a secure "
         "and stable trunking environment."},
        {5396,
         "However, if the communication/compatibility issues are not resolved within this time, "
         "the Quillex will isolate these intercoms from the system in order to maintain a "
         "secure and stable trunking environment."},
        {5397,
         "Intercom #%1 (%2) seems to be incompatible with the Quillex and has been isolated from "
         "the system in order to maintain a secure and stable trunking environment."},
        {5398,
         "There are %1 intercoms that seem to be incompatible with the Quillex and that have "
         "been isolated from the system in order to maintain a secure and stable trunking "
         "environment."},
        {5399,
         "Intercom #%1 (%2) continues to exhibit behaviour that indicates it may not be "
         "compatible with the Quillex."},
        {5400,
         "There are %1 intercoms that continue to exhibit behaviour that indicates they may may "
         "not be compatible with the Quillex."},
        {5401,
         "The Quillex will continue to try to communicate with this intercom for less than 1 "
         "minute."},
        {5402,
         "The Quillex will continue to try to communicate with these intercoms for less than 1 "
         "minute."},
    };
    static const std::string empty;
    const auto it = table.find(id);
    return it == table.end() ? empty : it->second;
}

std::vector<CompatibilityStatusEntry> CollectCompatibilityStatusEntries(
    const std::function<CAuthStat*(int)>& authStat, const std::function<std::string(int)>& name) {
    std::vector<CompatibilityStatusEntry> entries;
    for (int index = 0; index < kIntercoms; ++index) {
        CAuthStat* stat = authStat ? authStat(index) : nullptr;
        if (stat == nullptr) {
            continue;
        }
        const int state = stat->State();
        if (state != CAuthStat::kIncompatible && state != CAuthStat::kIsolated) {
            continue;
        }
        CompatibilityStatusEntry e;
        e.index = index;
        e.state = state;
        e.minutes = stat->WordValue2();
        e.flags = stat->ClearChangeFlags();
        e.name = name ? name(index) : std::string();
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string IsolationDuration(int minutes) {
    const int days = minutes / 1440;
    const int hours = minutes % 1440 / 60;
    const int rest = minutes % 60;
    std::string text;
    const auto add = [&text](int n, const char* one, const char* several) {
        if (n == 0) {
            return;
        }
        if (!text.empty()) {
            text += ", ";
        }
        text += Counted(n, one, several);
    };
    add(days, "day", "days");
    add(hours, "hour", "hours");
    add(rest, "minute", "minutes");
    return text;
}

std::string IncompatibleStatusText(int minutes) {
    if (minutes <= 0) {
        return "Incompatible (becomes Isolated in less than 1 minute)";
    }
    return "Incompatible (becomes Isolated in " + IsolationDuration(minutes) + ")";
}

CompatibilityStatusReport BuildCompatibilityStatusReport(
    const std::vector<CompatibilityStatusEntry>& entries) {
    CompatibilityStatusReport report;
    Group incompatible, newlyIncompatible, isolated, newlyIsolated;
    for (const CompatibilityStatusEntry& e : entries) {
        std::string status;
        if (e.state == CAuthStat::kIncompatible) {
            incompatible.Count(e);
            if ((e.flags & CAuthStat::kRoseToTwo) != 0) {
                newlyIncompatible.Count(e);
            }
            status = IncompatibleStatusText(e.minutes);
        } else if (e.state == CAuthStat::kIsolated) {
            isolated.Count(e);
            if ((e.flags & CAuthStat::kBecameThree) != 0) {
                newlyIsolated.Count(e);
            }
            status = "Isolated";
        } else {
            continue;
        }
        report.rows.push_back({e.index, std::to_string(e.index + 1), e.name, status});
    }
    if (newlyIsolated.count > 0) {
        report.message = IsolatedMessage(newlyIsolated);
    } else if (newlyIncompatible.count > 0) {
        report.message = IncompatibleMessage(newlyIncompatible, 5391, 5392);
    } else if (incompatible.count > 0) {
        report.message = IncompatibleMessage(incompatible, 5399, 5400);
    } else if (isolated.count > 0) {
        report.message = IsolatedMessage(isolated);
    } else {
        report.close = true;
    }
    return report;
}

int CompatibilitySortKind(int column) {
    return column == 0 ? 1 : 4;
}

}  // namespace corvane
