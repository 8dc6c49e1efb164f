#include "ui/views/AlarmFormView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "document/VorlinDoc.h"
#include "presentation/FilterFormRules.h"

namespace corvane {
namespace {

// The boxes of every alarm form: categories controller, intercom communication,
// acknowledged, trunk test failure, request busy, audio analyzer; states active, resolved,
// stale, unresolved.
int s_categories[6] = {1, 1, 1, 1, 1, 1};
int s_states[4] = {1, 1, 1, 1};

QCheckBox* BoxOf(const std::vector<MaskCheckBox>& boxes, int bit) {
    for (const MaskCheckBox& b : boxes) {
        if (b.bit == bit) {
            return b.box;
        }
    }
    return nullptr;
}

}  // namespace

CAlarmFormView::CAlarmFormView(const ViewContext& context, QWidget* parent)
    : CVorlinFormView(context, ViewKind::Alarms, kDialogId, parent) {
    auto* layout = new QHBoxLayout(Page());
    auto* devices = new QGroupBox(tr("Show alarms of"), this);
    auto* grid = new QGridLayout(devices);
    intercom_ = AddFilterCombo(*grid, 0, 0, "Intercom:", kIntercom);
    trunk_ = AddFilterCombo(*grid, 1, 0, "Trunk:", kTrunk, kTrunkLabel);
    trunkLabel_ = qobject_cast<QLabel*>(grid->itemAtPosition(1, 0)->widget());
    grid->setRowStretch(2, 1);
    layout->addWidget(devices, 2);

    auto* categories = new QGroupBox(tr("Alarm categories"), this);
    auto* categoryGrid = new QGridLayout(categories);
    categories_ = {
        NewMaskCheckBox(categories, " Show controller alarms", 1050, alarmcategory::kController,
                        &s_categories[0]),
        NewMaskCheckBox(categories, " Show intercom communication alarms", 1051,
                        alarmcategory::kIntercomCommunication, &s_categories[1]),
        NewMaskCheckBox(categories, " Show request busy alarms", 1057, alarmcategory::kRequestBusy,
                        &s_categories[4]),
        NewMaskCheckBox(categories, " Show acknowledged alarms", 1056, alarmcategory::kAcknowledged,
                        &s_categories[2]),
        NewMaskCheckBox(categories, " Show trunk test failure alarms", kTrunkFailures,
                        alarmcategory::kTrunkTestFailure, &s_categories[3]),
        NewMaskCheckBox(categories, " Show audio analyzer alarms", kAnalyzerAlarms,
                        alarmcategory::kAudioAnalyzer, &s_categories[5]),
    };
    for (size_t i = 0; i < categories_.size(); ++i) {
        categoryGrid->addWidget(categories_[i].box, static_cast<int>(i % 3),
                                static_cast<int>(i / 3));
    }
    layout->addWidget(categories, 3);

    auto* states = new QGroupBox(tr("Alarm states"), this);
    auto* stateGrid = new QGridLayout(states);
    states_ = {
        NewMaskCheckBox(states, " Show active alarms", 1053, alarmstate::kActive, &s_states[0]),
        NewMaskCheckBox(states, " Show resolved alarms", 1054, alarmstate::kResolved, &s_states[1]),
        NewMaskCheckBox(states, " Show stale alarms", 1055, alarmstate::kStale, &s_states[2]),
        NewMaskCheckBox(states, " Show unresolved alarms", 1059, alarmstate::kUnresolved,
                        &s_states[3]),
    };
    for (size_t i = 0; i < states_.size(); ++i) {
        stateGrid->addWidget(states_[i].box, static_cast<int>(i), 0);
    }
    layout->addWidget(states, 1);

    for (const auto& boxes : {categories_, states_}) {
        for (const MaskCheckBox& b : boxes) {
            connect(b.box, &QCheckBox::clicked, this, [this] { OnCheckClicked(); });
        }
    }
    connect(intercom_, &QComboBox::currentIndexChanged, this,
            [this] { OnSelectionChanged(intercom_, 1); });
    connect(trunk_, &QComboBox::currentIndexChanged, this,
            [this] { OnSelectionChanged(trunk_, 2); });
}

void CAlarmFormView::OnInitialUpdate() {
    filter_.SetCategoryMask(ReadMaskCheckBoxes(categories_));
    filter_.SetStateMask(ReadStateCheckBoxes(states_, AlarmStatesAfterClick));
    FillIntercomBox();
    FillTrunkBox();
    EvaluateAnalyzer();
    CVorlinFormView::OnInitialUpdate();
}

void CAlarmFormView::OnUpdate(IViewHintReceiver*, ViewUpdateHint hint, const HintPayload& payload) {
    if (!initialised_) {
        return;
    }
    if ((hint & hint::kFilterChanged) && TakeOverFilter(payload)) {
        SelectChoice(*intercom_, filter_.Intercom());
        SelectChoice(*trunk_, filter_.Trunk());
        WriteMaskCheckBoxes(categories_, filter_.CategoryMask());
        WriteMaskCheckBoxes(states_, filter_.StateMask());
    }
    if (hint & hint::kIntercomNames) {
        FillIntercomBox();
    }
    if (hint & hint::kTrunksAddedRemoved) {
        FillTrunkBox();
    }
    if (hint & hint::kConfigurationApplied) {
        EvaluateAnalyzer();
        SendFilterToList();
    }
}

void CAlarmFormView::FillIntercomBox() {
    FillChoiceCombo(*intercom_, IntercomChoices(context_), filter_.Intercom());
}

void CAlarmFormView::FillTrunkBox() {
    FillChoiceCombo(*trunk_, TrunkChoices(context_), filter_.Trunk());
}

void CAlarmFormView::EvaluateAnalyzer() {
    QCheckBox* analyzer = BoxOf(categories_, alarmcategory::kAudioAnalyzer);
    QCheckBox* failures = BoxOf(categories_, alarmcategory::kTrunkTestFailure);
    analyzer->setText(
        QString::fromStdString(AnalyzerAlarmsCaption(context_.doc.GetAnalyzerDisplayName())));
    const bool configured = context_.doc.IsAnalyzerConfigured();
    if (configured == analyzerShown_) {
        return;
    }
    analyzerShown_ = configured;
    ShowAnalyzerAlarms(filter_, configured);
    WriteMaskCheckBoxes(categories_, filter_.CategoryMask());
    for (QWidget* w : {static_cast<QWidget*>(analyzer), static_cast<QWidget*>(failures),
                       static_cast<QWidget*>(trunkLabel_), static_cast<QWidget*>(trunk_)}) {
        w->setVisible(configured);
    }
    FillTrunkBox();
}

void CAlarmFormView::OnSelectionChanged(QComboBox* box, int selector) {
    const int value = SelectorOfChoice(ChosenData(*box), false);
    if (value == filter_.Selector(selector)) {
        return;
    }
    filter_.SetSelector(selector, value);
    if (AlarmComboReachesList(filter_, box == trunk_)) {
        SendFilterToList();
    }
}

void CAlarmFormView::OnCheckClicked() {
    const int categories = ReadMaskCheckBoxes(categories_);
    const int states = ReadStateCheckBoxes(states_, AlarmStatesAfterClick);
    if (categories != filter_.CategoryMask() || states != filter_.StateMask()) {
        filter_.SetCategoryMask(categories);
        filter_.SetStateMask(states);
        SendFilterToList();
    }
}

}  // namespace corvane
