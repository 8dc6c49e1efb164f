#pragma once

#include <optional>
#include <vector>

#include "link/QuillexRequest.h"
#include "link/ReplyDecode.h"
#include "log/DiagLogSource.h"
#include "model/QuillexModel.h"

namespace corvane {

// A trunk's definition, its status and its usage.

inline constexpr const char* kTrunkDefinitionsReplyName = "Trunk Definitions Query Reply";
inline constexpr const char* kTrunkStatusReplyName = "Get Trunk Status Reply";
inline constexpr const char* kInspectTrunkReplyName = "Inspect Trunk Reply";
inline constexpr int kNoCascadeTrunk = 0xFFFF;

QuillexRequest TrunkDefinitionsRequest(int trunk);
// With the out-of-service capability the request asks for that too.
QuillexRequest TrunkStatusRequest(int trunk, bool outOfServiceCapability);
QuillexRequest InspectTrunkRequest(int trunk);

struct TrunkDefinitionReply {
    bool end1Missing = false;  // intercom 255 or number 0xFFFF
    bool end2Missing = false;
    TrunkDefinition definition;  // the controller's numbers
};
Decoded<TrunkDefinitionReply> DecodeTrunkDefinitionsReply(int trunk, ReplyBytes payload);
// Defines or undefines the trunk. Returns whether its status is to be read next, or none when
// the reply is refused.
std::optional<bool> HandleTrunkDefinitionsReply(int trunk, ReplyBytes payload, IQuillexModel& model,
                                                const CDiagLogSource& log);

struct TrunkStatusReply {
    int outOfService = 0;
    std::optional<int> state;  // 0 idle, 1 allocated, 2 in use, 3 maintenance
};
Decoded<TrunkStatusReply> DecodeTrunkStatusReply(ReplyBytes payload, bool outOfServiceCapability);
bool HandleTrunkStatusReply(int trunk, ReplyBytes payload, bool outOfServiceCapability,
                            IQuillexModel& model, const CDiagLogSource& log);

struct TrunkUsagePair {
    EndpointAddress source;
    EndpointAddress destination;
};
struct InspectTrunkReply {
    int cascadeTrunk = kNoCascadeTrunk;
    std::vector<TrunkUsagePair> usages;
};
Decoded<InspectTrunkReply> DecodeInspectTrunkReply(ReplyBytes payload);
// Stores the usages and ends the stale ones; true when valid (the trunk's status is then due).
bool HandleInspectTrunkReply(int trunk, ReplyBytes payload, IQuillexModel& model,
                             const CDiagLogSource& log);

}  // namespace corvane
