#pragma once

#include <string>
#include <vector>

#include "store/DaoRecordset.h"

namespace corvane {

// The counts beside a list view: one GROUP BY or COUNT query over the list's table,
// restricted by the list's filter text. Opened as dynasets; the default SQL names a query
// the database does not hold, so each is always opened on the SQL it builds.

// Counts per lookup index (state or test result): the shared part of the four GROUP BY
// recordsets.
class CLookupTotalsRS : public CDaoRecordset {
public:
    // Rebuilds the query for this filter text (empty: every row) and opens it. A database
    // failure reaches the caller.
    void BuildQuery(const std::string& filter);
    // Requeries and counts again; a database failure leaves the totals as far as counted.
    void ReadTotals();
    // Counts the rows the query read when it was built or last requeried, without reading
    // them again; a database failure leaves the totals as far as counted.
    void CountTotals();

    // The total of one lookup index, 0 outside the table.
    long GetTotal(int index) const;
    // The sum over every row, indexes outside the table included.
    long GetGrandTotal() const { return grandTotal_; }

    DaoInt16 m_Index;  // StateIndex or ResultIndex
    DaoText m_Name;    // State or TestResult
    DaoInt32 m_Count;

    // The queries and the lookup table of one kind of totals.
    struct Texts {
        const char* defaultSql;
        const char* indexColumn;
        const char* nameColumn;
        const char* sql;            // without a filter
        const char* sqlWithFilter;  // "%s" is the filter
        int count;                  // lookup indexes 0..count-1
        const char* emptyName;      // a row of this name counts 0
        bool grandTotal;
    };

protected:
    CLookupTotalsRS(CDaoDatabase& db, const Texts& texts);

    std::string GetDefaultSQL() const override { return texts_.defaultSql; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;

private:
    const Texts& texts_;
    std::vector<long> totals_;
    long grandTotal_ = 0;
};

// Alarms per state: 0 "Active", 1 "Resolved", 2 "Stale", 3 "Unresolved", and all.
class CAlarmStatusRS final : public CLookupTotalsRS {
public:
    explicit CAlarmStatusRS(CDaoDatabase& db);
    long GetActive() const { return GetTotal(0); }
    long GetResolved() const { return GetTotal(1); }
    long GetStale() const { return GetTotal(2); }
    long GetUnresolved() const { return GetTotal(3); }
};

// Requests per state: 0 "Alloc", 1 "Queued", 2 "Active", 3 "Finished", 4 "Incomplete",
// and all.
class CRequestStatusRS final : public CLookupTotalsRS {
public:
    explicit CRequestStatusRS(CDaoDatabase& db);
    long GetAllocated() const { return GetTotal(0); }
    long GetQueued() const { return GetTotal(1); }
    long GetActive() const { return GetTotal(2); }
    long GetFinished() const { return GetTotal(3); }
    long GetIncomplete() const { return GetTotal(4); }
};

// Trunks per state: 0 "Idle", 1 "Alloc", 2 "In Use", 3 "Maint", and all.
class CTrunkStatusRS final : public CLookupTotalsRS {
public:
    explicit CTrunkStatusRS(CDaoDatabase& db);
    long GetIdle() const { return GetTotal(0); }
    long GetAllocated() const { return GetTotal(1); }
    long GetInUse() const { return GetTotal(2); }
    long GetMaintenance() const { return GetTotal(3); }
};

// Trunks per test result 0-6 ("Pass" .. "Skipped", " "); never-tested trunks (" ") count
// 0, and there is no grand total.
class CTrunkResultsRS final : public CLookupTotalsRS {
public:
    explicit CTrunkResultsRS(CDaoDatabase& db);
};

// The number of trunks out of service.
class CTrunkServiceRS final : public CDaoRecordset {
public:
    explicit CTrunkServiceRS(CDaoDatabase& db);
    // A database failure reaches the caller.
    void BuildQuery(const std::string& filter);
    // A database failure leaves the count 0.
    void ReadCount();
    // The count the query read when it was built or last requeried.
    void TakeCount();
    long GetCount() const { return count_; }

    DaoInt32 m_Count;

protected:
    std::string GetDefaultSQL() const override { return "[TrunkOOSTotals]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;

private:
    long count_ = 0;
};

// The six sums of the trunk summary rows that pass the filter; starts with the totals row
// of every intercom ("FromIntercomIndex = 0").
class CSummaryStatusRS final : public CDaoRecordset {
public:
    explicit CSummaryStatusRS(CDaoDatabase& db);
    // Reports a database failure ("Error\nDescription: %s") and stays closed.
    void BuildQuery(const std::string& filter);
    // Requeries; a database failure is swallowed.
    void Refresh();

    // The sums of the current row; 0 when closed or when no row passes.
    long GetIntercomCount() const;
    long GetTotalTrunks() const;
    long GetTotalAllocated() const;
    long GetTotalInUse() const;
    long GetTotalMaint() const;
    long GetTotalOOS() const;

    DaoInt32 m_IntercomCount;
    DaoInt32 m_TotalTrunks;
    DaoInt32 m_TotalAllocated;
    DaoInt32 m_TotalInUse;
    DaoInt32 m_TotalMaint;
    DaoInt32 m_TotalOOS;

protected:
    std::string GetDefaultSQL() const override { return "[TrunkSummaryTotals]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;

private:
    long Sum(const DaoInt32& field) const;
};

}  // namespace corvane
