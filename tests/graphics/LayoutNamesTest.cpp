#include "graphics/LayoutNames.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fakes/TempDir.h"
#include "graphics/GraphicLayouts.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A layout folder with "east" and "west" saved, and "north" a file the listing leaves out
// (read-only), so that only the file system knows the name is taken.
class LayoutNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir.Path() / "east.vlv", "east bytes");
        WriteFile(dir.Path() / "west.vlv", std::string("west\0bytes", 10));
        WriteFile(dir.Path() / "north.vlv", "north bytes");
        fs::permissions(dir.Path() / "north.vlv", fs::perms::owner_read);
        layouts.EnumerateLayoutFiles();
        ASSERT_EQ(layouts.NameCount(), 3);
        ASSERT_EQ(layouts.Name(1), "east");
        ASSERT_EQ(layouts.Name(2), "west");
    }
    fs::path File(const std::string& name) const { return dir.Path() / (name + ".vlv"); }

    testing::TempDir dir;
    CGraphicLayouts layouts{dir.Path().string()};
};

TEST_F(LayoutNamesTest, TypedNamesAreTrimmedAndChecked) {
    EXPECT_EQ(TrimLayoutName("  south \t\r\n"), "south");
    EXPECT_EQ(TrimLayoutName(" \t "), "");
    EXPECT_EQ(TrimLayoutName("a b"), "a b");
    const struct {
        std::string name;
        LayoutNameProblem problem;
    } cases[] = {
        {"south", LayoutNameProblem::None},
        {"South West 2", LayoutNameProblem::None},
        {"north", LayoutNameProblem::None},  // not a layout: the rename itself refuses the file
        {"", LayoutNameProblem::Empty},
        {"a/b", LayoutNameProblem::BadName},
        {"..\\east", LayoutNameProblem::BadName},
        {std::string("nul\0x", 5), LayoutNameProblem::BadName},
        {"tab\tin", LayoutNameProblem::BadName},
        {"bell\a", LayoutNameProblem::BadName},
        {"del\x7f", LayoutNameProblem::BadName},
        {"c1\xc2\x85", LayoutNameProblem::BadName},
        {".", LayoutNameProblem::BadName},
        {"..", LayoutNameProblem::BadName},
        {".hidden", LayoutNameProblem::BadName},  // never listed again
        {std::string(251, 'x'), LayoutNameProblem::None},
        {std::string(252, 'x'), LayoutNameProblem::BadName},  // with ".vlv" beyond a file name
        {"default", LayoutNameProblem::Clash},
        {"Default", LayoutNameProblem::Clash},
        {"WEST", LayoutNameProblem::Clash},
        {"caf\xc3\xa9", LayoutNameProblem::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckLayoutName(layouts, c.name, 1), c.problem) << c.name;
    }
    // A layout keeps its own name, in any case.
    EXPECT_EQ(CheckLayoutName(layouts, "EAST", 1), LayoutNameProblem::None);
    EXPECT_EQ(CheckLayoutName(layouts, "EAST", -1), LayoutNameProblem::Clash);
}

TEST_F(LayoutNamesTest, ARenameMovesTheFileAndStoresTheName) {
    const LayoutRenameResult result = RenameSavedLayout(layouts, 1, "  East Side ");
    EXPECT_EQ(result.outcome, LayoutRename::Renamed);
    EXPECT_EQ(layouts.Name(1), "East Side");
    EXPECT_FALSE(fs::exists(File("east")));
    EXPECT_EQ(ReadFile(File("East Side")), "east bytes");
    // Only the case changes: still a rename of the file.
    EXPECT_EQ(RenameSavedLayout(layouts, 1, "east side").outcome, LayoutRename::Renamed);
    EXPECT_EQ(ReadFile(File("east side")), "east bytes");
    EXPECT_EQ(RenameSavedLayout(layouts, 1, "east side ").outcome, LayoutRename::Unchanged);
}

TEST_F(LayoutNamesTest, ARefusedRenameChangesNoFileAndNoName) {
    const std::string west = ReadFile(File("west"));
    const struct {
        int index;
        std::string typed;
        LayoutRename outcome;
        LayoutNameProblem problem;
    } cases[] = {
        {1, "west", LayoutRename::Refused, LayoutNameProblem::Clash},
        {1, "West", LayoutRename::Refused, LayoutNameProblem::Clash},
        {1, "default", LayoutRename::Refused, LayoutNameProblem::Clash},
        {1, "   ", LayoutRename::Refused, LayoutNameProblem::Empty},
        {1, "../west", LayoutRename::Refused, LayoutNameProblem::BadName},
        {1, "..", LayoutRename::Refused, LayoutNameProblem::BadName},
        // The file of another name is there though no layout has the name: never replaced.
        {1, "north", LayoutRename::Failed, LayoutNameProblem::None},
        // The default layout and empty slots have no name to change.
        {0, "other", LayoutRename::Refused, LayoutNameProblem::None},
        {3, "other", LayoutRename::Refused, LayoutNameProblem::None},
    };
    for (const auto& c : cases) {
        const LayoutRenameResult result = RenameSavedLayout(layouts, c.index, c.typed);
        EXPECT_EQ(result.outcome, c.outcome) << c.typed;
        EXPECT_EQ(result.problem, c.problem) << c.typed;
        EXPECT_EQ(layouts.Name(0), "default");
        EXPECT_EQ(layouts.Name(1), "east");
        EXPECT_EQ(ReadFile(File("east")), "east bytes") << c.typed;
        EXPECT_EQ(ReadFile(File("west")), west) << c.typed;
        EXPECT_EQ(ReadFile(File("north")), "north bytes") << c.typed;
    }
    EXPECT_FALSE(fs::exists(File("other")));
    // Without its file a layout cannot be renamed.
    fs::remove(File("east"));
    const LayoutRenameResult missing = RenameSavedLayout(layouts, 1, "south");
    EXPECT_EQ(missing.outcome, LayoutRename::Failed);
    EXPECT_NE(missing.error.find("east.vlv"), std::string::npos);
    EXPECT_EQ(layouts.Name(1), "east");
}

TEST_F(LayoutNamesTest, RenamingAFileNeverReplacesAnother) {
    std::string error;
    EXPECT_FALSE(RenameLayoutFile(dir.Path().string(), "east", "west", error));
    EXPECT_NE(error.find("west.vlv"), std::string::npos);
    EXPECT_EQ(ReadFile(File("east")), "east bytes");
    EXPECT_EQ(ReadFile(File("west")), std::string("west\0bytes", 10));
    EXPECT_TRUE(RenameLayoutFile(dir.Path().string(), "east", "south", error));
    EXPECT_EQ(ReadFile(File("south")), "east bytes");
}

TEST_F(LayoutNamesTest, NewLayoutsTakeTheLowestFreeViewNumberAndTheFirstEmptySlot) {
    WriteFile(File("view1"), "taken");
    fs::create_directory(File("view3"));
    layouts.AddName("VIEW2");
    EXPECT_EQ(NewLayoutName(layouts), "view4");
    EXPECT_EQ(AddSavedLayout(layouts), 4);  // no empty slot: at the end
    EXPECT_EQ(layouts.Name(4), "view4");
    EXPECT_FALSE(fs::exists(File("view4")));  // the view that opens it writes it

    // A deleted layout's slot is the next new one's, without what the old one held.
    layouts.GetGraphicLayout(1)->AddIntercom(3, {40, 40}, "M003");
    std::string error;
    ASSERT_TRUE(DeleteSavedLayout(layouts, 1, error)) << error;
    EXPECT_EQ(layouts.Name(1), "");
    EXPECT_FALSE(fs::exists(File("east")));
    EXPECT_EQ(AddSavedLayout(layouts), 1);
    EXPECT_EQ(layouts.Name(1), "view5");
    ASSERT_NE(layouts.GetGraphicLayout(1), nullptr);
    EXPECT_EQ(layouts.GetGraphicLayout(1)->Intercoms().GetCount(), 0);
}

TEST_F(LayoutNamesTest, NoNewLayoutWhenEveryViewNumberIsTaken) {
    for (int i = 1; i <= 999; ++i) {
        layouts.AddName("view" + std::to_string(i));
    }
    const int count = layouts.NameCount();
    EXPECT_EQ(NewLayoutName(layouts), "");
    EXPECT_EQ(AddSavedLayout(layouts), std::nullopt);
    EXPECT_EQ(layouts.NameCount(), count);
}

TEST_F(LayoutNamesTest, DeleteNeedsASavedLayoutWithItsFile) {
    std::string error;
    EXPECT_FALSE(DeleteSavedLayout(layouts, 0, error));
    EXPECT_FALSE(DeleteSavedLayout(layouts, 3, error));
    fs::remove(File("west"));
    EXPECT_FALSE(DeleteSavedLayout(layouts, 2, error));
    EXPECT_NE(error.find("west.vlv"), std::string::npos);
    EXPECT_EQ(layouts.Name(2), "west");
    EXPECT_TRUE(fs::exists(File("east")));
}

}  // namespace
}  // namespace corvane
