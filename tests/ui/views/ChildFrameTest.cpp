// The child frame's panes as the keyboard reaches them, and the bar state it keeps per kind.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "ViewsRig.h"
#include "ui/VorlinDialog.h"
#include "ui/views/VorlinFormView.h"
#include "ui/views/VorlinListView.h"

namespace corvane {
namespace {

using testing::ViewsRig;

// F6 from the tree reaches the form's first control, which then takes the keys; a form
// without controls keeps the focus itself.
TEST(ChildFrame, NextPaneIntoTheFormFocusesItsFirstControl) {
    struct Case {
        ViewKind kind;
        int firstControl;  // 0: the form has none
    };
    const Case cases[] = {
        {ViewKind::Trunks, 1010},      {ViewKind::Requests, 1001},     {ViewKind::Alphas, 1000},
        {ViewKind::Alarms, 1010},      {ViewKind::TrunkSummary, 1010}, {ViewKind::Intercoms, 0},
        {ViewKind::TrunkConflicts, 0},
    };
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    for (const Case& c : cases) {
        SCOPED_TRACE(ViewKindNumber(c.kind));
        frame->SetViewKind(c.kind, nullptr);
        QCoreApplication::processEvents();
        frame->TreeView()->setFocus();
        frame->ActivateNextPane(true);
        QWidget* focus = frame->focusWidget();
        ASSERT_NE(focus, nullptr);
        if (c.firstControl == 0) {
            EXPECT_EQ(focus, frame->FormView());
            continue;
        }
        EXPECT_EQ(CVorlinDialog::ControlId(focus), c.firstControl);
        EXPECT_TRUE(frame->FormView()->isAncestorOf(focus));
    }

    // Down in the trunk form's intercom box chooses the next intercom.
    frame->SetViewKind(ViewKind::Trunks, nullptr);
    QCoreApplication::processEvents();
    frame->TreeView()->setFocus();
    frame->ActivateNextPane(true);
    auto* box = qobject_cast<QComboBox*>(frame->focusWidget());
    ASSERT_NE(box, nullptr);
    const int before = box->currentIndex();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(box, &down);
    EXPECT_EQ(box->currentIndex(), before + 1);
    // And on round the panes: the list, then the tree again.
    frame->ActivateNextPane(true);
    EXPECT_EQ(frame->focusWidget(), static_cast<QWidget*>(frame->ListView()));
    frame->ActivateNextPane(true);
    EXPECT_EQ(frame->focusWidget(), frame->TreeView());
    frame->ActivateNextPane(false);
    EXPECT_EQ(frame->focusWidget(), static_cast<QWidget*>(frame->ListView()));
}

// A kind's bar state keeps the screen's width as "ScreenCX" and its height as "ScreenCY".
TEST(ChildFrame, TheBarStateKeepsTheScreensWidthAndHeight) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    // A square screen would hide which is which.
    ASSERT_NE(screen.width(), screen.height());
    ViewsRig rig;
    rig.OpenFrame(ViewKind::Trunks);
    const CProfileStore& profile = rig.supervision.profile;
    const std::string summary = "Preferences\\ToolBars\\View2\\-Summary";
    EXPECT_EQ(profile.GetProfileInt(summary, "ScreenCX", -1), screen.width());
    EXPECT_EQ(profile.GetProfileInt(summary, "ScreenCY", -1), screen.height());
}

}  // namespace
}  // namespace corvane
