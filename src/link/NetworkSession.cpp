// Sessions and the partner address of the network link.
#include <arpa/inet.h>

#include "link/NetworkConnection.h"
#include "link/NetworkFrame.h"
#include "platform/Format.h"

namespace corvane {

bool CNetworkConnection::SessionRequest(const char* name, const std::vector<uint8_t>& frame,
                                        size_t expectedPayload) {
    for (int tries = 0; tries < kMaxSessionTries; ++tries) {
        CheckAbort();
        if (!SendFrame(frame)) {
            Log().Printf(2, "%s Transmit Error Occurred!", name);
            continue;
        }
        CheckAbort();
        if (!ReceiveReply()) {
            Log().Printf(2, "%s Receive Error Occurred!", name);
            continue;
        }
        if ((status_ & ~toleratedMask_) != 0) {
            Log().Printf(2, "%s Reply Errors!", name);
            continue;
        }
        if (static_cast<size_t>(GetReplyLength()) != expectedPayload) {
            Log().Printf(2, "%s Reply Invalid!", name);
            continue;
        }
        return true;
    }
    return false;
}

void CNetworkConnection::EstablishSession() {
    if (HasSession()) {
        return;
    }
    for (current_ = 0; current_ < addresses_.size(); ++current_) {
        BeginMessage(kEstablishSessionCode);
        EndMessage(0);
        std::vector<uint8_t> frame;
        QuillexNetworkFrame::Encode(transmit_, frame);
        if (!SessionRequest("Establish Session", frame, 0)) {
            continue;
        }
        const uint16_t offered = QuillexNetworkHeader::Parse(receive_).session;
        if (offered == QuillexNetworkHeader::kNoSession) {
            Log().Printf(2, "Establish Session Failed: None!");
        } else if (offered == QuillexNetworkHeader::kStandbySession) {
            Log().Printf(2, "Establish Session Failed: Standby!");
        } else {
            Log().Printf(3, "Establish Session Succeeded: %04x", offered);
            session_ = offered;
            return;
        }
    }
    Forget();
    Die();
}

void CNetworkConnection::GetPartner() {
    const SteadyTime now = clock_.Steady();
    if (!HasSession()) {
        current_ = 0;
    } else if (lastGetPartner_ && now - *lastGetPartner_ < settings_.partnerInterval) {
        return;
    }
    lastGetPartner_ = now;
    BeginMessage(kGetPartnerCode);
    EndMessage(0);
    std::vector<uint8_t> frame;
    QuillexNetworkFrame::Encode(transmit_, frame);
    if (!SessionRequest("Get Partner", frame, 4)) {
        Forget();
        session_ = QuillexNetworkHeader::kNoSession;
        return;
    }
    const uint8_t* a = GetReplyData();
    Log().Printf(3, "Get Partner Succeeded: %u.%u.%u.%u", a[0], a[1], a[2], a[3]);
    ApplyPartner(htonl(static_cast<uint32_t>(a[0]) << 24 | a[1] << 16 | a[2] << 8 | a[3]));
}

void CNetworkConnection::ApplyPartner(uint32_t address) {
    if (current_ >= addresses_.size()) {
        return;
    }
    const size_t other = (current_ + 1) % 2;
    if (address != htonl(INADDR_ANY) && address != htonl(INADDR_NONE)) {
        if (addresses_.size() >= 2) {
            if (addresses_[other].sin_addr.s_addr == address) {
                return;
            }
            addresses_[other].sin_addr.s_addr = address;
            ReportAddresses();
            Log().Printf(3, "Get Partner: Updated Partner");
        } else {
            addresses_.push_back(MakeAddress(address));
            ReportAddresses();
            Log().Printf(3, "Get Partner: Added Partner");
        }
        return;
    }
    if (other >= addresses_.size()) {
        return;
    }
    if (other < current_) {
        addresses_[other] = addresses_[current_];
        current_ = other;
    }
    addresses_.resize(current_ + 1);
    ReportAddresses();
    Log().Printf(3, "Get Partner: Standalone");
}

void CNetworkConnection::ReportAddresses() {
    const std::vector<std::string> texts = Addresses();
    Owner().SetPartnerAddresses(texts.size() > 0 ? texts[0] : std::string(),
                                texts.size() > 1 ? texts[1] : std::string());
}

}  // namespace corvane
