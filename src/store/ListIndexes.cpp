// Indexes of our own, beside those of the system's schema: the list views read the alpha of
// each trunk end by intercom, function and number, row by row as they are shown, the trunk
// list counts its trunks on every tick that changed one, and the trunk conflicts pair trunks
// by their ends.
#include "store/DaoException.h"
#include "store/VorlinDatabase.h"

namespace corvane {

void CVorlinDatabase::CreateListIndexes() {
    struct Index {
        const char* table;
        const char* name;
        const char* columns;
    };
    // The trunk list's counts per test result and out of service count from the next two;
    // the counts per state have none, which would slow every state the write-back stores.
    // The trunk conflicts pair the trunks by their ends, which change only with a trunk's
    // definition: without the last two each trunk is compared with every other.
    static constexpr Index kIndexes[] = {
        {"Alphas", "EndKey", "IntercomIndex, Function, Number"},
        {"Trunks", "ResultKey", "TestResult"},
        {"Trunks", "ServiceKey", "OOS"},
        {"Trunks", "End1Key", "End1IntercomIndex, End1Number"},
        {"Trunks", "End2Key", "End2IntercomIndex, End2Number"},
    };
    for (const Index& index : kIndexes) {
        try {
            db_->Execute("CREATE INDEX IF NOT EXISTS " +
                         QuoteIdentifier(IndexNameInFile(index.table, index.name)) + " ON " +
                         index.table + " (" + index.columns + ")");
        } catch (const CDaoException& e) {
            // Only slower lists without it: the database opens all the same.
            log_.Printf(0, "Error, creating index %s of %s: %s", index.name, index.table,
                        e.Description().c_str());
        }
    }
}

}  // namespace corvane
