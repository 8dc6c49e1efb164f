// The change areas: each area's query, the clearing of what it reported, and the sweep that
// reads every flagged matrix or trunk. Each flag is cleared just before its message is sent,
// so a flag set meanwhile is seen in a later pass.
#include "link/AlphaMessages.h"
#include "link/ControllerMessages.h"
#include "link/MatrixMessages.h"
#include "link/QueuedRequestMessages.h"
#include "link/Quillex.h"
#include "link/TrunkMessages.h"

namespace corvane {

void CQuillex::RunAreas() {
    static const ChangeArea kOrder[] = {ChangeArea::kMatrixOosPorts,   ChangeArea::kMatrixNames,
                                        ChangeArea::kMatrixAlphas,     ChangeArea::kMatrixCommStat,
                                        ChangeArea::kTrunkDefinitions, ChangeArea::kTrunkUsage,
                                        ChangeArea::kFailedRequests};
    for (const ChangeArea area : kOrder) {
        if (!QueryDue(area).exchange(0)) {
            continue;
        }
        ChangeQuery(area);
        if (SweepDue(area).exchange(0)) {
            SendLogged(ClearChangeFlagsRequest(area, lastChange_[static_cast<size_t>(area)]),
                       kClearChangeFlagsReplyName);
            Sweep(area);
        }
    }
}

void CQuillex::Sweep(ChangeArea area) {
    switch (area) {
        case ChangeArea::kMatrixOosPorts:
            for (int m = 0; m < kQuillexMatrices; ++m) {
                if (MatrixFlag(m, kOosSlot).exchange(0)) {
                    Send(OosPortsRequest(m), [this, m] {
                        log_.Printf(3, "%s", kOosPortsReplyName);
                        const auto map = DecodeOosPortsReply(Reply());
                        if (!map) {
                            log_.Printf(2, "%s", map.Failure().c_str());
                            return false;
                        }
                        for (size_t i = 0; i < map->size(); ++i) {
                            oosMaps_[static_cast<size_t>(m)][i] = (*map)[i];
                        }
                        return true;
                    });
                }
            }
            break;
        case ChangeArea::kMatrixNames:
            for (int m = 0; m < kQuillexMatrices; ++m) {
                if (MatrixFlag(m, kNamesSlot).exchange(0)) {
                    SweepNames(m);
                }
            }
            break;
        case ChangeArea::kMatrixAlphas:
            for (int m = 0; m < kQuillexMatrices; ++m) {
                for (const AlphaListKind& k : AlphaListKinds()) {
                    if (MatrixFlag(m, AlphaSlot(k.kind)).exchange(0)) {
                        RequestAlphas(m, k.kind);
                    }
                }
            }
            break;
        case ChangeArea::kMatrixCommStat:
            for (int m = 0; m < kQuillexMatrices; ++m) {
                if (MatrixFlag(m, kCommStatSlot).exchange(0)) {
                    Send(DeviceCommStatusRequest(m),
                         [this, m] { return HandleCommStatReply(m, Reply(), model_, log_); });
                }
            }
            break;
        case ChangeArea::kTrunkDefinitions:
            for (int t = 0; t < kQuillexTrunks; ++t) {
                TrunkFlags& flags = trunkFlags_[static_cast<size_t>(t)];
                if (!flags.definitions.exchange(0)) {
                    continue;
                }
                Send(TrunkDefinitionsRequest(t), [this, t, &flags] {
                    const auto statusDue = HandleTrunkDefinitionsReply(t, Reply(), model_, log_);
                    if (statusDue) {
                        flags.status = *statusDue ? 1 : 0;
                    }
                    return statusDue.has_value();
                });
                if (flags.status.exchange(0)) {
                    TrunkStatus(t);
                }
            }
            break;
        case ChangeArea::kTrunkUsage:
            for (int t = 0; t < kQuillexTrunks; ++t) {
                TrunkFlags& flags = trunkFlags_[static_cast<size_t>(t)];
                if (flags.inspect.exchange(0)) {
                    Send(InspectTrunkRequest(t), [this, t, &flags] {
                        const bool valid = HandleInspectTrunkReply(t, Reply(), model_, log_);
                        if (valid) {
                            flags.status = 1;
                        }
                        return valid;
                    });
                }
                if (flags.status.exchange(0)) {
                    TrunkStatus(t);
                }
            }
            break;
        case ChangeArea::kFailedRequests:
            for (int m = 0; m < kQuillexMatrices; ++m) {
                if (MatrixFlag(m, kQueuedSlot).exchange(0)) {
                    Send(QueuedRequestsRequest(m),
                         [this, m] { return HandleQueuedRequestsReply(m, Reply(), model_, log_); });
                }
            }
            break;
        case ChangeArea::kOverall:
            break;
    }
}

void CQuillex::TrunkStatus(int trunk) {
    const bool outOfService = outOfService_;
    Send(TrunkStatusRequest(trunk, outOfService), [this, trunk, outOfService] {
        return HandleTrunkStatusReply(trunk, Reply(), outOfService, model_, log_);
    });
}

void CQuillex::RequestAlphas(int matrix, int kind) {
    AlphaPageQuery q;
    q.matrix = matrix;
    q.kind = kind;
    q.alphaSize = alphaSize_;
    q.sizeCode = AlphaSizeCode(alphaSizeFromSetting_, alphaSize_);
    q.alphasPerPage = alphasPerPage_;
    do {
        std::optional<int> next;
        Send(RequestAlphasRequest(q), [this, &q, &next] {
            next = HandleAlphasReply(q, Reply(), model_, log_);
            return next.has_value();
        });
        q.startIndex = *next;
    } while (q.startIndex != 0);
}

void CQuillex::SweepNames(int matrix) {
    RequestAlphas(matrix, kMatrixNamesKind);
    Send(MatrixBaudRateRequest(matrix),
         [this, matrix] { return HandleBaudRateReply(matrix, Reply(), model_, log_); });
    Send(MatrixPortMappingRequest(matrix),
         [this, matrix] { return HandlePortMappingReply(matrix, Reply(), model_, log_); });
    if (networkInfo_) {
        Send(MatrixConnTypeRequest(matrix),
             [this, matrix] { return HandleConnTypeReply(matrix, Reply(), model_, log_); });
        for (int which = 0; which < 2; ++which) {
            Send(MatrixIPAddressRequest(which, matrix), [this, which, matrix] {
                return HandleIPAddressReply(which, matrix, Reply(), model_, log_);
            });
        }
    }
    if (extendedIntercoms_) {
        Send(MatrixCascadeCostRequest(matrix),
             [this, matrix] { return HandleCascadeCostReply(matrix, Reply(), model_, log_); });
    }
}

}  // namespace corvane
