#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "document/ViewUpdateHint.h"
#include "settings/AppSettings.h"

namespace corvane {

class CDaoException;
class CDaoTransaction;
class CIntercomData;
class CTrunkData;
class CVorlinDatabase;
class CVorlinDoc;
class ChangeFlags;
struct TrunkUsageRecord;
struct QueuedRequestRecord;

// Carries the changes of the live model into the database, one collection per pass, each
// pass in one transaction. Each pass ORs the view hint bits of what it changed into hint.
// User-interface thread only; the passes take the collection locks themselves.
//
// A database error ends a pass: what was written before it is kept (committed), the entry
// that failed is dropped, and every entry not yet written keeps its change bits and marks
// its collection dirty again, so the next tick goes on with it.
class CModelWriteBack {
public:
    static constexpr int kAlphasPerPass = 500;

    CModelWriteBack(CVorlinDoc& doc, CVorlinDatabase& db, const SharedSettings& settings);

    void UpdateIntercomsInDatabase(ViewUpdateHint& hint);
    void UpdateTrunksInDatabase(ViewUpdateHint& hint);
    void UpdateAlphasInDatabase(ViewUpdateHint& hint);
    void UpdateAlarmsInDatabase(ViewUpdateHint& hint);

    // Set whenever a new Alarms row is written; the tree shows the alarm image while set.
    bool UnseenAlarms() const { return unseenAlarms_; }
    void ClearUnseenAlarms() { unseenAlarms_ = false; }

private:
    // Bits cleared in the current pass, so that they can be set again when its transaction
    // is lost.
    class ClearedBits {
    public:
        void Clear(ChangeFlags& flags, uint8_t bits);
        void Restore();
        void Forget() { cleared_.clear(); }

    private:
        std::vector<std::pair<ChangeFlags*, uint8_t>> cleared_;
    };

    // The Function column's code of a function type, empty for none.
    static std::string FunctionCode(int type);

    void WriteIntercom(int number, CIntercomData& icom, ViewUpdateHint& hint);
    void WriteSummaryCounts(int number, CIntercomData& icom, ViewUpdateHint& hint);
    void WriteIntercomRow(int number, CIntercomData& icom, ViewUpdateHint& hint);
    void WriteQueuedRequest(int number, QueuedRequestRecord& record, ViewUpdateHint& hint);
    void RaiseBusyAlarm(int requestId, int end1Intercom, int end1Number, bool talk, bool listen,
                        int end2Intercom, int end2FunctionType, int end2Number);
    void WriteTrunk(int number, CTrunkData& trunk, ViewUpdateHint& hint);
    void WriteTrunkDefinition(int number, CTrunkData& trunk, ViewUpdateHint& hint, bool& gone);
    void WriteTrunkUsage(int number, TrunkUsageRecord& usage, ViewUpdateHint& hint);
    std::string AlphaOf(int intercom, int functionType, int number) const;

    // Ends a pass after a database error: reports it, keeps what was written when the
    // commit succeeds and sets the bits of the pass again when it does not. True when the
    // work before the error is in the file.
    bool EndFailedPass(CDaoTransaction& tx, const CDaoException& e, const char* format);

    CVorlinDoc& doc_;
    CVorlinDatabase& db_;
    const SharedSettings& sharedSettings_;
    AppSettings settings_;  // the snapshot of the running pass
    ClearedBits cleared_;
    ViewUpdateHint alphaCarry_ = 0;
    bool unseenAlarms_ = false;
};

}  // namespace corvane
