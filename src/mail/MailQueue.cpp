#include "mail/MailQueue.h"

namespace corvane {

bool CMailQueue::Keep(const std::vector<std::unique_ptr<CSMTPMessage>>& messages) {
    if (outbox_ == nullptr || messages.empty()) {
        return true;
    }
    std::vector<CSMTPMessage*> kept;
    for (const auto& m : messages) {
        kept.push_back(m.get());
    }
    return outbox_->Add(kept);
}

void CMailQueue::TakeBack(const std::vector<std::unique_ptr<CSMTPMessage>>& messages) {
    for (const auto& m : messages) {
        if (outbox_ != nullptr && m->m_nOutboxId != 0) {
            outbox_->Remove(m->m_nOutboxId);
            m->m_nOutboxId = 0;
        }
    }
}

void CMailQueue::Push(std::vector<std::unique_ptr<CSMTPMessage>> messages) {
    std::vector<uint64_t> kept;
    for (const auto& m : messages) {
        if (m && m->m_nOutboxId != 0) {
            kept.push_back(m->m_nOutboxId);
        }
    }
    if (outbox_ != nullptr && !kept.empty()) {
        outbox_->Commit(kept);
    }
    std::lock_guard lock(mutex_);
    for (auto& m : messages) {
        if (m) {
            messages_.push_back(std::move(m));
            queued_ = true;
        }
    }
}

void CMailQueue::Push(std::unique_ptr<CSMTPMessage> message) {
    std::vector<std::unique_ptr<CSMTPMessage>> one;
    one.push_back(std::move(message));
    Push(std::move(one));
}

std::unique_ptr<CSMTPMessage> CMailQueue::PopPendingMail() {
    if (!queued_) {
        return nullptr;
    }
    std::lock_guard lock(mutex_);
    if (messages_.empty()) {
        return nullptr;
    }
    std::unique_ptr<CSMTPMessage> message = std::move(messages_.front());
    messages_.pop_front();
    queued_ = !messages_.empty();
    return message;
}

void CMailQueue::ReportMessageEndSent(const CSMTPMessage& message) {
    if (outbox_ != nullptr && message.m_nOutboxId != 0) {
        outbox_->EndSent(message.m_nOutboxId);
    }
}

void CMailQueue::ReportMailOutcome(MailOutcome outcome) {
    if (outbox_ != nullptr && outcome.outboxId != 0) {
        // A message that waits keeps its place with its attempts; any other leaves.
        if (outcome.result == MailResult::kDeferred || outcome.result == MailResult::kUnsent) {
            outbox_->Attempted(outcome.outboxId, outcome.attempts, outcome.lastReply);
        } else {
            outbox_->Remove(outcome.outboxId);
        }
    }
    std::lock_guard lock(mutex_);
    outcomes_.push_back(std::move(outcome));
    if (outcomes_.size() > kMaxOutcomes) {
        outcomes_.pop_front();
    }
}

std::vector<MailOutcome> CMailQueue::TakeOutcomes() {
    std::lock_guard lock(mutex_);
    std::vector<MailOutcome> taken(std::make_move_iterator(outcomes_.begin()),
                                   std::make_move_iterator(outcomes_.end()));
    outcomes_.clear();
    return taken;
}

size_t CMailQueue::Size() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
}

}  // namespace corvane
