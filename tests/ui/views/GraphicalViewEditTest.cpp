#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "GraphicalViewRig.h"
#include "graphics/CaptionObj.h"
#include "graphics/IcomObj.h"
#include "graphics/IntercomPairKey.h"
#include "graphics/LayoutArchive.h"
#include "graphics/LayoutEditing.h"
#include "graphics/LayoutFile.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {
namespace {

using testing::GraphicalViewRig;
using testing::SmallTrunkNetwork;
using testing::ViewsRig;
namespace fs = std::filesystem;

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ArchiveOf(const CGraphicLayout& layout) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(WriteLayoutArchive(layout, bytes, error)) << error;
    return bytes;
}

class GraphicalViewEdit : public ::testing::Test {
protected:
    // Intercoms 1 (100, 100), 2 (300, 100) with their set, and 3 (100, 250) in the default
    // layout, shown in a frame.
    void OpenThree() {
        EXPECT_TRUE(views.TickUntilSmallNetworkSettled());
        CGraphicLayout& layout = views.Open(0);
        ShowIntercom(layout, views.Model(), 1, true, {100, 100});
        ShowIntercom(layout, views.Model(), 2, true, {300, 100});
        ShowIntercom(layout, views.Model(), 3, true, {100, 250});
        ShowTrunkSet(layout, views.Model(), 1, 2, true);
        view = views.OpenView(0, &frame);
    }
    // The selection by intercom number, a caption as the negative number.
    std::set<int> Selected() const {
        std::set<int> numbers;
        for (const CGraphicObj* obj : view->Layout()->Selection()) {
            if (GraphicCast<CIcomObj>(obj) != nullptr) {
                numbers.insert(obj->GetId());
            } else if (GraphicCast<CIcomCaption>(obj) != nullptr) {
                numbers.insert(-obj->GetId());
            } else {
                numbers.insert(1000);  // a trunk-set caption
            }
        }
        return numbers;
    }
    GraphicPoint TopLeft(int number) const {
        return view->Layout()->FindIntercom(number)->GetTopLeft();
    }

    ViewsRig rig{SmallTrunkNetwork()};
    GraphicalViewRig views{rig};
    CChildFrame* frame = nullptr;
    CVorlinScrollView* view = nullptr;
};

TEST_F(GraphicalViewEdit, ClicksSelectAsTheKeysSay) {
    OpenThree();
    const struct {
        const char* name;
        std::set<int> before;
        QPoint at;
        Qt::KeyboardModifiers keys;
        std::set<int> after;
    } cases[] = {
        {"press", {}, {100, 100}, Qt::NoModifier, {1, -1}},
        {"Shift", {}, {100, 100}, Qt::ShiftModifier, {1}},
        {"Ctrl adds", {3, -3}, {100, 100}, Qt::ControlModifier, {1, -1, 3, -3}},
        {"a press beside empties", {3, -3}, {100, 100}, Qt::NoModifier, {1, -1}},
        {"Ctrl takes out", {1, -1, 3, -3}, {100, 100}, Qt::ControlModifier, {3, -3}},
        {"the set", {}, {200, 97}, Qt::NoModifier, {1, -1, 2, -2, 1000}},
        {"the background", {1, -1}, {500, 400}, Qt::NoModifier, {}},
    };
    for (const auto& c : cases) {
        CGraphicLayout* layout = view->Layout();
        layout->ClearSelection();
        for (int n : c.before) {
            CIcomObj* box = layout->FindIntercom(std::abs(n));
            layout->SelectObject(n > 0 ? static_cast<CGraphicObj&>(*box) : *box->Caption());
        }
        GraphicalViewRig::Click(view, c.at, c.keys);
        EXPECT_EQ(Selected(), c.after) << c.name;
    }
}

TEST_F(GraphicalViewEdit, FiveUnitsWithTheButtonDownDragTheSelection) {
    OpenThree();
    const struct {
        const char* name;
        QPoint to;
        bool drags;
    } cases[] = {
        {"4 units", {104, 100}, false},
        {"4 units down and left", {96, 104}, false},
        {"5 units", {105, 100}, true},
        {"5 units up", {100, 95}, true},
    };
    for (const auto& c : cases) {
        CGraphicLayout* layout = view->Layout();
        layout->FindIntercom(1)->MoveTo(84, 84);
        layout->SetModified(false);
        GraphicalViewRig::Press(view, {100, 100});
        GraphicalViewRig::Move(view, c.to);
        GraphicalViewRig::Release(view, c.to);
        const GraphicPoint expected =
            c.drags ? GraphicPoint{84 + c.to.x() - 100, 84 + c.to.y() - 100} : GraphicPoint{84, 84};
        EXPECT_EQ(TopLeft(1), expected) << c.name;
        EXPECT_EQ(layout->IsModified(), c.drags) << c.name;
        EXPECT_EQ(frame->windowTitle().endsWith(" *"), c.drags) << c.name;
    }
    // Moving with the right button held is no drag.
    GraphicalViewRig::Mouse(view, QEvent::MouseMove, {150, 150}, Qt::RightButton);
    EXPECT_EQ(TopLeft(1), (GraphicPoint{84, 95 - 16}));
}

TEST_F(GraphicalViewEdit, AScriptedEditIsSavedAndReadsBackEqual) {
    // The rows are in the database before all of the trunk summary is.
    ASSERT_TRUE(views.TickUntilSmallNetworkSettled());
    const int east = views.Layouts().AddName("east");
    view = views.OpenView(east, &frame);
    EXPECT_EQ(frame->windowTitle(), "Graphical Trunk Usage - east");
    EXPECT_EQ(fs::file_size("../views/east.vlv"), 24u) << "a new layout's file is written empty";
    EXPECT_TRUE(view->AllowsChanges());

    auto items = GraphicalViewRig::RightClick(view, {100, 100}, 33001);
    EXPECT_TRUE(GraphicalViewRig::HasItem(items, 33002));
    EXPECT_TRUE(GraphicalViewRig::HasItem(items, CVorlinScrollView::kShowTrunkCaptions));
    EXPECT_FALSE(GraphicalViewRig::HasItem(items, CVorlinScrollView::kShowHiddenIntercoms));
    GraphicalViewRig::RightClick(view, {300, 100}, 33002);
    ASSERT_NE(view->Layout()->FindIntercom(1), nullptr);
    ASSERT_NE(view->Layout()->FindIntercom(2), nullptr);
    EXPECT_EQ(view->Layout()->FindIntercom(2)->GetRect().Centre(), (GraphicPoint{300, 100}));
    EXPECT_EQ(frame->windowTitle(), "Graphical Trunk Usage - east *");

    items = GraphicalViewRig::RightClick(view, {100, 100}, 33002);
    EXPECT_TRUE(GraphicalViewRig::HasItem(items, CVorlinScrollView::kViewTrunks));
    EXPECT_FALSE(GraphicalViewRig::HasItem(items, CVorlinScrollView::kAllOtherVisible))
        << "one partner only";
    const CTrunkSetObj* set = view->Layout()->FindTrunkSet(MakePairKey(1, 2));
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->Counts().total, 10);

    GraphicalViewRig::Press(view, {300, 100});
    GraphicalViewRig::Move(view, {300, 130});
    GraphicalViewRig::Move(view, {310, 160});
    GraphicalViewRig::Release(view, {310, 160});
    EXPECT_EQ(view->Layout()->FindIntercom(2)->GetRect().Centre(), (GraphicPoint{310, 160}));
    EXPECT_EQ(set->GetRect(), (GraphicRect{100, 100, 310, 160}));

    ASSERT_TRUE(frame->RouteCommand(cmd::kLayoutSave));
    EXPECT_EQ(frame->windowTitle(), "Graphical Trunk Usage - east");
    const std::string file = FileBytes("../views/east.vlv");
    EXPECT_EQ(file, ArchiveOf(*view->Layout()));
    CGraphicLayout read;
    ASSERT_EQ(LoadLayoutFile(read, "../views", "east").status, LayoutLoadStatus::Loaded);
    EXPECT_EQ(ArchiveOf(read), file);
    ASSERT_NE(read.FindTrunkSet(MakePairKey(1, 2)), nullptr);
    EXPECT_EQ(read.FindTrunkSet(MakePairKey(1, 2))->FirstEnd(), read.FindIntercom(1));
    EXPECT_EQ(read.FindIntercom(2)->GetRect().Centre(), (GraphicPoint{310, 160}));
}

TEST_F(GraphicalViewEdit, UndoReadsTheFileAgainAndKeepsTheMark) {
    OpenThree();
    ASSERT_TRUE(frame->RouteCommand(cmd::kLayoutSave));
    GraphicalViewRig::RightClick(view, {100, 100}, CVorlinScrollView::kHideIntercom);
    EXPECT_FALSE(view->Layout()->FindIntercom(1)->VisibleFlag());
    EXPECT_TRUE(frame->windowTitle().endsWith(" *"));
    ASSERT_TRUE(frame->RouteCommand(cmd::kEditUndo));
    EXPECT_TRUE(view->Layout()->FindIntercom(1)->VisibleFlag());
    EXPECT_EQ(frame->windowTitle(), "Graphical Trunk Usage *");

    // After a Save, a hidden intercom has gone and comes back as a new box where asked.
    GraphicalViewRig::RightClick(view, {100, 100}, CVorlinScrollView::kHideIntercom);
    ASSERT_TRUE(frame->RouteCommand(cmd::kLayoutSave));
    EXPECT_EQ(view->Layout()->FindIntercom(1), nullptr);
    EXPECT_EQ(view->Layout()->FindTrunkSet(MakePairKey(1, 2)), nullptr);
    const auto items = GraphicalViewRig::RightClick(view, {500, 300}, 33001);
    EXPECT_FALSE(GraphicalViewRig::HasItem(items, CVorlinScrollView::kShowHiddenIntercoms));
    ASSERT_NE(view->Layout()->FindIntercom(1), nullptr);
    EXPECT_EQ(view->Layout()->FindIntercom(1)->GetRect().Centre(), (GraphicPoint{500, 300}));
}

TEST_F(GraphicalViewEdit, WithoutAllowChangesOnlyTheViewsAndAllowChangesAreOffered) {
    OpenThree();
    ASSERT_TRUE(frame->RouteCommand(cmd::kAllowChanges));
    EXPECT_FALSE(view->AllowsChanges());
    EXPECT_FALSE(frame->RouteCommandUpdate(cmd::kEditUndo)->enabled);
    EXPECT_FALSE(frame->RouteCommandUpdate(cmd::kAllowChanges)->checked);
    auto items = GraphicalViewRig::RightClick(view, {100, 100});
    std::vector<int> ids;
    for (const auto& item : items) {
        ids.push_back(item.id);
    }
    EXPECT_EQ(ids,
              (std::vector<int>{CVorlinScrollView::kViewTrunks, CVorlinScrollView::kViewRequests,
                                CVorlinScrollView::kViewSummary}));
    items = GraphicalViewRig::RightClick(view, {200, 97});
    EXPECT_EQ(items.size(), 2u) << "the two views of the pair";
    // A press still selects, but nothing drags.
    GraphicalViewRig::Press(view, {100, 250}, Qt::ControlModifier);
    GraphicalViewRig::Move(view, {150, 250});
    GraphicalViewRig::Release(view, {150, 250});
    EXPECT_EQ(Selected(), (std::set<int>{3, -3})) << "Ctrl is not passed on";
    EXPECT_EQ(TopLeft(3), (GraphicPoint{84, 234}));

    items = GraphicalViewRig::RightClick(view, {500, 400}, cmd::kAllowChanges);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "&Allow Changes");
    EXPECT_TRUE(view->AllowsChanges());
    EXPECT_TRUE(frame->RouteCommandUpdate(cmd::kAllowChanges)->checked);

    rig.supervision.settings.Modify([](AppSettings& s) { s.AllowEditOperations = false; });
    EXPECT_FALSE(frame->RouteCommandUpdate(cmd::kLayoutSave)->enabled);
    EXPECT_FALSE(frame->RouteCommandUpdate(cmd::kAllowChanges)->checked);
    EXPECT_TRUE(GraphicalViewRig::RightClick(view, {500, 400}).empty()) << "no background menu";
}

TEST_F(GraphicalViewEdit, ObjectsDeletedByAnotherViewAreNoLongerTheHitObject) {
    OpenThree();
    CChildFrame* second = nullptr;
    views.OpenView(0, &second);
    GraphicalViewRig::Click(view, {100, 100});
    GraphicalViewRig::Press(view, {100, 100});
    // The other view reads the layout again from its file, which holds no intercom yet.
    ASSERT_TRUE(second->RouteCommand(cmd::kEditUndo));
    EXPECT_TRUE(view->Layout()->Intercoms().IsEmpty());
    // A Ctrl release on the object that was selected at the press would take it out.
    GraphicalViewRig::Release(view, {100, 100}, Qt::ControlModifier);
    EXPECT_TRUE(view->Layout()->Selection().IsEmpty());
}

TEST_F(GraphicalViewEdit, LeavingTheViewSavesByTheRules) {
    OpenThree();
    const int east = views.Layouts().AddName("east");
    std::ofstream("../views/broken.vlv") << "no layout";
    const int broken = views.Layouts().AddName("broken");
    const struct {
        const char* name;
        int layout;
        bool autoSave;
        int intercom;  // shown in the view
        bool written;
    } cases[] = {
        {"auto-save", east, true, 3, true},
        {"auto-save off", east, false, 4, false},
        {"a layout whose file could not be read", broken, true, 3, false},
    };
    for (const auto& c : cases) {
        rig.supervision.settings.Modify([&](AppSettings& s) { s.AutoSaveLayouts = c.autoSave; });
        const std::string path = "../views/" + views.Layouts().Name(c.layout) + ".vlv";
        CChildFrame* edited = nullptr;
        CVorlinScrollView* other = views.OpenView(c.layout, &edited);
        const std::string before = FileBytes(path);
        GraphicalViewRig::RightClick(other, {c.intercom * 100, 300}, 33000 + c.intercom);
        ASSERT_NE(other->Layout()->FindIntercom(c.intercom), nullptr) << c.name;
        EXPECT_TRUE(other->Layout()->IsModified()) << c.name;
        delete edited;
        EXPECT_EQ(FileBytes(path) != before, c.written) << c.name;
    }
    EXPECT_EQ(FileBytes("../views/broken.vlv"), "no layout");
    bool told = false;
    for (const auto& box : rig.supervision.ui.Boxes()) {
        told = told || box.text.find("\"broken\" could not be read") != std::string::npos;
    }
    EXPECT_TRUE(told);
}

}  // namespace
}  // namespace corvane
