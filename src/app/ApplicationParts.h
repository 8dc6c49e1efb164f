#pragma once

class QPalette;

namespace corvane {

class ILayoutOwner;
struct ColorSettings;
struct DocumentParts;

// What the program's document takes from the application: its display colours, whose window
// colour is the palette's base (the background of lists and edits, which the system calls
// the window colour), and its graphical layouts.
void AddApplicationParts(DocumentParts& parts, ColorSettings& colors, ILayoutOwner* layouts,
                         const QPalette& palette);

}  // namespace corvane
