#include <gtest/gtest.h>

#include <QCoreApplication>

#include "ViewsRig.h"
#include "ui/views/VorlinSplitterWnd.h"

namespace corvane {
namespace {

using testing::ViewsRig;

// The form keeps the kind's height from the profile ("IcomFormHeight", 178 by default) and
// the list takes what the frame gains or loses.
TEST(ChildFramePaneSizes, TheFormKeepsTheKindsHeightAndTheListTakesTheRoom) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Intercoms);
    CVorlinSplitterWnd& inner = frame->InnerSplitter();
    EXPECT_EQ(inner.sizes()[0], CChildFrame::kDefaultFormHeight);
    frame->showNormal();
    frame->resize(900, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(inner.sizes()[0], CChildFrame::kDefaultFormHeight);
    const int list = inner.sizes()[1];
    frame->resize(900, 620);
    QCoreApplication::processEvents();
    EXPECT_EQ(inner.sizes()[0], CChildFrame::kDefaultFormHeight);
    EXPECT_EQ(inner.sizes()[1], list + 120);
}

// A frame switched to another kind before it is first shown (a view opened in a new window
// from the tree) leaves the first kind's saved height alone.
TEST(ChildFramePaneSizes, AFormNeverShownSavesNoHeight) {
    ViewsRig rig;
    rig.supervision.profile.WriteProfileInt("Preferences", "RequestFormHeight", 250);
    auto* frame = new CChildFrame(*rig.context);
    rig.area.addSubWindow(frame);
    frame->SetViewKind(ViewKind::Requests, nullptr);
    frame->SetViewKind(ViewKind::Trunks, nullptr);
    EXPECT_EQ(rig.supervision.profile.GetProfileInt("Preferences", "RequestFormHeight", 0), 250);
    // Once shown, a form replaced by another kind's saves the height it had.
    frame->SetViewKind(ViewKind::Requests, nullptr);
    frame->show();
    rig.window.show();
    QCoreApplication::processEvents();
    const int shown = frame->InnerSplitter().sizes()[0];
    frame->SetViewKind(ViewKind::Trunks, nullptr);
    EXPECT_EQ(rig.supervision.profile.GetProfileInt("Preferences", "RequestFormHeight", 0), shown);
}

}  // namespace
}  // namespace corvane
