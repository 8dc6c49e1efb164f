#include "ui/preferences/PrefSheet.h"

#include <QDialogButtonBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "presentation/HelpService.h"
#include "settings/AppSettings.h"
#include "ui/VorlinDialog.h"
#include "ui/preferences/AlarmSetupPage.h"
#include "ui/preferences/ArchivePage.h"
#include "ui/preferences/ConfigPage.h"
#include "ui/preferences/LayoutOptsPage.h"
#include "ui/preferences/TestOptsPage.h"
#include "ui/preferences/TestParmsPage.h"
#include "ui/preferences/TestSchedPage.h"

namespace corvane {

int CPrefSheet::s_nLastPage = 0;

CPrefSheet::CPrefSheet(PrefContext& context, QWidget* parent, const QString& caption)
    : QDialog(parent),
      context_(context),
      tabs_(new QTabWidget(this)),
      buttons_(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this)),
      applyButton_(buttons_->button(QDialogButtonBox::Apply)) {
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    // Every tab shows: the sheet is made as wide as its tabs.
    tabs_->setUsesScrollButtons(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons_);

    configPage_ = new CConfigPage(context_, this);
    pages_[prefpage::kConfiguration] = configPage_;
    pages_[prefpage::kRequestArchives] = new CArchivePage(174, context_, this);
    pages_[prefpage::kAlarmArchives] = new CArchivePage(175, context_, this);
    pages_[prefpage::kAlarmSetup] = new CAlarmSetupPage(context_, this);
    pages_[prefpage::kTestParameters] = new CTestParmsPage(context_, this);
    pages_[prefpage::kTestSchedule] = new CTestSchedPage(context_, this);
    pages_[prefpage::kTestOptions] = new CTestOptsPage(context_, this);
    pages_[prefpage::kGraphicalLayouts] = new CLayoutOptsPage(context_, this);
    for (CVorlinPage* page : pages_) {
        page->SetSheet(this);
        page->hide();
        connect(page, &CVorlinPage::modifiedChanged, this, [this] { UpdateApplyButton(); });
    }

    connect(buttons_, &QDialogButtonBox::accepted, this, &CPrefSheet::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CPrefSheet::reject);
    connect(applyButton_, &QPushButton::clicked, this, [this] { Apply(); });
    connect(tabs_, &QTabWidget::currentChanged, this, &CPrefSheet::OnTabChanged);

    AddPages();
    UpdateApplyButton();
}

CPrefSheet::~CPrefSheet() = default;

void CPrefSheet::AddTab(int index) {
    CVorlinPage* page = pages_[static_cast<size_t>(index)];
    const PrefPageInfo& info = PrefPage(index);
    // The tab order follows the page order, whatever was added or removed before.
    int position = 0;
    for (int tab = 0; tab < tabs_->count(); ++tab) {
        if (static_cast<CVorlinPage*>(tabs_->widget(tab))->PageIndex() < index) {
            position = tab + 1;
        }
    }
    tabs_->insertTab(position, page, QString::fromUtf8(info.caption));
}

void CPrefSheet::AddPages() {
    testPagesShown_ = AnalyzerTypeOf(context_.settings.Snapshot().AudioAnalyzer) != 0;
    switching_ = true;
    for (int index : VisiblePrefPages(testPagesShown_)) {
        AddTab(index);
    }
    switching_ = false;
    SetActivePage(PrefStartPage(s_nLastPage, testPagesShown_));
}

std::vector<int> CPrefSheet::ShownPages() const {
    std::vector<int> shown;
    for (int tab = 0; tab < tabs_->count(); ++tab) {
        shown.push_back(static_cast<CVorlinPage*>(tabs_->widget(tab))->PageIndex());
    }
    return shown;
}

void CPrefSheet::UpdateTestPages() {
    const bool configured = AnalyzerTypeOf(configPage_->Values().analyzer) != 0;
    if (configured == testPagesShown_) {
        return;
    }
    switching_ = true;
    constexpr int kTestPages[] = {prefpage::kTestParameters, prefpage::kTestSchedule,
                                  prefpage::kTestOptions};
    for (int index : kTestPages) {
        CVorlinPage* page = pages_[static_cast<size_t>(index)];
        if (configured) {
            AddTab(index);
        } else {
            tabs_->removeTab(tabs_->indexOf(page));
            page->Deactivated();
            page->hide();
        }
    }
    testPagesShown_ = configured;
    switching_ = false;
    if (active_ != nullptr && tabs_->currentWidget() != active_) {
        tabs_->setCurrentWidget(active_);
    }
}

bool CPrefSheet::SetActivePage(int index) {
    if (index < 0 || index >= prefpage::kCount) {
        return false;
    }
    CVorlinPage* page = pages_[static_cast<size_t>(index)];
    if (tabs_->indexOf(page) < 0) {
        return false;
    }
    if (page == active_) {
        return true;
    }
    if (tabs_->currentWidget() == page) {
        // The current tab of a sheet that has not activated any page yet.
        if (active_ != nullptr && !active_->OnKillActive()) {
            return false;
        }
        active_ = page;
        page->Activate();
        return true;
    }
    tabs_->setCurrentWidget(page);
    return active_ == page;
}

void CPrefSheet::OnTabChanged(int tab) {
    if (switching_ || tab < 0) {
        return;
    }
    auto* page = static_cast<CVorlinPage*>(tabs_->widget(tab));
    if (page == active_) {
        return;
    }
    if (active_ != nullptr && tabs_->indexOf(active_) >= 0 && !active_->OnKillActive()) {
        switching_ = true;
        tabs_->setCurrentWidget(active_);
        switching_ = false;
        return;
    }
    active_ = page;
    page->Activate();
}

void CPrefSheet::UpdateApplyButton() {
    const bool modified =
        std::any_of(pages_.begin(), pages_.end(), [](CVorlinPage* p) { return p->IsModified(); });
    applyButton_->setEnabled(modified);
}

bool CPrefSheet::ApplyPages() {
    if (active_ != nullptr && !active_->OnKillActive()) {
        return false;
    }
    for (int index : ShownPages()) {
        CVorlinPage* page = pages_[static_cast<size_t>(index)];
        if (!page->WasActivated()) {
            continue;
        }
        if (!page->OnApply()) {
            SetActivePage(index);
            return false;
        }
    }
    UpdateApplyButton();
    return true;
}

bool CPrefSheet::Apply() {
    return ApplyPages();
}

void CPrefSheet::accept() {
    if (ApplyPages()) {
        QDialog::accept();
    }
}

bool CPrefSheet::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::EnterWhatsThisMode:
            CVorlinDialog::s_bHelpMode = true;
            break;
        case QEvent::LeaveWhatsThisMode:
            CVorlinDialog::s_bHelpMode = false;
            break;
        case QEvent::WhatsThis: {
            const auto* help = static_cast<QHelpEvent*>(event);
            if (OnHelpInfo(childAt(help->pos()), help->globalPos(), false)) {
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QDialog::event(event);
}

void CPrefSheet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
        QWidget* focus = focusWidget();
        QPoint at = focus != nullptr ? focus->mapToGlobal(focus->rect().center()) : QPoint();
        if (QTabBar* bar = tabs_->tabBar(); focus == bar && bar->currentIndex() >= 0) {
            // The tab bar's focus is on its current tab, wherever that stands in the bar.
            at = bar->mapToGlobal(bar->tabRect(bar->currentIndex()).center());
        }
        if (OnHelpInfo(focus, at, shift)) {
            return;
        }
        if (!shift && active_ != nullptr) {
            // F1 alone: the context help of the page shown.
            CVorlinDialog::RequestHelp(DialogContextId(static_cast<uint32_t>(active_->HelpId())),
                                       help::kContext);
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

bool CPrefSheet::OnHelpInfo(QWidget* widget, const QPoint& globalPos, bool shift) {
    if (!CVorlinDialog::s_bHelpMode && !shift) {
        return false;
    }
    uint32_t helpId = 0;
    QWidget* control = widget;
    while (control != nullptr && control != this && CVorlinDialog::ControlId(control) == 0) {
        control = control->parentWidget();
    }
    if (control != nullptr && control != this) {
        const uint32_t page = active_ != nullptr ? static_cast<uint32_t>(active_->HelpId()) : 0;
        helpId = PopupHelpId(page, static_cast<uint32_t>(CVorlinDialog::ControlId(control)));
    } else {
        QTabBar* bar = tabs_->tabBar();
        const bool onTabs = widget == bar || (widget != nullptr && bar->isAncestorOf(widget));
        const int tab = onTabs ? bar->tabAt(bar->mapFromGlobal(globalPos)) : -1;
        if (tab < 0) {
            CVorlinDialog::EndHelpMode();
            return onTabs;
        }
        const auto* page = static_cast<CVorlinPage*>(tabs_->widget(tab));
        helpId = DialogContextId(static_cast<uint32_t>(page->HelpId()));
    }
    if (helpId != 0) {
        CVorlinDialog::RequestHelp(helpId, help::kContextPopup);
    }
    // One click answers in context-help mode; the next is the operator's again.
    CVorlinDialog::EndHelpMode();
    return true;
}

int RunPreferenceSheet(QWidget* parent, SharedSettings& settings, CProfileStore& profile,
                       IPreferenceTarget* target) {
    PrefContext context(settings, profile, target);
    CPrefSheet sheet(context, parent);
    return sheet.exec();
}

}  // namespace corvane
