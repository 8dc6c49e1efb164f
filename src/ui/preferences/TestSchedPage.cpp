#include "ui/preferences/TestSchedPage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimeEdit>

#include "document/PreferenceTarget.h"
#include "log/DiagLogSource.h"
#include "preferences/PrefContext.h"
#include "preferences/PrefSheetLayout.h"
#include "settings/AppSettings.h"
#include "ui/PrefSpinEdit.h"

namespace corvane {
namespace {

QTimeEdit* NewTimePicker(PrefTimeOfDay t, QWidget* parent) {
    auto* picker = new QTimeEdit(QTime(t.hour, t.minute), parent);
    picker->setDisplayFormat("HH:mm");
    return picker;
}

}  // namespace

CTestSchedPage::CTestSchedPage(PrefContext& context, QWidget* parent)
    : CVorlinPage(173, prefpage::kTestSchedule, context, parent) {
    std::vector<std::string> problems;
    values_ = TestSchedPageValues::FromSettings(context.settings.Snapshot(), &problems);
    if (!problems.empty()) {
        static CDiagLogSource log("Test Schedule Page", "Test Schedule Preferences", 0);
        for (const std::string& p : problems) {
            log.Printf(0, "Refused stored value: %s", p.c_str());
        }
    }

    auto* grid = new QGridLayout(this);
    auto* group = new QButtonGroup(this);
    const char* modeTexts[3] = {" Daily, starting at ", " Weekly, on",
                                " Never.  Automatic trunk testing is disabled."};
    const int modeIds[3] = {1040, 1041, 1043};
    for (int i = 0; i < 3; ++i) {
        modes_[i] = Control(new QRadioButton(modeTexts[i], this), modeIds[i]);
        group->addButton(modes_[i], i);
        connect(modes_[i], &QRadioButton::clicked, this, [this] { SetModified(); });
    }
    if (values_.mode >= 0 && values_.mode < 3) {
        modes_[values_.mode]->setChecked(true);
    }
    dailyTime_ = Control(NewTimePicker(values_.daily, this), 1060);
    weekday_ = Control(new QComboBox(this), 1010);
    for (const std::string& day : WeekdayNames()) {
        weekday_->addItem(QString::fromStdString(day));
    }
    weekday_->setCurrentIndex(values_.weekdayIndex);
    weeklyTime_ = Control(NewTimePicker(values_.weekly, this), 1061);
    pause_ = Control(
        new CPrefSpinEdit(TestSchedPageValues::kPauseLow, TestSchedPageValues::kPauseHigh, this),
        1022);
    pause_->setValue(values_.pause);

    grid->addWidget(modes_[0], 0, 0);
    grid->addWidget(dailyTime_, 0, 1);
    grid->addWidget(modes_[1], 1, 0);
    grid->addWidget(weekday_, 1, 1);
    grid->addWidget(new QLabel("starting at ", this), 1, 2);
    grid->addWidget(weeklyTime_, 1, 3);
    grid->addWidget(modes_[2], 2, 0, 1, 4);
    grid->addWidget(new QLabel("Pause for", this), 3, 0);
    grid->addWidget(pause_, 3, 1);
    grid->addWidget(new QLabel("seconds between each test.", this), 3, 2, 1, 2);
    grid->setRowStretch(4, 1);

    connect(dailyTime_, &QTimeEdit::timeChanged, this, [this] { SetModified(); });
    connect(weeklyTime_, &QTimeEdit::timeChanged, this, [this] { SetModified(); });
    connect(weekday_, &QComboBox::currentIndexChanged, this, [this] { SetModified(); });
    connect(pause_, &QSpinBox::textChanged, this, [this] { SetModified(); });
}

bool CTestSchedPage::Exchange() {
    const auto pause = pause_->Checked();
    if (!pause) {
        return false;
    }
    values_.pause = *pause;
    for (int i = 0; i < 3; ++i) {
        if (modes_[i]->isChecked()) {
            values_.mode = i;
        }
    }
    values_.weekdayIndex = weekday_->currentIndex();
    values_.daily = {dailyTime_->time().hour(), dailyTime_->time().minute()};
    values_.weekly = {weeklyTime_->time().hour(), weeklyTime_->time().minute()};
    return true;
}

bool CTestSchedPage::OnKillActive() {
    return Exchange();
}

bool CTestSchedPage::OnApply() {
    if (!Exchange()) {
        return false;
    }
    Context().settings.Modify([this](AppSettings& s) { values_.ApplyTo(s); });
    Context().SaveAll();
    if (Context().target != nullptr) {
        // A new time that has passed already today waits until tomorrow.
        Context().target->ResetTestScheduleDay();
    }
    return CVorlinPage::OnApply();
}

}  // namespace corvane
