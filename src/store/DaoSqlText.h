#pragma once

#include <string>
#include <string_view>

namespace corvane {

// A dynaset's query with its filter and sort: the filter joins the query's own top-level
// WHERE with AND (or becomes its WHERE), the sort replaces its ORDER BY. Both go before a
// LIMIT. Quoted aliases in the sort ('Icom #') become identifiers, so that they sort on
// the column and not on a constant text.
std::string ApplyFilterAndSort(std::string_view sql, std::string_view filter,
                               std::string_view sort);

}  // namespace corvane
