#include "ui/views/DupTrunkFormView.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace corvane {

CDupTrunkFormView::CDupTrunkFormView(const ViewContext& context, QWidget* parent)
    : CVorlinFormView(context, ViewKind::TrunkConflicts, kDialogId, parent) {
    auto* layout = new QHBoxLayout(Page());
    auto* group = new QGroupBox(tr("Trunk definition conflicts"), this);
    auto* column = new QVBoxLayout(group);
    auto* text = new QLabel(tr("Each row is a pair of trunks that the controller has defined "
                               "on the same intercom port.\nA port ends only one trunk: correct "
                               "the definitions of one of the two trunks in the controller."),
                            group);
    column->addWidget(text);
    column->addStretch();
    layout->addWidget(group, 2);
    layout->addStretch(1);
}

void CDupTrunkFormView::OnUpdate(IViewHintReceiver*, ViewUpdateHint hint,
                                 const HintPayload& payload) {
    if (initialised_ && (hint & hint::kFilterChanged)) {
        TakeOverFilter(payload);
    }
}

}  // namespace corvane
