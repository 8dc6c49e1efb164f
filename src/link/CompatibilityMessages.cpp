#include "link/CompatibilityMessages.h"

#include "link/QuillexMessageCode.h"

namespace corvane {

QuillexRequest CompatibilityRequest(bool extendedIntercoms) {
    return MakeRequest(QuillexMessageCode::kCompatibility, "Sending Compatibility Message")
        .Byte(0)
        .Byte(extendedIntercoms ? 255 : 31);
}

Decoded<std::vector<CompatibilityRow>> DecodeCompatibilityReply(ReplyBytes p) {
    if (p.size() < 4 || (p.size() - 4) % 6 != 0) {
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

std::optional<bool> HandleCompatibilityReply(ReplyBytes payload, std::span<CAuthStat> records,
                                             const CDiagLogSource& log) {
    log.Printf(3, "%s", kCompatibilityReplyName);
    const auto rows = DecodeCompatibilityReply(payload);
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
