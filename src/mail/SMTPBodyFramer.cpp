#include "mail/SMTPBodyFramer.h"

namespace corvane {
namespace {

// Calls line(text) for every line of CR LF text, and says whether the line ended in CR LF.
template <typename F>
void ForEachLine(std::string_view text, F line) {
    while (!text.empty()) {
        const size_t end = text.find("\r\n");
        if (end == std::string_view::npos) {
            line(text, false);
            return;
        }
        line(text.substr(0, end), true);
        text.remove_prefix(end + 2);
    }
}

}  // namespace

std::string NormalizeLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string EncodeQuotedPrintable(std::string_view text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    ForEachLine(text, [&](std::string_view line, bool crlf) {
        size_t width = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            const bool last = i + 1 == line.size();
            const bool literal = (c >= 0x20 && c < 0x7F && c != '=') || c == '\t';
            const bool encode = !literal || (last && (c == ' ' || c == '\t'));
            const size_t size = encode ? 3 : 1;
            // A soft break "=" needs one column; the line's last character needs none.
            if (width + size > (last ? kSMTPLineWidth : kSMTPLineWidth - 1)) {
                out += "=\r\n";
                width = 0;
            }
            if (encode) {
                out += '=';
                out += digits[c >> 4];
                out += digits[c & 0x0F];
            } else {
                out += static_cast<char>(c);
            }
            width += size;
        }
        if (crlf) {
            out += "\r\n";
        }
    });
    return out;
}

std::string BreakLongLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / kSMTPLineWidth * 2);
    ForEachLine(text, [&](std::string_view line, bool crlf) {
        while (line.size() > kSMTPLineWidth) {
            out.append(line.substr(0, kSMTPLineWidth));
            out += "\r\n";
            line.remove_prefix(kSMTPLineWidth);
        }
        out.append(line);
        if (crlf) {
            out += "\r\n";
        }
    });
    return out;
}

std::string StuffDots(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    ForEachLine(text, [&](std::string_view line, bool crlf) {
        if (!line.empty() && line.front() == '.') {
            out += '.';
        }
        out.append(line);
        if (crlf) {
            out += "\r\n";
        }
    });
    return out;
}

std::string FrameBody(std::string_view body, bool quotedPrintable) {
    std::string text = NormalizeLineEnds(body);
    if (quotedPrintable) {
        text = EncodeQuotedPrintable(text);
    }
    return StuffDots(BreakLongLines(text));
}

}  // namespace corvane
