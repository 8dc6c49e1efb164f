#include "link/TrunkMessages.h"

#include "platform/Format.h"

namespace corvane {
namespace {

constexpr int kNoIntercom = 255;

// Low nibble of the first byte and the second byte.
int Number12(uint8_t high, uint8_t low) {
    return (high & 0x0F) << 8 | low;
}

int FixedFunctionType(uint8_t b) {
    const int type = b >> 4;
    return type > 7 ? 8 : type;
}

// One 5-byte entry of an inspect reply, with the flags of its own byte 3.
EndpointAddress InspectEntry(const uint8_t* e) {
    EndpointAddress a;
    a.intercom = e[0];
    a.functionType = static_cast<uint8_t>(e[1] >> 4);
    a.number = static_cast<uint16_t>(Number12(e[1], e[2]));
    a.talk = (e[3] >> 1) & 1;
    a.listen = e[3] & 1;
    a.inactive = (e[3] >> 6) & 1;
    return a;
}

// The opposite end's flags as the entry's byte 4 gives them.
EndpointAddress WithOppositeFlags(EndpointAddress a, const uint8_t* e) {
    a.talk = e[4] & 1;
    a.listen = (e[4] >> 1) & 1;
    a.inactive = (e[4] >> 6) & 1;
    return a;
}

}  // namespace

QuillexRequest TrunkDefinitionsRequest(int trunk) {
    return MakeRequest(QuillexMessageCode::kGetTrunkDefinitions,
                       StrFormat("Sending Get Trunk Definitions Message, Trunk = %d", trunk))
        .Word(static_cast<unsigned>(trunk))
        .Word(1);
}

QuillexRequest TrunkStatusRequest(int trunk, bool outOfServiceCapability) {
    QuillexRequest r =
        MakeRequest(QuillexMessageCode::kGetTrunkStatus,
                    StrFormat("Sending Get Trunk Status Message, Trunk = %d", trunk));
    r.Word(static_cast<unsigned>(trunk)).Byte(0).Byte(1);
    if (outOfServiceCapability) {
        r.Byte(1);
    }
    return r;
}

QuillexRequest InspectTrunkRequest(int trunk) {
    return MakeRequest(QuillexMessageCode::kInspectTrunk,
                       StrFormat("Sending Inspect Trunk Message, Trunk = %d", trunk))
        .Word(static_cast<unsigned>(trunk));
}

Decoded<TrunkDefinitionReply> DecodeTrunkDefinitionsReply(int trunk, ReplyBytes p) {
    if (p.size() != 13) {
        return Decoded<TrunkDefinitionReply>::Refused(LengthFailure(kTrunkDefinitionsReplyName));
    }
    TrunkDefinitionReply r;
    r.end1Missing = p[0] == kNoIntercom || (p[1] == 0xFF && p[2] == 0xFF);
    r.end2Missing = p[3] == kNoIntercom || (p[4] == 0xFF && p[5] == 0xFF);
    TrunkDefinition& d = r.definition;
    d.trunk = trunk;
    d.end1Intercom = p[0];
    d.end1Number = Number12(p[1], p[2]);
    d.end2Intercom = p[3];
    d.end2Number = Number12(p[4], p[5]);
    d.fixed1Intercom = p[6];
    d.fixed1FunctionType = FixedFunctionType(p[7]);
    d.fixed1Number = Number12(p[7], p[8]);
    d.fixed2Intercom = p[9];
    d.fixed2FunctionType = FixedFunctionType(p[10]);
    d.fixed2Number = Number12(p[10], p[11]);
    d.canCascade = (p[12] & 0x02) != 0;
    d.useFixed = (p[12] & 0x01) != 0;
    return r;
}

std::optional<bool> HandleTrunkDefinitionsReply(int trunk, ReplyBytes payload, IQuillexModel& model,
                                                const CDiagLogSource& log) {
    log.Printf(3, "%s", kTrunkDefinitionsReplyName);
    const auto reply = DecodeTrunkDefinitionsReply(trunk, payload);
    if (!reply) {
        log.Printf(2, "%s", reply.Failure().c_str());
        return std::nullopt;
    }
    if (reply->end1Missing || reply->end2Missing) {
        if (reply->end1Missing) {
            log.Printf(3, "Undefine Trunk = %d, connection for end 1", trunk);
        } else {
            log.Printf(3, "Undefine Trunk = %d; connection for end 2", trunk);
        }
        model.UndefineTrunk(trunk);
        return false;
    }
    model.SetTrunkDefinition(reply->definition, false);
    return true;
}

Decoded<TrunkStatusReply> DecodeTrunkStatusReply(ReplyBytes payload, bool outOfServiceCapability) {
    if (payload.size() != 1) {
        return Decoded<TrunkStatusReply>::Refused(LengthFailure(kTrunkStatusReplyName));
    }
    int s = payload[0];
    TrunkStatusReply r;
    if (outOfServiceCapability && (s & 0x08) != 0) {
        s &= ~0x08;
        r.outOfService = 1;
    }
    switch (s) {
        case 0:
            r.state = 0;
            break;
        case 2:
            r.state = 1;
            break;
        case 3:
            r.state = 2;
            break;
        case 4:
            r.state = 3;
            break;
        default:
            break;
    }
    return r;
}

bool HandleTrunkStatusReply(int trunk, ReplyBytes payload, bool outOfServiceCapability,
                            IQuillexModel& model, const CDiagLogSource& log) {
    log.Printf(3, "%s", kTrunkStatusReplyName);
    const auto reply = DecodeTrunkStatusReply(payload, outOfServiceCapability);
    if (!reply) {
        log.Printf(2, "%s", reply.Failure().c_str());
        return false;
    }
    log.Printf(3, reply->outOfService ? "Trunk = %d is out-of-service" : "Trunk = %d is in service",
               trunk);
    model.SetTrunkOutOfService(trunk, reply->outOfService, false);
    if (reply->state) {
        static const char* const kStateLines[] = {"Trunk = %d is in idle",
                                                  "Trunk = %d is allocated", "Trunk = %d is in use",
                                                  "Trunk = %d is in maintenance"};
        log.Printf(3, kStateLines[*reply->state], trunk);
        model.SetTrunkState(trunk, *reply->state, false);
    }
    return true;
}

Decoded<InspectTrunkReply> DecodeInspectTrunkReply(ReplyBytes p) {
    const auto refuse = [] {
        return Decoded<InspectTrunkReply>::Refused(LengthFailure(kInspectTrunkReplyName));
    };
    InspectTrunkReply r;
    if (p.size() < 8) {
        return refuse();
    }
    r.cascadeTrunk = static_cast<int>(WordAt(p, 6));
    size_t at = 8;
    if (r.cascadeTrunk != kNoCascadeTrunk) {
        if (p.size() - at < 6) {
            return refuse();
        }
        at += 6;
    }
    if (p.size() - at < 1) {
        return refuse();
    }
    const size_t e = p[at++];
    if (p.size() - at < 5 * e) {
        return refuse();
    }
    const uint8_t* ends1 = p.data() + at;
    at += 5 * e;
    if (p.size() - at < 1) {
        return refuse();
    }
    const size_t g = p[at++];
    if (p.size() - at < 5 * g) {
        return refuse();
    }
    const uint8_t* ends2 = p.data() + at;
    at += 5 * g;
    if (at != p.size()) {
        return refuse();
    }
    if (e == g && e > 1) {
        return Decoded<InspectTrunkReply>::Refused(
            "Inspect Trunk Reply: Invalid response, Ends 1 and 2");
    }
    if (e > g && g > 1) {
        return Decoded<InspectTrunkReply>::Refused("Inspect Trunk Reply: Invalid response, End 2");
    }
    if (g > e && e > 1) {
        return Decoded<InspectTrunkReply>::Refused("Inspect Trunk Reply: Invalid response, End 1");
    }
    if (e == 0 || g == 0) {
        return r;  // a side with no entries stores nothing
    }
    if (e == 1) {
        // One source, one or several destinations: each destination's own flags, and the
        // source's as that destination sees them (as the source sees it with one of each).
        const EndpointAddress source = InspectEntry(ends1);
        for (size_t i = 0; i < g; ++i) {
            const uint8_t* d = ends2 + 5 * i;
            if (g == 1) {
                r.usages.push_back({source, WithOppositeFlags(InspectEntry(d), ends1)});
            } else {
                r.usages.push_back({WithOppositeFlags(source, d), InspectEntry(d)});
            }
        }
        return r;
    }
    // Several sources and one destination.
    const EndpointAddress destination = InspectEntry(ends2);
    for (size_t i = 0; i < e; ++i) {
        const uint8_t* s = ends1 + 5 * i;
        r.usages.push_back({InspectEntry(s), WithOppositeFlags(destination, s)});
    }
    return r;
}

bool HandleInspectTrunkReply(int trunk, ReplyBytes payload, IQuillexModel& model,
                             const CDiagLogSource& log) {
    log.Printf(3, "%s", kInspectTrunkReplyName);
    const auto reply = DecodeInspectTrunkReply(payload);
    if (!reply) {
        log.Printf(2, "%s", reply.Failure().c_str());
        return false;
    }
    for (const TrunkUsagePair& u : reply->usages) {
        model.SetTrunkUsage(trunk, reply->cascadeTrunk, u.source, u.destination, false);
    }
    model.PurgeStaleTrunkUsage(trunk, false);
    return true;
}

}  // namespace corvane
