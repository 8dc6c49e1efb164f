#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

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
};

// The notify agent's one way to the messages waiting to be sent.
class IMailQueue {
public:
    virtual ~IMailQueue() = default;
    // The oldest waiting message, or none; called on the agent's thread.
    virtual std::unique_ptr<CSMTPMessage> PopPendingMail() = 0;
    // Called on the agent's thread whenever a message is sent, deferred or dropped.
    virtual void ReportMailOutcome(MailOutcome outcome) = 0;
};

// The queue of outgoing messages under the mail lock: first in, first out, with the
// outcomes the agent reports kept for the owner's thread to read (the newest kMaxOutcomes).
class CMailQueue final : public IMailQueue {
public:
    static constexpr size_t kMaxOutcomes = 1000;

    void Push(std::unique_ptr<CSMTPMessage> message);
    std::unique_ptr<CSMTPMessage> PopPendingMail() override;
    void ReportMailOutcome(MailOutcome outcome) override;

    // The outcomes reported since the last call, oldest first.
    std::vector<MailOutcome> TakeOutcomes();
    size_t Size() const;

private:
    mutable std::mutex mutex_;
    // Lets the agent's 100 ms poll pass without the lock while nothing waits.
    std::atomic<bool> queued_{false};
    std::deque<std::unique_ptr<CSMTPMessage>> messages_;
    std::deque<MailOutcome> outcomes_;
};

}  // namespace corvane
