#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/Connection.h"
#include "platform/Clock.h"

namespace corvane {

// Where and how patiently the network link talks to the controller.
struct NetworkLinkSettings {
    uint16_t port = 27410;
    std::chrono::milliseconds replyWait{1000};
    std::chrono::seconds partnerInterval{30};
};

// The controller link over UDP to a main and an optional partner address. Requests need a
// session, opened on the first address that offers one, main first; Get Partner keeps the
// partner address current.
class CNetworkConnection final : public CConnection {
public:
    static constexpr int kMaxTransactFailures = 6;
    static constexpr int kMaxSessionTries = 3;
    static constexpr int kEstablishSessionCode = 77;
    static constexpr int kGetPartnerCode = 61;

    CNetworkConnection(IConnectionOwner& owner, const CDiagLogSource& log,
                       NetworkLinkSettings settings = {}, const IClock& clock = RealClock());
    ~CNetworkConnection() override;

    // Creates the socket and takes each non-empty address text that parses and is neither
    // 0.0.0.0 nor 255.255.255.255. True when at least one address was taken.
    bool Open(const std::string& mainAddress, const std::string& partnerAddress);

    void CheckPartner() override { GetPartner(); }
    void OpenSession() override { EstablishSession(); }
    void BeginMessage(int code) override;
    void EndMessage(int flags) override;
    void Transact(const ReplyHandler& handler) override;
    int GetReplyErrorFlag() const override { return (status_ >> 15) & 1; }
    const uint8_t* GetReplyData() const override;
    int GetReplyLength() const override;

    void GetPartner();
    void EstablishSession();

    bool HasSession() const;
    uint16_t Session() const { return session_; }
    // The address list as "%u.%u.%u.%u" texts, main first, and the index of the one in use.
    std::vector<std::string> Addresses() const;
    size_t CurrentIndex() const { return current_; }

private:
    bool SendFrame(const std::vector<uint8_t>& frame);
    bool ReceiveReply();
    // The first failed check of a datagram, or nullptr when it is the awaited reply.
    const char* CheckDatagram(const sockaddr_in& from, socklen_t fromLength, size_t length);
    // Sends a request up to three times until a reply passes the checks; the log texts
    // begin with the request's name.
    bool SessionRequest(const char* name, const std::vector<uint8_t>& frame,
                        size_t expectedPayload);
    void ApplyPartner(uint32_t address);
    void ReportAddresses();
    sockaddr_in MakeAddress(uint32_t address) const;
    void Forget();
    [[noreturn]] void DieLink();
    void CloseSocket();

    NetworkLinkSettings settings_;
    const IClock& clock_;
    int socket_ = -1;
    std::vector<sockaddr_in> addresses_;  // main, then partner
    size_t current_ = 2;                  // none chosen
    std::optional<SteadyTime> lastGetPartner_;
    uint16_t session_ = 0xFFFF;
    uint16_t number_ = 0;
    int code_ = kEstablishSessionCode;
    uint16_t toleratedMask_ = 0x0FFF;
    uint16_t status_ = 0x0FFF;
    std::vector<uint8_t> datagram_;  // the last datagram received
    std::vector<uint8_t> receive_;   // the unescaped body of the last reply
};

}  // namespace corvane
