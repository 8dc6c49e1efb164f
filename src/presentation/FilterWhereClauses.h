#pragma once

#include <string>

#include "model/NameTables.h"
#include "presentation/FilterData.h"
#include "store/ListRecordsets.h"

namespace corvane {

// The filter text (a WHERE condition without WHERE) of each list kind, from its form's
// filter data. Only numbers and the names of the document's tables go into the text; the
// same text restricts the kind's totals recordsets.
//
// The builders set the recordset's filter text: first to empty, then to the text of the
// filter. Without a recordset they do nothing; without a filter the text stays empty.

std::string AlarmFilterText(const CAlarmFilterData& filter, const CNameTables& names);
std::string AlphaFilterText(const CAlphaFilterData& filter);
std::string RequestFilterText(const CRequestFilterData& filter, const CNameTables& names);
std::string TrunkFilterText(const CTrunkFilterData& filter, const CNameTables& names);
// The first selector is the intercom; an intercom out of range matches no row.
std::string SummaryFilterText(const CVorlinFilterData& filter);

void BuildAlarmFilter(CListRecordset* rs, const CAlarmFilterData* filter, const CNameTables& names);
void BuildAlphaFilter(CListRecordset* rs, const CAlphaFilterData* filter);
void BuildRequestFilter(CListRecordset* rs, const CRequestFilterData* filter,
                        const CNameTables& names);
void BuildTrunkFilter(CListRecordset* rs, const CTrunkFilterData* filter, const CNameTables& names);
void BuildSummaryFilter(CListRecordset* rs, const CVorlinFilterData* filter);
// Intercoms and trunk conflicts are never filtered: the text is emptied.
void BuildIcomFilter(CListRecordset* rs, const CVorlinFilterData* filter);
void BuildDupTrunkFilter(CListRecordset* rs, const CVorlinFilterData* filter);

}  // namespace corvane
