#include "ui/preferences/LayoutOptsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "document/PreferenceTarget.h"
#include "preferences/PrefContext.h"
#include "preferences/PrefSheetLayout.h"
#include "settings/AppSettings.h"

namespace corvane {

CLayoutOptsPage::CLayoutOptsPage(PrefContext& context, QWidget* parent)
    : CVorlinPage(178, prefpage::kGraphicalLayouts, context, parent) {
    auto* group = Control(new QGroupBox("Graphical Layout Options", this), 1151);
    auto* boxes = new QVBoxLayout(group);
    auto add = [&](const char* text, int id) {
        auto* box = Control(new QCheckBox(text, group), id);
        boxes->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this] { SetModified(); });
        return box;
    };
    allowEdit_ = add(" Allow edit operations (Save, Rename, Edit...)", 1051);
    requireAllowChanges_ =
        add(" Require user to select Allow Changes in order to edit layouts", 1054);
    allowFile_ = add(" Allow file operations (New, Save As, Delete)", 1050);
    confirmDeletes_ = add(" Confirm file delete operations", 1052);
    autoSave_ = add(" Automatically save layout when leaving view", 1055);
    autoHide_ = add(" Automatically hide empty trunk sets", 1053);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();

    const auto v = LayoutOptsPageValues::FromSettings(context.settings.Snapshot());
    allowEdit_->setChecked(v.allowEditOperations);
    requireAllowChanges_->setChecked(v.requireAllowChanges);
    allowFile_->setChecked(v.allowFileOperations);
    confirmDeletes_->setChecked(v.confirmFileDeletes);
    autoSave_->setChecked(v.autoSaveLayouts);
    autoHide_->setChecked(v.autoHideEmptyTrunkSets);
}

LayoutOptsPageValues CLayoutOptsPage::Values() const {
    LayoutOptsPageValues v;
    v.allowEditOperations = allowEdit_->isChecked();
    v.requireAllowChanges = requireAllowChanges_->isChecked();
    v.allowFileOperations = allowFile_->isChecked();
    v.confirmFileDeletes = confirmDeletes_->isChecked();
    v.autoSaveLayouts = autoSave_->isChecked();
    v.autoHideEmptyTrunkSets = autoHide_->isChecked();
    return v;
}

bool CLayoutOptsPage::OnApply() {
    const LayoutOptsPageValues v = Values();
    bool tell = false;
    Context().settings.Modify([&](AppSettings& s) { tell = v.ApplyTo(s); });
    if (tell && Context().target != nullptr) {
        // Views of the "default" layout repaint now, the others at their next repaint; every
        // graphical view clears its Allow changes when edit operations are off.
        Context().target->UpdateAllViews(kLayoutOptionsHint, 0);
    }
    Context().SaveAll();
    return CVorlinPage::OnApply();
}

}  // namespace corvane
