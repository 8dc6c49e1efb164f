#include "link/MatrixMessages.h"

#include <algorithm>

#include "platform/Format.h"

namespace corvane {
namespace {

QuillexRequest MatrixQuery(QuillexMessageCode code, const char* name, int matrix) {
    return MakeRequest(code, StrFormat("Sending %s Message, Matrix = %d", name, matrix))
        .Byte(matrix)
        .Byte(1);
}

template <typename T>
bool Report(const char* replyName, const Decoded<T>& reply, const CDiagLogSource& log) {
    log.Printf(3, "%s", replyName);
    if (!reply) {
        log.Printf(2, "%s", reply.Failure().c_str());
        return false;
    }
    return true;
}

const char* MatrixModelText(int code) {
    switch (code) {
        case 0:
            return "MX4500";
        case 1:
            return "MX4600";
        case 2:
            return "MX4700";
        case 3:
            return "YSKA-EXT";
        case 4:
            return "YSKA";
        case 5:
            return "YSKA-CS";
        case 6:
            return "KAVO";
        case 7:
            return "BELMAR";
        case 8:
            return "KAVO-III";
        case 9:
            return "?";
        case 10:
            return "Cut";
        case 13:
            return "Cur";
        case 14:
            return "Old";
        case 15:
            return "KAVO-III LE";
        case 16:
            return "ZRAX";
        default:
            return nullptr;
    }
}

}  // namespace

QuillexRequest MatrixBaudRateRequest(int matrix) {
    return MatrixQuery(QuillexMessageCode::kGetMatrixBaudRate, "Get Matrix Baud Rate", matrix);
}

QuillexRequest MatrixPortMappingRequest(int matrix) {
    return MatrixQuery(QuillexMessageCode::kGetMappingOfIntercomsToPorts,
                       "Get Mapping of Intercoms to Ports", matrix);
}

QuillexRequest MatrixConnTypeRequest(int matrix) {
    return MatrixQuery(QuillexMessageCode::kGetMatrixConnType, "Get Matrix Conn Type", matrix);
}

QuillexRequest MatrixIPAddressRequest(int which, int matrix) {
    return MakeRequest(QuillexMessageCode::kGetMatrixIPAddress,
                       StrFormat("Sending Get Matrix IP Address %d Message, Matrix = %d", which + 1,
                                 matrix))
        .Byte(which)
        .Byte(matrix)
        .Byte(1);
}

QuillexRequest MatrixCascadeCostRequest(int matrix) {
    return MakeRequest(QuillexMessageCode::kGetMatrixCascadeCost,
                       StrFormat("Sending Get Matrix Cascade Cost Message, Matrix = %d", matrix))
        .Word(static_cast<unsigned>(matrix))
        .Word(1);
}

QuillexRequest DeviceCommStatusRequest(int matrix) {
    return MakeRequest(QuillexMessageCode::kGetDeviceCommStatus,
                       StrFormat("Sending Get Device Comm Status Message, Matrix = %d", matrix))
        .Byte(1)
        .Byte(matrix)
        .Byte(1);
}

QuillexRequest OosPortsRequest(int matrix) {
    return MatrixQuery(QuillexMessageCode::kGetOosPorts, "Get OOS Ports", matrix);
}

Decoded<std::optional<int>> DecodeBaudRateReply(ReplyBytes p) {
    if (p.size() != 1) {
        return Decoded<std::optional<int>>::Refused(LengthFailure(kBaudRateReplyName));
    }
    static const int kRates[] = {76800, 38400, 9600, 2400};
    return p[0] < 4 ? std::optional<int>(kRates[p[0]]) : std::nullopt;
}

Decoded<int> DecodePortMappingReply(ReplyBytes p) {
    if (p.size() != 1) {
        return Decoded<int>::Refused(LengthFailure(kSerialPortReplyName));
    }
    return static_cast<int>(p[0]);
}

Decoded<int> DecodeCascadeCostReply(ReplyBytes p) {
    if (p.size() != 2) {
        return Decoded<int>::Refused(LengthFailure(kCascadeCostReplyName));
    }
    return static_cast<int>(WordAt(p, 0));
}

Decoded<std::optional<std::string>> DecodeConnTypeReply(ReplyBytes p) {
    if (p.size() != 1) {
        return Decoded<std::optional<std::string>>::Refused(LengthFailure(kConnTypeReplyName));
    }
    if (p[0] == 0) {
        return std::optional<std::string>("Serial");
    }
    if (p[0] == 1) {
        return std::optional<std::string>("Network");
    }
    return std::optional<std::string>();
}

Decoded<std::string> DecodeIPAddressReply(int which, ReplyBytes p) {
    if (p.size() != 4) {
        return Decoded<std::string>::Refused(
            LengthFailure(which == 0 ? kIPAddress1ReplyName : kIPAddress2ReplyName));
    }
    if (p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 0) {
        return std::string("-");
    }
    return StrFormat("%u.%u.%u.%u", p[0], p[1], p[2], p[3]);
}

Decoded<std::string> DecodeCommStatReply(ReplyBytes p) {
    if (p.size() != 1) {
        return Decoded<std::string>::Refused(LengthFailure(kCommStatReplyName));
    }
    const bool ok = (p[0] & 0x80) != 0;
    const char* model = MatrixModelText(p[0] & 0x7F);
    if (model == nullptr) {
        return std::string(ok ? "OK ?" : "- ");
    }
    return std::string(ok ? "OK " : "Bad ") + model;
}

Decoded<OosPortMap> DecodeOosPortsReply(ReplyBytes p) {
    if (p.size() != kOosMapBytes) {
        return Decoded<OosPortMap>::Refused(LengthFailure(kOosPortsReplyName));
    }
    OosPortMap map{};
    std::copy(p.begin(), p.end(), map.begin());
    return map;
}

bool HandleBaudRateReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                         const CDiagLogSource& log) {
    const auto reply = DecodeBaudRateReply(payload);
    if (!Report(kBaudRateReplyName, reply, log)) {
        return false;
    }
    if (*reply) {
        model.SetIntercomBaudRate(matrix, **reply, false);
    }
    return true;
}

bool HandlePortMappingReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                            const CDiagLogSource& log) {
    const auto reply = DecodePortMappingReply(payload);
    if (!Report(kSerialPortReplyName, reply, log)) {
        return false;
    }
    model.SetIntercomControllerPort(matrix, *reply, false);
    return true;
}

bool HandleCascadeCostReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                            const CDiagLogSource& log) {
    const auto reply = DecodeCascadeCostReply(payload);
    if (!Report(kCascadeCostReplyName, reply, log)) {
        return false;
    }
    model.SetIntercomCascadeCost(matrix, *reply, false);
    return true;
}

bool HandleConnTypeReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                         const CDiagLogSource& log) {
    const auto reply = DecodeConnTypeReply(payload);
    if (!Report(kConnTypeReplyName, reply, log)) {
        return false;
    }
    if (*reply) {
        model.SetIntercomConnType(matrix, **reply, false);
    }
    return true;
}

bool HandleIPAddressReply(int which, int matrix, ReplyBytes payload, IQuillexModel& model,
                          const CDiagLogSource& log) {
    const auto reply = DecodeIPAddressReply(which, payload);
    if (!Report(which == 0 ? kIPAddress1ReplyName : kIPAddress2ReplyName, reply, log)) {
        return false;
    }
    if (which == 0) {
        model.SetIntercomIPAddress1(matrix, *reply, false);
    } else {
        model.SetIntercomIPAddress2(matrix, *reply, false);
    }
    return true;
}

bool HandleCommStatReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                         const CDiagLogSource& log) {
    const auto reply = DecodeCommStatReply(payload);
    if (!Report(kCommStatReplyName, reply, log)) {
        return false;
    }
    model.SetIntercomCommStatus(matrix, *reply, false);
    return true;
}

}  // namespace corvane
