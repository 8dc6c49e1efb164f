#include "ui/views/AllTreeView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSplitter>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "ViewsRig.h"
#include "document/VorlinDoc.h"
#include "graphics/GraphicLayouts.h"
#include "graphics/LayoutFile.h"
#include "platform/ProfileStore.h"
#include "presentation/NavigationItems.h"
#include "ui/views/VorlinFormView.h"
#include "ui/views/VorlinListView.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::ViewsRig;

std::string Part(int value) {
    return value == kViewIdAll ? "all" : std::to_string(value);
}

// One line an item: its text, image and view id as kind:index:sub, "*" for the selection.
void DumpItem(const QTreeWidgetItem* item, int depth, const QTreeWidgetItem* current,
              std::string& out) {
    const ViewIdParts id = SplitViewId(CAllTreeView::IdOf(item));
    out += std::string(static_cast<size_t>(depth) * 2, ' ') + item->text(0).toStdString() + " [" +
           std::to_string(item->data(0, CAllTreeView::kImageRole).toInt()) + "] " +
           std::to_string(ViewKindNumber(id.kind)) + ":" + Part(id.index) + ":" + Part(id.sub) +
           (item == current ? " *" : "") + "\n";
    for (int i = 0; i < item->childCount(); ++i) {
        DumpItem(item->child(i), depth + 1, current, out);
    }
}

std::string Dump(const CAllTreeView& tree) {
    std::string out;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        DumpItem(tree.topLevelItem(i), 0, tree.currentItem(), out);
    }
    return out;
}

// The texts of an item's children.
std::vector<std::string> Children(const QTreeWidgetItem* item) {
    std::vector<std::string> texts;
    for (int i = 0; item != nullptr && i < item->childCount(); ++i) {
        texts.push_back(item->child(i)->text(0).toStdString());
    }
    return texts;
}

CAllTreeView* TreeOf(const CChildFrame* frame) {
    return dynamic_cast<CAllTreeView*>(frame->TreeView());
}

QTreeWidgetItem* Item(const CAllTreeView* tree, ViewKind kind, int index = kViewIdAll,
                      int sub = kViewIdAll) {
    return tree->FindItem(tree->RootItem(), MakeViewId(kind, index, sub));
}

// A press and release on the item's icon.
void Click(CAllTreeView* tree, QTreeWidgetItem* item, Qt::MouseButton button) {
    tree->scrollToItem(item);
    const QPoint pos = tree->visualItemRect(item).topLeft() + QPoint(10, 6);
    const QPoint global = tree->viewport()->mapToGlobal(pos);
    QMouseEvent press(QEvent::MouseButtonPress, pos, global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &release);
}

void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Four matrices: three named out of order (names have the alpha size, four characters), the
// fourth without a name.
testing::FakeNetwork NamedNetwork() {
    testing::FakeNetwork network = testing::BuildFakeNetwork(4, 20);
    network.matrices[0].name = "Zeta";
    network.matrices[1].name = "echo";
    network.matrices[2].name = "Beta";
    network.matrices[3].name = "";
    return network;
}

// The layout folder of the rig with these files in it, listed again.
// Layout files of one intercom each, its caption telling the files apart; a frame switched to
// one of them opens it without a word.
void SaveLayoutFiles(ViewsRig& rig, const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [name, tag] : files) {
        CGraphicLayout layout;
        layout.AddIntercom(1, {40, 40}, std::string(tag.c_str()));
        std::string error;
        EXPECT_TRUE(SaveLayoutFile(layout, rig.layouts.Directory(), name, error)) << error;
    }
    rig.layouts.EnumerateLayoutFiles();
}

TEST(AllTreeView, ListsTheDatabasesIntercomsTheViewsAndTheLayoutsWithAllRequestsSelected) {
    ViewsRig rig(NamedNetwork());
    SaveLayoutFiles(rig, {{"beta", "b"}, {"Gamma", "g"}, {"alpha", "a"}});
    CChildFrame* frame = rig.OpenFrame(ViewKind::Requests);
    CAllTreeView* tree = TreeOf(frame);
    ASSERT_NE(tree, nullptr);
    std::string intercoms;
    for (const auto& [name, number] : {std::pair{"Beta", 3}, {"echo", 2}, {"Zeta", 1}}) {
        const std::string n = std::to_string(number);
        intercoms += "    " + std::string(name) + " [7] 7:" + n + ":all\n" +  //
                     "      Alphas [2] 4:" + n + ":all\n";
        for (const auto& [code, type] : {std::pair{"PP", 0},
                                         {"PL", 1},
                                         {"IF", 2},
                                         {"SL", 3},
                                         {"RY", 4},
                                         {"IS", 5},
                                         {"UR", 6},
                                         {"IL", 8}}) {
            intercoms +=
                "        " + std::string(code) + " [9] 4:" + n + ":" + std::to_string(type) + "\n";
        }
        intercoms += "      Requests [3] 3:" + n + ":all\n" + "      Trunks [4] 2:" + n + ":all\n";
    }
    const std::string alarms = rig.doc->UnseenAlarms() ? "5" : "6";
    EXPECT_EQ(Dump(*tree),
              "Quillex [7] 7:all:all\n"
              "  Intercoms [1] 1:all:all\n" +
                  intercoms +
                  "  All Alphas [2] 4:all:all\n"
                  "  All Requests [3] 3:all:all *\n"
                  "  All Trunks [4] 2:all:all\n"
                  "  Trunk Conflicts [0] 6:all:all\n"
                  "Alarms [" +
                  alarms +
                  "] 5:all:all\n"
                  "Graphical Usage [8] 8:0:all\n"
                  "  alpha [10] 8:2:all\n"
                  "  beta [10] 8:3:all\n"
                  "  Gamma [10] 8:1:all\n");
    EXPECT_TRUE(tree->currentItem()->font(0).bold());
    EXPECT_EQ(frame->Kind(), ViewKind::Requests);
    EXPECT_GE(tree->visualItemRect(tree->RootItem()).height(), CAllTreeView::kItemHeight);

    // Nameless intercoms appear only when the setting asks for them, under the model's name.
    rig.supervision.settings.Modify([](AppSettings& s) { s.ShowNamelessIntercoms = true; });
    CAllTreeView* second = TreeOf(rig.OpenFrame(ViewKind::Requests));
    EXPECT_EQ(Children(second->IntercomsItem()),
              (std::vector<std::string>{"Beta", "echo", "MX04", "Zeta"}));
}

TEST(AllTreeView, SelectingAnItemSwitchesTheFrameWithTheItemsSelectors) {
    ViewsRig rig(NamedNetwork());
    CChildFrame* frame = rig.OpenFrame(ViewKind::Requests);
    CAllTreeView* tree = TreeOf(frame);
    std::vector<ViewKind> kinds;
    QObject::connect(frame, &CChildFrame::KindChanged,
                     [&](ViewKind kind) { kinds.push_back(kind); });
    const struct {
        ViewKind kind;
        int index;
        int sub;
    } cases[] = {
        {ViewKind::Trunks, kViewIdAll, kViewIdAll},
        {ViewKind::TrunkSummary, 2, kViewIdAll},  // an intercom: its trunk summary
        {ViewKind::Alphas, 2, 5},
        {ViewKind::Requests, 3, kViewIdAll},
        {ViewKind::Alarms, kViewIdAll, kViewIdAll},
        {ViewKind::TrunkConflicts, kViewIdAll, kViewIdAll},
        {ViewKind::GraphicalUsage, 0, kViewIdAll},
        {ViewKind::TrunkSummary, kViewIdAll, kViewIdAll},  // "Quillex"
        {ViewKind::Intercoms, kViewIdAll, kViewIdAll},
    };
    for (const auto& c : cases) {
        QTreeWidgetItem* item = Item(tree, c.kind, c.index, c.sub);
        ASSERT_NE(item, nullptr) << ViewKindNumber(c.kind);
        kinds.clear();
        tree->setCurrentItem(item);
        EXPECT_EQ(kinds, std::vector<ViewKind>{c.kind});
        EXPECT_EQ(frame->Kind(), c.kind);
        EXPECT_TRUE(item->font(0).bold());
    }
    // The intercom form took the item's selectors.
    ASSERT_NE(frame->FormView(), nullptr);
    const CVorlinFilterData* filter = frame->FormView()->GetFilterData();
    EXPECT_EQ(filter->Selector(1), kViewIdAll);
    EXPECT_EQ(filter->Selector(2), kViewIdAll);
    EXPECT_EQ(frame->windowTitle(), "Intercoms");
    EXPECT_FALSE(Item(tree, ViewKind::Trunks)->font(0).bold());

    // A filter handed to the frame moves the selection without switching again.
    CTrunkFilterData between;
    between.SetIntercom(2);
    between.SetOtherIntercom(3);
    kinds.clear();
    frame->SetViewKind(ViewKind::Trunks, &between);
    EXPECT_EQ(kinds, std::vector<ViewKind>{ViewKind::Trunks});
    EXPECT_EQ(tree->currentItem(), Item(tree, ViewKind::Trunks, 2));
    CAlphaFilterData alphas;
    alphas.SetIntercom(3);
    alphas.SetFunctionType(8);
    tree->SelectViewItem(ViewKind::Alphas, &alphas);
    EXPECT_EQ(tree->currentItem(), Item(tree, ViewKind::Alphas, 3, 8));
    EXPECT_EQ(frame->Kind(), ViewKind::Trunks);
    // Nothing to select: the selection stays.
    tree->SelectViewItem(ViewKind::Alarms, &between);
    EXPECT_EQ(tree->currentItem(), Item(tree, ViewKind::Alphas, 3, 8));
    // Without AutoSynchronizeTreeView the tree does not follow the frame.
    rig.supervision.settings.Modify([](AppSettings& s) { s.AutoSynchronizeTreeView = false; });
    tree->SelectViewItem(ViewKind::Trunks, &between);
    EXPECT_EQ(tree->currentItem(), Item(tree, ViewKind::Alphas, 3, 8));
}

TEST(AllTreeView, AClickOnTheSelectedItemReopensItsViewOnlyWhenTheFrameShowsAnother) {
    ViewsRig rig(NamedNetwork());
    CChildFrame* frame = rig.OpenFrame(ViewKind::Requests);
    CAllTreeView* tree = TreeOf(frame);
    QTreeWidgetItem* intercoms = tree->IntercomsItem();
    Click(tree, intercoms, Qt::LeftButton);
    ASSERT_EQ(frame->Kind(), ViewKind::Intercoms);
    const CVorlinFormView* form = frame->FormView();
    int switches = 0;
    QObject::connect(frame, &CChildFrame::KindChanged, [&](ViewKind) { ++switches; });
    Click(tree, intercoms, Qt::LeftButton);
    EXPECT_EQ(switches, 0);
    EXPECT_EQ(frame->FormView(), form);
    // A double click opens and closes it all the same.
    const bool expanded = intercoms->isExpanded();
    const QPoint pos = tree->visualItemRect(intercoms).topLeft() + QPoint(10, 6);
    QMouseEvent twice(QEvent::MouseButtonDblClick, pos, tree->viewport()->mapToGlobal(pos),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &twice);
    EXPECT_NE(intercoms->isExpanded(), expanded);

    // A list command took the frame elsewhere without a filter: the tree still shows the
    // intercoms selected, and a click brings them back.
    frame->SetViewKind(ViewKind::Trunks, nullptr);
    ASSERT_EQ(tree->currentItem(), intercoms);
    Click(tree, intercoms, Qt::LeftButton);
    EXPECT_EQ(frame->Kind(), ViewKind::Intercoms);

    // The graphical kind is never opened again that way.
    QTreeWidgetItem* graphical = tree->GraphicalUsageItem();
    Click(tree, graphical, Qt::LeftButton);
    ASSERT_EQ(frame->Kind(), ViewKind::GraphicalUsage);
    frame->SetViewKind(ViewKind::Alarms, nullptr);
    Click(tree, graphical, Qt::LeftButton);
    EXPECT_EQ(frame->Kind(), ViewKind::Alarms);
}

TEST(AllTreeView, ARightClickOpensTheItemsViewInANewFrame) {
    ViewsRig rig(NamedNetwork());
    std::vector<std::tuple<ViewKind, int, int>> opened;
    bool answer = true;
    rig.context->openFilteredView = [&](ViewKind kind, int s1, int s2) {
        opened.emplace_back(kind, s1, s2);
        return answer;
    };
    CChildFrame* frame = rig.OpenFrame(ViewKind::Requests);
    CAllTreeView* tree = TreeOf(frame);
    QTreeWidgetItem* selected = tree->currentItem();
    Click(tree, Item(tree, ViewKind::Alphas, 1, 2), Qt::RightButton);
    answer = false;
    Click(tree, tree->GraphicalUsageItem(), Qt::RightButton);
    EXPECT_EQ(opened, (std::vector<std::tuple<ViewKind, int, int>>{
                          {ViewKind::Alphas, 1, 2}, {ViewKind::GraphicalUsage, 0, kViewIdAll}}));
    EXPECT_EQ(tree->currentItem(), selected);
    EXPECT_EQ(frame->Kind(), ViewKind::Requests);
    // Beyond the label nothing opens.
    const QRect row = tree->visualItemRect(selected);
    const QPoint far(row.right() - 2, row.center().y());
    QMouseEvent press(QEvent::MouseButtonPress, far, tree->viewport()->mapToGlobal(far),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &press);
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(tree->HelpHitAt(far), kTreeHelpContext);
    EXPECT_EQ(tree->HelpHitAt(tree->visualItemRect(selected).topLeft() + QPoint(10, 6)),
              TreeItemHelpId(MakeViewId(ViewKind::Requests, kViewIdAll, kViewIdAll)));
}

class AllTreeViewLayouts : public ::testing::Test {
protected:
    void SetUp() override {
        SaveLayoutFiles(rig, {{"east", "east bytes"}, {"west", std::string("west\0bytes", 10)}});
        frame = rig.OpenFrame(ViewKind::Requests);
        other = rig.OpenFrame(ViewKind::Requests);
        tree = TreeOf(frame);
        otherTree = TreeOf(other);
    }
    fs::path File(const std::string& name) const {
        return fs::path(rig.layouts.Directory()) / (name + ".vlv");
    }
    void Select(int layout) { tree->setCurrentItem(Item(tree, ViewKind::GraphicalUsage, layout)); }
    std::vector<std::string> Layouts(const CAllTreeView* t) const {
        return Children(t->GraphicalUsageItem());
    }

    ViewsRig rig;
    CChildFrame* frame = nullptr;
    CChildFrame* other = nullptr;
    CAllTreeView* tree = nullptr;
    CAllTreeView* otherTree = nullptr;
};

TEST_F(AllTreeViewLayouts, InsertMakesTheNextViewLayoutAndEveryTreeListsIt) {
    Key(tree, Qt::Key_Insert);  // on "All Requests": no layout item, nothing
    EXPECT_EQ(Layouts(tree), (std::vector<std::string>{"east", "west"}));
    tree->setCurrentItem(tree->GraphicalUsageItem());
    Key(tree, Qt::Key_Insert);
    EXPECT_EQ(Layouts(tree), (std::vector<std::string>{"east", "view1", "west"}));
    EXPECT_EQ(Layouts(otherTree), Layouts(tree));
    EXPECT_EQ(rig.layouts.Name(3), "view1");
    EXPECT_EQ(tree->currentItem(), Item(tree, ViewKind::GraphicalUsage, 3));
    EXPECT_EQ(frame->Kind(), ViewKind::GraphicalUsage);
    EXPECT_EQ(other->Kind(), ViewKind::Requests);
    EXPECT_TRUE(frame->RouteCommand(cmd::kNewLayout));
    EXPECT_EQ(Layouts(otherTree), (std::vector<std::string>{"east", "view1", "view2", "west"}));
}

TEST_F(AllTreeViewLayouts, RenameFollowsTheNameRulesAndNeverReplacesAFile) {
    const std::string west = ReadFile(File("west"));
    const std::string eastBytes = ReadFile(File("east"));
    QTreeWidgetItem* east = Item(tree, ViewKind::GraphicalUsage, 1);
    for (const char* typed : {"West", "default", "a/b", "..", "  ", "tab\there"}) {
        tree->RenameSavedView(east, typed);
        EXPECT_EQ(east->text(0), "east") << typed;
        EXPECT_EQ(rig.layouts.Name(1), "east");
        EXPECT_EQ(ReadFile(File("east")), eastBytes);
        EXPECT_EQ(ReadFile(File("west")), west);
    }
    const auto renames = [&] {
        return std::count_if(rig.supervision.updates.begin(), rig.supervision.updates.end(),
                             [](ViewUpdateHint h) { return (h & hint::kLayoutRenamed) != 0; });
    };
    EXPECT_EQ(renames(), 0);

    tree->RenameSavedView(east, "  Zulu ");
    EXPECT_EQ(Layouts(tree), (std::vector<std::string>{"west", "Zulu"}));
    EXPECT_EQ(Layouts(otherTree), (std::vector<std::string>{"west", "Zulu"}));
    EXPECT_EQ(ReadFile(File("Zulu")), eastBytes);
    EXPECT_FALSE(fs::exists(File("east")));
    EXPECT_EQ(renames(), 1);

    // Through the label editor: F2, the text, Enter, in the active frame.
    rig.area.setActiveSubWindow(frame);
    tree->setFocus();
    QCoreApplication::processEvents();
    Select(2);
    Key(tree, Qt::Key_F2);
    auto* edit = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText("north");
    Key(edit, Qt::Key_Return);
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return rig.layouts.Name(2) == "north"; }));
    EXPECT_EQ(Layouts(otherTree), (std::vector<std::string>{"north", "Zulu"}));
    EXPECT_EQ(ReadFile(File("north")), west);
    EXPECT_TRUE(tree->currentItem()->font(0).bold());
    // Escape keeps the name.
    Key(tree, Qt::Key_F2);
    edit = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText("south");
    Key(edit, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.layouts.Name(2), "north");
    EXPECT_TRUE(tree->currentItem()->font(0).bold());
    // "Graphical Usage" is the default layout: no rename.
    tree->setCurrentItem(tree->GraphicalUsageItem());
    Key(tree, Qt::Key_F2);
    EXPECT_EQ(tree->viewport()->findChild<QLineEdit*>(), nullptr);
}

TEST_F(AllTreeViewLayouts, DeleteAsksThenRemovesTheFileTheNameAndTheItems) {
    Select(2);
    rig.layouts.GetGraphicLayout(2);
    rig.supervision.ui.QueueAnswer(answer::kNo);
    Key(tree, Qt::Key_Delete);
    ASSERT_EQ(rig.supervision.ui.Boxes().size(), 1u);
    EXPECT_EQ(rig.supervision.ui.Boxes()[0].text, "Are you sure you want to delete 'west'?");
    EXPECT_EQ(rig.supervision.ui.Boxes()[0].style, mb::kYesNo | mb::kIconExclamation);
    EXPECT_TRUE(fs::exists(File("west")));
    EXPECT_EQ(Layouts(tree), (std::vector<std::string>{"east", "west"}));

    rig.supervision.ui.QueueAnswer(answer::kYes);
    Key(tree, Qt::Key_Delete);
    EXPECT_FALSE(fs::exists(File("west")));
    EXPECT_EQ(rig.layouts.Name(2), "");
    EXPECT_EQ(rig.layouts.FindGraphicLayout(2), nullptr);
    EXPECT_EQ(Layouts(tree), std::vector<std::string>{"east"});
    EXPECT_EQ(Layouts(otherTree), std::vector<std::string>{"east"});
    // The frame shows the default layout in place of the deleted one.
    EXPECT_EQ(tree->currentItem(), tree->GraphicalUsageItem());
    EXPECT_EQ(frame->Kind(), ViewKind::GraphicalUsage);

    // The freed slot is the next new layout's.
    frame->RouteCommand(cmd::kNewLayout);
    EXPECT_EQ(rig.layouts.Name(2), "view1");
    // The frame shows the new layout, whose view wrote its missing file empty.
    EXPECT_EQ(frame->Kind(), ViewKind::GraphicalUsage);
    EXPECT_TRUE(fs::exists(File("view1")));

    // Without its file a layout stays; without the confirmation setting nobody is asked.
    rig.supervision.settings.Modify([](AppSettings& s) { s.ConfirmFileDeletes = false; });
    fs::remove(File("view1"));
    Key(tree, Qt::Key_Delete);
    EXPECT_EQ(rig.layouts.Name(2), "view1");
    Select(1);
    Key(tree, Qt::Key_Delete);
    EXPECT_FALSE(fs::exists(File("east")));
    EXPECT_EQ(Layouts(otherTree), std::vector<std::string>{"view1"});
    EXPECT_EQ(rig.supervision.ui.Boxes().size(), 2u);
    // Nothing for the default layout.
    tree->setCurrentItem(tree->GraphicalUsageItem());
    Key(tree, Qt::Key_Delete);
    EXPECT_NE(tree->GraphicalUsageItem(), nullptr);
}

TEST_F(AllTreeViewLayouts, LayoutCommandsAreOfferedByTheSettingsAndTheSelection) {
    const auto ui = [&](int id) {
        const auto state = frame->RouteCommandUpdate(id);
        return state.has_value() && state->enabled;
    };
    EXPECT_TRUE(ui(cmd::kNewLayout));
    EXPECT_FALSE(ui(cmd::kDeleteLayout));  // "All Requests"
    EXPECT_FALSE(ui(cmd::kRenameLayout));
    tree->setCurrentItem(tree->GraphicalUsageItem());
    EXPECT_FALSE(ui(cmd::kDeleteLayout));
    EXPECT_FALSE(ui(cmd::kRenameLayout));
    Select(1);
    EXPECT_TRUE(ui(cmd::kDeleteLayout));
    EXPECT_TRUE(ui(cmd::kRenameLayout));
    rig.supervision.settings.Modify([](AppSettings& s) { s.AllowFileOperations = false; });
    EXPECT_FALSE(ui(cmd::kNewLayout));
    EXPECT_FALSE(ui(cmd::kDeleteLayout));
    EXPECT_TRUE(ui(cmd::kRenameLayout));
    frame->RouteCommand(cmd::kNewLayout);
    EXPECT_EQ(rig.layouts.NameCount(), 3);
    rig.supervision.settings.Modify([](AppSettings& s) { s.AllowEditOperations = false; });
    EXPECT_FALSE(ui(cmd::kRenameLayout));
    frame->RouteCommand(cmd::kRenameLayout);
    EXPECT_EQ(tree->viewport()->findChild<QLineEdit*>(), nullptr);
}

TEST(AllTreeView, FollowsTheIntercomsAndTheAlarmIndicationOfTheDocument) {
    ViewsRig rig(NamedNetwork());
    CChildFrame* frame = rig.OpenFrame(ViewKind::Requests);
    CAllTreeView* tree = TreeOf(frame);
    EXPECT_EQ(Children(tree->IntercomsItem()), (std::vector<std::string>{"Beta", "echo", "Zeta"}));

    // The nameless matrix gets a name: a new item, sorted, with its children.
    rig.supervision.model.SetMatrixName(3, "Dock");
    ASSERT_TRUE(rig.supervision.TickUntil([&] { return Item(tree, ViewKind::TrunkSummary, 4); }));
    EXPECT_EQ(Children(tree->IntercomsItem()),
              (std::vector<std::string>{"Beta", "Dock", "echo", "Zeta"}));
    EXPECT_EQ(Children(Item(tree, ViewKind::TrunkSummary, 4)),
              (std::vector<std::string>{"Alphas", "Requests", "Trunks"}));
    // A new name sorts again; an intercom that loses its name leaves, and the frame that
    // shows one of its views stays as it is.
    tree->setCurrentItem(Item(tree, ViewKind::Trunks, 2));
    ASSERT_EQ(frame->Kind(), ViewKind::Trunks);
    rig.supervision.model.SetMatrixName(0, "Aard");
    rig.supervision.model.SetMatrixName(1, "");
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        return Children(tree->IntercomsItem()) == std::vector<std::string>{"Aard", "Beta", "Dock"};
    }));
    EXPECT_EQ(Children(Item(tree, ViewKind::TrunkSummary, 1)),
              (std::vector<std::string>{"Alphas", "Requests", "Trunks"}));
    EXPECT_EQ(frame->Kind(), ViewKind::Trunks);
    EXPECT_EQ(tree->currentItem(), tree->IntercomsItem());
    EXPECT_TRUE(tree->IntercomsItem()->font(0).bold());

    // Opening the alarms clears the indication; a lost matrix raises it again.
    frame->SetViewKind(ViewKind::Alarms, nullptr);
    EXPECT_EQ(tree->AlarmsItem()->data(0, CAllTreeView::kImageRole).toInt(), treeimage::kAlarms);
    rig.supervision.model.SetCommStatus(2, 0x05);
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        return tree->AlarmsItem()->data(0, CAllTreeView::kImageRole).toInt() ==
               treeimage::kUnseenAlarms;
    }));
}

TEST(AllTreeView, TheIntercomsItemComesWithTheFirstIntercom) {
    ViewsRig rig(testing::BuildFakeNetwork(0, 0));
    CAllTreeView* tree = TreeOf(rig.OpenFrame(ViewKind::Requests));
    EXPECT_EQ(tree->IntercomsItem(), nullptr);
    EXPECT_EQ(
        Children(tree->RootItem()),
        (std::vector<std::string>{"All Alphas", "All Requests", "All Trunks", "Trunk Conflicts"}));
    // A name the controller gives a matrix makes its row.
    ASSERT_TRUE(rig.doc->AddAlpha(5, 7, 0, "Solo", 0, true));
    ASSERT_TRUE(rig.supervision.TickUntil([&] { return tree->IntercomsItem() != nullptr; }));
    EXPECT_EQ(tree->RootItem()->child(0), tree->IntercomsItem());
    EXPECT_EQ(Children(tree->IntercomsItem()), std::vector<std::string>{"Solo"});
    EXPECT_NE(Item(tree, ViewKind::Trunks, 5), nullptr);
}

TEST(AllTreeView, TheWidthIsSavedOnceResizingPauses) {
    ViewsRig rig(NamedNetwork());
    CChildFrame* frame = rig.OpenFrame(ViewKind::Requests);
    CAllTreeView* tree = TreeOf(frame);
    auto* outer = qobject_cast<QSplitter*>(tree->parentWidget());
    ASSERT_NE(outer, nullptr);
    const QList<int> sizes = outer->sizes();
    outer->setSizes({233, sizes[0] + sizes[1] - 233});
    ASSERT_TRUE(testing::ProcessEventsUntil([&] {
        return rig.supervision.profile.GetProfileInt("Preferences", "TreeViewWidth", 0) ==
               tree->width();
    }));
    EXPECT_EQ(tree->width(), 233);
}

TEST(AllTreeView, ScreenshotOfAFrameWithTheTreeAndTheIntercomList) {
    ViewsRig rig(testing::BuildFakeNetwork(40, 400));
    SaveLayoutFiles(rig, {{"North Region", "n"}, {"Studio Core", "s"}, {"Overview", "o"}});
    CChildFrame* frame = rig.OpenFrame(ViewKind::Requests);
    CAllTreeView* tree = TreeOf(frame);
    frame->showMaximized();
    QCoreApplication::processEvents();
    tree->setCurrentItem(tree->IntercomsItem());
    tree->IntercomsItem()->setExpanded(true);
    tree->IntercomsItem()->child(2)->setExpanded(true);
    ASSERT_EQ(frame->Kind(), ViewKind::Intercoms);
    ASSERT_EQ(tree->IntercomsItem()->childCount(), 40);
    // A frame switched while it is shown gives the form its height and the list the rest.
    EXPECT_LE(frame->FormView()->height(), CChildFrame::kDefaultFormHeight);
    EXPECT_GT(frame->ListView()->height(), 2 * CChildFrame::kDefaultFormHeight);
    tree->scrollToTop();
    rig.Screenshot("view-tree.png");
}

}  // namespace
}  // namespace corvane
