#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "mail/MailOutbox.h"
#include "mail/SMTPMessage.h"

namespace corvane {

// What became of a message the notify agent took from the queue.
enum class MailResult {
    kSent,         // the server took it
    kDeferred,     // a temporary failure: it is kept and tried again later
    kDropped,      // a permanent failure, or the retry bound is passed: it is given up
    kUnconfirmed,  // it went out whole but the server's answer never came: not sent again
    kUnsent,       // the agent stopped before the server took it
};

struct MailOutcome {
    int64_t tag = 0;  // the message's m_nTag
    MailResult result = MailResult::kSent;
    std::string subject;
    std::string lastReply;  // the server's last reply, or why there was none
    uint64_t outboxId = 0;  // the message's m_nOutboxId
    int attempts = 0;       // failed attempts so far
};

// The notify agent's one way to the messages waiting to be sent.
class IMailQueue {
public:
    virtual ~IMailQueue() = default;
    // The oldest waiting message, or none; called on the agent's thread.
    virtual std::unique_ptr<CSMTPMessage> PopPendingMail() = 0;
    // Called on the agent's thread right before the message's final "." goes to the server.
    virtual void ReportMessageEndSent(const CSMTPMessage& message) = 0;
    // Called on the agent's thread whenever a message is sent, deferred or dropped.
    virtual void ReportMailOutcome(MailOutcome outcome) = 0;
};

// The queue of outgoing messages under the mail lock: first in, first out, with the
// outcomes the agent reports kept for the owner's thread to read (the newest kMaxOutcomes).
// With an outbox, a message is written into it before its alarm row says it is handed on
// (Keep), and leaves it once the agent reports it delivered or given up.
class CMailQueue final : public IMailQueue {
public:
    static constexpr size_t kMaxOutcomes = 1000;

    // Set before the agent starts; the outbox outlives the queue.
    void SetOutbox(CMailOutbox* outbox) { outbox_ = outbox; }
    // Writes the messages into the outbox; false when it cannot take them (then none is
    // kept). Without an outbox they are kept in memory only, and it is true.
    bool Keep(const std::vector<std::unique_ptr<CSMTPMessage>>& messages);
    // Their alarm row could not be written: kept messages that will not be pushed.
    void TakeBack(const std::vector<std::unique_ptr<CSMTPMessage>>& messages);
    // Queues the messages for the agent; kept ones are then the agent's in the outbox too.
    void Push(std::vector<std::unique_ptr<CSMTPMessage>> messages);
    void Push(std::unique_ptr<CSMTPMessage> message);
    std::unique_ptr<CSMTPMessage> PopPendingMail() override;
    void ReportMessageEndSent(const CSMTPMessage& message) override;
    void ReportMailOutcome(MailOutcome outcome) override;

    // The outcomes reported since the last call, oldest first.
    std::vector<MailOutcome> TakeOutcomes();
    size_t Size() const;

private:
    CMailOutbox* outbox_ = nullptr;
    mutable std::mutex mutex_;
    // Lets the agent's 100 ms poll pass without the lock while nothing waits.
    std::atomic<bool> queued_{false};
    std::deque<std::unique_ptr<CSMTPMessage>> messages_;
    std::deque<MailOutcome> outcomes_;
};

}  // namespace corvane
