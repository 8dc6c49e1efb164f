#include "store/ModelWriteBack.h"

#include "model/VorlinModel.h"
#include "store/DaoException.h"
#include "store/FunctionCodes.h"
#include "store/VorlinDatabase.h"

namespace corvane {

CModelWriteBack::CModelWriteBack(CVorlinModel& model, CVorlinDatabase& db,
                                 const SharedSettings& settings)
    : model_(model), db_(db), sharedSettings_(settings), settings_(settings.Snapshot()) {}

void CModelWriteBack::PassLedger::Clear(ChangeFlags& flags, uint8_t bits) {
    if (flags.Test(bits)) {
        cleared_.emplace_back(&flags, static_cast<uint8_t>(flags.Mask() & bits));
    }
    flags.Clear(bits);
}

void CModelWriteBack::PassLedger::Keep(int32_t& field) {
    kept_.emplace_back(&field, field);
}

void CModelWriteBack::PassLedger::Later(std::function<void()> action) {
    later_.push_back(std::move(action));
}

void CModelWriteBack::PassLedger::Committed() {
    std::vector<std::function<void()>> actions;
    actions.swap(later_);
    for (const auto& action : actions) {
        action();
    }
    cleared_.clear();
    kept_.clear();
}

void CModelWriteBack::PassLedger::RolledBack() {
    // Backwards, so that a value kept twice gets the one from before the pass.
    for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) {
        *it->first = it->second;
    }
    for (auto& [flags, bits] : cleared_) {
        flags->Mark(bits);
    }
    cleared_.clear();
    kept_.clear();
    later_.clear();
}

std::string CModelWriteBack::FunctionCode(int type) {
    return type >= 0 && type < kFunctionTypes ? std::string(kFunctionCodes[type]) : std::string();
}

void CModelWriteBack::RaiseAlarm(int deviceType, int deviceIndex, int category, int resolved,
                                 std::string description, std::string context, int extra,
                                 std::optional<WallTime> at) {
    ledger_.Later([this, deviceType, deviceIndex, category, resolved,
                   description = std::move(description), context = std::move(context), extra, at] {
        if (at) {
            model_.AddAlarmAt(deviceType, deviceIndex, category, resolved, description, context,
                              extra, *at);
        } else {
            model_.AddAlarm(deviceType, deviceIndex, category, resolved, description, context,
                            extra);
        }
    });
}

void CModelWriteBack::RunPass(ModelCollection collection, const char* format, ViewUpdateHint& hint,
                              const std::function<void()>& writeAll,
                              const std::function<void()>& unwritten) {
    std::optional<CDaoTransaction> tx;
    const auto refused = [&] {
        tx.reset();  // what the pass noticed is compared with the rows as they are in the file
        model_.MarkDirty(collection);
        if (unwritten) {
            unwritten();
        }
    };
    if (!BeginPass(tx, collection, format)) {
        refused();
        return;
    }
    const ViewUpdateHint onEntry = hint;
    try {
        writeAll();
    } catch (const CDaoException& e) {
        if (!EndFailedPass(*tx, e, format)) {
            hint = onEntry;
        }
        refused();
        return;
    }
    if (!CommitPass(*tx, format)) {
        hint = onEntry;
        refused();
    }
}

bool CModelWriteBack::BeginPass(std::optional<CDaoTransaction>& tx, ModelCollection collection,
                                const char* format) {
    try {
        tx.emplace(db_.Database());
        return true;
    } catch (const CDaoException& e) {
        db_.Outage().WriteFailed(e, format);
        model_.MarkDirty(collection);
        return false;
    }
}

bool CModelWriteBack::CommitPass(CDaoTransaction& tx, const char* format) {
    try {
        tx.Commit();
    } catch (const CDaoException& e) {
        // The transaction rolls back when tx goes; the model takes back what the pass did.
        db_.Outage().WriteFailed(e, format);
        ledger_.RolledBack();
        return false;
    }
    ledger_.Committed();
    db_.Outage().WriteSucceeded();
    return true;
}

bool CModelWriteBack::EndFailedPass(CDaoTransaction& tx, const CDaoException& e,
                                    const char* format) {
    db_.Outage().WriteFailed(e, format);
    try {
        tx.Commit();
    } catch (const CDaoException& commit) {
        // Rolled back: the pass's changes are kept for the next, as the outage's lines say.
        db_.Outage().WriteFailed(commit, format);
        ledger_.RolledBack();
        return false;
    }
    ledger_.Committed();
    return true;
}

}  // namespace corvane
