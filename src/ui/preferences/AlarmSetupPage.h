#pragma once

#include "preferences/AlarmSetupPageValues.h"
#include "ui/preferences/VorlinPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace corvane {

class CPrefSpinEdit;

// "Alarm Setup": the global alarm options and, one alarm setup kind at a time, whether alarms
// are raised and how they are notified.
class CAlarmSetupPage : public CVorlinPage {
    Q_OBJECT

public:
    CAlarmSetupPage(PrefContext& context, QWidget* parent = nullptr);

    // The kind shown; application-wide, so that the page reopens on it.
    static int s_nAlarmKind;

    bool OnKillActive() override;
    bool OnApply() override;
    const AlarmSetupPageValues& Values() const { return values_; }

    QComboBox* KindList() const { return kindList_; }
    CPrefSpinEdit* DelayEdit() const { return delay_; }
    QLineEdit* EmailTo() const { return emailTo_; }

protected:
    void OnSetActive() override;

private:
    // Reads the kind's controls into its copies; false (after showing why) when refused.
    bool SaveKind(int kind);
    void ShowKind(int kind);
    void OnKindChanged();

    AlarmSetupPageValues values_;
    int shownKind_ = -1;
    bool filling_ = false;
    QCheckBox* abortStale_;
    QCheckBox* ackCancels_;
    QCheckBox* autoAck_;
    QCheckBox* generateAlarm_;
    QComboBox* kindList_;
    QCheckBox* notifyActive_;
    QCheckBox* notifyResolved_;
    QCheckBox* suppress_;
    CPrefSpinEdit* delay_;
    QCheckBox* sendEmail_;
    QLineEdit* emailTo_;
    QCheckBox* sendPage_;
    QLineEdit* pagerTo_;
};

}  // namespace corvane
