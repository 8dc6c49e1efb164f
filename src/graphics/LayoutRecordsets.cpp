#include "graphics/LayoutRecordsets.h"

#include <cstdint>
#include <cstring>

#include "store/DaoException.h"

namespace corvane {
namespace {

constexpr const char* kByNumber = "PrimaryKey";
constexpr const char* kByName = "SecondaryKey";

// Numbers beyond the column's range are in no row.
bool FitsIndexColumn(int number) {
    return number >= INT16_MIN && number <= INT16_MAX;
}

}  // namespace

CLayoutRecordsets::CLayoutRecordsets(CDaoDatabase& db) : db_(db), intercoms_(db), summary_(db) {}

void CLayoutRecordsets::Open() {
    intercoms_.Open();
    intercomIndex_ = kByNumber;
    UseIntercomIndex(kByName);
    summary_.Open();
    summary_.SetCurrentIndex(kByNumber);
    open_ = true;
}

void CLayoutRecordsets::UseIntercomIndex(const char* index) {
    if (std::strcmp(intercomIndex_, index) != 0) {
        intercoms_.SetCurrentIndex(index);
        intercomIndex_ = index;
    }
}

LayoutModelSource::Lookup CLayoutRecordsets::FindIntercom(int number, IntercomRow& row,
                                                          std::string& error) {
    if (!open_ || !FitsIndexColumn(number)) {
        return Lookup::NotFound;
    }
    try {
        UseIntercomIndex(kByNumber);
        if (!intercoms_.Seek(static_cast<int16_t>(number))) {
            return Lookup::NotFound;
        }
        row.name = intercoms_.m_IntercomName.Value();
        row.comState = intercoms_.m_ComState.Value();
        row.baudRate = intercoms_.m_BaudRate.Value();
        return Lookup::Found;
    } catch (const CDaoException& e) {
        error = e.Description();
        return Lookup::Failed;
    }
}

LayoutModelSource::Lookup CLayoutRecordsets::FindTrunkSummary(int from, int to,
                                                              TrunkSetCounts& counts,
                                                              std::string& error) {
    if (!open_ || !FitsIndexColumn(from) || !FitsIndexColumn(to)) {
        return Lookup::NotFound;
    }
    try {
        if (!summary_.Seek(static_cast<int16_t>(from), static_cast<int16_t>(to))) {
            return Lookup::NotFound;
        }
        counts = {summary_.m_NumTrunks.Value(), summary_.m_NumAllocated.Value(),
                  summary_.m_NumInUse.Value(), summary_.m_NumMaint.Value(),
                  summary_.m_NumOOS.Value()};
        return Lookup::Found;
    } catch (const CDaoException& e) {
        error = e.Description();
        return Lookup::Failed;
    }
}

LayoutModelSource::Lookup CLayoutRecordsets::ReadTrunkSummaries(std::vector<PairCounts>& rows,
                                                                std::string& error) {
    rows.clear();
    if (!open_) {
        return Lookup::NotFound;
    }
    try {
        DaoStatement stmt = db_.Use(db_.Slot(
            "SELECT FromIntercomIndex, ToIntercomIndex, NumTrunks, NumAllocated, NumInUse, "
            "NumMaint, NumOOS FROM TrunkSummary WHERE FromIntercomIndex < ToIntercomIndex "
            "ORDER BY FromIntercomIndex, ToIntercomIndex"));
        while (stmt.Step()) {
            const auto column = [&](int c) { return static_cast<int>(stmt.ColumnInteger(c)); };
            rows.push_back(
                {column(0), column(1), {column(2), column(3), column(4), column(5), column(6)}});
        }
        return Lookup::Found;
    } catch (const CDaoException& e) {
        rows.clear();
        error = e.Description();
        return Lookup::Failed;
    }
}

LayoutModelSource::Lookup CLayoutRecordsets::ListIntercoms(std::vector<IntercomEntry>& intercoms,
                                                           std::string& error) {
    intercoms.clear();
    if (!open_) {
        return Lookup::NotFound;
    }
    try {
        UseIntercomIndex(kByName);
        for (intercoms_.MoveFirst(); !intercoms_.IsEOF(); intercoms_.MoveNext()) {
            intercoms.push_back(
                {intercoms_.m_IntercomIndex.Value(), intercoms_.m_IntercomName.Value()});
        }
        return intercoms.empty() ? Lookup::NotFound : Lookup::Found;
    } catch (const CDaoException& e) {
        error = e.Description();
        return Lookup::Failed;
    }
}

}  // namespace corvane
