#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One mailbox: a friendly name (may be empty) and an address.
struct CSMTPAddress {
    std::string m_sFriendlyName;
    std::string m_sEmailAddress;

    CSMTPAddress() = default;
    explicit CSMTPAddress(std::string address) : m_sEmailAddress(std::move(address)) {}
    CSMTPAddress(std::string name, std::string address)
        : m_sFriendlyName(std::move(name)), m_sEmailAddress(std::move(address)) {}

    // "name <address>", or the address alone when there is no name; control characters of
    // the name are left out so that the form is safe in a header line.
    std::string GetRegularFormat() const;

    bool operator==(const CSMTPAddress&) const = default;
};

// An address that can stand between angle brackets in a command or a header: not empty and
// free of control characters, blanks, "<" and ">".
bool IsSafeMailAddress(std::string_view address);

// Splits a recipient list at "," and ";": each piece is "name <address>" or a bare address;
// both parts are trimmed and pieces without an address are skipped. None when a piece has ">"
// before "<" or an address that is not safe.
std::optional<std::vector<CSMTPAddress>> ParseRecipientList(std::string_view list);

// The text with every control character (below 0x20, and 0x7F) left out.
std::string StripControlCharacters(std::string_view text);

}  // namespace corvane
