#include "store/TotalsRecordsets.h"

#include <algorithm>

#include "store/DaoException.h"

namespace corvane {
namespace {

std::string WithFilter(const char* sql, const char* sqlWithFilter, const std::string& filter) {
    if (filter.empty()) {
        return sql;
    }
    std::string out = sqlWithFilter;
    const size_t at = out.find("%s");
    out.replace(at, 2, filter);
    return out;
}

}  // namespace

CLookupTotalsRS::CLookupTotalsRS(CDaoDatabase& db, const Texts& texts)
    : CDaoRecordset(db), texts_(texts), totals_(static_cast<size_t>(texts.count), 0) {
    m_nDefaultType = DaoOpenType::Dynaset;
}

void CLookupTotalsRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind(texts_.indexColumn, m_Index);
    fx.Bind(texts_.nameColumn, m_Name);
    fx.Bind("[Count]", m_Count);
}

void CLookupTotalsRS::BuildQuery(const std::string& filter) {
    const std::string sql = WithFilter(texts_.sql, texts_.sqlWithFilter, filter);
    if (IsOpen()) {
        Close();
    }
    Open(DaoOpenType::Dynaset, sql);
}

void CLookupTotalsRS::ReadTotals() {
    try {
        Requery();
    } catch (const CDaoException&) {
        // The totals are a display aid: zeros, the next repaint tries again.
        std::fill(totals_.begin(), totals_.end(), 0);
        grandTotal_ = 0;
        return;
    }
    CountTotals();
}

void CLookupTotalsRS::CountTotals() {
    std::fill(totals_.begin(), totals_.end(), 0);
    grandTotal_ = 0;
    try {
        if (IsBOF() && IsEOF()) {
            return;
        }
        MoveFirst();
        while (!IsEOF()) {
            const bool unnamed = m_Name.IsNull() || m_Name.Value() == texts_.emptyName;
            const long count = unnamed ? 0 : static_cast<long>(m_Count.Value());
            if (texts_.grandTotal) {
                grandTotal_ += count;
            }
            const int index = m_Index.Value();
            if (!m_Index.IsNull() && index >= 0 && index < texts_.count) {
                totals_[static_cast<size_t>(index)] = count;
            }
            MoveNext();
        }
    } catch (const CDaoException&) {
        // The totals are a display aid: keep what was counted, the next repaint tries again.
    }
}

long CLookupTotalsRS::GetTotal(int index) const {
    return index >= 0 && index < texts_.count ? totals_[static_cast<size_t>(index)] : 0;
}

namespace {

const CLookupTotalsRS::Texts kAlarmStateTotals = {
    "[AlarmStateTotals]",
    "[StateIndex]",
    "[State]",
    "SELECT AlarmStates.StateIndex AS [StateIndex], Alarms.State AS [State], COUNT (*) AS "
    "[Count] FROM Alarms, AlarmStates WHERE AlarmStates.State = Alarms.State GROUP BY "
    "AlarmStates.StateIndex, Alarms.State ORDER BY AlarmStates.StateIndex ",
    "SELECT AlarmStates.StateIndex AS [StateIndex], Alarms.State AS [State], COUNT (*) AS "
    "[Count] FROM Alarms, AlarmStates WHERE AlarmStates.State = Alarms.State AND %s GROUP BY "
    "AlarmStates.StateIndex, Alarms.State ORDER BY AlarmStates.StateIndex ",
    4,
    "",
    true};

const CLookupTotalsRS::Texts kRequestStateTotals = {
    "[RequestStateTotals]",
    "[StateIndex]",
    "[State]",
    "SELECT RequestStates.StateIndex AS [StateIndex], Requests.State AS [State], COUNT (*) AS "
    "[Count] FROM Requests, RequestStates WHERE RequestStates.State = Requests.State GROUP BY "
    "RequestStates.StateIndex, Requests.State ORDER BY RequestStates.StateIndex ",
    "SELECT RequestStates.StateIndex AS [StateIndex], Requests.State AS [State], COUNT (*) AS "
    "[Count] FROM Requests, RequestStates WHERE RequestStates.State = Requests.State AND %s "
    "GROUP BY RequestStates.StateIndex, Requests.State ORDER BY RequestStates.StateIndex ",
    5,
    "",
    true};

const CLookupTotalsRS::Texts kTrunkStateTotals = {
    "[TrunkStateTotals]",
    "[StateIndex]",
    "[State]",
    "SELECT TrunkStates.StateIndex AS [StateIndex], Trunks.State AS [State], COUNT (*) AS "
    "[Count] FROM Trunks, TrunkStates WHERE TrunkStates.State = Trunks.State GROUP BY "
    "TrunkStates.StateIndex, Trunks.State ORDER BY TrunkStates.StateIndex ",
    "SELECT TrunkStates.StateIndex AS [StateIndex], Trunks.State AS [State], COUNT (*) AS "
    "[Count] FROM Trunks, TrunkStates WHERE TrunkStates.State = Trunks.State AND %s GROUP BY "
    "TrunkStates.StateIndex, Trunks.State ORDER BY TrunkStates.StateIndex ",
    4,
    "",
    true};

const CLookupTotalsRS::Texts kTrunkResultTotals = {
    "[TrunkResultTotals]",
    "[ResultIndex]",
    "[TestResult]",
    "SELECT TestResults.ResultIndex AS [ResultIndex], Trunks.TestResult AS [TestResult], COUNT "
    "(*) AS [Count] FROM Trunks, TestResults WHERE TestResults.TestResult = Trunks.TestResult "
    "GROUP BY TestResults.ResultIndex, Trunks.TestResult ORDER BY TestResults.ResultIndex ",
    "SELECT TestResults.ResultIndex AS [ResultIndex], Trunks.TestResult AS [TestResult], COUNT "
    "(*) AS [Count] FROM Trunks, TestResults WHERE TestResults.TestResult = Trunks.TestResult "
    "AND %s GROUP BY TestResults.ResultIndex, Trunks.TestResult ORDER BY "
    "TestResults.ResultIndex ",
    7,
    " ",
    false};

constexpr const char* kServiceSql =
    "SELECT COUNT (*) AS [Count] FROM Trunks WHERE Trunks.OOS = -1 ";
constexpr const char* kServiceSqlWithFilter =
    "SELECT COUNT (*) AS [Count] FROM Trunks WHERE Trunks.OOS = -1 AND %s ";

constexpr const char* kSummarySql =
    "SELECT COUNT (*) AS [IntercomCount], SUM (NumTrunks) AS [TotalTrunks], SUM (NumAllocated) "
    "AS [TotalAllocated], SUM (NumInUse) AS [TotalInUse], SUM (NumMaint) AS [TotalMaint], SUM "
    "(NumOOS) AS [TotalOOS] FROM TrunkSummary ";
constexpr const char* kSummarySqlWithFilter =
    "SELECT COUNT (*) AS [IntercomCount], SUM (NumTrunks) AS [TotalTrunks], SUM (NumAllocated) "
    "AS [TotalAllocated], SUM (NumInUse) AS [TotalInUse], SUM (NumMaint) AS [TotalMaint], SUM "
    "(NumOOS) AS [TotalOOS] FROM TrunkSummary WHERE %s ";

}  // namespace

CAlarmStatusRS::CAlarmStatusRS(CDaoDatabase& db) : CLookupTotalsRS(db, kAlarmStateTotals) {
    BuildQuery({});
}

CRequestStatusRS::CRequestStatusRS(CDaoDatabase& db) : CLookupTotalsRS(db, kRequestStateTotals) {
    BuildQuery({});
}

CTrunkStatusRS::CTrunkStatusRS(CDaoDatabase& db) : CLookupTotalsRS(db, kTrunkStateTotals) {
    BuildQuery({});
}

CTrunkResultsRS::CTrunkResultsRS(CDaoDatabase& db) : CLookupTotalsRS(db, kTrunkResultTotals) {
    BuildQuery({});
}

CTrunkServiceRS::CTrunkServiceRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Dynaset;
    BuildQuery({});
}

void CTrunkServiceRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[Count]", m_Count);
}

void CTrunkServiceRS::BuildQuery(const std::string& filter) {
    const std::string sql = WithFilter(kServiceSql, kServiceSqlWithFilter, filter);
    if (IsOpen()) {
        Close();
    }
    Open(DaoOpenType::Dynaset, sql);
}

void CTrunkServiceRS::ReadCount() {
    count_ = 0;
    try {
        Requery();
    } catch (const CDaoException&) {
        return;  // a display aid: the count stays 0 until the next repaint
    }
    TakeCount();
}

void CTrunkServiceRS::TakeCount() {
    count_ = 0;
    try {
        if (!(IsBOF() && IsEOF())) {
            MoveFirst();
            count_ = IsEOF() ? 0 : static_cast<long>(m_Count.Value());
        }
    } catch (const CDaoException&) {
        // A display aid: the count stays 0 until the next repaint.
    }
}

CSummaryStatusRS::CSummaryStatusRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Dynaset;
    BuildQuery("FromIntercomIndex = 0");
}

void CSummaryStatusRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[IntercomCount]", m_IntercomCount);
    fx.Bind("[TotalTrunks]", m_TotalTrunks);
    fx.Bind("[TotalAllocated]", m_TotalAllocated);
    fx.Bind("[TotalInUse]", m_TotalInUse);
    fx.Bind("[TotalMaint]", m_TotalMaint);
    fx.Bind("[TotalOOS]", m_TotalOOS);
}

void CSummaryStatusRS::BuildQuery(const std::string& filter) {
    try {
        const std::string sql = WithFilter(kSummarySql, kSummarySqlWithFilter, filter);
        if (IsOpen()) {
            Close();
        }
        Open(DaoOpenType::Dynaset, sql);
        if (!(IsBOF() && IsEOF())) {
            MoveFirst();
        }
    } catch (const CDaoException& e) {
        Close();
        ReportDaoException(e, "Error\nDescription: %s");
    }
}

void CSummaryStatusRS::Refresh() {
    try {
        Requery();
        if (!(IsBOF() && IsEOF())) {
            MoveFirst();
        }
    } catch (const CDaoException&) {
        // A display aid: the sums are read again on the next repaint.
    }
}

long CSummaryStatusRS::Sum(const DaoInt32& field) const {
    if (!IsOpen() || IsBOF() || IsEOF() || field.IsNull()) {
        return 0;
    }
    return static_cast<long>(field.Value());
}

long CSummaryStatusRS::GetIntercomCount() const {
    return Sum(m_IntercomCount);
}
long CSummaryStatusRS::GetTotalTrunks() const {
    return Sum(m_TotalTrunks);
}
long CSummaryStatusRS::GetTotalAllocated() const {
    return Sum(m_TotalAllocated);
}
long CSummaryStatusRS::GetTotalInUse() const {
    return Sum(m_TotalInUse);
}
long CSummaryStatusRS::GetTotalMaint() const {
    return Sum(m_TotalMaint);
}
long CSummaryStatusRS::GetTotalOOS() const {
    return Sum(m_TotalOOS);
}

}  // namespace corvane
