#include "platform/ProfileText.h"

#include <algorithm>
#include <cctype>

#include "platform/Format.h"

namespace corvane {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ValidName(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        return c == '\n' || c == '\r' || c == '\0' || c == '=' || c == '[' || c == ']';
    });
}

}  // namespace

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string EscapeProfileValue(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(raw[i]);
        const bool edge = (i == 0 || i + 1 == raw.size());
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                // Blanks at either end would be lost to trimming on read.
                if (c < 0x20 || c == 0x7F || (c == ' ' && edge)) {
                    out += StrFormat("\\x%02x", c);
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

bool UnescapeProfileValue(std::string_view text, std::string& raw) {
    raw.clear();
    bool ok = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\') {
            raw += c;
            continue;
        }
        if (i + 1 >= text.size()) {
            ok = false;
            break;
        }
        const char e = text[++i];
        switch (e) {
            case '\\':
                raw += '\\';
                break;
            case 'n':
                raw += '\n';
                break;
            case 'r':
                raw += '\r';
                break;
            case 't':
                raw += '\t';
                break;
            case 'x': {
                const int hi = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
                const int lo = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
                if (hi < 0 || lo < 0) {
                    ok = false;
                    break;
                }
                raw += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                ok = false;
                raw += e;
        }
    }
    return ok;
}

ProfileData ParseProfileText(std::string_view text, std::vector<std::string>& problems) {
    ProfileData data;
    ProfileSection* section = nullptr;
    size_t lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const std::string_view name = line.size() >= 2 && line.back() == ']'
                                              ? Trim(line.substr(1, line.size() - 2))
                                              : std::string_view{};
            if (!ValidName(name)) {
                problems.push_back(StrFormat("line %zu: bad section header", lineNumber));
                section = nullptr;
                continue;
            }
            section = &data[std::string(name)];
            continue;
        }
        const size_t eq = line.find('=');
        const std::string_view key = eq == std::string_view::npos ? line : Trim(line.substr(0, eq));
        if (eq == std::string_view::npos || !ValidName(key)) {
            problems.push_back(StrFormat("line %zu: not a key=value line", lineNumber));
            continue;
        }
        if (section == nullptr) {
            problems.push_back(StrFormat("line %zu: key outside a section", lineNumber));
            continue;
        }
        std::string value;
        if (!UnescapeProfileValue(Trim(line.substr(eq + 1)), value)) {
            problems.push_back(StrFormat("line %zu: bad escape in value", lineNumber));
        }
        (*section)[std::string(key)] = std::move(value);
    }
    return data;
}

std::string SerializeProfile(const ProfileData& data) {
    std::string out;
    for (const auto& [name, entries] : data) {
        if (!out.empty()) {
            out += '\n';
        }
        out += '[' + name + "]\n";
        for (const auto& [key, value] : entries) {
            out += key + '=' + EscapeProfileValue(value) + '\n';
        }
    }
    return out;
}

}  // namespace corvane
