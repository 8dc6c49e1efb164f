#pragma once

#include <vector>

#include "log/DiagLogSource.h"
#include "mail/AlarmNotificationTexts.h"
#include "mail/MailOutboxFile.h"
#include "model/ViewUpdateHint.h"
#include "platform/Clock.h"

namespace corvane {

class CAlarmsRS;
class CMailOutbox;
class CMailQueue;
class CVorlinDatabase;
class CVorlinModel;
class SharedSettings;

// The tick's notification step: takes the alarm whose notification is due first from the
// pending-notification rows, queues its e-mail and pager message for the notify agent and
// records the alarm's notification state. One alarm per tick. User-interface thread only.
class CNotificationPass {
public:
    CNotificationPass(const CVorlinModel& model, CVorlinDatabase& database, CMailQueue& queue,
                      const SharedSettings& settings, const IClock& clock);

    // Requeries first when the hint says alarm rows changed earlier in the tick; ORs
    // hint::kAlarmsEdited into it when a row is written. Reports database failures itself.
    void SendAlarmNotifications(ViewUpdateHint& hint);

    // At start, before the agent has them: a kept message whose alarm row was never written
    // (the last run ended between the two) is taken out of the outbox and the entries, since
    // its row is still pending and this pass builds it again; the others are confirmed.
    void ConfirmKeptMessages(CMailOutbox& outbox, std::vector<OutboxEntry>& entries);

private:
    AlarmNotificationInput ReadAlarm(const CAlarmsRS& rs, int kind) const;

    const CVorlinModel& model_;
    CVorlinDatabase& database_;
    CMailQueue& queue_;
    const SharedSettings& settings_;
    const IClock& clock_;
};

}  // namespace corvane
