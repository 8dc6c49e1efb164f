#pragma once

#include "ui/VorlinDialog.h"

namespace corvane {

// A dialog with popup help for its controls that also answers F1 and help hit tests with
// its own context id.
class CHelpDialog : public CVorlinDialog {
    Q_OBJECT

public:
    CHelpDialog(int templateId, QWidget* parent);

    // The dialog's context id.
    virtual uint32_t GetHelpContext() const;
    // The popup id of the control at the point, else the context id.
    uint32_t HelpHitTest(const QPoint& point) const;

protected:
    bool OnHelpInfo(QWidget* control, bool shift) override;
};

}  // namespace corvane
