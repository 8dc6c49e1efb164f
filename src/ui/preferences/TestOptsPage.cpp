#include "ui/preferences/TestOptsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "preferences/PrefContext.h"
#include "preferences/PrefSheetLayout.h"
#include "settings/AppSettings.h"

namespace corvane {

CTestOptsPage::CTestOptsPage(PrefContext& context, QWidget* parent)
    : CVorlinPage(172, prefpage::kTestOptions, context, parent) {
    auto* layout = new QVBoxLayout(this);
    auto group = [&](const char* title) {
        auto* box = new QGroupBox(title, this);
        new QVBoxLayout(box);
        layout->addWidget(box);
        return box;
    };
    auto add = [&](QGroupBox* g, const char* text, int id) {
        auto* box = Control(new QCheckBox(text, g), id);
        g->layout()->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this] { SetModified(); });
        return box;
    };
    QGroupBox* queued = group("When trunks are queued for testing (or automatically tested)...");
    skipInUse_ = add(queued, " Skip trunks that are in-use", 1050);
    skipMaintenance_ = add(queued, " Skip trunks that are in maintenance mode", 1051);
    QGroupBox* manual = group("When manually forcing a trunk to be tested...");
    warnInUse_ = add(manual, " Warn before testing trunks that are in-use", 1052);
    QGroupBox* after = group("After testing a trunk...");
    leaveFailed_ = add(after, " Leave failed trunks in maintenance mode", 1053);
    returnPassed_ = add(after, " Return passed trunks to active service", 1054);
    layout->addStretch();

    const auto v = TestOptsPageValues::FromSettings(context.settings.Snapshot());
    skipInUse_->setChecked(v.skipInUseTrunks);
    skipMaintenance_->setChecked(v.skipTrunksInMaintenanceMode);
    warnInUse_->setChecked(v.warnBeforeTestingInUseTrunks);
    leaveFailed_->setChecked(v.leaveFailedTrunksInMaintenanceMode);
    returnPassed_->setChecked(v.returnPassedTrunksToActiveService);
}

TestOptsPageValues CTestOptsPage::Values() const {
    TestOptsPageValues v;
    v.skipInUseTrunks = skipInUse_->isChecked();
    v.skipTrunksInMaintenanceMode = skipMaintenance_->isChecked();
    v.warnBeforeTestingInUseTrunks = warnInUse_->isChecked();
    v.leaveFailedTrunksInMaintenanceMode = leaveFailed_->isChecked();
    v.returnPassedTrunksToActiveService = returnPassed_->isChecked();
    return v;
}

bool CTestOptsPage::OnApply() {
    const TestOptsPageValues v = Values();
    Context().settings.Modify([&](AppSettings& s) { v.ApplyTo(s); });
    Context().SaveAll();
    return CVorlinPage::OnApply();
}

}  // namespace corvane
