#pragma once

#include <memory>

#include "document/ControllerChecks.h"
#include "link/Quillex.h"
#include "mail/MailOutbox.h"
#include "mail/MailQueue.h"
#include "mail/NotificationPass.h"
#include "mail/NotifyAgent.h"
#include "store/DatabaseArchiver.h"
#include "store/ModelWriteBack.h"
#include "store/VorlinDatabase.h"
#include "testing/AutoTestSchedule.h"
#include "testing/TrunkTestSequencer.h"
#include "testing/TrunkTester.h"

namespace corvane {

// What the document's new-document step makes and its close ends. Declared so that the
// outbox outlives the queue, the queue the agent that reads it and the database the passes
// that write it.
struct DocumentWorkers {
    std::unique_ptr<CVorlinDatabase> database;
    std::unique_ptr<CModelWriteBack> writeBack;
    std::unique_ptr<CDatabaseArchiver> archiver;
    std::unique_ptr<CAutoTestSchedule> schedule;
    std::unique_ptr<CTrunkTestSequencer> sequencer;
    CMailOutbox outbox;
    CMailQueue mailQueue;
    std::unique_ptr<CNotificationPass> notificationPass;
    std::unique_ptr<CQuillex> controller;
    std::unique_ptr<ControllerChecks> checks;
    std::unique_ptr<CTrunkTester> tester;
    std::unique_ptr<CNotifyAgent> agent;
};

}  // namespace corvane
