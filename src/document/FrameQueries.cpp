// What the main frame's status bar and the views ask of the document.
#include "document/DocumentPreferences.h"
#include "document/DocumentWorkers.h"
#include "document/VorlinDoc.h"

namespace corvane {

std::optional<bool> CVorlinDoc::IsControllerCommunicating() const {
    if (workers_->controller == nullptr) {
        return std::nullopt;
    }
    return workers_->controller->IsCommunicating();
}

std::optional<bool> CVorlinDoc::IsTesterConnected() const {
    if (workers_->tester == nullptr) {
        return std::nullopt;
    }
    return workers_->tester->IsConnected();
}

TestingState CVorlinDoc::GetTestingState() const {
    if (TestingPaused()) {
        return TestingState::Paused;
    }
    const CTrunkTestSequencer* sequencer = workers_->sequencer.get();
    return sequencer != nullptr && sequencer->IsTestInProgress() ? TestingState::InProgress
                                                                 : TestingState::Idle;
}

bool CVorlinDoc::IsLoopbackDue() const {
    const CTrunkTestSequencer* sequencer = workers_->sequencer.get();
    return sequencer != nullptr ? sequencer->IsLoopbackDue() : loopbackDue_.load();
}

void CVorlinDoc::SetLoopbackDue(bool due) {
    loopbackDue_ = due;
    if (CTrunkTestSequencer* sequencer = workers_->sequencer.get()) {
        sequencer->SetLoopbackDue(due);
    }
}

void CVorlinDoc::ResetTestScheduleDay() {
    if (CAutoTestSchedule* schedule = workers_->schedule.get()) {
        schedule->ResetDayLastSeen();
    }
}

bool CVorlinDoc::HasCompatibilityState() const {
    CQuillex* controller = workers_->controller.get();
    if (controller == nullptr) {
        return false;
    }
    for (int i = 0; i < 255; ++i) {
        if (const CAuthStat* stat = controller->GetAuthStat(i);
            stat != nullptr && stat->State() >= CAuthStat::kIncompatible) {
            return true;
        }
    }
    return false;
}

IPreferenceTarget* CVorlinDoc::PreferenceTarget() {
    return preferences_.get();
}

void CVorlinDoc::UpdateAllViews(uint32_t hint) {
    views_.Broadcast(nullptr, hint);
}

void CVorlinDoc::UpdateAllViews(IViewHintReceiver* sender, ViewUpdateHint hint,
                                const HintPayload& payload) {
    views_.Broadcast(sender, hint, payload);
}

CVorlinDatabase* CVorlinDoc::Database() const {
    return workers_->database.get();
}

CQuillex* CVorlinDoc::Controller() const {
    return workers_->controller.get();
}

CTrunkTester* CVorlinDoc::Tester() const {
    return workers_->tester.get();
}

CMailQueue* CVorlinDoc::MailQueue() const {
    return &workers_->mailQueue;
}

bool CVorlinDoc::UnseenAlarms() const {
    return workers_->writeBack != nullptr && workers_->writeBack->UnseenAlarms();
}

void CVorlinDoc::ClearUnseenAlarms() {
    if (workers_->writeBack != nullptr) {
        workers_->writeBack->ClearUnseenAlarms();
    }
}

}  // namespace corvane
