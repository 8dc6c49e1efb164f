#include "graphics/LayoutFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>

#include "LayoutFixtures.h"
#include "fakes/TempDir.h"
#include "graphics/LayoutArchive.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> FolderEntries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LayoutFileTest, OnlyPlainNamesCanNameALayoutFile) {
    const struct {
        std::string name;
        bool valid;
    } cases[] = {
        {"default", true},
        {"view12", true},
        {"North and South", true},
        {"a.b", true},
        {"na\xC3\xAFve", true},
        {std::string(251, 'x'), true},
        {"", false},
        {".", false},
        {"..", false},
        {".hidden", false},
        {"../escape", false},
        {"a/b", false},
        {"/etc/passwd", false},
        {"a\\b", false},
        {std::string("a\0b", 3), false},
        {std::string(252, 'x'), false},  // with ".vlv" longer than a file name
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidLayoutName(c.name), c.valid) << c.name;
    }
    EXPECT_EQ(LayoutFilePath("../views", "default"), "../views/default.vlv");
}

class LayoutFileFolder : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return LayoutFilePath(dir(), name); }
    std::string dir() const { return folder.Path().string(); }

    // Two boxes, the second hidden, and a trunk set between them.
    void Fill(CGraphicLayout& layout) {
        CIcomObj& a = layout.AddIntercom(1, {50, 50}, "North");
        CIcomObj& b = layout.AddIntercom(2, {150, 50}, "South");
        layout.AddTrunkSet(a, b, {3, 1, 0, 0, 0});
        layout.AddIntercom(3, {50, 150}, "West").Show(false);
    }

    testing::TempDir folder;
};

TEST_F(LayoutFileFolder, ASavedLayoutLoadsBackWithoutItsHiddenIntercoms) {
    CGraphicLayout layout;
    Fill(layout);
    std::string error;
    ASSERT_TRUE(SaveLayoutFile(layout, dir(), "first", error)) << error;
    EXPECT_EQ(layout.FindIntercom(3), nullptr) << "dropped from the layout as well";
    EXPECT_EQ(layout.Intercoms().GetCount(), 2u);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"first.vlv"});

    std::string bytes;
    ASSERT_TRUE(WriteLayoutArchive(layout, bytes, error));
    EXPECT_EQ(ReadFile(Path("first")), bytes);
    struct stat st {};
    ASSERT_EQ(::stat(Path("first").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    CGraphicLayout loaded;
    const LayoutLoadResult result = LoadLayoutFile(loaded, dir(), "first");
    EXPECT_EQ(result.status, LayoutLoadStatus::Loaded) << result.error;
    EXPECT_FALSE(loaded.NeedsLoading());
    EXPECT_EQ(testing::DescribeLayout(loaded), testing::DescribeLayout(layout));
}

TEST_F(LayoutFileFolder, SavingReplacesTheOldFileWhole) {
    CGraphicLayout big;
    Fill(big);
    std::string error;
    ASSERT_TRUE(SaveLayoutFile(big, dir(), "view1", error)) << error;
    CGraphicLayout empty;
    ASSERT_TRUE(SaveLayoutFile(empty, dir(), "view1", error)) << error;
    EXPECT_EQ(ReadFile(Path("view1")).size(), 24u);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"view1.vlv"});
}

TEST_F(LayoutFileFolder, ASaveThatFailsMidwayKeepsTheOldFile) {
    CGraphicLayout old;
    std::string error;
    ASSERT_TRUE(SaveLayoutFile(old, dir(), "kept", error)) << error;
    const std::string before = ReadFile(Path("kept"));

    CGraphicLayout layout;
    for (int i = 1; i <= 20; ++i) {
        layout.AddIntercom(i, {i * 40, 40}, "box");
    }
    // A file size limit makes the write fail part-way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = SaveLayoutFile(layout, dir(), "kept", error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_NE(error.find("kept.vlv"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(Path("kept")), before);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"kept.vlv"});
}

TEST_F(LayoutFileFolder, SavesThatCannotBeWrittenSayWhy) {
    CGraphicLayout layout;
    Fill(layout);
    std::string error;
    EXPECT_FALSE(SaveLayoutFile(layout, dir(), "../outside", error));
    EXPECT_NE(error.find("cannot name a layout file"), std::string::npos) << error;
    EXPECT_EQ(layout.Intercoms().GetCount(), 3u) << "a refused name changes nothing";

    EXPECT_FALSE(SaveLayoutFile(layout, dir() + "/missing", "view1", error));
    EXPECT_NE(error.find("cannot save"), std::string::npos) << error;

    fs::create_directories(Path("folder") + "/inside");
    EXPECT_FALSE(SaveLayoutFile(layout, dir(), "folder", error));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"folder.vlv"});
}

TEST_F(LayoutFileFolder, LoadingTellsMissingUnreadableAndDamagedFilesApart) {
    WriteFile(Path("damaged"), std::string("\x01\x00\xFF\xFF", 4));
    fs::create_directories(Path("folder"));
    { std::ofstream huge(Path("huge"), std::ios::binary); }
    fs::resize_file(Path("huge"), kMaxLayoutFileSize + 1);

    const struct {
        const char* name;
        LayoutLoadStatus status;
        const char* error;
    } cases[] = {
        {"missing", LayoutLoadStatus::Missing, ""},
        {"damaged", LayoutLoadStatus::Damaged, "damaged.vlv is damaged: the file ends early"},
        {"folder", LayoutLoadStatus::CannotOpen, "is not a file"},
        {"huge", LayoutLoadStatus::Damaged, "larger than any layout"},
        {"../up", LayoutLoadStatus::BadName, "cannot name a layout file"},
    };
    for (const auto& c : cases) {
        CGraphicLayout layout;
        Fill(layout);
        layout.SetNeedsLoading(false);
        const LayoutLoadResult result = LoadLayoutFile(layout, dir(), c.name);
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_NE(result.error.find(c.error), std::string::npos) << c.name << ": " << result.error;
        EXPECT_TRUE(layout.Intercoms().IsEmpty()) << c.name;
        EXPECT_TRUE(layout.NeedsLoading()) << c.name;
    }
}

TEST_F(LayoutFileFolder, AFifoIsRefusedWithoutWaitingAndALinkToAFileIsFollowed) {
    ASSERT_EQ(::mkfifo(Path("default").c_str(), 0644), 0);
    // The load runs in a thread of its own; one that waits for a writer of the FIFO is let go
    // by opening one, so that the test fails instead of hanging.
    std::promise<LayoutLoadResult> loaded;
    std::future<LayoutLoadResult> result = loaded.get_future();
    std::thread loader([&] {
        CGraphicLayout layout;
        loaded.set_value(LoadLayoutFile(layout, dir(), "default"));
    });
    const bool returned = result.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    while (result.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        const int writer = ::open(Path("default").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) {
            ::close(writer);
        }
    }
    loader.join();
    EXPECT_TRUE(returned) << "the load waited for a writer of the FIFO";
    const LayoutLoadResult fifo = result.get();
    EXPECT_EQ(fifo.status, LayoutLoadStatus::CannotOpen);
    EXPECT_NE(fifo.error.find("is not a file"), std::string::npos) << fifo.error;

    CGraphicLayout layout;
    Fill(layout);
    std::string error;
    ASSERT_TRUE(SaveLayoutFile(layout, dir(), "shared", error)) << error;
    fs::create_symlink(Path("shared"), Path("linked"));
    CGraphicLayout linked;
    const LayoutLoadResult followed = LoadLayoutFile(linked, dir(), "linked");
    EXPECT_EQ(followed.status, LayoutLoadStatus::Loaded) << followed.error;
    EXPECT_EQ(testing::DescribeLayout(linked), testing::DescribeLayout(layout));
}

}  // namespace
}  // namespace corvane
