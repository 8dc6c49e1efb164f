#pragma once

#include <optional>

#include "preferences/ArchivePageValues.h"
#include "ui/preferences/VorlinPage.h"

class QCheckBox;
class QRadioButton;

namespace corvane {

class CPrefSpinEdit;

// "Request Archives" (dialog 174) or "Alarm Archives" (dialog 175): the archive schedule and
// how archived rows are kept.
class CArchivePage : public CVorlinPage {
    Q_OBJECT

public:
    CArchivePage(int dialogId, PrefContext& context, QWidget* parent = nullptr);

    bool IsRequestPage() const { return values_.requestPage; }
    bool OnKillActive() override;
    bool OnApply() override;
    const ArchivePageValues& Values() const { return values_; }

    CPrefSpinEdit* TaskPeriodEdit() const { return taskPeriod_; }

private:
    // Reads the controls into the values; false (after showing why) when one is refused.
    bool Exchange();

    ArchivePageValues values_;
    CPrefSpinEdit* taskPeriod_;
    CPrefSpinEdit* moveAge_;
    CPrefSpinEdit* purgeAge_;
    CPrefSpinEdit* deleteFilesAge_;
    QCheckBox* allowActive_ = nullptr;
    QCheckBox* atStartup_;
    QRadioButton* purgeMode_;
    QRadioButton* dayFilesMode_;
    QCheckBox* deleteDayFiles_;
};

}  // namespace corvane
