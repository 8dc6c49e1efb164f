#include "link/CompatibilityMessages.h"

#include "link/QuillexMessageCode.h"

namespace corvane {

int CompatibilityCount(bool extendedIntercoms) {
    return extendedIntercoms ? 255 : 31;
}

QuillexRequest CompatibilityRequest(bool extendedIntercoms) {
    return MakeRequest(QuillexMessageCode::kCompatibility, "Sending Compatibility Message")
        .Byte(0)
        .Byte(CompatibilityCount(extendedIntercoms));
}

Decoded<std::vector<CompatibilityRow>> DecodeCompatibilityReply(ReplyBytes p, int count) {
    if (count < 0 || p.size() != static_cast<size_t>(count) * 6 + 4) {
        return Decoded<std::vector<CompatibilityRow>>::Refused(
            LengthFailure(kCompatibilityReplyName));
    }
    std::vector<CompatibilityRow> rows;
    for (size_t at = 4; at < p.size() && rows.size() < kQuillexMatrices; at += 6) {
        rows.push_back({p[at], p[at + 1], static_cast<int>(WordAt(p, at + 2)),
                        static_cast<int>(WordAt(p, at + 4))});
    }
    return rows;
}

std::optional<bool> HandleCompatibilityReply(ReplyBytes payload, int count,
                                             std::span<CAuthStat> records,
                                             const CDiagLogSource& log) {
    log.Printf(3, "%s", kCompatibilityReplyName);
    const auto rows = DecodeCompatibilityReply(payload, count);
    if (!rows) {
        log.Printf(2, "%s", rows.Failure().c_str());
        return std::nullopt;
    }
    bool changed = false;
    for (size_t i = 0; i < rows->size() && i < records.size(); ++i) {
        const CompatibilityRow& row = (*rows)[i];
        CAuthStat& record = records[i];
        // Every setter runs, whatever the others report.
        changed |= record.SetState(row.state);
        changed |= record.SetByteValue(row.byteValue);
        changed |= record.SetWordValue1(row.wordValue1);
        changed |= record.SetWordValue2(row.wordValue2);
    }
    return changed;
}

}  // namespace corvane
