#include "ui/preferences/VorlinPage.h"

#include "ui/VorlinDialog.h"
#include "ui/preferences/PrefSheet.h"

namespace corvane {

CVorlinPage::CVorlinPage(int templateId, int pageIndex, PrefContext& context, QWidget* parent)
    : QWidget(parent), templateId_(templateId), pageIndex_(pageIndex), context_(context) {}

void CVorlinPage::Activate() {
    if (!initialised_) {
        initialised_ = true;
        OnInitDialog();
    }
    activated_ = true;
    OnSetActive();
}

void CVorlinPage::OnSetActive() {
    CPrefSheet::s_nLastPage = pageIndex_;
}

bool CVorlinPage::OnApply() {
    SetModified(false);
    return true;
}

void CVorlinPage::SetModified(bool modified) {
    if (modified_ != modified) {
        modified_ = modified;
        emit modifiedChanged(modified);
    }
}

void SetPrefControlId(QWidget* widget, int id) {
    CVorlinDialog::SetControlId(widget, id);
}

}  // namespace corvane
