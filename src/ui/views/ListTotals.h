#pragma once

#include <memory>

#include "document/VorlinDoc.h"
#include "store/DaoException.h"
#include "store/VorlinDatabase.h"

namespace corvane {

// A list's totals recordset on the document's database, opened on every row; none while the
// database is closed or when the query cannot be opened (reported). The list rebuilds its
// query with its filter.
template <typename TotalsRS>
std::unique_ptr<TotalsRS> OpenListTotals(const CVorlinDoc& doc) {
    CVorlinDatabase* db = doc.Database();
    if (db == nullptr || !db->IsOpen()) {
        return nullptr;
    }
    try {
        return std::make_unique<TotalsRS>(db->Database());
    } catch (const CDaoException& e) {
        ReportDaoException(e, "Error\nDescription: %s");
        return nullptr;
    }
}

}  // namespace corvane
