#include "mail/AlarmNotificationMessages.h"

#include "log/DiagLogSource.h"
#include "mail/MailQueue.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

constexpr const char* kFallbackSender = "VORLIN";

bool IsKind(int kind) {
    return kind >= 0 && kind < kAlarmSetupKinds;
}

CSMTPAddress Sender(const std::string& name, const std::string& address) {
    if (address.empty()) {
        return CSMTPAddress(kFallbackSender);
    }
    return name.empty() ? CSMTPAddress(address) : CSMTPAddress(name, address);
}

// Fills the recipients and checks every address the message will carry.
NotificationMessage Finish(std::unique_ptr<CSMTPMessage> message, const std::string& list,
                           const char* listName) {
    if (!message->AddRecipients(list)) {
        return {nullptr, std::string("the ") + listName + " list \"" + list +
                             "\" is malformed or names an unsafe address"};
    }
    if (message->RecipientCount() == 0) {
        return {nullptr, std::string("the ") + listName + " list names no address"};
    }
    const std::string& from = message->m_From.m_sEmailAddress;
    if (from.find_first_not_of(' ') != std::string::npos && !IsSafeMailAddress(from)) {
        return {nullptr, "the sender address \"" + from + "\" is not a safe address"};
    }
    const std::string& replyTo = message->m_ReplyTo.m_sEmailAddress;
    if (!replyTo.empty() && !IsSafeMailAddress(replyTo)) {
        return {nullptr, "the reply-to address \"" + replyTo + "\" is not a safe address"};
    }
    return {std::move(message), ""};
}

}  // namespace

NotificationMessage BuildAlarmEmail(const AlarmNotificationInput& alarm,
                                    const AppSettings& settings) {
    if (!IsKind(alarm.kind)) {
        return {nullptr, "the alarm has no alarm setup kind"};
    }
    auto message = std::make_unique<CSMTPMessage>();
    message->m_nTag = alarm.alarmId;
    message->m_sSubject = EmailSubject(alarm);
    message->SetBody(EmailBody(alarm));
    message->m_From = Sender(settings.EmailFromDisplayName, settings.EmailFromAddress);
    if (!settings.EmailXMailer.empty()) {
        message->m_sXMailer = settings.EmailXMailer;
    }
    if (!settings.EmailReplyTo.empty()) {
        message->m_ReplyTo = CSMTPAddress(settings.EmailReplyTo);
    }
    return Finish(std::move(message), settings.EmailTO[alarm.kind], "EmailTO");
}

NotificationMessage BuildAlarmPage(const AlarmNotificationInput& alarm,
                                   const AppSettings& settings) {
    if (!IsKind(alarm.kind)) {
        return {nullptr, "the alarm has no alarm setup kind"};
    }
    auto message = std::make_unique<CSMTPMessage>();
    message->m_nTag = alarm.alarmId;
    message->m_sSubject = PagerSubject(alarm);
    message->SetBody(PagerBody(alarm));
    message->m_From = settings.IncludeFromAddressInPagerMessages
                          ? Sender(settings.PagerFromDisplayName, settings.PagerFromAddress)
                          : CSMTPAddress(" ");
    if (!settings.PagerXMailer.empty()) {
        message->m_sXMailer = settings.PagerXMailer;
    }
    if (settings.IncludeReplyToInPagerMessages && !settings.PagerReplyTo.empty()) {
        message->m_ReplyTo = CSMTPAddress(settings.PagerReplyTo);
    }
    return Finish(std::move(message), settings.PagerTO[alarm.kind], "PagerTO");
}

int QueueAlarmNotifications(const AlarmNotificationInput& alarm, const AppSettings& settings,
                            CMailQueue& queue, const CDiagLogSource& log) {
    if (!IsKind(alarm.kind)) {
        log.Printf(1, "Alarm %lld (%s, %s) has no alarm setup kind: not notified",
                   static_cast<long long>(alarm.alarmId), alarm.deviceType.c_str(),
                   alarm.alarmType.c_str());
        return kNotificationError;
    }
    int state = kNotificationError;
    const auto queueOne = [&](NotificationMessage built, const char* what) {
        if (!built.message) {
            log.Printf(0, "Alarm %lld: no %s sent: %s", static_cast<long long>(alarm.alarmId), what,
                       built.error.c_str());
            return;
        }
        queue.Push(std::move(built.message));
        state = kNotificationSent;
    };
    if (settings.SendEmail[alarm.kind] && !settings.EmailTO[alarm.kind].empty()) {
        queueOne(BuildAlarmEmail(alarm, settings), "e-mail");
    }
    if (settings.SendPage[alarm.kind] && !settings.PagerTO[alarm.kind].empty()) {
        queueOne(BuildAlarmPage(alarm, settings), "pager message");
    }
    return state;
}

}  // namespace corvane
