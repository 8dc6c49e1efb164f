#pragma once

#include <string>

#include "store/DaoRecordset.h"

namespace corvane {

// The recordset behind a list view: a dynaset with no bound columns (the view reads the
// cells) and a key column that makes the view's sort order total. Opened by its list query as
// a keyset on that column, so that an edited row shows its new values without a requery.
class CListRecordset : public CDaoRecordset {
public:
    explicit CListRecordset(CDaoDatabase& db);
    ~CListRecordset() override;

    // Qualified with its table where the kind's query joins tables that share the name;
    // empty when the kind has none.
    virtual std::string GetKeyColumn() const;
    // The key tells rows apart only among those that pass the filter (the trunk summary of
    // one intercom).
    bool IsKeyUniqueWithinFilter() const { return m_bKeyWithinFilter; }

protected:
    std::string m_strKeyColumn;
    bool m_bKeyWithinFilter = false;
};

// The sort text of a list: the user's column and direction, then the key column when there
// is one ("3 DESC, Trunks.TrunkIndex").
std::string ListSortText(const CListRecordset& rs, const std::string& column, bool ascending);

class CIcomListRecordset final : public CListRecordset {
public:
    explicit CIcomListRecordset(CDaoDatabase& db);
};

class CTrunkListRecordset final : public CListRecordset {
public:
    explicit CTrunkListRecordset(CDaoDatabase& db);
};

class CRequestListRecordset final : public CListRecordset {
public:
    explicit CRequestListRecordset(CDaoDatabase& db);
};

class CAlphaListRecordset final : public CListRecordset {
public:
    explicit CAlphaListRecordset(CDaoDatabase& db);
};

class CAlarmListRecordset final : public CListRecordset {
public:
    explicit CAlarmListRecordset(CDaoDatabase& db);
};

// Trunk conflicts: no key column.
class CDupTrunkListRecordset final : public CListRecordset {
public:
    explicit CDupTrunkListRecordset(CDaoDatabase& db);
};

// The trunk summary of one intercom.
class CSummaryListRecordset final : public CListRecordset {
public:
    explicit CSummaryListRecordset(CDaoDatabase& db);
};

}  // namespace corvane
