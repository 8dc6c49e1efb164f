#pragma once

#include <span>
#include <vector>

#include "link/AuthStat.h"
#include "link/QuillexRequest.h"
#include "link/ReplyDecode.h"
#include "log/DiagLogSource.h"

namespace corvane {

// The compatibility query: each intercom matrix's compatibility status.

inline constexpr const char* kCompatibilityReplyName = "Compatibility Reply";

// First intercom 0; 255 intercoms with the extended-intercom capability, else 31.
int CompatibilityCount(bool extendedIntercoms);
QuillexRequest CompatibilityRequest(bool extendedIntercoms);

struct CompatibilityRow {
    int state = 0;
    int byteValue = 0;
    int wordValue1 = 0;
    int wordValue2 = 0;  // minutes to isolation
};
// Four bytes that are not read, then one 6-byte row for each of the count intercoms asked
// for, from intercom 0 on; rows past intercom 254 are not kept.
Decoded<std::vector<CompatibilityRow>> DecodeCompatibilityReply(ReplyBytes payload, int count);
// Stores the rows in the records of intercoms 0 upward; returns whether any record changed,
// or none when the reply is refused.
std::optional<bool> HandleCompatibilityReply(ReplyBytes payload, int count,
                                             std::span<CAuthStat> records,
                                             const CDiagLogSource& log);

}  // namespace corvane
