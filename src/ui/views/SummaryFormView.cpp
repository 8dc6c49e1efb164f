#include "ui/views/SummaryFormView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

#include "presentation/FilterFormRules.h"
#include "ui/views/FilterControls.h"

namespace corvane {

CSummaryFormView::CSummaryFormView(const ViewContext& context, QWidget* parent)
    : CVorlinFormView(context, ViewKind::TrunkSummary, kDialogId, parent) {
    auto* layout = new QHBoxLayout(Page());
    auto* group = new QGroupBox(tr("Show the trunks of"), this);
    auto* grid = new QGridLayout(group);
    intercom_ = AddFilterCombo(*grid, 0, 0, "Intercom:", kIntercom);
    grid->setRowStretch(1, 1);
    layout->addWidget(group);
    layout->addStretch(1);
    connect(intercom_, &QComboBox::currentIndexChanged, this, [this] { OnSelectionChanged(); });
}

bool CSummaryFormView::IsInfoBarEnabled(int barId) const {
    return barId == cmd::kInfoBar1 || barId == cmd::kInfoBar2;
}

void CSummaryFormView::OnInitialUpdate() {
    FillIntercomBox();
    CVorlinFormView::OnInitialUpdate();
}

void CSummaryFormView::OnUpdate(IViewHintReceiver*, ViewUpdateHint hint,
                                const HintPayload& payload) {
    if (!initialised_) {
        return;
    }
    if ((hint & hint::kFilterChanged) && TakeOverFilter(payload)) {
        SelectChoice(*intercom_, filter_.Intercom());
    }
    if (hint & hint::kIntercomNames) {
        FillIntercomBox();
    }
}

void CSummaryFormView::FillIntercomBox() {
    FillChoiceCombo(*intercom_, IntercomChoices(context_), filter_.Intercom());
}

void CSummaryFormView::OnSelectionChanged() {
    const int value = SelectorOfChoice(ChosenData(*intercom_), false);
    if (value == filter_.Intercom()) {
        return;
    }
    filter_.SetIntercom(value);
    SendFilterToList();
    SendFilterToTree();
}

}  // namespace corvane
