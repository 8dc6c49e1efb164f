#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SMTPAddress.h"
#include "platform/Clock.h"

namespace corvane {

// One e-mail message: its addresses, subject, body and extra header lines.
class CSMTPMessage {
public:
    enum RecipientKind { TO = 0, CC = 1, BCC = 2 };

    CSMTPAddress m_From;
    std::string m_sSubject;
    std::string m_sXMailer = "CSMTPConnection v2.04";
    CSMTPAddress m_ReplyTo;  // an empty address gives no Reply-To line
    std::vector<CSMTPAddress> m_To;
    std::vector<CSMTPAddress> m_Cc;
    std::vector<CSMTPAddress> m_Bcc;
    std::vector<std::string> m_ExtraHeaders;
    // The caller's key for this message (the alarm it tells of), handed back with its outcome.
    int64_t m_nTag = 0;
    // Its entry in the mail outbox, which keeps it until it is delivered or given up; 0: none.
    uint64_t m_nOutboxId = 0;

    // Adds the addresses of a recipient list; adds nothing and fails when the list is
    // malformed or names an unsafe address (see ParseRecipientList).
    bool AddRecipients(std::string_view list, RecipientKind kind = TO);

    // The body is kept as given: line ends, long lines and leading dots are dealt with when
    // it is sent.
    void SetBody(std::string body) { m_sBody = std::move(body); }
    const std::string& GetBody() const { return m_sBody; }

    // The header block, ending in an empty line. Control characters are left out of every
    // value, so no value can start a header line of its own.
    std::string GetHeader(std::string_view charset, bool quotedPrintable, WallTime now) const;

    size_t RecipientCount() const { return m_To.size() + m_Cc.size() + m_Bcc.size(); }
    // Every recipient address, To then Cc then Bcc, joined by ", " (for the log).
    std::string RecipientText() const;

private:
    std::string m_sBody;
};

}  // namespace corvane
