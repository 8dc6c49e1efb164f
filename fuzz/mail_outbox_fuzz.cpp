// The mail outbox reader on arbitrary file bytes: it must not crash, hold no more than its
// bound, say why when it stops short, and read what it kept, written anew as the outbox writes
// it, back as the same entries.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "mail/MailOutboxFile.h"

namespace {

using namespace corvane;

bool SameEntry(const OutboxEntry& a, const OutboxEntry& b) {
    const CSMTPMessage& m = *a.message;
    const CSMTPMessage& n = *b.message;
    return a.id == b.id && a.attempts == b.attempts && a.committed == b.committed &&
           a.endSent == b.endSent && a.lastReply.substr(0, outbox::kMaxReplyBytes) == b.lastReply &&
           m.m_nTag == n.m_nTag && m.m_From == n.m_From && m.m_sSubject == n.m_sSubject &&
           m.m_sXMailer == n.m_sXMailer && m.m_ReplyTo == n.m_ReplyTo && m.m_To == n.m_To &&
           m.m_Cc == n.m_Cc && m.m_Bcc == n.m_Bcc && m.m_ExtraHeaders == n.m_ExtraHeaders &&
           m.GetBody() == n.GetBody() && n.m_nOutboxId == b.id;
}

// After a first byte 'F', the input is payloads, each after a two-byte length, framed with
// their right checksums, so that the payloads' own decoding is reached; otherwise the file's
// bytes as they are.
std::string FileOf(std::string_view input) {
    if (input.empty() || input[0] != 'F') {
        return std::string(input);
    }
    std::string file(outbox::kHeader);
    input.remove_prefix(1);
    while (input.size() >= 2) {
        const size_t length = static_cast<uint8_t>(input[0]) | static_cast<uint8_t>(input[1]) << 8;
        input.remove_prefix(2);
        const std::string_view payload = input.substr(0, length);
        input.remove_prefix(payload.size());
        file += FramedOutboxRecord(payload);
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes = FileOf(std::string_view(reinterpret_cast<const char*>(data), size));
    const OutboxContents contents = ReadOutbox(bytes);
    if (contents.entries.size() > outbox::kMaxEntries || contents.soundBytes > bytes.size() ||
        (contents.damage.empty() && contents.soundBytes != bytes.size())) {
        std::abort();
    }
    std::string again(outbox::kHeader);
    uint64_t previous = 0;
    for (const OutboxEntry& e : contents.entries) {
        if (e.message == nullptr || e.id <= previous || e.id > contents.highestId ||
            e.message->m_nOutboxId != e.id || e.attempts < 0 || e.attempts > outbox::kMaxAttempts) {
            std::abort();
        }
        previous = e.id;
        again += OutboxAddRecord(e.id, *e.message);
        again += OutboxStateRecords(e.id, e.attempts, e.lastReply, e.committed, e.endSent);
    }
    const OutboxContents reread = ReadOutbox(again);
    if (!reread.damage.empty() || reread.entries.size() != contents.entries.size()) {
        std::abort();
    }
    for (size_t i = 0; i < reread.entries.size(); ++i) {
        if (!SameEntry(contents.entries[i], reread.entries[i])) {
            std::abort();
        }
    }
    return 0;
}
