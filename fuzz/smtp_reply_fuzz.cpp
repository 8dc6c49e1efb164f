// The SMTP reply reader on arbitrary server bytes: it must not crash, never hold more than its
// cap, give codes of three digits, and cut the same replies however the bytes arrive. The first
// byte chooses the size of the pieces.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SMTPReplyReader.h"

namespace {

using corvane::CSMTPReplyReader;
using corvane::SMTPReply;

struct Result {
    std::vector<SMTPReply> replies;
    CSMTPReplyReader::Status last = CSMTPReplyReader::Status::kIncomplete;
};

Result Read(std::string_view bytes, size_t piece) {
    CSMTPReplyReader reader;
    Result result;
    while (true) {
        SMTPReply reply;
        while ((result.last = reader.TakeReply(reply)) == CSMTPReplyReader::Status::kComplete) {
            if (reply.code < 0 || reply.code > 999 || reply.text.size() < 3 ||
                reply.text.size() > CSMTPReplyReader::kMaxReplyBytes) {
                std::abort();
            }
            result.replies.push_back(reply);
        }
        if (result.last != CSMTPReplyReader::Status::kIncomplete || bytes.empty()) {
            return result;
        }
        const size_t taken = reader.Append(bytes.substr(0, piece));
        if (reader.Pending().size() > CSMTPReplyReader::kMaxReplyBytes) {
            std::abort();
        }
        bytes.remove_prefix(taken);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const size_t piece = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const Result small = Read(bytes, piece);
    const Result whole = Read(bytes, bytes.size() + 1);
    if (small.last != whole.last || small.replies.size() != whole.replies.size()) {
        std::abort();
    }
    for (size_t i = 0; i < small.replies.size(); ++i) {
        if (small.replies[i].code != whole.replies[i].code ||
            small.replies[i].text != whole.replies[i].text) {
            std::abort();
        }
    }
    return 0;
}
