#pragma once

#include <memory>
#include <string>

#include "mail/AlarmNotificationTexts.h"
#include "mail/SMTPMessage.h"

namespace corvane {

class CDiagLogSource;
class CMailQueue;
struct AppSettings;

// Notification states the pass writes (indexes of the notification state names).
inline constexpr int kNotificationSent = 3;
inline constexpr int kNotificationError = 6;

// A message ready for the queue, or why there is none.
struct NotificationMessage {
    std::unique_ptr<CSMTPMessage> message;
    std::string error;
};

// The alarm's e-mail to the kind's EmailTO list, from the e-mail sender settings.
NotificationMessage BuildAlarmEmail(const AlarmNotificationInput& alarm,
                                    const AppSettings& settings);
// The alarm's pager message to the kind's PagerTO list, from the pager sender settings.
NotificationMessage BuildAlarmPage(const AlarmNotificationInput& alarm,
                                   const AppSettings& settings);

// Queues the e-mail and the pager message that the alarm's kind asks for (SendEmail and
// SendPage with a recipient list). Returns kNotificationSent when at least one was queued,
// otherwise kNotificationError; a message that cannot be built is logged at level 0.
int QueueAlarmNotifications(const AlarmNotificationInput& alarm, const AppSettings& settings,
                            CMailQueue& queue, const CDiagLogSource& log);

}  // namespace corvane
