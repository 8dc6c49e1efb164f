#pragma once

#include <string>
#include <vector>

#include "store/DaoRecordset.h"

namespace corvane {

// One column of a list control: its title and the recordset field it shows.
struct ListColumnSetup {
    std::string title;
    int field = 0;
    int width = 0;
};

// What a list control is set up with: its columns and its item count.
struct ListControlSetup {
    std::vector<ListColumnSetup> columns;
    long itemCount = 0;
};

// A field's list column title: single quotes around it removed, then trimmed. Fields whose
// name begins with "_" are fetched but not shown.
std::string ListColumnTitle(const std::string& fieldName);
bool IsHiddenListField(const std::string& fieldName);

// The columns of an open recordset for a list of the given width: one per shown field,
// each (width - 20) / number of fields wide, and as many items as the recordset has rows.
// A database failure is reported ("Error, initializing CListCtrl\nDescription: %s") and
// gives false with an item count of 0.
bool InitListCtrl(CDaoRecordset& rs, int listWidth, ListControlSetup& setup);

}  // namespace corvane
