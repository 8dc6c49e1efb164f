#include "link/QueuedRequestMessages.h"

#include "platform/Format.h"

namespace corvane {

QuillexRequest QueuedRequestsRequest(int matrix) {
    std::string line = StrFormat("Sending Get Queued Requests Message, Matrix = %d", matrix);
    if (matrix <= 30) {
        return MakeRequest(QuillexMessageCode::kGetQueuedRequests, std::move(line)).Byte(matrix);
    }
    return MakeRequest(QuillexMessageCode::kGetQueuedRequestsExtended, std::move(line))
        .Word(static_cast<unsigned>(matrix + 1));
}

Decoded<std::vector<QueuedRequestEntry>> DecodeQueuedRequestsReply(ReplyBytes p) {
    if (p.size() % 7 != 0) {
        return Decoded<std::vector<QueuedRequestEntry>>::Refused(
            LengthFailure(kQueuedRequestsReplyName));
    }
    std::vector<QueuedRequestEntry> entries;
    for (size_t at = 0; at < p.size(); at += 7) {
        QueuedRequestEntry e;
        e.source.intercom = p[at];
        e.source.number = static_cast<uint16_t>(WordAt(p, at + 1));
        e.source.talk = p[at + 6] & 1;
        e.source.listen = (p[at + 6] >> 1) & 1;
        e.source.inactive = (p[at + 6] >> 6) & 1;
        e.destination.intercom = p[at + 3];
        e.destination.functionType = static_cast<uint8_t>(p[at + 4] >> 4);
        e.destination.number = static_cast<uint16_t>((p[at + 4] & 0x0F) << 8 | p[at + 5]);
        entries.push_back(e);
    }
    return entries;
}

bool HandleQueuedRequestsReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                               const CDiagLogSource& log) {
    log.Printf(3, "%s", kQueuedRequestsReplyName);
    const auto reply = DecodeQueuedRequestsReply(payload);
    if (!reply) {
        log.Printf(2, "%s", reply.Failure().c_str());
        return false;
    }
    for (const QueuedRequestEntry& e : *reply) {
        model.SetQueuedRequest(e.source, e.destination, false);
    }
    model.PurgeStaleQueuedRequests(matrix, false);
    return true;
}

}  // namespace corvane
