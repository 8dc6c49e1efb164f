#include "ui/preferences/TestParmsPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "document/PreferenceTarget.h"
#include "platform/Format.h"
#include "preferences/PrefContext.h"
#include "preferences/PrefSheetLayout.h"
#include "settings/AppSettings.h"
#include "ui/PrefSpinEdit.h"
#include "ui/preferences/ConfigPage.h"
#include "ui/preferences/PrefSheet.h"

namespace corvane {
namespace {

QComboBox* NewList(const std::vector<std::string>& items, QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (const std::string& item : items) {
        list->addItem(QString::fromStdString(item));
    }
    return list;
}

// The item with that text, else the first.
void SelectText(QComboBox* list, const std::string& text) {
    const int found = list->findText(QString::fromStdString(text));
    list->setCurrentIndex(found >= 0 ? found : 0);
}

// A row "label [control] unit" of a child page.
void AddRow(QGridLayout* grid, int row, const char* label, QWidget* control, const char* unit) {
    grid->addWidget(new QLabel(label, control->parentWidget()), row, 0);
    grid->addWidget(control, row, 1);
    if (unit != nullptr) {
        grid->addWidget(new QLabel(unit, control->parentWidget()), row, 2);
    }
}

}  // namespace

CTestParmsNonePage::CTestParmsNonePage(PrefContext& context, QWidget* parent)
    : CTestParmsChildPage(184, prefpage::kTestParameters, context, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* text =
        new QLabel("The settings used for this type of Audio Analyzer cannot be changed.", this);
    text->setWordWrap(true);
    layout->addWidget(text);
    layout->addStretch();
}

CTestParmsTonexaPage::CTestParmsTonexaPage(const TestParmsPageValues& v, PrefContext& context,
                                           QWidget* parent)
    : CTestParmsChildPage(181, prefpage::kTestParameters, context, parent) {
    using V = TestParmsPageValues;
    auto* grid = new QGridLayout(this);
    frequency_ = Control(new CPrefSpinEdit(V::kTxFrequencyLow, V::kTxFrequencyHigh, this), 1022);
    frequency_->setValue(v.txFrequency);
    level_ = Control(new CPrefSpinEdit(V::kTxLevelLow, V::kTxLevelHigh, this), 1023);
    level_->setValue(v.txLevel);
    sensitivity_ = Control(NewList(SensitivityItems(), this), 1010);
    sensitivity_->setCurrentIndex(v.sensitivityIndex);
    termination_ = Control(NewList(TerminationItems(), this), 1011);
    termination_->setCurrentIndex(v.terminationIndex);
    AddRow(grid, 0, "Use a transmit frequency of", frequency_, "Hz.");
    AddRow(grid, 1, "Use a transmit level of", level_, "dB.");
    AddRow(grid, 2, "Use a test sensitivity of", sensitivity_, nullptr);
    AddRow(grid, 3, "Use a termination of", termination_, nullptr);
    grid->setRowStretch(4, 1);
    for (QSpinBox* spin : {static_cast<QSpinBox*>(frequency_), static_cast<QSpinBox*>(level_)}) {
        connect(spin, &QSpinBox::textChanged, this, [this] { SetModified(); });
    }
    for (QComboBox* list : {sensitivity_, termination_}) {
        connect(list, &QComboBox::currentIndexChanged, this, [this] { SetModified(); });
    }
}

bool CTestParmsTonexaPage::Exchange(TestParmsPageValues& v) {
    const auto frequency = frequency_->Checked();
    const auto level = frequency ? level_->Checked() : std::nullopt;
    if (!level) {
        return false;
    }
    v.txFrequency = *frequency;
    v.txLevel = *level;
    v.sensitivityIndex = sensitivity_->currentIndex();
    // A termination outside the list keeps its stored value.
    if (termination_->currentIndex() >= 0) {
        v.terminationIndex = termination_->currentIndex();
    }
    return true;
}

CTestParmsRT2MPage::CTestParmsRT2MPage(const TestParmsPageValues& v, PrefContext& context,
                                       QWidget* parent)
    : CTestParmsChildPage(182, prefpage::kTestParameters, context, parent) {
    auto* grid = new QGridLayout(this);
    frequency_ = Control(new QComboBox(this), 1010);
    for (int hz : Rt2mFrequencyItems()) {
        frequency_->addItem(QString::number(hz), hz);
    }
    const int found = frequency_->findData(v.outputFrequency);
    frequency_->setCurrentIndex(found >= 0 ? found : 0);
    outputImpedance_ = Control(NewList(Rt2mOutputImpedanceItems(), this), 1013);
    SelectText(outputImpedance_, v.outputImpedance);
    inputImpedance_ = Control(NewList(Rt2mInputImpedanceItems(), this), 1012);
    SelectText(inputImpedance_, v.inputImpedance);
    AddRow(grid, 0, "Use a transmit frequency of", frequency_, "Hz.");
    AddRow(grid, 1, "Use an output impedance of", outputImpedance_, "Ohms.");
    AddRow(grid, 2, "Use an input impedance of", inputImpedance_, "Ohms.");
    grid->setRowStretch(3, 1);
    for (QComboBox* list : {frequency_, outputImpedance_, inputImpedance_}) {
        connect(list, &QComboBox::currentIndexChanged, this, [this] { SetModified(); });
    }
}

bool CTestParmsRT2MPage::Exchange(TestParmsPageValues& v) {
    v.outputFrequency = frequency_->currentData().toInt();
    v.outputImpedance = outputImpedance_->currentText().toStdString();
    v.inputImpedance = inputImpedance_->currentText().toStdString();
    return true;
}

CTestParmsPage::CTestParmsPage(PrefContext& context, QWidget* parent)
    : CVorlinPage(171, prefpage::kTestParameters, context, parent),
      values_(TestParmsPageValues::FromSettings(context.settings.Snapshot())) {
    using V = TestParmsPageValues;
    auto* layout = new QVBoxLayout(this);
    auto* limits = new QGridLayout;
    auto spin = [&](int id, int value) {
        auto* edit = Control(new CPrefSpinEdit(V::kLossLow, V::kLossHigh, this), id);
        edit->setValue(value);
        connect(edit, &QSpinBox::textChanged, this, [this] { SetModified(); });
        return edit;
    };
    loopLoss_ = spin(1020, values_.loopLoss);
    cascadeLoss_ = spin(1024, values_.cascadeLoss);
    trunkLoss_ = spin(1021, values_.trunkLoss);
    AddRow(limits, 0, "Allow a loop-back loss of up to", loopLoss_, "dB.");
    AddRow(limits, 1, "Allow a cascade trunk loss of up to", cascadeLoss_, "dB.");
    AddRow(limits, 2, "Allow a trunk under test loss of up to", trunkLoss_, "dB.");
    layout->addLayout(limits);
    group_ = Control(new QGroupBox(this), 1173);
    auto* groupLayout = new QVBoxLayout(group_);
    placeholder_ = Control(new QStackedWidget(group_), 1172);
    groupLayout->addWidget(placeholder_);
    layout->addWidget(group_, 1);
}

void CTestParmsPage::OnInitDialog() {
    children_[0] = new CTestParmsNonePage(Context(), placeholder_);
    children_[1] = new CTestParmsTonexaPage(values_, Context(), placeholder_);
    children_[2] = new CTestParmsRT2MPage(values_, Context(), placeholder_);
    children_[3] = new CTestParmsNonePage(Context(), placeholder_);
    for (CTestParmsChildPage* child : children_) {
        child->SetSheet(Sheet());
        placeholder_->addWidget(child);
        connect(child, &CVorlinPage::modifiedChanged, this, [this](bool on) {
            if (on) {
                SetModified();
            }
        });
    }
    ShowChild(0);
}

void CTestParmsPage::ShowChild(int type) {
    shownChild_ = type >= 0 && type < 3 ? type : 3;
    placeholder_->setCurrentWidget(children_[static_cast<size_t>(shownChild_)]);
}

void CTestParmsPage::OnSetActive() {
    // Follows an analyzer chosen on the configuration page but not yet applied.
    const std::string analyzer = Sheet() != nullptr && Sheet()->ConfigPage() != nullptr
                                     ? Sheet()->ConfigPage()->Values().analyzer
                                     : Context().settings.Snapshot().AudioAnalyzer;
    group_->setTitle(QString::fromStdString(InsertArgs("%1 Settings", {analyzer})));
    ShowChild(AnalyzerTypeOf(analyzer));
    CVorlinPage::OnSetActive();
}

bool CTestParmsPage::Exchange(TestParmsPageValues& v) {
    const auto loop = loopLoss_->Checked();
    const auto cascade = loop ? cascadeLoss_->Checked() : std::nullopt;
    const auto trunk = cascade ? trunkLoss_->Checked() : std::nullopt;
    if (!trunk) {
        return false;
    }
    v.loopLoss = *loop;
    v.cascadeLoss = *cascade;
    v.trunkLoss = *trunk;
    for (CTestParmsChildPage* child : children_) {
        if (child != nullptr && !child->Exchange(v)) {
            ShowChild(child == children_[1] ? 1 : shownChild_);
            return false;
        }
    }
    return true;
}

bool CTestParmsPage::OnKillActive() {
    TestParmsPageValues scratch = values_;
    return Exchange(scratch);
}

bool CTestParmsPage::OnApply() {
    TestParmsPageValues edited = values_;
    if (!Exchange(edited)) {
        return false;
    }
    values_ = edited;
    std::vector<TesterSetting> changed;
    Context().settings.Modify([&](AppSettings& s) { changed = values_.ApplyTo(s); });
    if (Context().target != nullptr) {
        for (TesterSetting setting : changed) {
            Context().target->RaiseTesterResend(setting);
        }
        Context().target->SetLoopbackDue();
    }
    Context().SaveAll();
    for (CTestParmsChildPage* child : children_) {
        child->SetModified(false);
    }
    return CVorlinPage::OnApply();
}

}  // namespace corvane
