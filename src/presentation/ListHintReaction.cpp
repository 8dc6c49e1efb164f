#include "presentation/ListHintReaction.h"

namespace corvane {

const ListHintRule& ListHintRuleOf(ListKind kind) {
    static const ListHintRule rules[] = {
        {0xC004, 0x8, 0xC},             // intercoms
        {0xC005, 0xA, 0x3},             // alphas
        {0xC101, 0x212, 0x300},         // requests
        {0xC400, 0x800, 0xC00},         // alarms
        {0xC020, 0x40, 0x60},           // trunk conflicts
        {0x2C000, 0x810010, 0x830000},  // trunk summary
        {0xC0A1, 0xC00052, 0xC00060},   // trunks
    };
    return rules[static_cast<int>(kind)];
}

ListHintReaction ReactToHint(ListKind kind, ViewUpdateHint hint, bool hasRecordset,
                             bool firstUpdateDone) {
    ListHintReaction r;
    if (!hasRecordset) {
        return r;
    }
    const ListHintRule& rule = ListHintRuleOf(kind);
    if (hint & hint::kSortChanged) {
        r.applySort = true;
    } else if (hint & hint::kFilterChanged) {
        r.applyFilter = true;
    } else if ((hint & rule.repaintGate) == 0) {
        return r;
    }
    if (!firstUpdateDone) {
        return r;
    }
    r.requery = (hint & rule.requeryMask) != 0;
    r.repaint = true;
    return r;
}

}  // namespace corvane
