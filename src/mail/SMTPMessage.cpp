#include "mail/SMTPMessage.h"

#include "mail/MailDate.h"

namespace corvane {
namespace {

std::string JoinDisplayForms(const std::vector<CSMTPAddress>& addresses) {
    std::string text;
    for (const CSMTPAddress& a : addresses) {
        if (!text.empty()) {
            text += ",";
        }
        text += a.GetRegularFormat();
    }
    return text;
}

void AddLine(std::string& header, std::string_view name, std::string_view value) {
    header.append(name);
    header += ": ";
    header += StripControlCharacters(value);
    header += "\r\n";
}

}  // namespace

bool CSMTPMessage::AddRecipients(std::string_view list, RecipientKind kind) {
    auto parsed = ParseRecipientList(list);
    if (!parsed) {
        return false;
    }
    std::vector<CSMTPAddress>& target = kind == CC ? m_Cc : kind == BCC ? m_Bcc : m_To;
    target.insert(target.end(), parsed->begin(), parsed->end());
    return true;
}

std::string CSMTPMessage::GetHeader(std::string_view charset, bool quotedPrintable,
                                    WallTime now) const {
    std::string header;
    AddLine(header, "From", m_From.GetRegularFormat());
    AddLine(header, "To", JoinDisplayForms(m_To));
    if (!m_Cc.empty()) {
        AddLine(header, "Cc", JoinDisplayForms(m_Cc));
    }
    AddLine(header, "Subject", m_sSubject);
    AddLine(header, "Date", FormatMailDate(now));
    AddLine(header, "X-Mailer", m_sXMailer);
    AddLine(header, "MIME-Version", "1.0");
    AddLine(header, "Content-type", "text/plain; charset=" + std::string(charset));
    if (quotedPrintable) {
        AddLine(header, "Content-Transfer-Encoding", "quoted-printable");
    }
    if (!m_ReplyTo.m_sEmailAddress.empty()) {
        AddLine(header, "Reply-To", m_ReplyTo.m_sEmailAddress);
    }
    for (const std::string& line : m_ExtraHeaders) {
        // An empty line would end the header early.
        const std::string clean = StripControlCharacters(line);
        if (!clean.empty()) {
            header += clean;
            header += "\r\n";
        }
    }
    header += "\r\n";
    return header;
}

std::string CSMTPMessage::RecipientText() const {
    std::string text;
    for (const auto* list : {&m_To, &m_Cc, &m_Bcc}) {
        for (const CSMTPAddress& a : *list) {
            if (!text.empty()) {
                text += ", ";
            }
            text += a.m_sEmailAddress;
        }
    }
    return text;
}

}  // namespace corvane
