#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <string>
#include <vector>

#include "store/ListControlSetup.h"
#include "store/ListRecordsets.h"

namespace corvane {

// The list kinds whose openers record column positions.
enum class ListQueryKind { Intercoms, Trunks, Requests, Alphas, Alarms, DupTrunks, Summary };
inline constexpr size_t kListQueryKinds = 7;

// A shown column that sorts by another (a hidden column holding the plain number).
struct ListSortMapping {
    int shown;
    int sortedBy;
};

// One list view's query: its SQL, the columns the list commands read (in the order of
// listpos below) and the sort mapping. Column values may begin with a cell marker: the byte
// 0x01 and a letter, which tells the list view how to show what follows.
struct ListQuery {
    ListQueryKind kind;
    std::string sql;
    std::vector<int> positions;
    std::vector<ListSortMapping> sortMapping;
    const char* errorFormat;  // ends in "\nDescription: %s"
    // The column that holds the list recordset's key column, -1 when the kind has none.
    int keyField = -1;
};

// The intercom list's columns follow what the controller reports: the network columns with
// network information, the cascade cost when it also reports extended intercom data.
ListQuery IntercomListQuery(bool networkInfo, bool extendedIntercoms);
const ListQuery& TrunkListQuery();
const ListQuery& RequestListQuery();
const ListQuery& AlphaListQuery();
const ListQuery& AlarmListQuery();
const ListQuery& DupTrunkListQuery();
const ListQuery& SummaryListQuery();

// Items of the recorded positions of each kind.
namespace listpos {
inline constexpr size_t kIcomNumber = 0;
inline constexpr size_t kTrunkNumber = 0, kTrunkState = 1, kTrunkOutOfService = 2,
                        kTrunkTestStatus = 3;
inline constexpr size_t kRequestId = 0, kRequestIcom1 = 1, kRequestAlpha1 = 2, kRequestIcom2 = 3,
                        kRequestAlpha2 = 4;
inline constexpr size_t kAlphaIcomNumber = 0, kAlphaFunction = 1, kAlphaNumber = 2;
inline constexpr size_t kAlarmId = 0, kAlarmState = 1, kAlarmAcknowledged = 2,
                        kAlarmNotification = 3, kAlarmDeviceType = 4, kAlarmContext = 5;
inline constexpr size_t kDupTrunk = 0, kDupConflictingTrunk = 1;
inline constexpr size_t kSummaryIcomNumber = 0;
}  // namespace listpos

// The column positions the openers record, valid until the next opener of the kind runs;
// INT_MAX until then.
class CListColumnPositions {
public:
    static constexpr int kUnknown = INT_MAX;

    void Record(const ListQuery& query);
    int Position(ListQueryKind kind, size_t item) const;
    // The column a shown column sorts by: its mapping when the kind has one, else itself.
    int SortColumn(ListQueryKind kind, int shown) const;

private:
    struct Recorded {
        std::vector<int> positions;
        std::vector<ListSortMapping> sortMapping;
    };
    std::array<Recorded, kListQueryKinds> kinds_;
};

// The openers: sort the recordset on its key column, open it on the query (a keyset on the
// key column where the kind has one), record the positions and describe the list's columns
// for a list of the given width. A database
// failure is reported with the query's text (or the column set-up's) and gives false and
// an empty list.
bool OpenListQuery(CListRecordset& rs, const ListQuery& query, int listWidth,
                   CListColumnPositions& positions, ListControlSetup& setup);

}  // namespace corvane
