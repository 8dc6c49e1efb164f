#pragma once

#include <optional>

#include "presentation/FilterData.h"
#include "presentation/ListHintReaction.h"
#include "store/ListQueries.h"

namespace corvane {

// The kinds of child window, by the numbers that view ids and the profile's toolbar keys use.
enum class ViewKind : int {
    None = 0,
    Intercoms = 1,
    Trunks = 2,
    Requests = 3,
    Alphas = 4,
    Alarms = 5,
    TrunkConflicts = 6,
    TrunkSummary = 7,
    GraphicalUsage = 8,
};

// A number from a view id or the profile: its kind, None for any other number.
ViewKind ViewKindOf(int number);
inline int ViewKindNumber(ViewKind kind) {
    return static_cast<int>(kind);
}
// The seven kinds that show a list of rows (1-7).
bool IsListViewKind(ViewKind kind);

// The list, filter and query kinds of a list view kind; none for the others.
std::optional<ListKind> ListKindOf(ViewKind kind);
std::optional<FilterKind> FilterKindOf(ViewKind kind);
std::optional<ListQueryKind> ListQueryKindOf(ViewKind kind);
ViewKind ViewKindOf(FilterKind kind);

// What a child frame and its panes keep per kind.
struct ViewKindTraits {
    int frameIcon;              // the frame's small icon
    const char* formHeightKey;  // "Preferences" value of the form pane's height
    int helpId;                 // the list view's help id; 0 without a list
    const char* columnWidthsKey;
    const char* columnOrderKey;
};
const ViewKindTraits& TraitsOf(ViewKind kind);

// A new filter of the kind's class, with its construction values; none for kinds without one.
std::unique_ptr<CVorlinFilterData> NewFilterOf(ViewKind kind);

}  // namespace corvane
