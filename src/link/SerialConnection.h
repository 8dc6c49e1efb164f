#pragma once

#include <string>
#include <vector>

#include "link/Connection.h"
#include "link/SerialPort.h"
#include "platform/Clock.h"

namespace corvane {

// The controller link over a serial line: each request is a serial frame with a message
// number and a CRC-8; a reply is checked against it and the request re-sent on failure.
class CSerialConnection final : public CConnection {
public:
    static constexpr int kMaxFailures = 3;  // of writes and waits, and of reads, each

    CSerialConnection(IConnectionOwner& owner, const CDiagLogSource& log,
                      SerialPortTimeouts timeouts = {}, const IClock& clock = RealClock());
    ~CSerialConnection() override = default;

    bool Open(const std::string& portName, int baudRate) { return port_.Open(portName, baudRate); }

    void CheckPartner() override {}
    void OpenSession() override {}
    void BeginMessage(int code) override;
    void EndMessage(int flags) override;
    void Transact(const ReplyHandler& handler) override;
    int GetReplyErrorFlag() const override { return (lastErrorBits_ >> 7) & 1; }
    const uint8_t* GetReplyData() const override;
    int GetReplyLength() const override;

private:
    // Collects one frame up to its end byte, within the read time-out and the largest frame.
    bool ReceiveBlock();
    // The first failed check's text, or nullptr when the handler accepted the reply.
    const char* CheckReply(const ReplyHandler& handler);
    [[noreturn]] void DieLink();

    CSerialPort port_;
    const IClock& clock_;
    SerialPortTimeouts timeouts_;
    uint8_t number_ = 0;
    int code_ = 0;
    uint8_t toleratedMask_ = 0x3F;
    uint8_t lastErrorBits_ = 0x3F;
    std::vector<uint8_t> block_;    // the bytes of the last read, up to the end byte
    std::vector<uint8_t> receive_;  // the unescaped body of the last reply
};

}  // namespace corvane
