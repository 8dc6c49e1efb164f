#pragma once

#include "preferences/TestOptsPageValues.h"
#include "ui/preferences/VorlinPage.h"

class QCheckBox;

namespace corvane {

// "Test Options": which queued trunks the sequencer skips and what follows a test.
class CTestOptsPage : public CVorlinPage {
    Q_OBJECT

public:
    CTestOptsPage(PrefContext& context, QWidget* parent = nullptr);

    bool OnApply() override;
    TestOptsPageValues Values() const;

private:
    QCheckBox* skipInUse_;
    QCheckBox* skipMaintenance_;
    QCheckBox* warnInUse_;
    QCheckBox* leaveFailed_;
    QCheckBox* returnPassed_;
};

}  // namespace corvane
