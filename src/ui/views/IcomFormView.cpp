#include "ui/views/IcomFormView.h"

namespace corvane {

CIcomFormView::CIcomFormView(const ViewContext& context, QWidget* parent)
    : CVorlinFormView(context, ViewKind::Intercoms, kDialogId, parent) {}

void CIcomFormView::OnUpdate(IViewHintReceiver*, ViewUpdateHint hint, const HintPayload& payload) {
    if (initialised_ && (hint & hint::kFilterChanged)) {
        TakeOverFilter(payload);
    }
}

}  // namespace corvane
