#include "graphics/GraphicLayouts.h"
#include "graphics/LayoutNames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fakes/TempDir.h"
#include "graphics/IcomObj.h"
#include "graphics/LayoutFile.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

TEST(GraphicLayouts, NamesSlotsAndObjectsShareTheirIndex) {
    testing::TempDir dir;
    std::ofstream(dir.Path() / "east.vlv").put('x');
    CGraphicLayouts layouts(dir.Path().string());
    EXPECT_EQ(layouts.NameCount(), 1);
    layouts.EnumerateLayoutFiles();
    ASSERT_EQ(layouts.NameCount(), 2);
    EXPECT_EQ(layouts.Name(0), "default");
    EXPECT_EQ(layouts.Name(1), "east");
    EXPECT_EQ(layouts.Name(7), "");
    EXPECT_EQ(layouts.FindFreeLayoutName(), 0);
    EXPECT_EQ(layouts.AddName("west"), 2);
    layouts.SetName(1, "");
    EXPECT_EQ(layouts.FindFreeLayoutName(), 1);
    // No object for an empty name or outside the names; one made once for the others.
    EXPECT_EQ(layouts.GetGraphicLayout(1), nullptr);
    EXPECT_EQ(layouts.GetGraphicLayout(3), nullptr);
    EXPECT_EQ(layouts.FindGraphicLayout(2), nullptr);
    CGraphicLayout* west = layouts.GetGraphicLayout(2);
    ASSERT_NE(west, nullptr);
    EXPECT_TRUE(west->NeedsLoading());
    EXPECT_EQ(layouts.GetGraphicLayout(2), west);
    layouts.Clear();
    EXPECT_EQ(layouts.NameCount(), 1);
    EXPECT_EQ(layouts.FindGraphicLayout(0), nullptr);
}

TEST(GraphicLayouts, NoLayoutTakesAnIndexBeyondTheLargestAViewIdCarries) {
    // Two files more than there are indices for ("default" has index 0).
    testing::TempDir dir;
    constexpr int kFiles = CGraphicLayouts::kMaxLayoutIndex + 2;
    for (int i = 0; i < kFiles; ++i) {
        char name[16];
        std::snprintf(name, sizeof(name), "l%05d.vlv", i);
        std::ofstream(dir.Path() / name).put('x');
    }
    CGraphicLayouts layouts(dir.Path().string());
    EXPECT_EQ(layouts.EnumerateLayoutFiles(), 2u);
    ASSERT_EQ(layouts.NameCount(), CGraphicLayouts::kMaxLayoutIndex + 1);
    EXPECT_EQ(layouts.Name(CGraphicLayouts::kMaxLayoutIndex), "l16381");
    EXPECT_EQ(layouts.GetGraphicLayout(CGraphicLayouts::kMaxLayoutIndex + 1), nullptr);

    EXPECT_FALSE(layouts.HasRoomForLayout());
    EXPECT_EQ(layouts.AddName("more"), -1);
    EXPECT_EQ(AddSavedLayout(layouts), std::nullopt);
    EXPECT_EQ(layouts.NameCount(), CGraphicLayouts::kMaxLayoutIndex + 1);
    // A deleted layout's slot is still there for a new one.
    std::string error;
    ASSERT_TRUE(DeleteSavedLayout(layouts, 5, error)) << error;
    EXPECT_EQ(AddSavedLayout(layouts), 5);
    EXPECT_EQ(layouts.Name(5), "view1");
}

TEST(GraphicLayouts, ChangedLayoutsAreSavedByName) {
    testing::TempDir dir;
    CGraphicLayouts layouts(dir.Path().string());
    const int west = layouts.AddName("west");
    layouts.GetGraphicLayout(0);
    std::string opening;
    ASSERT_EQ(layouts.LoadGraphicalLayout(west, opening), CGraphicLayouts::Opened::Created);
    CGraphicLayout* layout = layouts.GetGraphicLayout(west);
    layout->AddIntercom(3, {40, 40}, "M003");
    layout->SetModified(true);
    EXPECT_EQ(layouts.ChangedLayouts(), std::vector<std::string>{"west"});
    EXPECT_TRUE(layouts.SaveLayout("west"));
    EXPECT_FALSE(layout->IsModified());
    EXPECT_TRUE(layouts.ChangedLayouts().empty());
    CGraphicLayout read;
    EXPECT_EQ(LoadLayoutFile(read, dir.Path().string(), "west").status, LayoutLoadStatus::Loaded);
    EXPECT_NE(read.FindIntercom(3), nullptr);
    EXPECT_FALSE(layouts.SaveLayout("north"));
    std::string error;
    EXPECT_FALSE(layouts.SaveGraphicalLayout(west, 9, error));
    EXPECT_FALSE(error.empty());
}

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(GraphicLayouts, OpeningALayoutWithoutAFileWritesItEmpty) {
    testing::TempDir dir;
    CGraphicLayouts layouts(dir.Path().string());
    std::string error;
    EXPECT_EQ(layouts.LoadGraphicalLayout(0, error), CGraphicLayouts::Opened::Created) << error;
    EXPECT_EQ(fs::file_size(dir.Path() / "default.vlv"), 24u);
    EXPECT_FALSE(layouts.GetGraphicLayout(0)->NeedsLoading());
    layouts.GetGraphicLayout(0)->AddIntercom(1, {0, 0}, "a");
    EXPECT_EQ(layouts.LoadGraphicalLayout(0, error), CGraphicLayouts::Opened::Ready);
    EXPECT_EQ(layouts.GetGraphicLayout(0)->Intercoms().GetCount(), 1u) << "held already";
    EXPECT_EQ(layouts.LoadGraphicalLayout(5, error), CGraphicLayouts::Opened::Failed);
}

TEST(GraphicLayouts, ALayoutWhoseFileCouldNotBeReadIsNeverSavedByItself) {
    testing::TempDir dir;
    std::ofstream(dir.Path() / "east.vlv") << "not a layout";
    CGraphicLayouts layouts(dir.Path().string());
    layouts.EnumerateLayoutFiles();
    std::string error;
    ASSERT_EQ(layouts.LoadGraphicalLayout(1, error), CGraphicLayouts::Opened::Failed);
    EXPECT_FALSE(error.empty());
    CGraphicLayout* east = layouts.GetGraphicLayout(1);
    east->AddIntercom(1, {40, 40}, "a");
    east->SetModified(true);

    EXPECT_FALSE(layouts.AutoSaveLayout(1, 1, error));
    EXPECT_FALSE(layouts.SaveLayout("east"));
    EXPECT_TRUE(layouts.ChangedLayouts().empty());
    EXPECT_EQ(FileBytes(dir.Path() / "east.vlv"), "not a layout");

    // The operator's own Save writes it, and from then on it is what its file holds.
    EXPECT_TRUE(layouts.SaveGraphicalLayout(1, 1, error)) << error;
    EXPECT_FALSE(east->NeedsLoading());
    EXPECT_TRUE(layouts.AutoSaveLayout(1, 1, error)) << error;
}

TEST(GraphicLayouts, SaveAsLeavesTheOldLayoutToBeReadAgainFromItsFile) {
    testing::TempDir dir;
    CGraphicLayouts layouts(dir.Path().string());
    const int east = layouts.AddName("east");
    std::string error;
    ASSERT_EQ(layouts.LoadGraphicalLayout(east, error), CGraphicLayouts::Opened::Created);
    const std::string saved = FileBytes(dir.Path() / "east.vlv");
    CGraphicLayout* layout = layouts.GetGraphicLayout(east);
    layout->AddIntercom(1, {40, 40}, "a");
    layout->SetModified(true);

    const int copy = layouts.AddName("copy");
    ASSERT_TRUE(layouts.AutoSaveLayout(east, copy, error)) << error;
    EXPECT_GT(fs::file_size(dir.Path() / "copy.vlv"), 24u);
    EXPECT_TRUE(layout->NeedsLoading());
    // A later save of the old layout by itself leaves its file as it was.
    EXPECT_FALSE(layouts.AutoSaveLayout(east, east, error));
    EXPECT_EQ(FileBytes(dir.Path() / "east.vlv"), saved);
    ASSERT_EQ(layouts.LoadGraphicalLayout(east, error), CGraphicLayouts::Opened::Ready);
    EXPECT_TRUE(layout->Intercoms().IsEmpty()) << "read again";
}

TEST(GraphicLayouts, DeletingObjectsGivesTheLayoutANewEpoch) {
    CGraphicLayout layout;
    CGraphicLayout other;
    EXPECT_NE(layout.ObjectsEpoch(), other.ObjectsEpoch());
    uint64_t epoch = layout.ObjectsEpoch();
    layout.AddIntercom(1, {0, 0}, "a").Show(false);
    EXPECT_EQ(layout.ObjectsEpoch(), epoch) << "adding deletes nothing";
    layout.RemoveHiddenIntercoms();
    EXPECT_NE(layout.ObjectsEpoch(), epoch);
    epoch = layout.ObjectsEpoch();
    layout.RemoveHiddenIntercoms();
    EXPECT_EQ(layout.ObjectsEpoch(), epoch) << "nothing hidden, nothing deleted";
    layout.DeleteAllObjects();
    EXPECT_NE(layout.ObjectsEpoch(), epoch);
}

TEST(GraphicLayouts, RenamingKeepsToTheNameRules) {
    testing::TempDir dir;
    std::ofstream(dir.Path() / "east.vlv") << "east bytes";
    std::ofstream(dir.Path() / "west.vlv") << "west bytes";
    CGraphicLayouts layouts(dir.Path().string());
    layouts.EnumerateLayoutFiles();
    ASSERT_EQ(layouts.Name(1), "east");
    const struct {
        std::string name;
        const char* why;
    } refused[] = {
        {"", "empty"},
        {"  \t ", "empty after trimming"},
        {"a/b", "slash"},
        {"a\\b", "backslash"},
        {std::string("a\0b", 3), "NUL"},
        {"a\tb", "control character"},
        {"a\x7f", "delete character"},
        {".", "dot"},
        {"..", "dot dot"},
        {".hidden", "dot name, never listed"},
        {std::string(300, 'x'), "too long for a file name"},
        {"default", "the default layout"},
        {" DeFault ", "the default layout in other letters"},
        {"west", "an existing layout"},
        {"WEST", "an existing layout in other letters"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(RenameSavedLayout(layouts, 1, r.name).outcome, LayoutRename::Refused) << r.why;
        EXPECT_EQ(layouts.Name(1), "east") << r.why;
    }
    EXPECT_EQ(FileBytes(dir.Path() / "east.vlv"), "east bytes");
    EXPECT_EQ(FileBytes(dir.Path() / "west.vlv"), "west bytes");

    EXPECT_EQ(RenameSavedLayout(layouts, 0, "start").outcome, LayoutRename::Refused)
        << "the default layout keeps its name";
    EXPECT_EQ(RenameSavedLayout(layouts, 1, "  North Side ").outcome, LayoutRename::Renamed);
    EXPECT_EQ(layouts.Name(1), "North Side");
    EXPECT_FALSE(fs::exists(dir.Path() / "east.vlv"));
    EXPECT_EQ(FileBytes(dir.Path() / "North Side.vlv"), "east bytes");
    EXPECT_EQ(RenameSavedLayout(layouts, 1, "north side").outcome, LayoutRename::Renamed)
        << "its own name in other letters";
    EXPECT_EQ(FileBytes(dir.Path() / "north side.vlv"), "east bytes");
}

TEST(GraphicLayouts, ARenameNeverReplacesAFileItDoesNotList) {
    testing::TempDir dir;
    std::ofstream(dir.Path() / "east.vlv") << "east bytes";
    std::ofstream(dir.Path() / "kept.vlv") << "kept bytes";
    fs::permissions(dir.Path() / "kept.vlv", fs::perms::owner_read);  // read-only: not listed
    CGraphicLayouts layouts(dir.Path().string());
    layouts.EnumerateLayoutFiles();
    ASSERT_EQ(layouts.NameCount(), 2);
    EXPECT_EQ(RenameSavedLayout(layouts, 1, "kept").outcome, LayoutRename::Failed);
    EXPECT_EQ(layouts.Name(1), "east");
    EXPECT_EQ(FileBytes(dir.Path() / "kept.vlv"), "kept bytes");
    EXPECT_EQ(FileBytes(dir.Path() / "east.vlv"), "east bytes");
    // A layout whose file has gone cannot be renamed either.
    fs::remove(dir.Path() / "east.vlv");
    EXPECT_EQ(RenameSavedLayout(layouts, 1, "other").outcome, LayoutRename::Failed);
    EXPECT_EQ(layouts.Name(1), "east");
}

}  // namespace
}  // namespace corvane
