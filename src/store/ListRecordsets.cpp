#include "store/ListRecordsets.h"

namespace corvane {

CListRecordset::CListRecordset(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Dynaset;
}

CListRecordset::~CListRecordset() = default;

std::string CListRecordset::GetKeyColumn() const {
    return m_strKeyColumn;
}

std::string ListSortText(const CListRecordset& rs, const std::string& column, bool ascending) {
    std::string sort = column + (ascending ? " ASC" : " DESC");
    const std::string key = rs.GetKeyColumn();
    if (!key.empty()) {
        sort += ", " + key;
    }
    return sort;
}

CIcomListRecordset::CIcomListRecordset(CDaoDatabase& db) : CListRecordset(db) {
    m_strKeyColumn = "IntercomIndex";
}

CTrunkListRecordset::CTrunkListRecordset(CDaoDatabase& db) : CListRecordset(db) {
    m_strKeyColumn = "Trunks.TrunkIndex";
}

CRequestListRecordset::CRequestListRecordset(CDaoDatabase& db) : CListRecordset(db) {
    m_strKeyColumn = "Requests.RequestID";
}

CAlphaListRecordset::CAlphaListRecordset(CDaoDatabase& db) : CListRecordset(db) {
    m_strKeyColumn = "AsgnKey";
}

CAlarmListRecordset::CAlarmListRecordset(CDaoDatabase& db) : CListRecordset(db) {
    m_strKeyColumn = "Alarms.AlarmID";
}

CDupTrunkListRecordset::CDupTrunkListRecordset(CDaoDatabase& db) : CListRecordset(db) {}

CSummaryListRecordset::CSummaryListRecordset(CDaoDatabase& db) : CListRecordset(db) {
    m_strKeyColumn = "TrunkSummary.ToIntercomIndex";
    m_bKeyWithinFilter = true;
}

}  // namespace corvane
