#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/DocumentParts.h"
#include "document/FrameDocument.h"
#include "document/ViewHintBus.h"
#include "log/DiagLogSource.h"
#include "model/ViewUpdateHint.h"
#include "model/VorlinModel.h"
#include "platform/Clock.h"
#include "store/StoreInterfaces.h"

namespace corvane {

class CMailQueue;
struct OutboxEntry;
class SharedSettings;
struct DocumentWorkers;
class CDocumentPreferences;

// The supervision document: the live model (its base, CVorlinModel), with the database, the
// controller, the test instrument and the notify agent it owns, and the views it tells.
//
// Supervision: the new-document step opens the database and starts the three workers (the
// controller's poll thread, the test instrument, the notify agent); the tick, on the
// user-interface thread only, carries the model into the database and tells the views; the
// close stops the workers in a fixed order and joins each.
class CVorlinDoc final : public CVorlinModel, public IFrameDocument, private IStartupOptionsSink {
public:
    // The settings are loaded and saved by the new-document step; both references must outlive
    // the document.
    CVorlinDoc(SharedSettings& settings, const IClock& clock, DocumentParts parts = {});
    // Stops the workers that still run, in order, and waits for each.
    ~CVorlinDoc() override;
    CVorlinDoc(const CVorlinDoc&) = delete;
    CVorlinDoc& operator=(const CVorlinDoc&) = delete;

    // --- Start-up, shut-down and the tick (user-interface thread). ---
    bool OnNewDocument() override;
    bool IsReady() const override { return ready_.load(std::memory_order_acquire); }
    void OnSupervisionTick() override;
    // The may-close question; once the close is unattended it asks nothing and allows it.
    bool SaveModified() override;
    void SetUnattendedClose() override { unattendedClose_ = true; }
    // The operators' trunk commands not yet carried out and the sequencer's work under way, for
    // the log of a stop that does not ask; "none is left" when there are none.
    std::string DescribePendingTrunkOperations() const;
    // Stops the workers and closes the database; the owner deletes the document after.
    void OnCloseDocument() override;
    // The instrument the AudioAnalyzer setting names; none only when it cannot be made.
    std::unique_ptr<CTrunkTester> CreateTester();
    // Stops the running instrument, waits for it and deletes it.
    void DeleteTester();
    // Creates the instrument the settings name and starts it, unless one runs already.
    bool StartTester();
    // Tick steps that keep the controller's settings in line with the controller.
    void UpdateControllerAddresses();
    void CheckControllerConnection();

    std::optional<bool> IsControllerCommunicating() const override;
    std::optional<bool> IsTesterConnected() const override;
    TestingState GetTestingState() const override;
    bool HasCompatibilityState() const override;
    // Tells every view, with no sender and no payload.
    void UpdateAllViews(uint32_t hint) override;
    // Tells every view but the sender.
    void UpdateAllViews(IViewHintReceiver* sender, ViewUpdateHint hint, const HintPayload& payload);
    // The views join and leave here.
    CViewHintBus& Views() { return views_; }
    IPreferenceTarget* PreferenceTarget() override;

    // IFrameDocument: the model's answer.
    std::string GetAnalyzerDisplayName() const override {
        return CVorlinModel::GetAnalyzerDisplayName();
    }

    uint64_t TickCount() const { return ticks_; }
    // The objects the new-document step made; none before it and after the close.
    CVorlinDatabase* Database() const;
    CQuillex* Controller() const;
    CTrunkTester* Tester() const;
    CMailQueue* MailQueue() const;
    // The next trunk test measures the instrument port's loop-back first.
    bool IsLoopbackDue() const;
    // Any thread: the test set's worker sets it when it loses contact.
    void SetLoopbackDue(bool due);
    // The automatic schedule's next tick only records the day.
    void ResetTestScheduleDay();
    // A new Alarms row was written since the tree last showed it.
    bool UnseenAlarms() const;
    void ClearUnseenAlarms();

private:
    // IStartupOptionsSink: the start-up reads of the operator's switches go into the model.
    void SetIntercomOptions(int intercom, bool alarms, bool notify,
                            const std::string& comState) override {
        CVorlinModel::SetIntercomOptions(intercom, alarms, notify, comState);
    }
    void SetTrunkOptions(int trunk, bool autoTest, bool alarms, bool notify) override {
        CVorlinModel::SetTrunkOptions(trunk, autoTest, alarms, notify);
    }

    // The agent starts with the messages the outbox kept from the last run.
    bool StartWorkers(std::vector<OutboxEntry>&& keptMail);
    // The close of a signal: logs the trunk operations it leaves to the controller and saves
    // the changed layouts named, asking nothing. Always allows the close.
    bool SaveModifiedUnattended(const std::vector<std::string>& changedLayouts);
    // Flags every worker first, then waits for controller, instrument and agent in turn.
    void StopWorkers();
    void WriteBack(ViewUpdateHint& hint);
    // Asks, without waiting, whether the controller should take the saved maintenance port it
    // lacks; one question at a time.
    void OfferMaintenancePort(int intercom, int port);
    // Yes asks the controller for the saved pair; any other answer stores the reported one.
    void TakeMaintenancePortAnswer(int answer, std::pair<int, int> reported,
                                   std::pair<int, int> saved);
    void StoreMaintenancePort(int intercom, int port);
    void SaveSettings();

    DocumentParts parts_;
    std::unique_ptr<DocumentWorkers> workers_;
    std::unique_ptr<CDocumentPreferences> preferences_;
    CViewHintBus views_;
    std::atomic<bool> ready_{false};
    bool inTick_ = false;
    std::atomic<bool> loopbackDue_{true};  // also set by the instrument's worker
    uint64_t ticks_ = 0;
    bool portQuestionOpen_ = false;
    // Answers that come after the document has gone find it expired.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    bool unattendedClose_ = false;

    CDiagLogSource log_{"Document", "Supervision Document", 0};
};

}  // namespace corvane
