#include "ui/views/GraphicalFormView.h"

namespace corvane {

CGraphicalFormView::CGraphicalFormView(const ViewContext& context, QWidget* parent)
    : CVorlinFormView(context, ViewKind::GraphicalUsage, kDialogId, parent) {
    // Nothing to show: the splitter gives it no room whatever it shares out.
    setMaximumHeight(0);
}

void CGraphicalFormView::OnInitialUpdate() {
    if (!IsInitialised()) {
        CVorlinFormView::OnInitialUpdate();
    }
}

}  // namespace corvane
