#include "mail/NotificationPass.h"

#include <array>
#include <memory>
#include <optional>
#include <set>

#include "document/VorlinDoc.h"
#include "mail/AlarmNotificationMessages.h"
#include "mail/MailQueue.h"
#include "settings/AppSettings.h"
#include "store/AlarmContext.h"
#include "store/DaoException.h"
#include "store/DaoValue.h"
#include "store/TableRecordsets.h"
#include "store/VorlinDatabase.h"

namespace corvane {
namespace {

std::optional<LocalTime> TimeOf(const DaoDate& field) {
    if (field.IsNull()) {
        return std::nullopt;
    }
    return ToLocalTime(field.Value());
}

AlarmContextFields ParseContext(const std::string& context) {
    AlarmContextFields fields;
    std::string one;
    if (ParseContextOneAlpha(context, one)) {
        fields.oneAlpha = one;
    }
    std::array<std::string, 2> two;
    if (ParseContextTwoAlphas(context, two[0], two[1])) {
        fields.twoAlphas = two;
    }
    AlarmContextFields::FiveFields five;
    if (ParseContextFiveFields(context, five.alpha1, five.alpha2, five.alpha3, five.flags,
                               five.alpha4)) {
        fields.fiveFields = five;
    }
    return fields;
}

bool IsTrunkTestKind(int kind) {
    return kind == setupkind::kTrunkTestFailures || kind == setupkind::kTrunkTestErrors;
}

}  // namespace

CNotificationPass::CNotificationPass(const CVorlinDoc& doc, CVorlinDatabase& database,
                                     CMailQueue& queue, const SharedSettings& settings,
                                     const IClock& clock)
    : doc_(doc), database_(database), queue_(queue), settings_(settings), clock_(clock) {}

AlarmNotificationInput CNotificationPass::ReadAlarm(const CAlarmsRS& rs, int kind) const {
    AlarmNotificationInput alarm;
    alarm.alarmId = rs.m_AlarmID.Value();
    alarm.kind = kind;
    alarm.deviceType = rs.m_DeviceType.Value();
    alarm.deviceInstance = rs.m_DeviceInstance.Value();
    alarm.alarmType = rs.m_AlarmType.Value();
    alarm.description = rs.m_Description.Value();
    alarm.state = rs.m_State.Value();
    alarm.context = ParseContext(rs.m_Context.Value());
    alarm.alarmTime = TimeOf(rs.m_AlarmTime);
    alarm.resolvedTime = TimeOf(rs.m_ResolvedTime);
    alarm.acknowledgedTime = TimeOf(rs.m_AcknowledgedTime);
    int end1 = kNone;
    int end2 = kNone;
    // A trunk whose ends are not known names no intercoms (rather than "2147483647").
    if (IsTrunkTestKind(kind) && doc_.GetTrunkEndIntercoms(alarm.deviceInstance, end1, end2) &&
        IsIntercomNumber(end1) && IsIntercomNumber(end2)) {
        alarm.trunkEndIntercoms.emplace(static_cast<unsigned>(end1), static_cast<unsigned>(end2));
    }
    return alarm;
}

void CNotificationPass::SendAlarmNotifications(ViewUpdateHint& hint) {
    if (!database_.IsOpen()) {
        return;
    }
    try {
        CAlarmsRS& rs = database_.PendingNotifications();
        if (hint & (hint::kAlarmsAddedRemoved | hint::kAlarmsEdited)) {
            rs.Requery();
        }
        // A pending row without a time is due at once, or it would hold up every row
        // after it.
        const WallTime now = clock_.Now();
        if (rs.IsBOF() || rs.IsEOF() ||
            (!rs.m_NotificationTime.IsNull() && rs.m_NotificationTime.Value() > now)) {
            return;
        }
        const int kind = doc_.GetAlarmSetupKind(rs.m_DeviceType.Value(), rs.m_AlarmType.Value());
        const AlarmNotificationInput alarm = ReadAlarm(rs, kind);

        // The messages wait here until the row is written, so that a row that cannot be
        // written (and so stays pending) is not mailed again on every tick.
        CMailQueue built;
        const int state =
            QueueAlarmNotifications(alarm, settings_.Snapshot(), built, doc_.DbaseLog());

        rs.Edit();
        rs.m_Notification = doc_.Names().notifyStates[state];
        rs.m_NotificationTime = now;
        try {
            rs.Update();
        } catch (const CDaoException&) {
            rs.CancelUpdate();  // the next tick edits afresh
            throw;
        }
        database_.Outage().WriteSucceeded();
        hint |= hint::kAlarmsEdited;
        while (std::unique_ptr<CSMTPMessage> message = built.PopPendingMail()) {
            queue_.Push(std::move(message));
        }
        rs.Requery();
    } catch (const CDaoException& e) {
        // A row that stays pending is tried on every tick: the operator hears of it once.
        database_.Outage().WriteFailed(e, "Error, sending alarm notifications\nDescription: %s");
    }
    database_.Outage().ShowReport();
}

void CNotificationPass::KeepUnsentNotificationsPending() {
    std::set<int64_t> alarms;
    for (const MailOutcome& outcome : queue_.TakeOutcomes()) {
        if (outcome.result == MailResult::kUnsent) {
            alarms.insert(outcome.tag);
        }
    }
    if (alarms.empty() || !database_.IsOpen()) {
        return;
    }
    const auto& states = doc_.Names().notifyStates;
    const DaoValue pending(states[1]);
    const DaoValue sent(states[3]);
    try {
        CDaoDatabase& db = database_.Database();
        for (const int64_t alarm : alarms) {
            // The time it was sent stays: it is due at once.
            db.Execute("UPDATE Alarms SET Notification = ? WHERE AlarmID = ? AND Notification = ?",
                       {pending, DaoValue(alarm), sent});
            if (db.GetRecordsAffected() > 0) {
                database_.Log().Printf(0, "Alarm %lld is notified again at the next start",
                                       static_cast<long long>(alarm));
            }
        }
    } catch (const CDaoException& e) {
        database_.Log().Printf(0, "Alarms whose messages were not sent still read \"%s\": %s",
                               states[3].c_str(), e.Description().c_str());
    }
}

}  // namespace corvane
