#include "mail/NotifyAgent.h"

#include "mail/SMTPConnection.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

std::string ReplyText(const CSMTPConnection& connection) {
    std::string reply = connection.GetLastCommandResponse();
    for (char& c : reply) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    if (connection.GetLastError() == SMTPError::kNone) {
        return reply;
    }
    const std::string error = SMTPErrorText(connection.GetLastError());
    return reply.empty() ? error : reply + " (" + error + ")";
}

}  // namespace

std::chrono::seconds MailRetryPolicy::DelayAfter(int failedAttempts) const {
    std::chrono::seconds delay = firstDelay;
    for (int i = 1; i < failedAttempts && delay < maxDelay; ++i) {
        delay *= 2;
    }
    return std::min(delay, maxDelay);
}

CNotifyAgent::CNotifyAgent(IMailQueue& queue, const SharedSettings& settings, const IClock& clock,
                           NotifyAgentOptions options)
    : queue_(queue), settings_(settings), clock_(clock), options_(options) {}

CNotifyAgent::~CNotifyAgent() {
    Stop();
}

void CNotifyAgent::Resume(std::vector<OutboxEntry> entries) {
    for (OutboxEntry& entry : entries) {
        if (entry.endSent) {
            Unconfirmed(*entry.message, "the last run ended before the server answered its end");
            continue;
        }
        // Due at once.
        held_.push_back({std::move(entry.message), entry.attempts, {}, std::move(entry.lastReply)});
    }
    DropBeyondTheBound();
}

void CNotifyAgent::Start() {
    if (thread_.joinable()) {
        return;
    }
    log_.Printf(3, "Start the Notify Agent thread");
    stop_ = false;
    cancel_ = false;
    stopped_ = false;
    thread_ = std::thread([this] { Run(); });
}

void CNotifyAgent::RequestStop() {
    {
        std::lock_guard lock(wakeMutex_);
        if (!stop_) {
            stopRequested_ = std::chrono::steady_clock::now();
        }
        stop_ = true;
    }
    wake_.notify_all();
}

void CNotifyAgent::AwaitStop() {
    std::unique_lock lock(wakeMutex_);
    // In real time: the stop is bounded whatever clock the retries are measured with.
    if (!wake_.wait_until(lock, stopRequested_ + options_.stopGrace,
                          [this] { return stopped_.load(); })) {
        cancel_ = true;
    }
}

void CNotifyAgent::Join() {
    AwaitStop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void CNotifyAgent::Stop() {
    RequestStop();
    Join();
}

void CNotifyAgent::Run() {
    while (true) {
        {
            std::unique_lock lock(wakeMutex_);
            wake_.wait_for(lock, options_.pollInterval, [this] { return stop_.load(); });
        }
        if (stop_) {
            break;
        }
        Pass();
    }
    LastPass();
    for (const HeldMessage& item : held_) {
        Leave(item);
    }
    held_.clear();
    {
        std::lock_guard lock(wakeMutex_);
        stopped_ = true;
    }
    wake_.notify_all();
}

std::deque<CNotifyAgent::HeldMessage> CNotifyAgent::TakeDueMessages() {
    std::deque<HeldMessage> due;
    const SteadyTime now = clock_.Steady();
    for (auto it = held_.begin(); it != held_.end();) {
        if (it->due <= now) {
            due.push_back(std::move(*it));
            it = held_.erase(it);
        } else {
            ++it;
        }
    }
    return due;
}

void CNotifyAgent::Pass() {
    std::deque<HeldMessage> batch = TakeDueMessages();
    while (auto message = queue_.PopPendingMail()) {
        batch.push_back({std::move(message), 0, {}, {}});
    }
    if (batch.empty()) {
        return;
    }
    Deliver(batch, settings_.Snapshot(), false);
}

void CNotifyAgent::LastPass() {
    std::deque<HeldMessage> batch;
    batch.swap(held_);
    while (auto message = queue_.PopPendingMail()) {
        batch.push_back({std::move(message), 0, {}, {}});
    }
    if (!batch.empty()) {
        Deliver(batch, settings_.Snapshot(), true);
    }
}

bool CNotifyAgent::Open(CSMTPConnection& connection, const AppSettings& settings) {
    const int kind = settings.EmailSMTPLoginType;
    const bool login = kind == kSMTPLoginAuth || kind == kSMTPLoginAuthPlain;
    connection.SetConnectTimeout(options_.connectTimeout);
    connection.SetResponseTimeout(options_.responseTimeout);
    return connection.Connect(settings.EmailHost, kind, login ? settings.EmailUsername : "",
                              login ? settings.EmailPassword : "", settings.EmailSMTPPort);
}

CNotifyAgent::Failure CNotifyAgent::Classify(const CSMTPConnection& connection) const {
    const SMTPError error = connection.GetLastError();
    const int code = connection.GetLastCommandResponseCode();
    Failure failure;
    failure.reply = ReplyText(connection);
    failure.cancelled = error == SMTPError::kCancelled;
    if (error == SMTPError::kInvalidData || error == SMTPError::kInvalidParameter) {
        failure.permanent = true;
    } else if (code != 0) {
        // A 4xx reply asks to try again later; any other refusal is final.
        failure.permanent = code < 400 || code > 499;
    }
    return failure;
}

void CNotifyAgent::Deliver(std::deque<HeldMessage>& batch, const AppSettings& settings, bool last) {
    std::unique_ptr<CSMTPConnection> connection;
    // One failed connection attempt per pass stands for every message of the pass.
    std::optional<Failure> connectFailure;
    if (settings.EmailHost.empty()) {
        connectFailure = Failure{true, false, "no mail server (EmailHost) is set"};
    }
    while (!batch.empty()) {
        HeldMessage item = std::move(batch.front());
        batch.pop_front();
        // A stop request leaves the rest to the last pass; the end of the grace, to nobody.
        if (last ? cancel_.load() : stop_.load()) {
            held_.push_back(std::move(item));
            continue;
        }
        if (!connectFailure && (!connection || !connection->IsUsable())) {
            // A broken connection is replaced for the messages after it.
            connection = std::make_unique<CSMTPConnection>(clock_, &cancel_, &log_);
            if (!Open(*connection, settings)) {
                connectFailure = Classify(*connection);
            }
        }
        if (connectFailure) {
            Handle(std::move(item), *connectFailure, last);
            continue;
        }
        const CSMTPMessage& message = *item.message;
        if (connection->SendMessage(message, false,
                                    [&] { queue_.ReportMessageEndSent(message); })) {
            log_.Printf(3, "Sent \"%s\" to %s", message.m_sSubject.c_str(),
                        message.RecipientText().c_str());
            Report(message, item.attempts, MailResult::kSent, ReplyText(*connection));
        } else if (connection->IsDeliveryUnconfirmed()) {
            Unconfirmed(message, ReplyText(*connection));
        } else {
            Handle(std::move(item), Classify(*connection), last);
        }
    }
    if (connection && connection->IsConnected()) {
        connection->Disconnect();
    }
}

void CNotifyAgent::Handle(HeldMessage item, const Failure& failure, bool last) {
    if (failure.cancelled) {
        held_.push_back(std::move(item));
        return;
    }
    ++item.attempts;
    item.lastReply = failure.reply;
    if (failure.permanent) {
        Drop(std::move(item), failure.reply);
    } else if (item.attempts >= options_.retry.maxAttempts) {
        Drop(std::move(item), "no success in " + std::to_string(item.attempts) +
                                  " attempts; last reply: " + failure.reply);
    } else if (last) {
        held_.push_back(std::move(item));
    } else {
        Defer(std::move(item), failure.reply);
    }
}

void CNotifyAgent::Defer(HeldMessage item, const std::string& reply) {
    const std::chrono::seconds delay = options_.retry.DelayAfter(item.attempts);
    item.due = clock_.Steady() + delay;
    log_.Printf(1, "Will try \"%s\" again in %lld s: %s", item.message->m_sSubject.c_str(),
                static_cast<long long>(delay.count()), reply.c_str());
    Report(*item.message, item.attempts, MailResult::kDeferred, reply);
    held_.push_back(std::move(item));
    DropBeyondTheBound();
}

void CNotifyAgent::DropBeyondTheBound() {
    while (held_.size() > options_.retry.maxHeld) {
        HeldMessage oldest = std::move(held_.front());
        held_.pop_front();
        Drop(std::move(oldest), "too many messages wait for a retry");
    }
}

void CNotifyAgent::Drop(HeldMessage item, const std::string& reason) {
    const CSMTPMessage& message = *item.message;
    log_.Printf(0, "Dropped message \"%s\"", message.m_sSubject.c_str());
    log_.Printf(0, "  to %s", message.RecipientText().c_str());
    log_.Printf(0, "  last reply: %s", reason.c_str());
    Report(message, item.attempts, MailResult::kDropped, reason);
}

void CNotifyAgent::Unconfirmed(const CSMTPMessage& message, const std::string& reply) {
    log_.Printf(0, "Message \"%s\": delivery not confirmed", message.m_sSubject.c_str());
    log_.Printf(0, "  to %s", message.RecipientText().c_str());
    log_.Printf(0, "  no reply to its end, so it is not sent again: %s", reply.c_str());
    Report(message, 0, MailResult::kUnconfirmed, reply);
}

void CNotifyAgent::Leave(const HeldMessage& item) {
    const CSMTPMessage& message = *item.message;
    log_.Printf(0, "Not sent before the stop: \"%s\"", message.m_sSubject.c_str());
    log_.Printf(0, "  to %s", message.RecipientText().c_str());
    log_.Printf(0, "  after %d attempts; last reply: %s", item.attempts,
                item.lastReply.empty() ? "none" : item.lastReply.c_str());
    if (message.m_nOutboxId != 0) {
        log_.Printf(0, "  it waits in the mail outbox for the next start");
    }
    Report(message, item.attempts, MailResult::kUnsent, item.lastReply);
}

void CNotifyAgent::Report(const CSMTPMessage& message, int attempts, MailResult result,
                          const std::string& reply) {
    queue_.ReportMailOutcome(
        {message.m_nTag, result, message.m_sSubject, reply, message.m_nOutboxId, attempts});
}

}  // namespace corvane
