#include "ui/HelpDialog.h"

#include "presentation/HelpService.h"

namespace corvane {

CHelpDialog::CHelpDialog(int templateId, QWidget* parent) : CVorlinDialog(templateId, parent) {}

uint32_t CHelpDialog::GetHelpContext() const {
    return DialogContextId(static_cast<uint32_t>(TemplateId()));
}

uint32_t CHelpDialog::HelpHitTest(const QPoint& point) const {
    const int id = ControlId(ControlOf(childAt(point)));
    return id != 0 ? PopupHelpId(static_cast<uint32_t>(TemplateId()), static_cast<uint32_t>(id))
                   : GetHelpContext();
}

bool CHelpDialog::OnHelpInfo(QWidget* control, bool shift) {
    if (CVorlinDialog::OnHelpInfo(control, shift)) {
        return true;
    }
    if (shift || s_bHelpMode) {
        return false;
    }
    // F1 alone is the command help of the dialog.
    RequestHelp(GetHelpContext(), help::kContext);
    return true;
}

}  // namespace corvane
