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

}  // namespace
}  // namespace corvane
