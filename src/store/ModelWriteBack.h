#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/ViewUpdateHint.h"
#include "platform/Clock.h"
#include "settings/AppSettings.h"

namespace corvane {

class CDaoException;
class CDaoTransaction;
class CIntercomData;
class CTrunkData;
class CVorlinDatabase;
class CVorlinModel;
class ChangeFlags;
enum class ModelCollection;
struct TrunkUsageRecord;
struct QueuedRequestRecord;

// Carries the changes of the live model into the database, one collection per pass, each
// pass in one transaction. Each pass ORs the view hint bits of what it changed into hint.
// User-interface thread only; the passes take the collection locks themselves.
//
// A database error ends a pass: what was written before it is kept (committed), the entry
// that failed is dropped, and every entry not yet written keeps its change bits and marks
// its collection dirty again, so the next tick goes on with it. A pass whose transaction
// cannot start or whose commit fails leaves the model as it found it: every change bit,
// request number and queued operation stays for the next tick, and the alarms it would have
// raised are raised by the pass that writes their rows. An intercom's lost and regained
// contact is the exception: the intercom pass notices each change of its communication status
// on the tick that sees it, written or not, and raises its alarm then, with that time; the
// alarm pass writes the alarms in order once the database takes writes again. No database
// exception leaves a pass; the database's outage tells the operator once, after the pass has
// let go of its lock.
class CModelWriteBack {
public:
    static constexpr int kAlphasPerPass = 500;

    CModelWriteBack(CVorlinModel& model, CVorlinDatabase& db, const SharedSettings& settings);

    void UpdateIntercomsInDatabase(ViewUpdateHint& hint);
    void UpdateTrunksInDatabase(ViewUpdateHint& hint);
    void UpdateAlphasInDatabase(ViewUpdateHint& hint);
    void UpdateAlarmsInDatabase(ViewUpdateHint& hint);

    // Set whenever a new Alarms row is written; the tree shows the alarm image while set.
    bool UnseenAlarms() const { return unseenAlarms_; }
    void ClearUnseenAlarms() { unseenAlarms_ = false; }

private:
    // What the current pass changed in the model, so that a lost transaction can put it back,
    // and what it holds back until its writes are in the file.
    class PassLedger {
    public:
        // Clears bits and remembers those that were set.
        void Clear(ChangeFlags& flags, uint8_t bits);
        // Remembers a value before the pass changes it.
        void Keep(int32_t& field);
        void Later(std::function<void()> action);
        // The pass's writes are in the file: runs what was held back.
        void Committed();
        // The pass's writes are lost: puts back what it changed, drops what was held back.
        void RolledBack();

    private:
        std::vector<std::pair<ChangeFlags*, uint8_t>> cleared_;
        std::vector<std::pair<int32_t*, int32_t>> kept_;
        std::vector<std::function<void()>> later_;
    };

    // The Function column's code of a function type, empty for none.
    static std::string FunctionCode(int type);

    void WriteIntercom(int number, CIntercomData& icom, ViewUpdateHint& hint);
    void WriteSummaryCounts(int number, CIntercomData& icom, ViewUpdateHint& hint);
    void WriteIntercomRow(int number, CIntercomData& icom, ViewUpdateHint& hint);
    // The intercom pass did not write every row: each intercom whose row waits has its change
    // of communication status noticed now.
    void NoticeUnwrittenCommStates();
    // False when the intercom's row cannot be read either: the rest wait for their writes.
    bool NoticeCommState(int number, const CIntercomData& icom);
    // The lost or regained contact alarm of a change from one status text to another, if any.
    void RaiseCommStateAlarm(int number, const std::string& from, const std::string& to, bool now);
    void WriteQueuedRequest(int number, QueuedRequestRecord& record, ViewUpdateHint& hint);
    // Raises an alarm once the pass's writes are in the file, at the time given or now.
    void RaiseAlarm(int deviceType, int deviceIndex, int category, int resolved,
                    std::string description, std::string context, int extra,
                    std::optional<WallTime> at = std::nullopt);
    void RaiseBusyAlarm(int requestId, int end1Intercom, int end1Number, bool talk, bool listen,
                        int end2Intercom, int end2FunctionType, int end2Number,
                        std::optional<WallTime> at);
    void WriteTrunk(int number, CTrunkData& trunk, ViewUpdateHint& hint);
    void WriteTrunkDefinition(int number, CTrunkData& trunk, ViewUpdateHint& hint, bool& gone);
    void WriteTrunkUsage(int number, TrunkUsageRecord& usage, ViewUpdateHint& hint);
    std::string AlphaOf(int intercom, int functionType, int number) const;

    // The alpha and alarm passes; the caller holds the queue's lock.
    void WriteAlphaQueue(ViewUpdateHint& hint);
    void WriteAlarmQueue(ViewUpdateHint& hint);
    // One pass over the intercoms or the trunks, whose lock the caller holds: writeAll
    // writes every changed entry; unwritten, when given, runs after the database refused
    // some of them.
    void RunPass(ModelCollection collection, const char* format, ViewUpdateHint& hint,
                 const std::function<void()>& writeAll,
                 const std::function<void()>& unwritten = {});
    // Starts the pass's transaction; false, with the collection dirty again, when the
    // database will not start one.
    bool BeginPass(std::optional<CDaoTransaction>& tx, ModelCollection collection,
                   const char* format);
    // Commits the pass; false when the commit failed and the pass was rolled back.
    bool CommitPass(CDaoTransaction& tx, const char* format);
    // Ends a pass after a database error: reports it, keeps what was written when the
    // commit succeeds and puts back what the pass changed when it does not. True when the
    // work before the error is in the file.
    bool EndFailedPass(CDaoTransaction& tx, const CDaoException& e, const char* format);

    CVorlinModel& model_;
    CVorlinDatabase& db_;
    const SharedSettings& sharedSettings_;
    AppSettings settings_;  // the snapshot of the running pass
    PassLedger ledger_;
    ViewUpdateHint alphaCarry_ = 0;
    // By intercom, the communication status last noticed while its row could not be written:
    // what its row holds once the database takes writes again.
    std::map<int, std::string> noticedComStates_;
    bool unseenAlarms_ = false;
};

}  // namespace corvane
