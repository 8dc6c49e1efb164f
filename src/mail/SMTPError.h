#pragma once

namespace corvane {

// Why an SMTP call failed, with the numbers the system has always logged for them.
enum class SMTPError : int {
    kNone = 0,
    kInvalidData = 13,        // a malformed or unsafe address
    kBadCommand = 22,         // the server refused a command
    kInvalidParameter = 87,   // a login kind other than 0, 2 or 3, or no port number
    kCancelled = 10004,       // the agent is stopping
    kHostNotFound = 10022,    // the server name does not resolve
    kReplyTooLong = 10040,    // a reply larger than the reply buffer
    kMalformedReply = 10041,  // a reply line without a three-digit code
    kUnexpectedResponse = 10043,
    kSocketFailure = 10050,
    kConnectionClosed = 10054,  // the server hung up
    kNotConnected = 10057,
    kTimedOut = 10060,
    kConnectionRefused = 10061,
};

// Errors after which the connection's dialogue can no longer be trusted.
inline bool IsConnectionError(SMTPError error) {
    switch (error) {
        case SMTPError::kNone:
        case SMTPError::kInvalidData:
        case SMTPError::kBadCommand:
        case SMTPError::kInvalidParameter:
        case SMTPError::kUnexpectedResponse:
            return false;
        default:
            return true;
    }
}

// A short English text of the error, for the log.
inline const char* SMTPErrorText(SMTPError error) {
    switch (error) {
        case SMTPError::kNone:
            return "no error";
        case SMTPError::kInvalidData:
            return "malformed or unsafe address";
        case SMTPError::kBadCommand:
            return "command refused";
        case SMTPError::kInvalidParameter:
            return "unknown login kind or port";
        case SMTPError::kCancelled:
            return "cancelled";
        case SMTPError::kHostNotFound:
            return "server not found";
        case SMTPError::kReplyTooLong:
            return "reply too long";
        case SMTPError::kMalformedReply:
            return "malformed reply";
        case SMTPError::kUnexpectedResponse:
            return "unexpected reply";
        case SMTPError::kSocketFailure:
            return "socket failure";
        case SMTPError::kConnectionClosed:
            return "connection closed by the server";
        case SMTPError::kNotConnected:
            return "not connected";
        case SMTPError::kTimedOut:
            return "time-out";
        case SMTPError::kConnectionRefused:
            return "connection refused";
    }
    return "unknown error";
}

}  // namespace corvane
