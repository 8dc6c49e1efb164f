#pragma once

#include <array>

#include "preferences/TestParmsPageValues.h"
#include "ui/preferences/VorlinPage.h"

class QComboBox;
class QGroupBox;
class QStackedWidget;

namespace corvane {

class CPrefSpinEdit;

// A child page of "Test Parameters" with the settings of one analyzer type.
class CTestParmsChildPage : public CVorlinPage {
    Q_OBJECT

public:
    using CVorlinPage::CVorlinPage;
    // Reads the controls into the values; false (after showing why) when one is refused.
    virtual bool Exchange(TestParmsPageValues& values) = 0;
};

// The analyzer whose settings cannot be changed (dialog 184).
class CTestParmsNonePage : public CTestParmsChildPage {
    Q_OBJECT

public:
    CTestParmsNonePage(PrefContext& context, QWidget* parent);
    bool Exchange(TestParmsPageValues&) override { return true; }
};

// The test set (dialog 181): transmit frequency and level, sensitivity, termination.
class CTestParmsTonexaPage : public CTestParmsChildPage {
    Q_OBJECT

public:
    CTestParmsTonexaPage(const TestParmsPageValues& values, PrefContext& context, QWidget* parent);
    bool Exchange(TestParmsPageValues& values) override;

    QComboBox* Termination() const { return termination_; }

private:
    CPrefSpinEdit* frequency_;
    CPrefSpinEdit* level_;
    QComboBox* sensitivity_;
    QComboBox* termination_;
};

// The RT-2M (dialog 182): output frequency, output and input impedance.
class CTestParmsRT2MPage : public CTestParmsChildPage {
    Q_OBJECT

public:
    CTestParmsRT2MPage(const TestParmsPageValues& values, PrefContext& context, QWidget* parent);
    bool Exchange(TestParmsPageValues& values) override;

private:
    QComboBox* frequency_;
    QComboBox* outputImpedance_;
    QComboBox* inputImpedance_;
};

// "Test Parameters": the loss limits of the trunk test and the child page of the analyzer
// the configuration page now names.
class CTestParmsPage : public CVorlinPage {
    Q_OBJECT

public:
    CTestParmsPage(PrefContext& context, QWidget* parent = nullptr);

    bool OnKillActive() override;
    bool OnApply() override;

    // The child page shown: 0 none, 1 test set, 2 RT-2M.
    int ShownChild() const { return shownChild_; }
    CTestParmsChildPage* Child(int type) const { return children_[static_cast<size_t>(type)]; }
    CPrefSpinEdit* TrunkLossEdit() const { return trunkLoss_; }
    QGroupBox* SettingsGroup() const { return group_; }

protected:
    void OnInitDialog() override;
    void OnSetActive() override;

private:
    bool Exchange(TestParmsPageValues& values);
    void ShowChild(int type);

    TestParmsPageValues values_;
    CPrefSpinEdit* loopLoss_;
    CPrefSpinEdit* cascadeLoss_;
    CPrefSpinEdit* trunkLoss_;
    QGroupBox* group_;
    QStackedWidget* placeholder_;
    // None, test set, RT-2M, and a none page for any further type.
    std::array<CTestParmsChildPage*, 4> children_{};
    int shownChild_ = 0;
};

}  // namespace corvane
