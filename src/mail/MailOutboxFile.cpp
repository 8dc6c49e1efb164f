#include "mail/MailOutboxFile.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "platform/Format.h"

namespace corvane {
namespace {

using outbox::RecordKind;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc32(std::string_view bytes) {
    uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes) {
        c = kCrcTable[(c ^ static_cast<uint8_t>(b)) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

// Little-endian, as wide as its type.
template <typename Unsigned>
void PutInt(std::string& out, Unsigned value) {
    for (size_t i = 0; i < sizeof value; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void PutU32(std::string& out, uint32_t value) {
    PutInt(out, value);
}

void PutU64(std::string& out, uint64_t value) {
    PutInt(out, value);
}

void PutText(std::string& out, std::string_view text) {
    PutU32(out, static_cast<uint32_t>(text.size()));
    out.append(text);
}

void PutAddresses(std::string& out, const std::vector<CSMTPAddress>& list) {
    PutU32(out, static_cast<uint32_t>(list.size()));
    for (const CSMTPAddress& a : list) {
        PutText(out, a.m_sFriendlyName);
        PutText(out, a.m_sEmailAddress);
    }
}

std::string Payload(RecordKind kind, uint64_t id) {
    std::string payload(1, static_cast<char>(kind));
    PutU64(payload, id);
    return payload;
}

// Reads what a payload carries; every read fails once the bytes run out.
class PayloadReader {
public:
    explicit PayloadReader(std::string_view bytes) : bytes_(bytes) {}

    bool U32(uint32_t& value) { return Int(value); }
    bool U64(uint64_t& value) { return Int(value); }
    bool Text(std::string& text) {
        uint32_t size = 0;
        if (!U32(size) || size > bytes_.size()) {
            return false;
        }
        text.assign(bytes_.substr(0, size));
        bytes_.remove_prefix(size);
        return true;
    }
    bool Addresses(std::vector<CSMTPAddress>& list) {
        uint32_t count = 0;
        // Each address takes at least its two lengths.
        if (!U32(count) || count > bytes_.size() / 8) {
            return false;
        }
        list.resize(count);
        for (CSMTPAddress& a : list) {
            if (!Text(a.m_sFriendlyName) || !Text(a.m_sEmailAddress)) {
                return false;
            }
        }
        return true;
    }
    bool Done() const { return bytes_.empty(); }

private:
    template <typename Unsigned>
    bool Int(Unsigned& value) {
        if (bytes_.size() < sizeof value) {
            return false;
        }
        value = 0;
        for (size_t i = 0; i < sizeof value; ++i) {
            value |= static_cast<Unsigned>(static_cast<uint8_t>(bytes_[i])) << (8 * i);
        }
        bytes_.remove_prefix(sizeof value);
        return true;
    }

    std::string_view bytes_;
};

std::optional<CSMTPMessage> ReadMessage(PayloadReader& in) {
    CSMTPMessage m;
    uint64_t tag = 0;
    std::string body;
    uint32_t extraCount = 0;
    if (!in.U64(tag) || !in.Text(m.m_From.m_sFriendlyName) || !in.Text(m.m_From.m_sEmailAddress) ||
        !in.Text(m.m_sSubject) || !in.Text(m.m_sXMailer) || !in.Text(m.m_ReplyTo.m_sFriendlyName) ||
        !in.Text(m.m_ReplyTo.m_sEmailAddress) || !in.Text(body) || !in.Addresses(m.m_To) ||
        !in.Addresses(m.m_Cc) || !in.Addresses(m.m_Bcc) || !in.U32(extraCount)) {
        return std::nullopt;
    }
    m.m_nTag = static_cast<int64_t>(tag);
    m.SetBody(std::move(body));
    for (uint32_t i = 0; i < extraCount; ++i) {
        std::string line;
        if (!in.Text(line)) {
            return std::nullopt;
        }
        m.m_ExtraHeaders.push_back(std::move(line));
    }
    return m;
}

struct Replay {
    std::map<uint64_t, OutboxEntry> live;
    uint64_t highestId = 0;
};

// Applies one payload; false when it cannot be read or does not fit what came before.
bool Apply(std::string_view payload, Replay& replay, std::string& why) {
    PayloadReader in(payload.substr(payload.empty() ? 0 : 1));
    uint64_t id = 0;
    if (payload.empty() || !in.U64(id) || id == 0) {
        why = "a record without an entry";
        return false;
    }
    const auto kind = static_cast<RecordKind>(static_cast<uint8_t>(payload[0]));
    const auto found = replay.live.find(id);
    OutboxEntry* entry = found == replay.live.end() ? nullptr : &found->second;
    switch (kind) {
        case RecordKind::kAdd: {
            std::optional<CSMTPMessage> message = ReadMessage(in);
            if (!message || !in.Done()) {
                why = "a message that cannot be read";
                return false;
            }
            if (entry != nullptr) {
                return true;  // an id is added once; a second add changes nothing
            }
            if (replay.live.size() >= outbox::kMaxEntries) {
                why = StrFormat("more than %zu messages", outbox::kMaxEntries);
                return false;
            }
            OutboxEntry added;
            added.id = id;
            added.message = std::make_unique<CSMTPMessage>(std::move(*message));
            added.message->m_nOutboxId = id;
            replay.live.emplace(id, std::move(added));
            replay.highestId = std::max(replay.highestId, id);
            return true;
        }
        case RecordKind::kAttempt: {
            uint32_t attempts = 0;
            std::string reply;
            if (!in.U32(attempts) || !in.Text(reply) || !in.Done() ||
                attempts > static_cast<uint32_t>(outbox::kMaxAttempts)) {
                why = "an attempt that cannot be read";
                return false;
            }
            if (entry != nullptr) {
                entry->attempts = static_cast<int>(attempts);
                entry->lastReply = std::move(reply);
                entry->endSent = false;  // the attempt ended without the server taking it
            }
            return true;
        }
        case RecordKind::kCommit:
        case RecordKind::kEndSent:
        case RecordKind::kRemove:
            if (!in.Done()) {
                why = "a record longer than its kind";
                return false;
            }
            // A record of an entry no longer held changes nothing.
            if (entry == nullptr) {
                return true;
            }
            if (kind == RecordKind::kCommit) {
                entry->committed = true;
            } else if (kind == RecordKind::kEndSent) {
                entry->endSent = true;
            } else {
                replay.live.erase(found);
            }
            return true;
    }
    why = StrFormat("a record of unknown kind %u", static_cast<unsigned>(payload[0] & 0xFF));
    return false;
}

uint32_t ReadU32(std::string_view bytes) {
    uint32_t value = 0;
    PayloadReader(bytes).U32(value);
    return value;
}

}  // namespace

OutboxContents ReadOutbox(std::string_view bytes) {
    OutboxContents contents;
    if (bytes.empty()) {
        return contents;
    }
    if (bytes.substr(0, outbox::kHeader.size()) != outbox::kHeader) {
        contents.damage = "it does not begin as an outbox";
        return contents;
    }
    const bool oversized = bytes.size() > outbox::kMaxFileBytes;
    bytes = bytes.substr(0, outbox::kMaxFileBytes);
    Replay replay;
    size_t at = outbox::kHeader.size();
    contents.soundBytes = at;
    while (at < bytes.size()) {
        const std::string_view rest = bytes.substr(at);
        std::string why;
        if (rest.size() < 8) {
            why = "a record cut short";
        } else {
            const uint32_t size = ReadU32(rest);
            const uint32_t crc = ReadU32(rest.substr(4));
            if (size > outbox::kMaxRecordBytes) {
                why = StrFormat("a record of %u bytes", size);
            } else if (rest.size() - 8 < size) {
                why = "a record cut short";
            } else if (Crc32(rest.substr(8, size)) != crc) {
                why = "a record that fails its check";
            } else if (Apply(rest.substr(8, size), replay, why)) {
                at += 8 + size;
                contents.soundBytes = at;
                continue;
            }
        }
        // Where one record cannot be read, where the next begins is not known either.
        contents.damage = StrFormat("%s at byte %zu", why.c_str(), at);
        break;
    }
    if (oversized) {
        contents.damage = StrFormat("it is larger than %zu bytes", outbox::kMaxFileBytes);
    }
    contents.highestId = replay.highestId;
    for (auto& [id, entry] : replay.live) {
        contents.entries.push_back(std::move(entry));
    }
    return contents;
}

std::string FramedOutboxRecord(std::string_view payload) {
    std::string record;
    PutU32(record, static_cast<uint32_t>(payload.size()));
    PutU32(record, Crc32(payload));
    record.append(payload);
    return record;
}

std::string OutboxAddRecord(uint64_t id, const CSMTPMessage& message) {
    std::string payload = Payload(RecordKind::kAdd, id);
    PutU64(payload, static_cast<uint64_t>(message.m_nTag));
    for (const std::string* text :
         {&message.m_From.m_sFriendlyName, &message.m_From.m_sEmailAddress, &message.m_sSubject,
          &message.m_sXMailer, &message.m_ReplyTo.m_sFriendlyName,
          &message.m_ReplyTo.m_sEmailAddress, &message.GetBody()}) {
        PutText(payload, *text);
    }
    PutAddresses(payload, message.m_To);
    PutAddresses(payload, message.m_Cc);
    PutAddresses(payload, message.m_Bcc);
    PutU32(payload, static_cast<uint32_t>(message.m_ExtraHeaders.size()));
    for (const std::string& line : message.m_ExtraHeaders) {
        PutText(payload, line);
    }
    return FramedOutboxRecord(payload);
}

std::string OutboxCommitRecord(uint64_t id) {
    return FramedOutboxRecord(Payload(RecordKind::kCommit, id));
}

std::string OutboxAttemptRecord(uint64_t id, int attempts, std::string_view reply) {
    std::string payload = Payload(RecordKind::kAttempt, id);
    PutU32(payload, static_cast<uint32_t>(std::clamp(attempts, 0, outbox::kMaxAttempts)));
    PutText(payload, reply.substr(0, outbox::kMaxReplyBytes));
    return FramedOutboxRecord(payload);
}

std::string OutboxEndSentRecord(uint64_t id) {
    return FramedOutboxRecord(Payload(RecordKind::kEndSent, id));
}

std::string OutboxRemoveRecord(uint64_t id) {
    return FramedOutboxRecord(Payload(RecordKind::kRemove, id));
}

std::string OutboxStateRecords(uint64_t id, int attempts, std::string_view reply, bool committed,
                               bool endSent) {
    std::string records;
    if (committed) {
        records += OutboxCommitRecord(id);
    }
    if (attempts > 0 || !reply.empty()) {
        records += OutboxAttemptRecord(id, attempts, reply);
    }
    if (endSent) {
        records += OutboxEndSentRecord(id);
    }
    return records;
}

}  // namespace corvane
