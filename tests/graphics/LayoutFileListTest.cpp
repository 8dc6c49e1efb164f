#include "graphics/LayoutFileList.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "fakes/TempDir.h"

namespace corvane {
namespace {

void Touch(const std::string& path) {
    std::ofstream(path) << "x";
}

TEST(LayoutFileList, ListsWritableLayoutFilesAfterDefault) {
    testing::TempDir dir;
    for (const char* name : {"west.vlv", "East.vlv", "default.vlv", ".hidden.vlv", "notes.txt",
                             "upper.VLV", ".vlv", "ro.vlv", "plain"}) {
        Touch(dir / name);
    }
    ::chmod((dir / "ro.vlv").c_str(), 0444);
    std::filesystem::create_directory(dir / "folder.vlv");
    std::filesystem::create_symlink(dir / "west.vlv", dir / "link.vlv");
    std::filesystem::create_symlink(dir / "missing", dir / "dangling.vlv");

    EXPECT_EQ(EnumerateLayoutFiles(dir.Path().string()),
              (std::vector<std::string>{"default", "East", "link", "west"}));
}

TEST(LayoutFileList, AFolderWithoutLayoutsGivesOnlyDefault) {
    testing::TempDir dir;
    EXPECT_EQ(EnumerateLayoutFiles(dir.Path().string()), std::vector<std::string>{"default"});
    EXPECT_EQ(EnumerateLayoutFiles(dir / "missing"), std::vector<std::string>{"default"});
}

TEST(LayoutFileList, FindFreeLayoutName) {
    struct Case {
        std::vector<std::string> names;
        size_t free;
    };
    const Case cases[] = {
        {{"default"}, 0},
        {{"default", "a", "b"}, 0},
        {{"default", "a", "", "b", ""}, 2},
        {{"default", ""}, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindFreeLayoutName(c.names), c.free);
    }
}

}  // namespace
}  // namespace corvane
