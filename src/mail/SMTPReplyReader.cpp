#include "mail/SMTPReplyReader.h"

namespace corvane {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

size_t CSMTPReplyReader::Append(std::string_view bytes) {
    const size_t taken = std::min(bytes.size(), Room());
    buffer_.append(bytes.substr(0, taken));
    return taken;
}

CSMTPReplyReader::Status CSMTPReplyReader::TakeReply(SMTPReply& reply) {
    // Lines end in CR LF; a bare LF is taken as well, the CR before it is not part of the line.
    size_t start = 0;
    while (true) {
        const size_t lf = buffer_.find('\n', start);
        const size_t end = lf == std::string::npos ? buffer_.size() : lf;
        std::string_view line(buffer_.data() + start, end - start);
        if (lf != std::string::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        // A line that has already shown it is no reply line fails at once.
        for (size_t i = 0; i < line.size() && i < 3; ++i) {
            if (!IsDigit(line[i])) {
                return Status::kMalformed;
            }
        }
        if (line.size() > 3 && line[3] != '-' && line[3] != ' ' &&
            !(lf == std::string::npos && line.size() == 4 && line[3] == '\r')) {
            return Status::kMalformed;
        }
        if (lf == std::string::npos) {
            return Room() == 0 ? Status::kTooLong : Status::kIncomplete;
        }
        if (line.size() < 3) {
            return Status::kMalformed;
        }
        if (line.size() == 3 || line[3] == ' ') {
            reply.code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
            reply.text.assign(buffer_.data(), line.data() + line.size() - buffer_.data());
            buffer_.erase(0, lf + 1);
            return Status::kComplete;
        }
        start = lf + 1;
    }
}

}  // namespace corvane
