#pragma once

#include <vector>

#include "link/QuillexRequest.h"
#include "link/ReplyDecode.h"
#include "log/DiagLogSource.h"
#include "model/QuillexModel.h"

namespace corvane {

// The requests queued at a matrix (failed requests).

inline constexpr const char* kQueuedRequestsReplyName = "Get Queued Requests Reply";

// Matrices 0-30 by the short form (matrix byte), later ones by code 86 with matrix + 1.
QuillexRequest QueuedRequestsRequest(int matrix);

struct QueuedRequestEntry {
    EndpointAddress source;       // function type 0
    EndpointAddress destination;  // flags 0
};
// A multiple of 7 bytes, one record each.
Decoded<std::vector<QueuedRequestEntry>> DecodeQueuedRequestsReply(ReplyBytes payload);
// Stores every record, then ends the matrix's requests that the reply no longer lists.
bool HandleQueuedRequestsReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                               const CDiagLogSource& log);

}  // namespace corvane
