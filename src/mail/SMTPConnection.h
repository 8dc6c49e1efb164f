#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "mail/SMTPError.h"
#include "mail/SMTPMessage.h"
#include "mail/SMTPReplyReader.h"
#include "mail/TcpStream.h"
#include "platform/Clock.h"

namespace corvane {

class CDiagLogSource;

// Login kinds of Connect.
enum SMTPLoginKind {
    kSMTPLoginHelo = 0,       // HELO, no login
    kSMTPLoginAuth = 2,       // EHLO, AUTH LOGIN with Base64 answers
    kSMTPLoginAuthPlain = 3,  // EHLO, "AUTH LOGIN PLAIN" with plain-text answers
};

// One connection to an SMTP server and its dialogue. Every wait is bounded by the
// response time-out and ends early when the cancel flag is set. After a refused
// transaction the connection is reset for the next message; after an I/O error or a reply
// that cannot be read it is broken and must be connected anew.
class CSMTPConnection {
public:
    using Milliseconds = std::chrono::milliseconds;

    // The wire trace goes to log at level 4, with the login answers masked.
    explicit CSMTPConnection(const IClock& clock = RealClock(),
                             const std::atomic<bool>* cancel = nullptr,
                             const CDiagLogSource* log = nullptr);
    ~CSMTPConnection();
    CSMTPConnection(const CSMTPConnection&) = delete;
    CSMTPConnection& operator=(const CSMTPConnection&) = delete;

    bool Connect(const std::string& host, int loginKind, const std::string& user,
                 const std::string& password, int port = 25, const std::string& bindAddress = "");
    // beforeEnd runs once the message's data has gone out and right before its final ".",
    // from which on the server may deliver it.
    bool SendMessage(const CSMTPMessage& message, bool quotedPrintable = false,
                     const std::function<void()>& beforeEnd = {});
    // QUIT when the dialogue is sound; the socket is closed in any case.
    bool Disconnect();

    bool IsConnected() const { return m_bConnected; }
    // Connected, and no I/O error since.
    bool IsUsable() const { return m_bConnected && !m_bBroken; }
    // The last SendMessage sent the whole message with its closing "." but no reply to it
    // came (the server hung up, fell silent, or the wait was cancelled): the server may have
    // the message, so sending it again could deliver it twice.
    bool IsDeliveryUnconfirmed() const { return m_bDeliveryUnconfirmed; }
    SMTPError GetLastError() const { return m_LastError; }
    const std::string& GetLastCommandResponse() const { return m_sLastCommandResponse; }
    int GetLastCommandResponseCode() const { return m_nLastCommandResponseCode; }

    void SetHeloHostName(std::string name) { m_sHeloHostName = std::move(name); }
    void SetCharset(std::string charset) { m_sCharset = std::move(charset); }
    void SetResponseTimeout(Milliseconds timeout) { m_ResponseTimeout = timeout; }
    void SetConnectTimeout(Milliseconds timeout) { m_ConnectTimeout = timeout; }

private:
    // Reads one whole reply; true when its code is the expected one.
    bool ReadCommandResponse(int expectedCode);
    bool ReadResponse(int expectedCode, int alsoAccepted);
    // Sends text; the trace shows shownAs instead when it is given.
    bool Send(std::string_view text, std::string_view shownAs = {});
    bool Command(std::string_view text, int expectedCode, std::string_view shownAs = {});
    bool Login(int loginKind, const std::string& user, const std::string& password);
    bool LoginByPrompts(const std::string& user, const std::string& password);
    bool Transaction(const CSMTPMessage& message, bool quotedPrintable,
                     const std::function<void()>& beforeEnd);
    // Clears a refused transaction so that the next message starts clean.
    void Reset();
    void Fail(SMTPError error);
    std::string HeloName() const;

    const IClock& m_Clock;
    const std::atomic<bool>* m_pCancel;
    const CDiagLogSource* m_pLog;
    CTcpStream m_Socket;
    CSMTPReplyReader m_Reader;
    bool m_bConnected = false;
    bool m_bBroken = false;
    bool m_bDeliveryUnconfirmed = false;
    std::string m_sLastCommandResponse;
    std::string m_sHeloHostName = "auto";
    std::string m_sCharset = "us-ascii";
    Milliseconds m_ResponseTimeout{60000};
    Milliseconds m_ConnectTimeout{30000};
    int m_nLastCommandResponseCode = 0;
    SMTPError m_LastError = SMTPError::kNone;
};

}  // namespace corvane
