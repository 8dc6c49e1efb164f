#include "mail/MailQueue.h"

namespace corvane {

void CMailQueue::Push(std::unique_ptr<CSMTPMessage> message) {
    if (!message) {
        return;
    }
    std::lock_guard lock(mutex_);
    messages_.push_back(std::move(message));
    queued_ = true;
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

void CMailQueue::ReportMailOutcome(MailOutcome outcome) {
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
