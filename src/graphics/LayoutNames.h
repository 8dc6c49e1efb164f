#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class CGraphicLayouts;

// Why the operator's name for a layout cannot be used.
enum class LayoutNameProblem {
    None,
    Empty,    // nothing but blanks
    BadName,  // '/', '\', NUL or a control character, a leading dot ("." and ".." too), or too
              // long for a file name
    Clash,    // another layout's name ("default" included) but for the case of ASCII letters
};

// The typed name without blanks at either end.
std::string TrimLayoutName(std::string_view typed);

// What is wrong with a trimmed name for the layout at ownIndex (-1 for a new one).
LayoutNameProblem CheckLayoutName(const CGraphicLayouts& layouts, std::string_view name,
                                  int ownIndex);

// "view%d" with the lowest number 1-999 that names no file of the folder and no layout; empty
// when all are taken.
std::string NewLayoutName(const CGraphicLayouts& layouts);

// A new saved layout named by NewLayoutName, in the first empty slot of the names or at their
// end; its index. No file is written. None when every name is taken or no index is left.
std::optional<int> AddSavedLayout(CGraphicLayouts& layouts);

// Moves a layout file to another name and never replaces a file that has it: false, with the
// reason, when the target exists or the file cannot be moved.
bool RenameLayoutFile(const std::string& directory, const std::string& from, const std::string& to,
                      std::string& error);

enum class LayoutRename { Renamed, Unchanged, Refused, Failed };
struct LayoutRenameResult {
    LayoutRename outcome = LayoutRename::Unchanged;
    LayoutNameProblem problem = LayoutNameProblem::None;  // when refused
    std::string error;                                    // when failed
};
// Gives the saved layout at index (1 and above) the typed name: trimmed and checked, its file
// renamed, the name stored. The same name again changes nothing.
LayoutRenameResult RenameSavedLayout(CGraphicLayouts& layouts, int index, std::string_view typed);

// Deletes the file of the saved layout at index (1 and above) and empties its name, leaving the
// slot for the next new layout. The layout object is left to the caller, to delete once no
// view shows it. False, with the reason, when there is no such layout or its file cannot be
// deleted; then nothing changes.
bool DeleteSavedLayout(CGraphicLayouts& layouts, int index, std::string& error);

}  // namespace corvane
