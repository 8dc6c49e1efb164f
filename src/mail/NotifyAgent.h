#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "log/DiagLogSource.h"
#include "mail/MailOutboxFile.h"
#include "mail/MailQueue.h"
#include "platform/Clock.h"

namespace corvane {

class CSMTPConnection;
class SharedSettings;
struct AppSettings;

// When a message that met a temporary failure (no server, a 4xx reply, a broken
// connection) is tried again: after 30 s, then each wait twice the one before, at most
// 15 min, and at most 8 attempts in all (about 45 min from the first); then it is dropped.
struct MailRetryPolicy {
    std::chrono::seconds firstDelay{30};
    std::chrono::seconds maxDelay{15 * 60};
    int maxAttempts = 8;
    size_t maxHeld = 500;  // messages waiting for a retry at once; the oldest goes beyond

    // The wait after the given number of failed attempts (1 or more).
    std::chrono::seconds DelayAfter(int failedAttempts) const;
};

struct NotifyAgentOptions {
    std::chrono::milliseconds pollInterval{100};
    std::chrono::milliseconds connectTimeout{30000};
    std::chrono::milliseconds responseTimeout{60000};
    // How long the agent may go on sending after it was asked to stop.
    std::chrono::milliseconds stopGrace{5000};
    MailRetryPolicy retry;
};

// The worker that sends the queued e-mail and pager messages, all that are due over one
// SMTP connection, so that the user-interface thread never waits for the mail server.
// Mail settings are read from a snapshot at each connection.
class CNotifyAgent {
public:
    CNotifyAgent(IMailQueue& queue, const SharedSettings& settings,
                 const IClock& clock = RealClock(), NotifyAgentOptions options = {});
    virtual ~CNotifyAgent();
    CNotifyAgent(const CNotifyAgent&) = delete;
    CNotifyAgent& operator=(const CNotifyAgent&) = delete;

    // Before Start: the messages the outbox kept from an earlier run go first, each with the
    // attempts it has had; one whose final "." may have reached the server is not sent again.
    void Resume(std::vector<OutboxEntry> entries);
    void Start();
    // Asks the thread to end. It finishes the exchange in progress, tries once more every
    // message it holds and every one still queued, retry time or not, and leaves the rest:
    // each with a log line and the outcome kUnsent.
    void RequestStop();
    // Waits for the thread to end, at most the stop grace after RequestStop; then cuts the
    // exchange still in progress short, so that the thread ends at once.
    void AwaitStop();
    // AwaitStop, then joins the thread.
    void Join();
    // RequestStop and Join.
    void Stop();
    // Clear while the thread runs.
    bool IsStopped() const { return stopped_.load(); }

private:
    struct HeldMessage {
        std::unique_ptr<CSMTPMessage> message;
        int attempts = 0;
        SteadyTime due{};
        std::string lastReply;
    };
    struct Failure {
        bool permanent = false;
        bool cancelled = false;
        std::string reply;
    };

    void Run();
    void Pass();
    // The pass after a stop request: everything held and queued, once.
    void LastPass();
    std::deque<HeldMessage> TakeDueMessages();
    // In the last pass a temporary failure leaves the message instead of deferring it.
    void Deliver(std::deque<HeldMessage>& batch, const AppSettings& settings, bool last);
    bool Open(CSMTPConnection& connection, const AppSettings& settings);
    Failure Classify(const CSMTPConnection& connection) const;
    void Handle(HeldMessage item, const Failure& failure, bool last);
    void Defer(HeldMessage item, const std::string& reply);
    void Drop(HeldMessage item, const std::string& reason);
    // Beyond the bound, the oldest is dropped.
    void DropBeyondTheBound();
    void Unconfirmed(const CSMTPMessage& message, const std::string& reply);
    void Leave(const HeldMessage& item);
    void Report(const CSMTPMessage& message, int attempts, MailResult result,
                const std::string& reply);

    IMailQueue& queue_;
    const SharedSettings& settings_;
    const IClock& clock_;
    const NotifyAgentOptions options_;
    CDiagLogSource log_{"Notify Agent", "Notify Agent log", 0};
    std::atomic<bool> stop_{false};
    std::atomic<bool> cancel_{false};  // ends the waits of the connection in use
    std::atomic<bool> stopped_{true};
    std::chrono::steady_clock::time_point stopRequested_{};  // under wakeMutex_
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    std::deque<HeldMessage> held_;  // the agent's thread only
    std::thread thread_;
};

}  // namespace corvane
