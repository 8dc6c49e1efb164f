#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTreeWidget>

#include <QSplitter>
#include <filesystem>
#include <fstream>

#include "GraphicalViewRig.h"
#include "document/PreferenceTarget.h"
#include "graphics/IcomObj.h"
#include "graphics/IntercomPairKey.h"
#include "graphics/LayoutEditing.h"
#include "graphics/LayoutFile.h"
#include "graphics/TrunkSetObj.h"
#include "preferences/LayoutOptsPageValues.h"
#include "qtsupport/QtWait.h"
#include "ui/VorlinStatusBar.h"
#include "ui/views/CommandTarget.h"
#include "ui/views/GraphicalFormView.h"
#include "ui/views/VorlinSplitterWnd.h"

namespace corvane {
namespace {

using testing::GraphicalViewRig;
using testing::SmallTrunkNetwork;
using testing::ViewsRig;

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int paints = 0;
};

// Settles every pending paint, then forgets them.
void Settle(std::initializer_list<PaintCounter*> counters) {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
    for (PaintCounter* c : counters) {
        c->paints = 0;
    }
}

class GraphicalViewHints : public ::testing::Test {
protected:
    GraphicalViewHints() {
        EXPECT_TRUE(views.TickUntilSmallNetworkSettled());
        CGraphicLayout& layout = views.Open(0);
        ShowIntercom(layout, views.Model(), 1, true, {100, 100});
        ShowIntercom(layout, views.Model(), 2, true, {300, 100});
        ShowTrunkSet(layout, views.Model(), 1, 2, true);
        east = views.Layouts().AddName("east");
    }
    ViewsRig rig{SmallTrunkNetwork()};
    GraphicalViewRig views{rig};
    int east = 0;
};

TEST_F(GraphicalViewHints, ALayoutsPictureChangeRepaintsItsOtherViewsOnly) {
    CVorlinScrollView* first = views.OpenView(0);
    CVorlinScrollView* second = views.OpenView(0);
    CVorlinScrollView* other = views.OpenView(east);
    rig.area.tileSubWindows();  // all in sight
    PaintCounter a(first->viewport());
    PaintCounter b(second->viewport());
    PaintCounter c(other->viewport());
    Settle({&a, &b, &c});
    GraphicalViewRig::Click(second, {100, 100});  // selects: the picture changes
    Settle({});
    EXPECT_GE(b.paints, 1);
    EXPECT_GE(a.paints, 1);
    EXPECT_EQ(c.paints, 0);
}

TEST_F(GraphicalViewHints, TheLayoutOptionsHintRepaintsTheDefaultLayoutsViews) {
    CVorlinScrollView* shown = views.OpenView(0);
    CVorlinScrollView* other = views.OpenView(east);
    rig.area.tileSubWindows();
    PaintCounter a(shown->viewport());
    PaintCounter c(other->viewport());
    Settle({&a, &c});
    // What the page sends when the hide option changed.
    rig.doc->PreferenceTarget()->UpdateAllViews(kLayoutOptionsHint, 0);
    Settle({});
    EXPECT_GE(a.paints, 1);
    EXPECT_EQ(c.paints, 0) << "views of other layouts show it at their next repaint";
}

TEST_F(GraphicalViewHints, EditOperationsTurnedOffAndOnAgainLeaveAllowChangesOff) {
    CChildFrame* frame = nullptr;
    CVorlinScrollView* shown = views.OpenView(0, &frame);
    CVorlinScrollView* other = views.OpenView(east);
    ASSERT_TRUE(shown->AllowsChanges());
    ASSERT_TRUE(other->AllowsChanges());
    // What the layout options page does when edit operations are turned off, and on again.
    LayoutOptsPageValues page =
        LayoutOptsPageValues::FromSettings(rig.supervision.settings.Snapshot());
    for (const bool on : {false, true}) {
        page.allowEditOperations = on;
        bool tell = false;
        rig.supervision.settings.Modify([&](AppSettings& s) { tell = page.ApplyTo(s); });
        if (tell) {
            rig.doc->PreferenceTarget()->UpdateAllViews(kLayoutOptionsHint, 0);
        }
    }
    EXPECT_FALSE(shown->AllowsChanges());
    EXPECT_FALSE(other->AllowsChanges());
    EXPECT_FALSE(frame->RouteCommandUpdate(cmd::kAllowChanges)->checked);
    EXPECT_FALSE(frame->RouteCommandUpdate(cmd::kEditSelectAll)->enabled);
    // The operator ticks it again.
    ASSERT_TRUE(frame->RouteCommand(cmd::kAllowChanges));
    EXPECT_TRUE(shown->AllowsChanges());
}

TEST_F(GraphicalViewHints, ATickRefreshesCountsAndStatesFromTheDatabase) {
    CChildFrame* frame = nullptr;
    CVorlinScrollView* view = views.OpenView(0, &frame);
    const CTrunkSetObj* set = view->Layout()->FindTrunkSet(MakePairKey(1, 2));
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->Counts().allocated, 3);
    ASSERT_TRUE(view->Layout()->FindIntercom(2)->IsOnline());
    rig.supervision.model.SetTrunkStatus(0, 3);  // an idle trunk goes into use
    rig.supervision.model.SetCommStatus(1, 0x05);
    EXPECT_TRUE(rig.supervision.TickUntil([&] {
        QCoreApplication::processEvents();
        return set->Counts().inUse == 1 && !view->Layout()->FindIntercom(2)->IsOnline();
    }));
    EXPECT_EQ(set->Counts().total, 10);
}

TEST_F(GraphicalViewHints, TheFrameShowsTheGraphicalKindWithAnEmptyForm) {
    CChildFrame* frame = nullptr;
    CVorlinScrollView* view = views.OpenView(east, &frame);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsInitialised());
    auto* form = dynamic_cast<CGraphicalFormView*>(frame->FormView());
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->IsInitialised());
    EXPECT_EQ(form->height(), 0);
    EXPECT_EQ(frame->ListView(), nullptr);
    EXPECT_TRUE(frame->InfoBar(0).isHidden());
    EXPECT_EQ(frame->windowTitle(), "Graphical Trunk Usage - east");

    // Switching away destroys the view, which saves what it shows.
    GraphicalViewRig::RightClick(view, {200, 200}, 33001);
    frame->SetViewKind(ViewKind::Intercoms, nullptr);
    EXPECT_EQ(frame->GraphicalView(), nullptr);
    EXPECT_FALSE(views.Layouts().GetGraphicLayout(east)->IsModified());
    EXPECT_GT(std::filesystem::file_size("../views/east.vlv"), 24u);
}

TEST_F(GraphicalViewHints, SaveAsWritesTheEditsUnderTheNewNameOnlyAndTheOldLayoutIsReadAgain) {
    rig.supervision.settings.Modify([](AppSettings& s) { s.AutoSaveLayouts = false; });
    CChildFrame* frame = nullptr;
    views.OpenView(0, &frame);
    ASSERT_TRUE(frame->RouteCommand(cmd::kLayoutSave));
    const std::string saved = FileBytes("../views/default.vlv");
    CVorlinScrollView* view = frame->GraphicalView();
    GraphicalViewRig::RightClick(view, {100, 250}, 33003);
    ASSERT_TRUE(view->Layout()->IsModified());

    // The frame's tree makes the new layout, opens it and starts editing its name.
    ASSERT_TRUE(frame->RouteCommand(cmd::kLayoutSaveAs));
    QCoreApplication::processEvents();
    auto* tree = qobject_cast<QTreeWidget*>(frame->TreeView());
    ASSERT_NE(tree, nullptr);
    EXPECT_NE(tree->viewport()->findChild<QLineEdit*>(), nullptr);
    CVorlinScrollView* copy = frame->GraphicalView();
    ASSERT_NE(copy, view);
    const int index = copy->LayoutIndex();
    EXPECT_EQ(views.Layouts().Name(index), "view1");
    ASSERT_NE(copy->Layout()->FindIntercom(3), nullptr) << "the edit went to the new layout";
    EXPECT_EQ(frame->windowTitle(), "Graphical Trunk Usage - view1");

    // The old layout's file is as it was, and its next view reads it from there.
    EXPECT_EQ(FileBytes("../views/default.vlv"), saved);
    EXPECT_TRUE(views.Layouts().GetGraphicLayout(0)->NeedsLoading());
    EXPECT_FALSE(views.Layouts().GetGraphicLayout(0)->IsModified());
    CVorlinScrollView* old = views.OpenView(0);
    EXPECT_EQ(old->Layout()->FindIntercom(3), nullptr);
    EXPECT_NE(old->Layout()->FindIntercom(1), nullptr);
}

// Another view of the old layout shows the edits Save As took away until it reads the file
// again; it does so at once, so nothing it shows is left unsaved without a word.
TEST_F(GraphicalViewHints, AfterSaveAsTheOldLayoutsOtherViewsReadItsFileAgain) {
    rig.supervision.settings.Modify([](AppSettings& s) { s.AutoSaveLayouts = false; });
    CChildFrame* other = nullptr;
    CVorlinScrollView* otherView = views.OpenView(0, &other);
    CChildFrame* frame = nullptr;
    CVorlinScrollView* view = views.OpenView(0, &frame);
    ASSERT_TRUE(frame->RouteCommand(cmd::kLayoutSave));
    GraphicalViewRig::RightClick(view, {100, 250}, 33003);
    ASSERT_NE(otherView->Layout()->FindIntercom(3), nullptr);

    ASSERT_TRUE(frame->RouteCommand(cmd::kLayoutSaveAs));
    QCoreApplication::processEvents();
    ASSERT_EQ(other->GraphicalView(), otherView);
    CGraphicLayout* old = views.Layouts().GetGraphicLayout(0);
    EXPECT_FALSE(old->NeedsLoading());
    EXPECT_EQ(old->FindIntercom(3), nullptr);
    EXPECT_NE(old->FindIntercom(1), nullptr);
    EXPECT_FALSE(old->IsModified());
    EXPECT_FALSE(other->windowTitle().endsWith(" *")) << other->windowTitle().toStdString();
}

TEST_F(GraphicalViewHints, SaveAsWithoutRoomForANewLayoutLeavesTheLayoutAsItWas) {
    rig.supervision.settings.Modify([](AppSettings& s) { s.AutoSaveLayouts = false; });
    for (int i = 1; i <= 999; ++i) {
        views.Layouts().AddName("view" + std::to_string(i));
    }
    const int names = views.Layouts().NameCount();
    CChildFrame* frame = nullptr;
    views.OpenView(east, &frame);
    auto* tree = qobject_cast<QTreeWidget*>(frame->TreeView());
    ASSERT_NE(tree, nullptr);
    const QList<QTreeWidgetItem*> items = tree->findItems("east", Qt::MatchRecursive);
    ASSERT_EQ(items.size(), 1);
    tree->setCurrentItem(items.front());
    CVorlinScrollView* view = frame->GraphicalView();
    ASSERT_EQ(view->LayoutIndex(), east);
    GraphicalViewRig::RightClick(view, {100, 250}, 33003);

    // The tree makes no layout: nothing is renamed, and Save still writes the layout's file.
    ASSERT_TRUE(frame->RouteCommand(cmd::kLayoutSaveAs));
    QCoreApplication::processEvents();
    EXPECT_EQ(tree->viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(views.Layouts().NameCount(), names);
    EXPECT_EQ(frame->GraphicalView(), view);
    ASSERT_TRUE(frame->RouteCommand(cmd::kLayoutSave));
    EXPECT_FALSE(view->Layout()->IsModified());
    CGraphicLayout read;
    ASSERT_EQ(LoadLayoutFile(read, "../views", "east").status, LayoutLoadStatus::Loaded);
    EXPECT_NE(read.FindIntercom(3), nullptr);
}

}  // namespace
}  // namespace corvane
