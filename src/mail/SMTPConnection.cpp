#include "mail/SMTPConnection.h"

#include <unistd.h>

#include <cctype>

#include "log/DiagLogSource.h"
#include "mail/Base64Coder.h"
#include "mail/SMTPBodyFramer.h"

namespace corvane {
namespace {

constexpr int kTraceLevel = 4;
constexpr const char* kMasked = "****";

// A line of the dialogue as the trace shows it: line ends of a multi-line reply become " | ".
std::string TraceForm(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out += " | ";
        } else {
            out += text[i];
        }
    }
    return out;
}

// The envelope's sender: the From address, or the null reverse path when the address is
// blank (the pager's " "), which servers refuse between angle brackets.
std::string EnvelopeSender(const CSMTPMessage& message) {
    const std::string& address = message.m_From.m_sEmailAddress;
    return address.find_first_not_of(' ') == std::string::npos ? std::string() : address;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

enum class PromptAsks { kUser, kPassword, kUnknown };

bool Mentions(std::string text, std::string_view word) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text.find(word) != std::string::npos;
}

// What a 334 reply asks for, in plain words ("Username:") or in Base64 ("VXNlcm5hbWU6").
PromptAsks AskedFor(const std::string& reply) {
    const std::string prompt = reply.size() > 4 ? reply.substr(4) : std::string();
    for (const std::string& text : {prompt, CBase64Coder::DecodeString(prompt)}) {
        if (Mentions(text, "pass")) {
            return PromptAsks::kPassword;
        }
        if (Mentions(text, "user") || Mentions(text, "login")) {
            return PromptAsks::kUser;
        }
    }
    return PromptAsks::kUnknown;
}

}  // namespace

CSMTPConnection::CSMTPConnection(const IClock& clock, const std::atomic<bool>* cancel,
                                 const CDiagLogSource* log)
    : m_Clock(clock), m_pCancel(cancel), m_pLog(log), m_Socket(clock, cancel) {}

CSMTPConnection::~CSMTPConnection() {
    if (m_bConnected) {
        Disconnect();
    }
}

void CSMTPConnection::Fail(SMTPError error) {
    m_LastError = error;
    if (IsConnectionError(error)) {
        m_bBroken = true;
    }
}

std::string CSMTPConnection::HeloName() const {
    std::string name = m_sHeloHostName;
    if (name == "auto") {
        char host[101] = {};
        name = ::gethostname(host, sizeof host - 1) == 0 ? host : "";
    }
    // A name with blanks or control characters would change the command itself.
    std::string clean;
    for (const char c : name.substr(0, 100)) {
        if (static_cast<unsigned char>(c) > 0x20 && c != 0x7F) {
            clean += c;
        }
    }
    return clean.empty() ? "localhost" : clean;
}

bool CSMTPConnection::Send(std::string_view text, std::string_view shownAs) {
    if (!IsUsable()) {
        Fail(SMTPError::kNotConnected);
        return false;
    }
    if (m_pLog != nullptr && m_pLog->IsOn(kTraceLevel)) {
        m_pLog->Printf(kTraceLevel, ">> %s", TraceForm(shownAs.empty() ? text : shownAs).c_str());
    }
    const SMTPError error = m_Socket.SendAll(text, m_ResponseTimeout);
    if (error != SMTPError::kNone) {
        Fail(error);
        return false;
    }
    return true;
}

bool CSMTPConnection::ReadCommandResponse(int expectedCode) {
    return ReadResponse(expectedCode, expectedCode);
}

bool CSMTPConnection::ReadResponse(int expectedCode, int alsoAccepted) {
    if (!IsUsable()) {
        Fail(SMTPError::kNotConnected);
        return false;
    }
    char chunk[4096];
    while (true) {
        SMTPReply reply;
        const CSMTPReplyReader::Status status = m_Reader.TakeReply(reply);
        if (status == CSMTPReplyReader::Status::kComplete) {
            m_sLastCommandResponse = std::move(reply.text);
            m_nLastCommandResponseCode = reply.code;
            if (m_pLog != nullptr && m_pLog->IsOn(kTraceLevel)) {
                m_pLog->Printf(kTraceLevel, "<< %s", TraceForm(m_sLastCommandResponse).c_str());
            }
            if (reply.code == expectedCode || reply.code == alsoAccepted) {
                return true;
            }
            Fail(SMTPError::kUnexpectedResponse);
            return false;
        }
        SMTPError error = SMTPError::kNone;
        if (status == CSMTPReplyReader::Status::kMalformed) {
            error = SMTPError::kMalformedReply;
        } else if (status == CSMTPReplyReader::Status::kTooLong) {
            error = SMTPError::kReplyTooLong;
        } else {
            size_t received = 0;
            error = m_Socket.Receive(chunk, std::min(sizeof chunk, m_Reader.Room()), received,
                                     m_ResponseTimeout);
            if (error == SMTPError::kNone) {
                m_Reader.Append(std::string_view(chunk, received));
                continue;
            }
        }
        m_sLastCommandResponse = std::string(m_Reader.Pending());
        m_nLastCommandResponseCode = 0;
        if (m_pLog != nullptr) {
            m_pLog->Printf(1, "No usable reply (error %d): %s", static_cast<int>(error),
                           TraceForm(m_sLastCommandResponse).c_str());
        }
        Fail(error);
        return false;
    }
}

bool CSMTPConnection::Command(std::string_view text, int expectedCode, std::string_view shownAs) {
    return Send(text, shownAs) && ReadCommandResponse(expectedCode);
}

bool CSMTPConnection::Connect(const std::string& host, int loginKind, const std::string& user,
                              const std::string& password, int port,
                              const std::string& bindAddress) {
    if (m_bConnected) {
        Disconnect();
    }
    m_LastError = SMTPError::kNone;
    m_sLastCommandResponse.clear();
    m_nLastCommandResponseCode = 0;
    if (loginKind != kSMTPLoginHelo && loginKind != kSMTPLoginAuth &&
        loginKind != kSMTPLoginAuthPlain) {
        Fail(SMTPError::kInvalidParameter);
        return false;
    }
    m_bBroken = false;
    m_Reader.Clear();
    const SMTPError error = m_Socket.Connect(host, port, bindAddress, m_ConnectTimeout);
    if (error != SMTPError::kNone) {
        if (m_pLog != nullptr) {
            m_pLog->Printf(1, "Cannot connect to %s port %d (error %d)", host.c_str(), port,
                           static_cast<int>(error));
        }
        m_LastError = error;
        return false;
    }
    m_bConnected = true;
    if (m_pLog != nullptr) {
        m_pLog->Printf(kTraceLevel, "Connected to %s port %d", host.c_str(), port);
    }
    const std::string helo = HeloName();
    const bool ok = ReadCommandResponse(220) &&
                    (loginKind == kSMTPLoginHelo ? Command("HELO " + helo + "\r\n", 250)
                                                 : Command("EHLO " + helo + "\r\n", 250) &&
                                                       Login(loginKind, user, password));
    if (!ok) {
        // The reason stays what the dialogue said, not what QUIT answers.
        const SMTPError reason = m_LastError;
        const std::string response = m_sLastCommandResponse;
        const int code = m_nLastCommandResponseCode;
        Disconnect();
        m_LastError = reason;
        m_sLastCommandResponse = response;
        m_nLastCommandResponseCode = code;
    }
    return ok;
}

bool CSMTPConnection::Login(int loginKind, const std::string& user, const std::string& password) {
    // The first 334 asks for the user and the second for the password, however the server
    // words them; only 235 completes the login.
    if (loginKind == kSMTPLoginAuth) {
        return Command("AUTH LOGIN\r\n", 334) &&
               Command(CBase64Coder::EncodeString(user) + "\r\n", 334, kMasked) &&
               Command(CBase64Coder::EncodeString(password) + "\r\n", 235, kMasked);
    }
    if (HasLineBreak(user) || HasLineBreak(password)) {
        Fail(SMTPError::kInvalidData);
        return false;
    }
    return Command("AUTH LOGIN PLAIN\r\n", 334) && LoginByPrompts(user, password);
}

bool CSMTPConnection::LoginByPrompts(const std::string& user, const std::string& password) {
    // Each prompt gets what it asks for, so that the password never answers a prompt for the
    // user name; a prompt that does not say gets the user name first, the password after.
    bool userSent = false;
    bool passwordSent = false;
    while (true) {
        const PromptAsks asks = AskedFor(m_sLastCommandResponse);
        const bool givePassword =
            asks == PromptAsks::kPassword || (asks == PromptAsks::kUnknown && userSent);
        bool& sent = givePassword ? passwordSent : userSent;
        if (sent) {
            // Asked again for what it has had.
            Fail(SMTPError::kUnexpectedResponse);
            return false;
        }
        sent = true;
        const bool last = userSent && passwordSent;
        if (!Command((givePassword ? password : user) + "\r\n", last ? 235 : 334, kMasked)) {
            return false;
        }
        if (last) {
            return true;
        }
    }
}

bool CSMTPConnection::SendMessage(const CSMTPMessage& message, bool quotedPrintable,
                                  const std::function<void()>& beforeEnd) {
    if (!IsUsable()) {
        Fail(SMTPError::kNotConnected);
        return false;
    }
    m_LastError = SMTPError::kNone;
    m_bDeliveryUnconfirmed = false;
    if (Transaction(message, quotedPrintable, beforeEnd)) {
        return true;
    }
    if (m_LastError == SMTPError::kUnexpectedResponse) {
        m_LastError = SMTPError::kBadCommand;
    }
    if (m_LastError == SMTPError::kBadCommand) {
        Reset();
    }
    return false;
}

bool CSMTPConnection::Transaction(const CSMTPMessage& message, bool quotedPrintable,
                                  const std::function<void()>& beforeEnd) {
    const std::string from = EnvelopeSender(message);
    bool safe = message.RecipientCount() > 0 && (from.empty() || IsSafeMailAddress(from)) &&
                (message.m_ReplyTo.m_sEmailAddress.empty() ||
                 IsSafeMailAddress(message.m_ReplyTo.m_sEmailAddress));
    for (const auto* list : {&message.m_To, &message.m_Cc, &message.m_Bcc}) {
        for (const CSMTPAddress& a : *list) {
            safe = safe && IsSafeMailAddress(a.m_sEmailAddress);
        }
    }
    if (!safe) {
        m_sLastCommandResponse.clear();
        m_nLastCommandResponseCode = 0;
        Fail(SMTPError::kInvalidData);
        return false;
    }
    if (!Command("MAIL FROM:<" + from + ">\r\n", 250)) {
        return false;
    }
    for (const auto* list : {&message.m_To, &message.m_Cc, &message.m_Bcc}) {
        for (const CSMTPAddress& a : *list) {
            // 251: the server forwards to another address, and takes the message all the same.
            if (!Send("RCPT TO:<" + a.m_sEmailAddress + ">\r\n") || !ReadResponse(250, 251)) {
                return false;
            }
        }
    }
    if (!Command("DATA\r\n", 354)) {
        return false;
    }
    const std::string data =
        StuffDots(message.GetHeader(m_sCharset, quotedPrintable, m_Clock.Now())) +
        FrameBody(message.GetBody(), quotedPrintable);
    const std::string shown = "(message data, " + std::to_string(data.size()) + " bytes)";
    if (!Send(data, shown)) {
        return false;
    }
    if (beforeEnd) {
        beforeEnd();
    }
    if (!Send("\r\n.\r\n", ".")) {
        return false;
    }
    if (ReadCommandResponse(250)) {
        return true;
    }
    // A reply that refuses says the server did not take it; no reply leaves it unknown.
    m_bDeliveryUnconfirmed = m_LastError != SMTPError::kUnexpectedResponse;
    return false;
}

void CSMTPConnection::Reset() {
    const std::string response = m_sLastCommandResponse;
    const int code = m_nLastCommandResponseCode;
    if (IsUsable() && !Command("RSET\r\n", 250)) {
        // A server that will not reset cannot be trusted with the next message.
        m_bBroken = true;
    }
    m_LastError = SMTPError::kBadCommand;
    m_sLastCommandResponse = response;
    m_nLastCommandResponseCode = code;
}

bool CSMTPConnection::Disconnect() {
    bool ok = true;
    if (m_bConnected && !m_bBroken) {
        ok = Command("QUIT\r\n", 221);
        if (!ok && m_LastError == SMTPError::kUnexpectedResponse) {
            m_LastError = SMTPError::kBadCommand;
        }
    } else if (m_bConnected) {
        ok = false;
    }
    m_bConnected = false;
    m_bBroken = false;
    m_Socket.Close();
    m_Reader.Clear();
    return ok;
}

}  // namespace corvane
