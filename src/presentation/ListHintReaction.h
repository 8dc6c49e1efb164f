#pragma once

#include "model/ViewUpdateHint.h"

namespace corvane {

// The list views, each with its own reaction to hints.
enum class ListKind { Intercoms, Alphas, Requests, Alarms, TrunkConflicts, TrunkSummary, Trunks };

struct ListHintRule {
    ViewUpdateHint requeryMask;
    ViewUpdateHint repaintGate;
    ViewUpdateHint openingHint;  // handled once at the view's first update
};

const ListHintRule& ListHintRuleOf(ListKind kind);

// What a list view does with one hint.
struct ListHintReaction {
    bool applySort = false;    // take the sort payload
    bool applyFilter = false;  // take the filter payload and rebuild the totals
    bool requery = false;      // requery, keeping the selection
    bool repaint = false;      // apply column effects, repaint, re-read the totals
};

ListHintReaction ReactToHint(ListKind kind, ViewUpdateHint hint, bool hasRecordset,
                             bool firstUpdateDone);

}  // namespace corvane
