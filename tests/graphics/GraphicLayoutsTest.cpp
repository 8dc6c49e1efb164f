#include "graphics/GraphicLayouts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/TempDir.h"
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

TEST(GraphicLayouts, ChangedLayoutsAreSavedByName) {
    testing::TempDir dir;
    CGraphicLayouts layouts(dir.Path().string());
    const int west = layouts.AddName("west");
    layouts.GetGraphicLayout(0);
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

}  // namespace
}  // namespace corvane
