#include "presentation/ColumnAutoSize.h"

namespace corvane {

int AutoSizeColumnWidth(const ColumnMeasures& m, bool shift, bool ctrl, bool alt) {
    constexpr int kExtra = 20;
    int width = 0;
    bool extra = true;
    if (shift) {
        width = m.contents;
        extra = false;
    } else if (ctrl) {
        width = m.headerText + (alt ? 0 : kExtra);
        extra = false;
    } else {
        width = m.contentsAndHeader;
        if (alt || width >= m.headerText + kExtra) {
            extra = false;
        }
    }
    if (extra && (!m.lastColumn || !m.lastColumnFits)) {
        width += kExtra;
    }
    return width;
}

}  // namespace corvane
