#include "ui/views/VorlinView.h"

namespace corvane {

CVorlinView::CVorlinView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

}  // namespace corvane
