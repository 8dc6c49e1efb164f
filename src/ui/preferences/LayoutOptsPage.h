#pragma once

#include "preferences/LayoutOptsPageValues.h"
#include "ui/preferences/VorlinPage.h"

class QCheckBox;

namespace corvane {

// "Graphical Layouts": the options of the graphical trunk-usage views and their layout files.
class CLayoutOptsPage : public CVorlinPage {
    Q_OBJECT

public:
    CLayoutOptsPage(PrefContext& context, QWidget* parent = nullptr);

    bool OnApply() override;
    LayoutOptsPageValues Values() const;

private:
    QCheckBox* allowEdit_;
    QCheckBox* requireAllowChanges_;
    QCheckBox* allowFile_;
    QCheckBox* confirmDeletes_;
    QCheckBox* autoSave_;
    QCheckBox* autoHide_;
};

}  // namespace corvane
