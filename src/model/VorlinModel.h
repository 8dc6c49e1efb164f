#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "log/DiagLogSource.h"
#include "model/Alarm.h"
#include "model/Alpha.h"
#include "model/EndpointAddress.h"
#include "model/IntercomData.h"
#include "model/ModelNumbers.h"
#include "model/NameTables.h"
#include "model/QuillexModel.h"
#include "model/TrunkChecker.h"
#include "model/TrunkData.h"
#include "platform/Clock.h"

namespace corvane {

class SharedSettings;

// The collections with a dirty byte each: a setter sets it after changing a record, the tick
// clears it and then writes the collection back.
enum class ModelCollection { Intercoms = 0, Trunks = 1, Alphas = 2, Alarms = 3 };

// The live model of the intercom matrices and trunks that the controller reports, with its
// locks, change flags and summary counts, the queues of alpha updates and alarm operations, and
// the operators' commands on trunks and intercoms as the bytes the sequencer carries out.
//
// Threads: the controller's poll thread calls the setters, each under its collection's lock;
// the write-back holds a collection's lock for a whole pass. Lock order: trunk, then intercom,
// then alarm; the alpha lock is never held with another. The intercom, trunk and alarm locks
// are re-entrant for the thread that holds them, since the write-back calls queries and
// AddAlarm while it holds them. No query takes the trunk lock.
//
// Numbering: the model is 1-based. Every setter takes a last argument that says whether its
// numbers are already 1-based; when false they are converted from the controller's 0-based
// numbers (ToModelNumber). A setter returns false, touching nothing, when a number is out of
// range, and never throws.
class CVorlinModel : public IQuillexModel {
public:
    using CIntercomData = corvane::CIntercomData;
    using CTrunkData = corvane::CTrunkData;
    using CAlpha = corvane::CAlpha;
    using CAlarm = corvane::CAlarm;
    using CollectionLock = std::unique_lock<std::recursive_mutex>;

    // Operator command ids of the trunk and intercom switches.
    static constexpr int kCmdEnableAutoTest = 32796;
    static constexpr int kCmdDisableAutoTest = 32797;
    static constexpr int kCmdEnableAlarms = 32798;
    static constexpr int kCmdDisableAlarms = 32799;
    static constexpr int kCmdEnableNotifications = 32800;
    static constexpr int kCmdDisableNotifications = 32801;

    // The settings are read by AddAlarm and the analyzer queries; both references must
    // outlive the model.
    CVorlinModel(SharedSettings& settings, const IClock& clock);
    ~CVorlinModel() override;
    CVorlinModel(const CVorlinModel&) = delete;
    CVorlinModel& operator=(const CVorlinModel&) = delete;

    // The controller object, once it exists; set before its poll thread starts and cleared
    // after it has ended.
    void SetTrunkChecker(ITrunkChecker* checker) {
        checker_.store(checker, std::memory_order_release);
    }
    // Asks the controller, when there is one, to read a trunk again (0-based number).
    void FlagInspectTrunk(int trunk) const;

    // --- Collections. Allocated once at construction, never resized. ---
    std::span<CIntercomData, kIntercomCount> Intercoms() {
        return std::span<CIntercomData, kIntercomCount>(intercoms_.get(), kIntercomCount);
    }
    std::span<const CIntercomData, kIntercomCount> Intercoms() const {
        return std::span<const CIntercomData, kIntercomCount>(intercoms_.get(), kIntercomCount);
    }
    std::span<CTrunkData, kTrunkCount> Trunks() {
        return std::span<CTrunkData, kTrunkCount>(trunks_.get(), kTrunkCount);
    }
    std::span<const CTrunkData, kTrunkCount> Trunks() const {
        return std::span<const CTrunkData, kTrunkCount>(trunks_.get(), kTrunkCount);
    }
    // Entry n (0 included), or none when n is not below the array size.
    CIntercomData* IntercomAt(int n);
    const CIntercomData* IntercomAt(int n) const;
    CTrunkData* TrunkAt(int n);
    const CTrunkData* TrunkAt(int n) const;

    // The queues; the caller holds the alpha or the alarm lock.
    std::deque<CAlpha>& AlphaQueue() { return alphas_; }
    std::deque<CAlarm>& AlarmQueue() { return alarms_; }

    [[nodiscard]] CollectionLock LockTrunks() const { return CollectionLock(trunkLock_); }
    [[nodiscard]] CollectionLock LockIntercoms() const { return CollectionLock(intercomLock_); }
    [[nodiscard]] CollectionLock LockAlarms() const { return CollectionLock(alarmLock_); }
    [[nodiscard]] std::unique_lock<std::mutex> LockAlphas() const {
        return std::unique_lock(alphaLock_);
    }

    bool IsDirty(ModelCollection c) const {
        return dirty_[Index(c)].load(std::memory_order_acquire);
    }
    // Clears the dirty byte and says whether it was set.
    bool TakeDirty(ModelCollection c) {
        return dirty_[Index(c)].exchange(false, std::memory_order_acq_rel);
    }
    void MarkDirty(ModelCollection c) { dirty_[Index(c)].store(true, std::memory_order_release); }

    // --- Setters of the poll thread (the controller object's IQuillexModel). ---
    // A port of 32 or more, and none, is stored as 0.
    bool SetIntercomControllerPort(int intercom, int port, bool oneBased) override;
    bool SetIntercomBaudRate(int intercom, int baudRate, bool oneBased) override;
    bool SetIntercomCascadeCost(int intercom, int cost, bool oneBased) override;
    bool SetIntercomCommStatus(int intercom, std::string text, bool oneBased) override;
    bool SetIntercomConnType(int intercom, std::string text, bool oneBased) override;
    bool SetIntercomIPAddress1(int intercom, std::string text, bool oneBased) override;
    bool SetIntercomIPAddress2(int intercom, std::string text, bool oneBased) override;
    // Type 7 stores the intercom's name; the other types queue a CAlpha (operation alphaop::).
    // Intercom and number are converted.
    bool AddAlpha(int intercom, int functionType, int number, std::string text, int operation,
                  bool oneBased) override;
    bool SetTrunkOutOfService(int trunk, int value, bool oneBased) override;
    bool SetTrunkState(int trunk, int state, bool oneBased) override;
    // Every number is converted but the two fixed function types. Ends outside 1-256 or
    // numbers outside 1-1024 mean the trunk has no definition: a trunk that was ever set is
    // then undefined.
    bool SetTrunkDefinition(const TrunkDefinition& definition, bool oneBased) override;
    // The controller reports the trunk undefined; trunk is always 0-based.
    bool UndefineTrunk(int trunk) override;
    // Intercom and number of both endpoints are converted, the function types are not.
    bool SetQueuedRequest(const EndpointAddress& source, const EndpointAddress& destination,
                          bool oneBased) override;
    // The end of one intercom's queued-requests reply.
    bool PurgeStaleQueuedRequests(int intercom, bool oneBased) override;
    bool SetTrunkUsage(int trunk, int cascadeTrunk, const EndpointAddress& source,
                       const EndpointAddress& destination, bool oneBased) override;
    // The end of one trunk's inspect reply.
    bool PurgeStaleTrunkUsage(int trunk, bool oneBased) override;

    // The write-back found no row for the trunk: it leaves the summary counts, its undefined
    // byte is cleared, its absent byte set and its change byte unset. 1-based.
    bool MarkTrunkAbsent(int trunk);

    // --- Alarms (any thread). ---
    // True when an alarm operation was queued. resolved is an alarmresolve:: value.
    bool AddAlarm(int deviceType, int deviceIndex, int category, int resolved,
                  std::string description, std::string context, int extra) override;
    // An alarm of an event seen earlier (a request written once the database takes writes
    // again) carries the event's time, not the time it is raised.
    bool AddAlarmAt(int deviceType, int deviceIndex, int category, int resolved,
                    std::string description, std::string context, int extra, WallTime time);
    bool AcknowledgeAlarm(int alarmKey, WallTime time);
    bool CancelAlarmNotification(int alarmKey, int notificationState, WallTime time);

    // --- Queries (locked copies where the poll thread writes texts). ---
    struct IntercomTexts {
        std::string connType;
        std::string ipAddress1;
        std::string ipAddress2;
        std::string name;
        std::string commStatus;
    };
    // Empty texts for a number outside 0-256.
    IntercomTexts GetIntercomTexts(int intercom) const;
    // The stored name; when empty "MX%02.2d" below 100 and "M%03.3d" from 100.
    std::string GetIntercomName(int intercom) const;
    // Its communication status text begins with "OK".
    bool IsIntercomCommunicating(int intercom) const;
    static std::string GetAlphaDisplayName(int functionType, int number);
    bool GetTrunkEndIntercoms(int trunk, int& end1, int& end2) const;
    bool AreTrunkIntercomsCommunicating(int trunk) const;
    // Index 0-2 of an analyzer name, 0 when the table has no such name.
    int GetAnalyzerType(const std::string& name) const;
    bool IsAnalyzerConfigured() const;
    // GetAnalyzerDisplayName (below): the configured analyzer's name, or "Audio Analyzer"
    // when none is configured.
    // DeviceType of an analyzer type: 1 for the Tonexa, 5 for the RT-2M, 6 (no device) else.
    static int GetAnalyzerDeviceType(int analyzerType);
    std::string GetAnalyzerDisplayName() const;
    // AlarmSetupKind of an alarm row's device type and category names; INT_MAX for none.
    int GetAlarmSetupKind(const std::string& deviceTypeName, const std::string& categoryName) const;
    const CNameTables& Names() const { return names_; }

    // --- Operator commands (user-interface thread). ---
    bool SetTrunkOption(int trunk, int commandId);
    bool SetIntercomAlarmOption(int intercom, int commandId);
    // Queue or cancel a test; queuing without test now fails while auto testing is disabled.
    bool QueueTrunkTest(bool queue, int trunk, bool manual, bool testNow);
    bool RequestSetMaintenance(int trunk, bool force);
    bool RequestClearMaintenance(int trunk);
    bool RequestClearTestResults(int trunk);

    // Bytes of the commands, read and cleared by the sequencer (user-interface
    // thread).
    bool TrunkOperationsPending() const { return trunkOperationsPending_; }
    void SetTrunkOperationsPending(bool on) { trunkOperationsPending_ = on; }
    bool TestQueueChanged() const { return testQueueChanged_; }
    void SetTestQueueChanged(bool on) { testQueueChanged_ = on; }
    bool TestingPaused() const { return testingPaused_; }
    void SetTestingPaused(bool on) { testingPaused_ = on; }
    // The trunk the sequencer chose last; its next scan starts after it.
    int TrunkTestPosition() const { return trunkTestPosition_; }
    void SetTrunkTestPosition(int position) { trunkTestPosition_ = position; }

    // The database's log and the trunk tests' log, which the setters and the sequencer write.
    const CDiagLogSource& DbaseLog() const { return dbaseLog_; }
    const CDiagLogSource& TrunkTestLog() const { return trunkTestLog_; }

    // Bytes of the two arrays, the whole fixed part of the model.
    static constexpr size_t ModelArrayBytes() {
        return kIntercomCount * sizeof(CIntercomData) + kTrunkCount * sizeof(CTrunkData);
    }

protected:
    // The start-up reads of the operator's switches, by 1-based numbers already checked.
    void SetIntercomOptions(int intercom, bool alarms, bool notify, const std::string& comState);
    void SetTrunkOptions(int trunk, bool autoTest, bool alarms, bool notify);

    SharedSettings& settings_;
    const IClock& clock_;

private:
    static size_t Index(ModelCollection c) { return static_cast<size_t>(c); }

    template <typename Store>
    bool SetIntercomRow(int intercom, bool oneBased, Store store);

    // The caller holds the trunk lock and, for the count helpers, the intercom lock.
    void UndefineTrunkLocked(CTrunkData& trunk, int number);
    void SetTrunkStateLocked(CTrunkData& trunk, int state);
    void PurgeStaleTrunkUsageLocked(CTrunkData& trunk);
    template <typename F>
    void ForEachCountRecord(const CTrunkData& trunk, F f);
    void AddToCountsLocked(const CTrunkData& trunk);
    void RemoveFromCountsLocked(const CTrunkData& trunk);
    void FillUsage(TrunkUsageRecord& usage, int cascadeTrunk, const EndpointAddress& source,
                   const EndpointAddress& destination, int requestNumber);

    std::atomic<ITrunkChecker*> checker_{nullptr};

    mutable std::recursive_mutex intercomLock_;
    std::unique_ptr<CIntercomData[]> intercoms_;
    int queuedGeneration_ = 0;  // under the intercom lock

    mutable std::recursive_mutex trunkLock_;
    std::unique_ptr<CTrunkData[]> trunks_;
    int usageGeneration_ = 0;  // under the trunk lock

    mutable std::mutex alphaLock_;
    std::deque<CAlpha> alphas_;

    mutable std::recursive_mutex alarmLock_;
    std::deque<CAlarm> alarms_;

    std::array<std::atomic<bool>, 4> dirty_{};

    int trunkTestPosition_ = 0;
    bool trunkOperationsPending_ = false;
    bool testQueueChanged_ = false;
    bool testingPaused_ = false;

    CDiagLogSource dbaseLog_{"Dbase", "Database log", 1};
    CDiagLogSource trunkTestLog_{"TrunkTest", "Trunk Test log", 1};
    const CNameTables names_;
};

}  // namespace corvane
