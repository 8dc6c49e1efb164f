#pragma once

#include "preferences/TestSchedPageValues.h"
#include "ui/preferences/VorlinPage.h"

class QComboBox;
class QRadioButton;
class QTimeEdit;

namespace corvane {

class CPrefSpinEdit;

// "Test Schedule": when the automatic trunk test runs and the pause between tests.
class CTestSchedPage : public CVorlinPage {
    Q_OBJECT

public:
    CTestSchedPage(PrefContext& context, QWidget* parent = nullptr);

    bool OnKillActive() override;
    bool OnApply() override;
    const TestSchedPageValues& Values() const { return values_; }

    QTimeEdit* DailyTime() const { return dailyTime_; }
    CPrefSpinEdit* PauseEdit() const { return pause_; }

private:
    bool Exchange();

    TestSchedPageValues values_;
    QRadioButton* modes_[3];
    QTimeEdit* dailyTime_;
    QComboBox* weekday_;
    QTimeEdit* weeklyTime_;
    CPrefSpinEdit* pause_;
};

}  // namespace corvane
