#include "mail/NotificationPass.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mail/AlarmNotificationMessages.h"
#include "mail/MailOutbox.h"
#include "mail/MailQueue.h"
#include "model/VorlinModel.h"
#include "settings/AppSettings.h"
#include "store/AlarmContext.h"
#include "store/DaoException.h"
#include "store/DaoStatement.h"
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

CNotificationPass::CNotificationPass(const CVorlinModel& model, CVorlinDatabase& database,
                                     CMailQueue& queue, const SharedSettings& settings,
                                     const IClock& clock)
    : model_(model), database_(database), queue_(queue), settings_(settings), clock_(clock) {}

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
    if (IsTrunkTestKind(kind) && model_.GetTrunkEndIntercoms(alarm.deviceInstance, end1, end2) &&
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
        const int kind = model_.GetAlarmSetupKind(rs.m_DeviceType.Value(), rs.m_AlarmType.Value());
        const AlarmNotificationInput alarm = ReadAlarm(rs, kind);

        // The messages wait here until the row is written, so that a row that cannot be
        // written (and so stays pending) is not mailed again on every tick.
        CMailQueue built;
        const int state =
            QueueAlarmNotifications(alarm, settings_.Snapshot(), built, model_.DbaseLog());
        std::vector<std::unique_ptr<CSMTPMessage>> messages;
        while (std::unique_ptr<CSMTPMessage> message = built.PopPendingMail()) {
            messages.push_back(std::move(message));
        }
        // In the outbox before the row says "Sent", so that no stop or crash loses them. An
        // outbox that cannot take them leaves the row pending (it logs why) for a later tick.
        if (queue_.Keep(messages)) {
            try {
                rs.Edit();
                rs.m_Notification = model_.Names().notifyStates[state];
                rs.m_NotificationTime = now;
                rs.Update();
            } catch (const CDaoException&) {
                queue_.TakeBack(messages);
                rs.CancelUpdate();  // the next tick edits afresh
                throw;
            }
            database_.Outage().WriteSucceeded();
            hint |= hint::kAlarmsEdited;
            queue_.Push(std::move(messages));
            rs.Requery();
        }
    } catch (const CDaoException& e) {
        // A row that stays pending is tried on every tick: the operator hears of it once.
        database_.Outage().WriteFailed(e, "Error, sending alarm notifications\nDescription: %s");
    }
    database_.Outage().ShowReport();
}

void CNotificationPass::ConfirmKeptMessages(CMailOutbox& outbox,
                                            std::vector<OutboxEntry>& entries) {
    const std::string& sent = model_.Names().notifyStates[kNotificationSent];
    std::vector<uint64_t> confirmed;
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->committed) {
            ++it;
            continue;
        }
        const int64_t alarm = it->message->m_nTag;
        std::optional<std::string> state;
        try {
            DaoStatement select = database_.Database().Prepare(
                "SELECT Notification FROM Alarms WHERE AlarmID = ?", false);
            select.BindInteger(1, alarm);
            if (select.Step()) {
                state = std::string(select.ColumnText(0));
            }
        } catch (const CDaoException& e) {
            database_.Log().Printf(0, "Alarm %lld: its kept message is sent, unchecked: %s",
                                   static_cast<long long>(alarm), e.Description().c_str());
        }
        // No row, or one that says so: it was handed on. A row still waiting for its
        // notification never was, and the pass builds its messages again.
        if (!state || *state == sent) {
            confirmed.push_back(it->id);
            ++it;
            continue;
        }
        database_.Log().Printf(1, "Alarm %lld reads \"%s\": its message \"%s\" was never handed on",
                               static_cast<long long>(alarm), state->c_str(),
                               it->message->m_sSubject.c_str());
        outbox.Remove(it->id);
        it = entries.erase(it);
    }
    outbox.Commit(confirmed);
    for (OutboxEntry& entry : entries) {
        entry.committed = true;
    }
}

}  // namespace corvane
