#pragma once

namespace corvane {

// The widths a double click on a column's divider chooses from, as measured by the list.
struct ColumnMeasures {
    int contents = 0;           // fit to the cells alone
    int contentsAndHeader = 0;  // fit to the cells and the header
    int headerText = 0;         // the header text (at most 127 characters) and three blanks
    bool lastColumn = false;
    bool lastColumnFits = true;  // the rows end inside the list's client area
};

// The new width: Shift fits the cells alone; Ctrl takes the header text, 20 wider unless Alt;
// otherwise cells and header are fitted. A column other than the last (or a last one the rows
// overrun) is widened by 20 more unless one of these rules ruled it out: Shift, Ctrl, Alt, or
// a fit already 20 or more wider than the header text.
int AutoSizeColumnWidth(const ColumnMeasures& m, bool shift, bool ctrl, bool alt);

}  // namespace corvane
