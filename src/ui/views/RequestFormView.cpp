#include "ui/views/RequestFormView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/VorlinDoc.h"
#include "presentation/FilterFormRules.h"
#include "store/ComboFillers.h"
#include "ui/AppResources.h"

namespace corvane {
namespace {

// The state boxes of every request form: queued, active, allocated, finished.
int s_states[4] = {1, 1, 1, 1};

}  // namespace

CRequestFormView::CRequestFormView(const ViewContext& context, QWidget* parent)
    : CVorlinFormView(context, ViewKind::Requests, kDialogId, parent) {
    auto* layout = new QHBoxLayout(Page());
    auto* ends = new QGroupBox(tr("Show requests involving"), this);
    auto* grid = new QGridLayout(ends);
    intercom1_ = AddFilterCombo(*grid, 0, 0, "Intercom:", kIntercom1);
    functionType_ = AddFilterCombo(*grid, 1, 0, "Function type:", kFunctionType);
    assignment_ = AddFilterCombo(*grid, 2, 0, "Assignment:", kAssignment);
    intercom2_ = AddFilterCombo(*grid, 0, 2, "Other intercom:", kIntercom2);
    trunk_ = AddFilterCombo(*grid, 1, 2, "Trunk:", kTrunk);
    assignment_->setMinimumContentsLength(28);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(ends, 3);

    auto* states = new QGroupBox(tr("Request states"), this);
    auto* column = new QVBoxLayout(states);
    states_ = {
        NewMaskCheckBox(states, " Show queued requests", 1050, requeststate::kQueued, &s_states[0]),
        NewMaskCheckBox(states, " Show active requests", 1052, requeststate::kActive, &s_states[1]),
        NewMaskCheckBox(states, " Show allocated requests", 1051, requeststate::kAllocated,
                        &s_states[2]),
        NewMaskCheckBox(states, " Show finished requests", 1053, requeststate::kFinished,
                        &s_states[3]),
    };
    for (const MaskCheckBox& b : states_) {
        column->addWidget(b.box);
        connect(b.box, &QCheckBox::clicked, this, [this] { OnStateClicked(); });
    }
    column->addStretch();
    layout->addWidget(states, 1);

    const std::pair<QComboBox*, int> boxes[] = {
        {intercom1_, 1}, {functionType_, 2}, {assignment_, 3}, {intercom2_, 4}, {trunk_, 5}};
    for (const auto& [box, selector] : boxes) {
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, box = box, selector = selector] { OnSelectionChanged(box, selector); });
    }
}

void CRequestFormView::OnInitialUpdate() {
    filter_.SetStateMask(ReadStateCheckBoxes(states_, RequestStatesAfterClick));
    FillIntercomBoxes();
    FillChoiceCombo(*functionType_, FunctionTypeChoices(), filter_.FunctionType());
    assignment_->setFont(context_.resources.FixedFont());
    FillAssignmentBox();
    FillTrunkBox();
    CVorlinFormView::OnInitialUpdate();
}

void CRequestFormView::OnUpdate(IViewHintReceiver*, ViewUpdateHint hint,
                                const HintPayload& payload) {
    if (!initialised_) {
        return;
    }
    if ((hint & hint::kFilterChanged) && TakeOverFilter(payload)) {
        FillAssignmentBox();
        SelectFromFilter();
    }
    if (hint & hint::kIntercomNames) {
        FillIntercomBoxes();
    }
    if (hint & hint::kTrunksAddedRemoved) {
        FillTrunkBox();
    }
    if (hint & hint::kAlphasChanged) {
        FillAssignmentBox();
    }
}

void CRequestFormView::FillIntercomBoxes() {
    const ChoiceList intercoms = IntercomChoices(context_);
    FillChoiceCombo(*intercom1_, intercoms, filter_.Intercom1());
    FillChoiceCombo(*intercom2_, intercoms, filter_.Intercom2());
}

void CRequestFormView::FillAssignmentBox() {
    CDaoDatabase* db = OpenDatabaseOf(context_.doc);
    int selected = 0;
    const ChoiceList alphas = db != nullptr
                                  ? FillAlphaCombo(*db, filter_.Intercom1(), filter_.FunctionType(),
                                                   filter_.Assignment(), selected)
                                  : ChoiceList{};
    FillChoiceCombo(*assignment_, alphas, filter_.Assignment());
}

void CRequestFormView::FillTrunkBox() {
    FillChoiceCombo(*trunk_, TrunkChoices(context_), filter_.Trunk());
}

void CRequestFormView::SelectFromFilter() {
    SelectChoice(*intercom1_, filter_.Intercom1());
    SelectChoice(*functionType_, filter_.FunctionType());
    SelectChoice(*assignment_, filter_.Assignment());
    SelectChoice(*intercom2_, filter_.Intercom2());
    SelectChoice(*trunk_, filter_.Trunk());
    WriteMaskCheckBoxes(states_, filter_.StateMask());
}

void CRequestFormView::OnSelectionChanged(QComboBox* box, int selector) {
    const int value = SelectorOfChoice(ChosenData(*box), box == functionType_);
    if (value == filter_.Selector(selector)) {
        return;
    }
    filter_.SetSelector(selector, value);
    if (box == intercom1_ || box == functionType_) {
        // The assignments offered are those of the intercom and function type.
        filter_.SetAssignment(CVorlinFilterData::kAny);
        FillAssignmentBox();
    }
    SendFilterToList();
    SendFilterToTree();
}

void CRequestFormView::OnStateClicked() {
    const int mask = ReadStateCheckBoxes(states_, RequestStatesAfterClick);
    if (mask != filter_.StateMask()) {
        filter_.SetStateMask(mask);
        SendFilterToList();
    }
}

}  // namespace corvane
