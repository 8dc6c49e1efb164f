#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// One server reply: the code of its last line and the text of all its lines (joined by
// CR LF, without the final CR LF).
struct SMTPReply {
    int code = 0;
    std::string text;
};

// Collects received bytes and cuts them into replies. A reply runs to its last line, the
// first whose code is followed by a blank or the line's end ("250-" lines continue it), so a
// multi-line reply is one reply however it arrives. The buffer is capped: a reply that does
// not end within the cap fails instead of growing without bound.
class CSMTPReplyReader {
public:
    static constexpr size_t kMaxReplyBytes = 16 * 1024;

    enum class Status {
        kIncomplete,  // more bytes are needed
        kComplete,    // a reply was taken
        kMalformed,   // a line that does not start with a three-digit code
        kTooLong,     // no reply ends within the cap
    };

    // How many more bytes may be appended.
    size_t Room() const { return kMaxReplyBytes - buffer_.size(); }
    // Appends at most Room() bytes; the rest is not taken.
    size_t Append(std::string_view bytes);
    // Takes the first complete reply out of the buffer. Bytes after it stay for the next.
    Status TakeReply(SMTPReply& reply);
    // The received text of a reply that failed or is still incomplete, for the log.
    std::string_view Pending() const { return buffer_; }
    void Clear() { buffer_.clear(); }

private:
    std::string buffer_;
};

}  // namespace corvane
