#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <vector>

#include "preferences/PrefContext.h"
#include "preferences/PrefSheetLayout.h"

class QDialogButtonBox;
class QPushButton;
class QTabWidget;

namespace corvane {

class CAlarmSetupPage;
class CArchivePage;
class CConfigPage;
class CLayoutOptsPage;
class CProfileStore;
class CTestOptsPage;
class CTestParmsPage;
class CTestSchedPage;
class CVorlinPage;
class IPreferenceTarget;
class SharedSettings;

// The modal sheet "Configuration" with every preference page. It opens on the page left
// last, shows the test pages only while an instrument is configured, and answers popup help
// for page controls and tabs.
class CPrefSheet : public QDialog {
    Q_OBJECT

public:
    CPrefSheet(PrefContext& context, QWidget* parent, const QString& caption = "Configuration");
    ~CPrefSheet() override;

    // The index of the page that was active last; the next sheet opens on it.
    static int s_nLastPage;

    // Shows or hides the test pages for the instrument the configuration page now selects.
    void UpdateTestPages();
    bool TestPagesShown() const { return testPagesShown_; }

    CVorlinPage* Page(int index) const { return pages_[static_cast<size_t>(index)]; }
    CConfigPage* ConfigPage() const { return configPage_; }
    // The page indexes in tab order.
    std::vector<int> ShownPages() const;
    CVorlinPage* ActivePage() const { return active_; }
    // Leaves the active page (which may refuse) and shows the page; false when refused or
    // the page is not shown.
    bool SetActivePage(int index);

    // The Apply button: applies every page that was set up; false when one refused.
    bool Apply();
    QTabWidget* Tabs() const { return tabs_; }

    // OK: leaves the active page and applies; refused input keeps the sheet open.
    void accept() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddPages();
    void AddTab(int index);
    void OnTabChanged(int tab);
    void UpdateApplyButton();
    bool ApplyPages();
    // A help request at a widget (a control or the tab bar); true when handled.
    bool OnHelpInfo(QWidget* widget, const QPoint& globalPos, bool shift);

    PrefContext& context_;
    QTabWidget* tabs_;
    QDialogButtonBox* buttons_;
    QPushButton* applyButton_;
    std::array<CVorlinPage*, prefpage::kCount> pages_{};
    CConfigPage* configPage_ = nullptr;
    CVorlinPage* active_ = nullptr;
    bool testPagesShown_ = false;
    bool switching_ = false;
};

// Command 32776: runs the preference sheet modally over parent. target may be null.
int RunPreferenceSheet(QWidget* parent, SharedSettings& settings, CProfileStore& profile,
                       IPreferenceTarget* target);

}  // namespace corvane
