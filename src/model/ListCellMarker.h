#pragma once

#include <string>

namespace corvane {

// The byte that begins a marked list cell: the list queries put it, with a letter, in front
// of a value that the list view shows converted by that letter.
inline constexpr char kListCellMarker = '\x01';

// A text from the controller that began with the marker would be taken for a marked cell by
// every list that shows it; it is kept with a '?' in the marker's place.
inline std::string WithoutListMarker(std::string text) {
    if (!text.empty() && text[0] == kListCellMarker) {
        text[0] = '?';
    }
    return text;
}

}  // namespace corvane
