#include "ui/views/AlphaFormView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

#include "document/VorlinDoc.h"
#include "presentation/FilterFormRules.h"
#include "ui/views/FilterControls.h"

namespace corvane {

CAlphaFormView::CAlphaFormView(const ViewContext& context, QWidget* parent)
    : CVorlinFormView(context, ViewKind::Alphas, kDialogId, parent) {
    auto* layout = new QHBoxLayout(Page());
    auto* group = new QGroupBox(tr("Show alphas of"), this);
    auto* grid = new QGridLayout(group);
    intercom_ = AddFilterCombo(*grid, 0, 0, "Intercom:", kIntercom);
    functionType_ = AddFilterCombo(*grid, 1, 0, "Function type:", kFunctionType);
    grid->setRowStretch(2, 1);
    layout->addWidget(group);
    layout->addStretch(1);
    connect(intercom_, &QComboBox::currentIndexChanged, this,
            [this] { OnSelectionChanged(intercom_, 1); });
    connect(functionType_, &QComboBox::currentIndexChanged, this,
            [this] { OnSelectionChanged(functionType_, 2); });
}

void CAlphaFormView::OnInitialUpdate() {
    FillIntercomBox();
    FillChoiceCombo(*functionType_, FunctionTypeChoices(), filter_.FunctionType());
    CVorlinFormView::OnInitialUpdate();
}

void CAlphaFormView::OnUpdate(IViewHintReceiver*, ViewUpdateHint hint, const HintPayload& payload) {
    if (!initialised_) {
        return;
    }
    if ((hint & hint::kFilterChanged) && TakeOverFilter(payload)) {
        SelectChoice(*intercom_, filter_.Intercom());
        SelectChoice(*functionType_, filter_.FunctionType());
    }
    if (hint & hint::kIntercomNames) {
        FillIntercomBox();
    }
}

void CAlphaFormView::FillIntercomBox() {
    FillChoiceCombo(*intercom_, IntercomChoices(context_), filter_.Intercom());
}

void CAlphaFormView::OnSelectionChanged(QComboBox* box, int selector) {
    const int value = SelectorOfChoice(ChosenData(*box), box == functionType_);
    if (value == filter_.Selector(selector)) {
        return;
    }
    filter_.SetSelector(selector, value);
    SendFilterToList();
    SendFilterToTree();
}

}  // namespace corvane
