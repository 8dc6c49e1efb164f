// The main frame's windows as the operator meets them: their titles, the Window menu's pane
// commands and their keys, help over the status bars, and views opened in new windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QHelpEvent>
#include <QMdiArea>
#include <QTest>
#include <QWhatsThis>

#include "MainFrameRig.h"
#include "app/VorlinApp.h"
#include "preferences/PrefContext.h"
#include "presentation/ViewId.h"
#include "qtsupport/HelpRequests.h"
#include "settings/AppSettings.h"
#include "ui/VorlinDialog.h"
#include "ui/VorlinStatusBar.h"
#include "ui/preferences/PrefSheet.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/CommandTarget.h"
#include "ui/views/VorlinFormView.h"
#include "ui/views/VorlinListView.h"

namespace corvane {
namespace {

using testing::HelpRequests;
using testing::LiveDocument;
using testing::RoutedItem;

// The title the desktop shows for a window: Qt's platforms add the application's display
// name, once one is set (the name then differs from the application's own), to every title
// that does not already end with it.
QString DesktopTitle(const QWidget& window) {
    const QString name = QGuiApplication::applicationDisplayName();
    const QString title = window.windowTitle();
    if (name == QCoreApplication::applicationName() || title.endsWith(name)) {
        return title;
    }
    return title + QStringLiteral(" \u2014 ") + name;
}

void SaveScreenshot(QWidget& window, const QString& name) {
    QCoreApplication::processEvents();
    QDir().mkpath(CORVANE_SCREENSHOT_DIR);
    EXPECT_TRUE(window.grab().save(QStringLiteral(CORVANE_SCREENSHOT_DIR "/") + name));
}

class MainFrameWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(resources_.Load(QApplication::palette()));
        profile_.Load("");
    }
    void TearDown() override {
        if (frame_ != nullptr) {
            frame_->SetViewContext(nullptr);
        }
        if (live_ != nullptr) {
            live_->document.OnCloseDocument();
        }
    }

    // The frame over the live document, shown as start-up shows it, in front with the focus.
    CMainFrame& Start() {
        live_ = std::make_unique<LiveDocument>(resources_, &profile_);
        EXPECT_TRUE(live_->rig.started);
        frame_ = std::make_unique<CMainFrame>(resources_, profile_, std::chrono::hours(1));
        frame_->SetDocument(&live_->document);
        frame_->SetViewContext(&live_->context);
        frame_->resize(1000, 640);
        CVorlinApp::ShowMainWindow(*frame_);
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
        QCoreApplication::processEvents();
        return *frame_;
    }

    CAppResources resources_;
    CProfileStore profile_;
    std::unique_ptr<LiveDocument> live_;
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(MainFrameWindows, TitlesNameTheProgramOnce) {
    CMainFrame& frame = Start();
    CChildFrame* child = frame.ActiveChildFrame();
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(child->isMaximized());
    ASSERT_FALSE(child->windowTitle().isEmpty());
    EXPECT_EQ(DesktopTitle(frame).toStdString(),
              "Corvane - [" + child->windowTitle().toStdString() + "]");
    SaveScreenshot(frame, "main-frame-title.png");

    PrefContext context(live_->rig.settings, profile_, nullptr);
    CPrefSheet sheet(context, &frame);
    sheet.show();
    EXPECT_EQ(DesktopTitle(sheet).toStdString(), "Configuration");
}

// Window > Next Pane and Previous Pane, and F6 and Shift+F6 typed as the window system types
// them: the tree, the form's first control, the list, and round again.
TEST_F(MainFrameWindows, NextAndPreviousPaneAreCommandsWithTheirKeys) {
    CMainFrame& frame = Start();
    CChildFrame* child = frame.ActiveChildFrame();
    ASSERT_NE(child, nullptr);
    child->SetViewKind(ViewKind::Trunks, nullptr);
    QCoreApplication::processEvents();
    QAction* next = RoutedItem(frame, "&Window", cmd::kNextPane);
    QAction* prev = RoutedItem(frame, "&Window", cmd::kPrevPane);
    ASSERT_NE(next, nullptr);
    ASSERT_NE(prev, nullptr);
    EXPECT_TRUE(next->isEnabled());
    EXPECT_TRUE(prev->isEnabled());

    QWidget* tree = child->TreeView();
    QWidget* list = child->ListView();
    tree->setFocus();
    next->trigger();
    EXPECT_EQ(CVorlinDialog::ControlId(QApplication::focusWidget()), 1010);
    next->trigger();
    EXPECT_EQ(QApplication::focusWidget(), list);
    prev->trigger();
    prev->trigger();
    EXPECT_EQ(QApplication::focusWidget(), tree);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(CVorlinDialog::ControlId(QApplication::focusWidget()), 1010);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), list);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(CVorlinDialog::ControlId(QApplication::focusWidget()), 1010);
}

// Help over the main status bar and a child frame's info bar: a click in help mode, or
// Shift+F1 with the pointer over the bar, gives the pane's help; elsewhere Shift+F1 stays the
// focused pane's.
TEST_F(MainFrameWindows, HelpOverAStatusBarPaneIsThatPanes) {
    CMainFrame& frame = Start();
    CChildFrame* child = frame.ActiveChildFrame();
    ASSERT_NE(child, nullptr);
    child->SetViewKind(ViewKind::Trunks, nullptr);
    if (child->InfoBar(0).isHidden()) {
        ASSERT_TRUE(child->RouteCommand(cmd::kInfoBar1));
    }
    QCoreApplication::processEvents();
    ASSERT_TRUE(child->InfoBar(0).isVisible());
    CVorlinListView* list = child->ListView();
    ASSERT_NE(list, nullptr);
    const uint32_t trunks = list->GetHelpId() & 0xFFFF;  // 0xC0, the trunk form's template

    const CStatusPane* quillex = frame.StatusBar().Pane(CMainFrame::kPaneController);
    const CStatusPane* trunkCount = child->InfoBar(0).Pane(1);
    struct Case {
        const char* name;
        const QWidget* under;  // none: the pointer over the list
        uint32_t id;
        unsigned command;
    };
    const Case cases[] = {
        {"the Quillex pane", quillex, 0x50000000u | 212u, 1u},
        {"the first info pane", trunkCount, 0x50000000u | ((trunks << 16) + 201u), 1u},
        {"the list", nullptr, 0u, 8u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QPoint at = c.under != nullptr
                              ? c.under->mapToGlobal(c.under->rect().center())
                              : list->viewport()->mapToGlobal(
                                    list->viewport()->rect().bottomLeft() + QPoint(5, -5));
        if (c.under != nullptr) {
            HelpRequests help;
            QWhatsThis::enterWhatsThisMode();
            QHelpEvent click(QEvent::WhatsThis, c.under->rect().center(), at);
            QApplication::sendEvent(const_cast<QWidget*>(c.under), &click);
            EXPECT_EQ(help.seen, (std::vector<std::pair<uint32_t, unsigned>>{{c.id, c.command}}));
            EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
        }
        HelpRequests help;
        list->setFocus();
        QCursor::setPos(at);
        QTest::keyClick(list, Qt::Key_F1, Qt::ShiftModifier);
        ASSERT_EQ(help.seen.size(), 1u);
        if (c.under != nullptr) {
            EXPECT_EQ(help.seen[0], std::make_pair(c.id, c.command));
        } else {
            // The list's own: the popup help of its current cell.
            EXPECT_EQ(help.seen[0].second, c.command);
        }
    }
}

// A view opened in a new window from the tree reads only its own kind's rows: no request
// list is built on the way, to be thrown away.
TEST_F(MainFrameWindows, AViewOpenedInANewWindowBuildsNoOtherList) {
    CMainFrame& frame = Start();
    ASSERT_EQ(frame.MdiArea().subWindowList().size(), 1);
    EXPECT_FALSE(profile_.HasEntry("Preferences", "RequestListColumnWidths"));
    ASSERT_TRUE(frame.OpenFilteredView(ViewKind::Trunks, kViewIdAll, kViewIdAll));
    QCoreApplication::processEvents();
    ASSERT_EQ(frame.MdiArea().subWindowList().size(), 2);
    CChildFrame* opened = frame.ActiveChildFrame();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Kind(), ViewKind::Trunks);
    ASSERT_NE(opened->ListView(), nullptr);
    EXPECT_EQ(opened->ListView()->Kind(), ViewKind::Trunks);
    // A request list that had been built and replaced would have saved its columns.
    EXPECT_FALSE(profile_.HasEntry("Preferences", "RequestListColumnWidths"));
    SaveScreenshot(frame, "new-window-on-trunks.png");
}

}  // namespace
}  // namespace corvane
