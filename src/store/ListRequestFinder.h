#pragma once

#include <climits>
#include <string>

#include "store/ListQueries.h"
#include "store/TableRecordsets.h"

namespace corvane {

// The rows of a list control as the selection iterators read them.
class IListRows {
public:
    virtual ~IListRows() = default;
    // The first selected row at or after this one, -1 when there is none.
    virtual int FindSelectedRow(int from) const = 0;
    virtual int SelectedCount() const = 0;
    // The cell as the list shows it.
    virtual std::string CellText(int row, int column) const = 0;
};

// One end of a request: intercom, function type and number; INT_MAX when unknown.
struct RequestEndPort {
    int intercom = INT_MAX;
    int functionType = INT_MAX;
    int number = INT_MAX;
};

struct FoundRequest {
    int requestId = INT_MAX;
    int selectedCount = 0;
    // "View requests involving <intercom>:<alpha>" for each end with an alpha, else empty.
    std::string captions[2];
    RequestEndPort ends[2];
};

// The request list's selection iterator: the next selected row after position (0 to start;
// it is left at the 1-based index of the row returned), its request id and captions read
// at the positions the request list's opener recorded, and the two ends of that request as
// the Requests table holds them (unknown when the row is gone). False when no further row
// is selected, its id is no number, or a database failure was reported ("Error, finding
// request ID\nDescription: %s").
bool FindRequest(const IListRows& list, int& position, const CListColumnPositions& positions,
                 CRequestsRS& requests, FoundRequest& found);

}  // namespace corvane
