// Every reply decoder of the controller's message set on arbitrary payloads: none may crash or
// read out of bounds, and what each accepts must keep the bounds of its message.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "link/AlphaMessages.h"
#include "link/ChangeQueryMessages.h"
#include "link/CompatibilityMessages.h"
#include "link/ControllerMessages.h"
#include "link/MaintenanceMessages.h"
#include "link/MatrixMessages.h"
#include "link/QueuedRequestMessages.h"
#include "link/TrunkMessages.h"

namespace corvane {
namespace {

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// Takes every call and checks the numbers the decoders hand over.
class CheckingModel final : public IQuillexModel {
public:
    bool SetIntercomControllerPort(int, int port, bool) override { return Byte(port); }
    bool SetIntercomBaudRate(int, int rate, bool) override {
        Check(rate == 76800 || rate == 38400 || rate == 9600 || rate == 2400);
        return true;
    }
    bool SetIntercomCascadeCost(int, int cost, bool) override { return Word(cost); }
    bool SetIntercomCommStatus(int, std::string text, bool) override {
        Check(text.size() <= 15);
        return true;
    }
    bool SetIntercomConnType(int, std::string text, bool) override {
        Check(text == "Serial" || text == "Network");
        return true;
    }
    bool SetIntercomIPAddress1(int, std::string text, bool) override { return Dotted(text); }
    bool SetIntercomIPAddress2(int, std::string text, bool) override { return Dotted(text); }
    bool AddAlpha(int, int type, int number, std::string text, int op, bool) override {
        Check(type >= 0 && type <= 8 && number >= 0 && number <= 0xFFFF && text.size() <= 8 &&
              op >= 0 && op <= 2);
        return true;
    }
    bool SetTrunkOutOfService(int, int value, bool) override {
        Check(value == 0 || value == 1);
        return true;
    }
    bool SetTrunkState(int, int state, bool) override {
        Check(state >= 0 && state <= 3);
        return true;
    }
    bool SetTrunkDefinition(const TrunkDefinition& d, bool) override {
        Check(d.end1Intercom < 255 && d.end2Intercom < 255 && d.end1Number <= 0xFFF &&
              d.end2Number <= 0xFFF && d.fixed1FunctionType <= 8 && d.fixed2FunctionType <= 8 &&
              d.fixed1Number <= 0xFFF && d.fixed2Number <= 0xFFF);
        return true;
    }
    bool UndefineTrunk(int) override { return true; }
    bool SetQueuedRequest(const EndpointAddress& s, const EndpointAddress& d, bool) override {
        Check(s.functionType == 0 && d.functionType <= 15 && d.number <= 0xFFF && d.talk == 0);
        return true;
    }
    bool PurgeStaleQueuedRequests(int, bool) override { return true; }
    bool SetTrunkUsage(int, int cascade, const EndpointAddress& s, const EndpointAddress& d,
                       bool) override {
        Check(Word(cascade) && s.number <= 0xFFF && d.number <= 0xFFF && s.talk <= 1 &&
              d.inactive <= 1);
        return true;
    }
    bool PurgeStaleTrunkUsage(int, bool) override { return true; }
    bool AddAlarm(int, int, int, int, std::string, std::string, int) override { return true; }

private:
    static bool Byte(int v) {
        Check(v >= 0 && v <= 0xFF);
        return true;
    }
    static bool Word(int v) {
        Check(v >= 0 && v <= 0xFFFF);
        return true;
    }
    static bool Dotted(const std::string& text) {
        Check(!text.empty() && text.size() <= 15);
        return true;
    }
};

}  // namespace
}  // namespace corvane

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    if (size < 2) {
        return 0;
    }
    const uint8_t selector = data[0];
    const uint8_t parameter = data[1];
    const std::vector<uint8_t> bytes(data + 2, data + size);  // exact bounds for the sanitizer
    const ReplyBytes p(bytes);
    CheckingModel model;
    CDiagLogSource log;

    switch (selector % 16) {
        case 0: {
            const auto area = static_cast<ChangeArea>(parameter % kChangeAreaCount);
            const auto map = DecodeChangeReply(area, p);
            if (map) {
                Check(p.size() == 2 + (static_cast<size_t>(map->bitCount) + 7) / 8);
                for (const int item : MarkedItems(*map, kQuillexTrunks)) {
                    Check(item >= 0 && item < map->bitCount && item < kQuillexTrunks);
                }
                for (const auto& mark : MarkedAlphaLists(*map)) {
                    Check(mark.matrix < kQuillexMatrices && IsAlphaListKind(mark.kind));
                }
                Check(MarkedAreas(*map).size() <= 7);
                Check(ClearChangeFlagsRequest(area, *map).payload.size() == p.size() + 1);
            }
            break;
        }
        case 1: {
            AlphaPageQuery q;
            q.matrix = parameter;
            q.kind = parameter % 9;
            q.alphaSize = 4 + 2 * (parameter / 9 % 3);
            q.alphasPerPage = AlphasPerPage(q.alphaSize);
            q.startIndex = (parameter / 27) * q.alphasPerPage;
            const auto next = HandleAlphasReply(q, p, model, log);
            Check(!next || *next == 0 || *next == q.startIndex + q.alphasPerPage);
            break;
        }
        case 2:
            HandleTrunkDefinitionsReply(parameter, p, model, log);
            break;
        case 3:
            HandleTrunkStatusReply(parameter, p, parameter & 1, model, log);
            break;
        case 4: {
            const auto reply = DecodeInspectTrunkReply(p);
            if (reply) {
                Check(reply->usages.size() <= 255);
            }
            HandleInspectTrunkReply(parameter, p, model, log);
            break;
        }
        case 5:
            HandleQueuedRequestsReply(parameter, p, model, log);
            break;
        case 6:
            HandleBaudRateReply(parameter, p, model, log);
            HandlePortMappingReply(parameter, p, model, log);
            HandleCascadeCostReply(parameter, p, model, log);
            HandleConnTypeReply(parameter, p, model, log);
            break;
        case 7:
            HandleIPAddressReply(parameter & 1, parameter, p, model, log);
            HandleCommStatReply(parameter, p, model, log);
            DecodeOosPortsReply(p);
            break;
        case 8:
            DecodeHelloReply(p);
            DecodeQxVersionReply(p);
            DecodeCapabilitiesReply(p);
            DecodeDateAndTimeReply(p);
            break;
        case 9: {
            HandleActivationReply(p, log);
            HandleSetTrunkModeReply(p, parameter & 1, log);
            HandleSetTrunkCrosspointsReply(p, log);
            HandleSetMaintenancePortReply(p, log);
            const auto port = DecodeMaintenancePortReply(p);
            if (port) {
                Check(port->matrix >= -1 && port->matrix < kQuillexMatrices);
                Check(port->port >= -1 && port->port < kOosPortsPerMatrix);
            }
            break;
        }
        default: {
            static CAuthStat records[kQuillexMatrices];
            const int count = CompatibilityCount(parameter & 1);
            const auto rows = DecodeCompatibilityReply(p, count);
            if (rows) {
                Check(rows->size() == static_cast<size_t>(count));
            }
            HandleCompatibilityReply(p, count, records, log);
            break;
        }
    }
    return 0;
}
