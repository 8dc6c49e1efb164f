#include "store/ModelWriteBack.h"

#include "document/VorlinDoc.h"
#include "store/DaoException.h"
#include "store/FunctionCodes.h"
#include "store/VorlinDatabase.h"

namespace corvane {

CModelWriteBack::CModelWriteBack(CVorlinDoc& doc, CVorlinDatabase& db,
                                 const SharedSettings& settings)
    : doc_(doc), db_(db), sharedSettings_(settings), settings_(settings.Snapshot()) {}

void CModelWriteBack::ClearedBits::Clear(ChangeFlags& flags, uint8_t bits) {
    if (flags.Test(bits)) {
        cleared_.emplace_back(&flags, static_cast<uint8_t>(flags.Mask() & bits));
    }
    flags.Clear(bits);
}

void CModelWriteBack::ClearedBits::Restore() {
    for (auto& [flags, bits] : cleared_) {
        // A record the pass set back to "never reported" (an absent trunk) stays so.
        if (!flags->IsUnset()) {
            flags->Mark(bits);
        }
    }
    cleared_.clear();
}

std::string CModelWriteBack::FunctionCode(int type) {
    return type >= 0 && type < kFunctionTypes ? std::string(kFunctionCodes[type]) : std::string();
}

bool CModelWriteBack::EndFailedPass(CDaoTransaction& tx, const CDaoException& e,
                                    const char* format) {
    db_.Log().Printf(1, "Write-back stopped by a database error: %s", e.Description().c_str());
    ReportDaoException(e, format);
    try {
        tx.Commit();
        cleared_.Forget();
        return true;
    } catch (const CDaoException& commit) {
        // The whole pass is rolled back: everything it cleared must be written again.
        db_.Log().Printf(1, "The pass was rolled back, its changes are kept for the next: %s",
                         commit.Description().c_str());
        cleared_.Restore();
        return false;
    }
}

}  // namespace corvane
