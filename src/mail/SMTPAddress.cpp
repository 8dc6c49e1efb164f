#include "mail/SMTPAddress.h"

namespace corvane {
namespace {

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::string StripControlCharacters(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (!IsControl(static_cast<unsigned char>(c))) {
            out += c;
        }
    }
    return out;
}

std::string CSMTPAddress::GetRegularFormat() const {
    const std::string name = StripControlCharacters(m_sFriendlyName);
    if (name.empty()) {
        return m_sEmailAddress;
    }
    return name + " <" + m_sEmailAddress + ">";
}

bool IsSafeMailAddress(std::string_view address) {
    if (address.empty()) {
        return false;
    }
    for (const char c : address) {
        const auto u = static_cast<unsigned char>(c);
        if (IsControl(u) || c == ' ' || c == '<' || c == '>') {
            return false;
        }
    }
    return true;
}

std::optional<std::vector<CSMTPAddress>> ParseRecipientList(std::string_view list) {
    std::vector<CSMTPAddress> result;
    while (true) {
        const size_t end = list.find_first_of(",;");
        const std::string_view piece = list.substr(0, end);
        std::string_view name;
        std::string_view address;
        const size_t open = piece.find('<');
        if (open != std::string_view::npos) {
            const size_t close = piece.find('>');
            if (close != std::string_view::npos && close < open) {
                return std::nullopt;
            }
            name = piece.substr(0, open);
            address =
                piece.substr(open + 1, close == std::string_view::npos ? std::string_view::npos
                                                                       : close - open - 1);
        } else {
            address = piece;
        }
        address = Trim(address);
        if (!address.empty()) {
            if (!IsSafeMailAddress(address)) {
                return std::nullopt;
            }
            result.emplace_back(std::string(Trim(name)), std::string(address));
        }
        if (end == std::string_view::npos) {
            break;
        }
        list.remove_prefix(end + 1);
    }
    return result;
}

}  // namespace corvane
