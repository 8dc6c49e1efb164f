#include "ui/preferences/ArchivePage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "preferences/PrefContext.h"
#include "preferences/PrefSheetLayout.h"
#include "settings/AppSettings.h"
#include "ui/PrefSpinEdit.h"

namespace corvane {

CArchivePage::CArchivePage(int dialogId, PrefContext& context, QWidget* parent)
    : CVorlinPage(dialogId, dialogId == 174 ? prefpage::kRequestArchives : prefpage::kAlarmArchives,
                  context, parent),
      values_(ArchivePageValues::FromSettings(context.settings.Snapshot(), dialogId == 174)) {
    using V = ArchivePageValues;
    const bool requests = values_.requestPage;
    auto* layout = new QVBoxLayout(this);

    auto* schedule = Control(new QGroupBox("Archive Schedule", this), 1137);
    auto* grid = new QGridLayout(schedule);
    auto spin = [&](QWidget* parentWidget, int low, int high, int id, int value) {
        auto* edit = Control(new CPrefSpinEdit(low, high, parentWidget), id);
        edit->setValue(value);
        connect(edit, &QSpinBox::textChanged, this, [this] { SetModified(); });
        return edit;
    };
    taskPeriod_ = spin(schedule, V::kTaskPeriodLow, V::kTaskPeriodHigh, 1020, values_.taskPeriod);
    moveAge_ = spin(schedule, V::kMoveAgeLow, V::kMoveAgeHigh, 1021, values_.moveAge);
    grid->addWidget(new QLabel(requests ? "Perform request archive tasks once every"
                                        : "Perform alarm archive tasks once every",
                               schedule),
                    0, 0);
    grid->addWidget(taskPeriod_, 0, 1);
    grid->addWidget(new QLabel("minutes.", schedule), 0, 2);
    grid->addWidget(new QLabel(requests ? "Move completed requests to archive after"
                                        : "Move acknowledged alarms to archive after",
                               schedule),
                    1, 0);
    grid->addWidget(moveAge_, 1, 1);
    grid->addWidget(new QLabel("minutes.", schedule), 1, 2);
    int row = 2;
    if (!requests) {
        allowActive_ = Control(
            new QCheckBox(" Allow active alarms to be archived if acknowledged", schedule), 1052);
        allowActive_->setChecked(values_.allowActive);
        connect(allowActive_, &QCheckBox::clicked, this, [this] { SetModified(); });
        grid->addWidget(allowActive_, row++, 0, 1, 3);
    }
    atStartup_ =
        Control(new QCheckBox(requests ? " Automatically archive incomplete requests at startup"
                                       : " Automatically archive stale alarms at startup",
                              schedule),
                1051);
    atStartup_->setChecked(values_.atStartup);
    grid->addWidget(atStartup_, row, 0, 1, 3);
    layout->addWidget(schedule);

    auto* maintenance = Control(new QGroupBox("Archive Maintenance", this), 1138);
    auto* mgrid = new QGridLayout(maintenance);
    purgeMode_ = Control(new QRadioButton(requests ? " Delete archived requests older than"
                                                   : " Delete archived alarms older than",
                                          maintenance),
                         1040);
    purgeAge_ = spin(maintenance, V::kPurgeAgeLow, V::kPurgeAgeHigh, 1022, values_.purgeAge);
    dayFilesMode_ = Control(
        new QRadioButton(" Create a separate archive file for each day", maintenance), 1041);
    deleteDayFiles_ = Control(new QCheckBox(" Delete archive files after ", maintenance), 1050);
    deleteFilesAge_ =
        spin(maintenance, V::kDeleteAgeLow, V::kDeleteAgeHigh, 1023, values_.deleteFilesAge);
    mgrid->addWidget(purgeMode_, 0, 0);
    mgrid->addWidget(purgeAge_, 0, 1);
    mgrid->addWidget(new QLabel("hours.", maintenance), 0, 2);
    mgrid->addWidget(dayFilesMode_, 1, 0, 1, 3);
    mgrid->addWidget(deleteDayFiles_, 2, 0);
    mgrid->addWidget(deleteFilesAge_, 2, 1);
    mgrid->addWidget(new QLabel("days.", maintenance), 2, 2);
    (values_.mode == 1 ? dayFilesMode_ : purgeMode_)->setChecked(true);
    deleteDayFiles_->setChecked(values_.deleteDayFiles);
    layout->addWidget(maintenance);
    layout->addStretch();

    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             atStartup_, purgeMode_, dayFilesMode_, deleteDayFiles_}) {
        connect(b, &QAbstractButton::clicked, this, [this] { SetModified(); });
    }
}

bool CArchivePage::Exchange() {
    const auto taskPeriod = taskPeriod_->Checked();
    const auto moveAge = taskPeriod ? moveAge_->Checked() : std::nullopt;
    const auto purgeAge = moveAge ? purgeAge_->Checked() : std::nullopt;
    const auto deleteFilesAge = purgeAge ? deleteFilesAge_->Checked() : std::nullopt;
    if (!deleteFilesAge) {
        return false;
    }
    values_.taskPeriod = *taskPeriod;
    values_.moveAge = *moveAge;
    values_.purgeAge = *purgeAge;
    values_.deleteFilesAge = *deleteFilesAge;
    values_.mode = dayFilesMode_->isChecked() ? 1 : 0;
    values_.atStartup = atStartup_->isChecked();
    values_.deleteDayFiles = deleteDayFiles_->isChecked();
    if (allowActive_ != nullptr) {
        values_.allowActive = allowActive_->isChecked();
    }
    return true;
}

bool CArchivePage::OnKillActive() {
    return Exchange();
}

bool CArchivePage::OnApply() {
    if (!Exchange()) {
        return false;
    }
    Context().settings.Modify([this](AppSettings& s) { values_.ApplyTo(s); });
    Context().SaveAll();
    return CVorlinPage::OnApply();
}

}  // namespace corvane
