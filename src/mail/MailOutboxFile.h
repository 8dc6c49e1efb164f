#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mail/SMTPMessage.h"

namespace corvane {

// The bytes of the mail outbox: a header line, then records that each change one entry.
// A record is its payload's length and CRC-32 (both 32-bit little-endian) and the payload: a
// kind byte, the entry's id (64-bit) and what the kind carries. Reading replays the records
// in order; the entries left are the messages still to deliver.
namespace outbox {

inline constexpr std::string_view kHeader = "Corvane outbox 1\n";
inline constexpr size_t kMaxRecordBytes = 1 << 20;
inline constexpr size_t kMaxFileBytes = 64 << 20;  // read no further
inline constexpr size_t kMaxEntries = 5000;
inline constexpr int kMaxAttempts = 1000;
inline constexpr size_t kMaxReplyBytes = 1000;  // a longer reply is cut when written

enum class RecordKind : uint8_t {
    kAdd = 1,      // the message itself
    kCommit = 2,   // its alarm row says it is handed on
    kAttempt = 3,  // an attempt failed: the count so far and the server's last reply
    kEndSent = 4,  // its final "." is going to the server: it may be delivered from now on
    kRemove = 5,   // delivered or given up
};

}  // namespace outbox

// One message the outbox holds, with what the file says of it.
struct OutboxEntry {
    uint64_t id = 0;
    std::unique_ptr<CSMTPMessage> message;  // its m_nOutboxId is the id
    int attempts = 0;
    std::string lastReply;
    bool committed = false;
    bool endSent = false;
};

// What a read of the file kept.
struct OutboxContents {
    std::vector<OutboxEntry> entries;  // oldest first
    uint64_t highestId = 0;
    size_t soundBytes = 0;  // up to the end of the last record that could be read
    std::string damage;     // why the rest could not be read; empty when all could
};

OutboxContents ReadOutbox(std::string_view bytes);

std::string OutboxAddRecord(uint64_t id, const CSMTPMessage& message);
std::string OutboxCommitRecord(uint64_t id);
std::string OutboxAttemptRecord(uint64_t id, int attempts, std::string_view reply);
std::string OutboxEndSentRecord(uint64_t id);
std::string OutboxRemoveRecord(uint64_t id);

// A record of any payload: its length, its CRC-32 and the payload.
std::string FramedOutboxRecord(std::string_view payload);

// The records that give the entry as it stands, after its add record.
std::string OutboxStateRecords(uint64_t id, int attempts, std::string_view reply, bool committed,
                               bool endSent);

}  // namespace corvane
