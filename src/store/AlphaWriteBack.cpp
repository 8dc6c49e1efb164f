#include <cstddef>
#include <optional>
#include <string>

#include "model/VorlinModel.h"
#include "store/DaoException.h"
#include "store/ModelWriteBack.h"
#include "store/VorlinDatabase.h"

namespace corvane {

namespace {

int32_t AsgnKey(const CAlpha& a) {
    const uint32_t key = (static_cast<uint32_t>(a.intercom) % 256u) << 24 |
                         (static_cast<uint32_t>(a.functionType) % 256u) << 16 |
                         static_cast<uint32_t>(a.number) % 65536u;
    return static_cast<int32_t>(key);
}

}  // namespace

void CModelWriteBack::UpdateAlphasInDatabase(ViewUpdateHint& hint) {
    {
        auto lock = model_.LockAlphas();
        WriteAlphaQueue(hint);
    }
    db_.Outage().ShowReport();
}

void CModelWriteBack::WriteAlphaQueue(ViewUpdateHint& hint) {
    constexpr const char* kError = "Error, updating Alphas in database\nDescription: %s";
    std::optional<CDaoTransaction> tx;
    if (!BeginPass(tx, ModelCollection::Alphas, kError)) {
        return;
    }
    const ViewUpdateHint onEntry = hint;
    const ViewUpdateHint carried = alphaCarry_;
    hint |= alphaCarry_;
    alphaCarry_ = 0;
    auto& queue = model_.AlphaQueue();
    CAlphasRS& rs = db_.Alphas();
    // Puts hint and carry back as they were when the pass's writes are lost.
    auto lost = [&] {
        hint = onEntry;
        alphaCarry_ = carried;
        model_.MarkDirty(ModelCollection::Alphas);
    };
    size_t done = 0;
    try {
        for (; done < queue.size() && done < kAlphasPerPass; ++done) {
            const CAlpha& a = queue[done];
            if (a.operation == alphaop::kDeleteFrom) {
                db_.Database().Execute(
                    "DELETE FROM Alphas WHERE IntercomIndex = ? AND Function = ? AND Number >= ?",
                    {DaoValue(a.intercom), DaoValue(FunctionCode(a.functionType)),
                     DaoValue(a.number)});
                if (db_.Database().GetRecordsAffected() > 0) {
                    hint |= hint::kAlphasChanged;
                }
                continue;
            }
            const bool found = rs.Seek(AsgnKey(a));
            if (found && a.operation == alphaop::kDelete) {
                rs.Delete();
                rs.MoveNext();
                hint |= hint::kAlphasChanged;
            } else if (found) {
                rs.Edit();
                rs.m_Alpha = a.text;
                rs.Update();
                hint |= hint::kAlphasEdited;
            } else if (a.operation != alphaop::kDelete) {
                rs.AddNew();
                rs.m_AsgnKey = AsgnKey(a);
                rs.m_IntercomIndex = static_cast<int16_t>(a.intercom);
                rs.m_Function = FunctionCode(a.functionType);
                rs.m_Number = static_cast<int16_t>(a.number);
                rs.m_Alpha = a.text;
                rs.Update();
                rs.SetBookmark(rs.GetLastModifiedBookmark());
                hint |= hint::kAlphasChanged;
            }
        }
    } catch (const CDaoException& e) {
        // The failing record is dropped with the records before it once they are in the
        // file; when the commit fails too every record stays queued.
        if (!EndFailedPass(*tx, e, kError)) {
            lost();
            return;
        }
        const CAlpha& a = queue[done];
        db_.Log().Printf(1, "Alpha of intercom %d, type %d, number %d not written: \"%s\"",
                         a.intercom, a.functionType, a.number, a.text.c_str());
        queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(done + 1));
        if (!queue.empty()) {
            model_.MarkDirty(ModelCollection::Alphas);
        }
        return;
    }
    if (!CommitPass(*tx, kError)) {
        lost();
        return;
    }
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(done));
    if (!queue.empty()) {
        // The rest follows on the next ticks; the views learn of the change at the end.
        alphaCarry_ = hint & hint::kAlphasChanged;
        hint = onEntry;
        model_.MarkDirty(ModelCollection::Alphas);
    }
}

}  // namespace corvane
