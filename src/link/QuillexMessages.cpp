// The controller object's one-shot and periodic messages and the change queries, with the
// state their replies keep.
#include <ctime>

#include "link/CompatibilityMessages.h"
#include "link/ControllerMessages.h"
#include "link/MaintenanceMessages.h"
#include "link/MatrixMessages.h"
#include "link/Quillex.h"
#include "platform/UiBridge.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

// The view hint that the out-of-service column comes or goes.
constexpr uint32_t kOutOfServiceHint = 0x800000;

// The controller's time, read as local time.
std::optional<WallTime> AsLocalTime(const ControllerDateTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&tm);
    if (seconds == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return std::chrono::system_clock::from_time_t(seconds);
}

}  // namespace

void CQuillex::Send(const QuillexRequest& request, const std::function<bool()>& handler) {
    log_.Printf(3, "%s", request.sendingLine.c_str());
    request.BuildOn(*link_);
    link_->Transact(handler);
}

void CQuillex::SendLogged(const QuillexRequest& request, const char* replyName) {
    Send(request, [this, replyName] {
        log_.Printf(3, "%s", replyName);
        return true;
    });
}

ReplyBytes CQuillex::Reply() const {
    const int length = link_->GetReplyLength();
    const uint8_t* data = link_->GetReplyData();
    return data != nullptr && length > 0 ? ReplyBytes(data, static_cast<size_t>(length))
                                         : ReplyBytes();
}

void CQuillex::Hello() {
    Send(HelloRequest(), [this] { return OnHelloReply(); });
}

bool CQuillex::OnHelloReply() {
    log_.Printf(3, "%s", kHelloReplyName);
    const auto hello = DecodeHelloReply(Reply());
    if (!hello) {
        if (!hello.Failure().empty()) {
            log_.Printf(2, "%s", hello.Failure().c_str());
        }
        return false;
    }
    capabilitiesSupported_ = hello->capabilitiesSupported;
    if (hello->reReadEverything) {
        SetReReadFlags();
    }
    if (hello->overallQueryNow) {
        overallNow_ = 1;
    }
    setAllChangeFlagsSupported_ = hello->setAllChangeFlagsSupported;
    alphaSizeFromSetting_ = hello->alphaSizeFromSetting;
    const int setting = settings_.Snapshot().AlphaSize;
    if (hello->alphaSizeFromSetting && !IsAlphaSize(setting)) {
        log_.Printf(2, "AlphaSize %d is not 4, 6 or 8: alphas of 4 are read", setting);
    }
    const int size = AlphaSizeFor(hello->alphaSizeFromSetting, setting);
    if (size != alphaSize_) {
        alphaSize_ = size;
        alphasPerPage_ = AlphasPerPage(size);
        setAllChangeFlagsDue_ = 1;
        alphasCheckDue_ = 1;
    }
    return true;
}

void CQuillex::GetQxVersion() {
    Send(GetQxVersionRequest(), [this] {
        log_.Printf(3, "%s", kGetQxVersionReplyName);
        std::string text = DecodeQxVersionReply(Reply());
        std::lock_guard lock(textMutex_);
        version_ = std::move(text);
        return true;
    });
}

void CQuillex::Capabilities() {
    Send(CapabilitiesRequest(), [this] {
        log_.Printf(3, "%s", kCapabilitiesReplyName);
        const auto c = DecodeCapabilitiesReply(Reply());
        if (!c) {
            log_.Printf(2, "%s", c.Failure().c_str());
            return true;  // taken as it is, with nothing learnt
        }
        networkInfo_ = c->networkInformation;
        periodicCompatibility_ = c->periodicCompatibility;
        extendedIntercoms_ = c->extendedIntercoms;
        if (outOfService_.exchange(c->outOfService) != c->outOfService) {
            Ui().PostUpdateHint(kOutOfServiceHint);
        }
        return true;
    });
}

void CQuillex::GetMaintenancePortMessage() {
    Send(GetMaintenancePortRequest(), [this] {
        log_.Printf(3, "%s", kGetMaintenancePortReplyName);
        const auto port = DecodeMaintenancePortReply(Reply());
        if (!port) {
            log_.Printf(2, "%s", port.Failure().c_str());
            return false;
        }
        if (port->unusablePort >= 0) {
            log_.Printf(2, "%s: Port %d out of range, no maintenance port",
                        kGetMaintenancePortReplyName, port->unusablePort);
        }
        maintenanceMatrix_ = port->matrix;
        maintenancePort_ = port->port;
        maintenancePortReported_ = 1;
        return true;
    });
}

void CQuillex::CheckClock() {
    std::optional<ControllerDateTime> controllerTime;
    Send(GetDateAndTimeRequest(), [this, &controllerTime] {
        log_.Printf(3, "%s", kGetDateAndTimeReplyName);
        const auto t = DecodeDateAndTimeReply(Reply());
        if (!t) {
            log_.Printf(2, "%s", t.Failure().c_str());
            return false;
        }
        controllerTime = *t;
        return true;
    });
    lastClockCheck_ = clock_.Steady();
    const WallTime now = clock_.Now();
    const std::optional<WallTime> theirs = AsLocalTime(*controllerTime);
    if (theirs && *theirs >= now - std::chrono::seconds(2) &&
        *theirs <= now + std::chrono::seconds(2)) {
        return;
    }
    SendLogged(SetDateTimeRequest(ToLocalTime(now)), kSetDateTimeReplyName);
}

void CQuillex::Compatibility() {
    const bool extended = extendedIntercoms_;
    Send(CompatibilityRequest(extended), [this, extended] {
        const auto changed =
            HandleCompatibilityReply(Reply(), CompatibilityCount(extended), authStats_, log_);
        if (!changed) {
            return false;
        }
        if (*changed) {
            Ui().PostCompatibilityChange();
        }
        return true;
    });
}

void CQuillex::ChangeQuery(ChangeArea area) {
    Send(ChangeQueryRequest(area), [this, area] { return OnChangeReply(area); });
}

bool CQuillex::OnChangeReply(ChangeArea area) {
    log_.Printf(3, "%s", ChangeReplyName(area).c_str());
    auto map = DecodeChangeReply(area, Reply());
    if (!map) {
        log_.Printf(2, "%s", map.Failure().c_str());
        return false;
    }
    lastChange_[static_cast<size_t>(area)] = *map;
    if (map->bitCount == 0) {
        return true;
    }
    switch (area) {
        case ChangeArea::kOverall:
            for (const ChangeArea marked : MarkedAreas(*map)) {
                QueryDue(marked) = 1;
            }
            return true;
        case ChangeArea::kMatrixAlphas:
            for (const AlphaListMark& mark : MarkedAlphaLists(*map)) {
                MatrixFlag(mark.matrix, AlphaSlot(mark.kind)) = 1;
            }
            break;
        case ChangeArea::kTrunkDefinitions:
        case ChangeArea::kTrunkUsage:
            for (const int trunk : MarkedItems(*map, kQuillexTrunks)) {
                TrunkFlags& flags = trunkFlags_[static_cast<size_t>(trunk)];
                (area == ChangeArea::kTrunkDefinitions ? flags.definitions : flags.inspect) = 1;
            }
            break;
        default: {
            const int slot = area == ChangeArea::kMatrixNames      ? kNamesSlot
                             : area == ChangeArea::kMatrixCommStat ? kCommStatSlot
                             : area == ChangeArea::kFailedRequests ? kQueuedSlot
                                                                   : kOosSlot;
            for (const int matrix : MarkedItems(*map, kQuillexMatrices)) {
                MatrixFlag(matrix, slot) = 1;
            }
            break;
        }
    }
    SweepDue(area) = 1;
    return true;
}

}  // namespace corvane
