#include "platform/ProfileStore.h"

#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "fakes/TempDir.h"

namespace corvane {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Loads as anyone but the file's owner would, also when the tests run as root.
bool LoadAsAnotherUser(CProfileStore& store, const std::string& path) {
    const bool root = ::geteuid() == 0;
    if (root) {
        ::setfsuid(65534);
    }
    const bool loaded = store.Load(path);
    if (root) {
        ::setfsuid(0);
    }
    return loaded;
}

class ProfileStoreTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    std::string path = dir / "Qelvo/vorlin.ini";
};

TEST_F(ProfileStoreTest, WritesAreSavedAtOnceWithOwnerOnlyMode) {
    CProfileStore store;
    ASSERT_TRUE(store.Load(path));  // a missing file is an empty profile
    EXPECT_TRUE(store.WriteProfileString("Settings\\Alarm Setup", "EmailPassword", "s3cret"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_NE(ReadFile(path).find("[Settings\\Alarm Setup]\nEmailPassword=s3cret\n"),
              std::string::npos);
}

TEST_F(ProfileStoreTest, ValuesRoundTripThroughTheFile) {
    const std::string awkward = " lead\\ing\ttab\nline\r\x01 trail ";
    {
        CProfileStore store;
        store.Load(path);
        CProfileStore::Batch batch(store);
        store.WriteProfileInt("A", "Negative", -17);
        store.WriteProfileInt("A", "Colour", 0x00E0E0FF);
        store.WriteProfileString("A\\B", "Text", awkward);
        store.WriteProfileString("A\\B", "Empty", "");
        store.WriteProfileBinary("A", "Bytes", {0x00, 0xAB, 0xFF});
        EXPECT_TRUE(batch.Close());
    }
    CProfileStore again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.GetProfileInt("A", "Negative", 0), -17);
    EXPECT_EQ(again.GetProfileInt("a", "colour", 0), 0x00E0E0FF);  // names ignore case
    EXPECT_EQ(again.GetProfileString("A\\B", "Text"), awkward);
    EXPECT_TRUE(again.HasEntry("A\\B", "Empty"));
    EXPECT_EQ(again.GetProfileString("A\\B", "Empty", "default"), "");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(again.GetProfileBinary("A", "Bytes", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x00, 0xAB, 0xFF}));
    EXPECT_EQ(again.GetProfileInt("A", "Missing", 42), 42);
    EXPECT_TRUE(again.TakeProblems().empty());
}

TEST_F(ProfileStoreTest, KeysWrittenByHandSurviveASave) {
    std::filesystem::create_directories(dir.Path() / "Qelvo");
    WriteFile(path, "; by hand\n[Mine]\nKept = hello world \n[Preferences]\nAlphaSize=4\n");
    CProfileStore store;
    ASSERT_TRUE(store.Load(path));
    store.WriteProfileInt("Preferences", "AlphaSize", 6);
    CProfileStore again;
    again.Load(path);
    EXPECT_EQ(again.GetProfileString("Mine", "Kept"), "hello world");
    EXPECT_EQ(again.GetProfileInt("Preferences", "AlphaSize", 0), 6);
}

TEST_F(ProfileStoreTest, MalformedLinesAreSkippedAndReported) {
    std::filesystem::create_directories(dir.Path() / "Qelvo");
    WriteFile(path,
              "orphan=1\n[Good]\nnot a pair\nNumber=12x\nBig=99999999999\nWord=4294967295\n"
              "Bad=\\q\n[unclosed\nLost=1\n[Good]\nFine=ok\n");
    CProfileStore store;
    ASSERT_TRUE(store.Load(path));
    EXPECT_EQ(store.GetProfileString("Good", "Fine"), "ok");
    EXPECT_EQ(store.GetProfileInt("Good", "Number", 5), 5);
    EXPECT_EQ(store.GetProfileInt("Good", "Big", 5), 5);
    EXPECT_EQ(store.GetProfileInt("Good", "Word", 5), -1);  // a registry word of all ones
    EXPECT_FALSE(store.HasEntry("unclosed", "Lost"));
    // orphan, not a pair, bad escape, bad header, key outside a section, two bad numbers
    EXPECT_EQ(store.TakeProblems().size(), 7u);
}

TEST_F(ProfileStoreTest, UnreadableOrHugeFilesGiveDefaults) {
    std::filesystem::create_directories(path);  // a folder where the file should be
    CProfileStore store;
    EXPECT_FALSE(store.Load(path));
    EXPECT_EQ(store.GetProfileInt("A", "B", 3), 3);
    EXPECT_FALSE(store.TakeProblems().empty());

    const std::string big = dir / "big.ini";
    WriteFile(big, "[A]\nB=1\n" + std::string(CProfileStore::kMaxFileBytes, '#'));
    EXPECT_FALSE(store.Load(big));
    EXPECT_EQ(store.GetProfileInt("A", "B", 3), 3);
}

TEST_F(ProfileStoreTest, AProfileThatCannotBeReadIsNeverWrittenOver) {
    std::filesystem::create_directories(dir.Path() / "Qelvo");
    const std::string operators =
        "[Settings\\Alarm Setup]\nEmailHost=mail.example.org\nEmailPassword=s3cret\n";
    const struct {
        const char* name;
        std::string text;
        mode_t mode;
    } cases[] = {
        {"unreadable", operators, 0},
        {"oversized", operators + std::string(CProfileStore::kMaxFileBytes, '#'), 0600},
    };
    for (const auto& c : cases) {
        WriteFile(path, c.text);
        ::chmod(path.c_str(), c.mode);
        CProfileStore store;
        EXPECT_FALSE(LoadAsAnotherUser(store, path)) << c.name;
        EXPECT_TRUE(store.IsFileKept()) << c.name;
        EXPECT_EQ(store.GetProfileString("Settings\\Alarm Setup", "EmailHost"), "") << c.name;
        // What the run changes stays in memory, and every save says it failed.
        EXPECT_FALSE(store.WriteProfileString("Settings\\Alarm Setup", "EmailHost", "other"));
        EXPECT_EQ(store.GetProfileString("Settings\\Alarm Setup", "EmailHost"), "other");
        EXPECT_FALSE(store.Save()) << c.name;
        {
            CProfileStore::Batch batch(store);
            store.WriteProfileInt("Preferences", "AlphaSize", 6);
            EXPECT_FALSE(batch.Close()) << c.name;
        }
        const std::vector<std::string> problems = store.TakeProblems();
        ASSERT_EQ(problems.size(), 2u) << c.name;
        EXPECT_NE(problems[0].find("the file is left as it is"), std::string::npos) << problems[0];
        EXPECT_NE(problems[1].find("is not saved"), std::string::npos) << problems[1];
        ::chmod(path.c_str(), 0600);
        EXPECT_EQ(ReadFile(path), c.text) << c.name;
    }
    // Once the file can be read again, it is the profile as before.
    WriteFile(path, operators);
    CProfileStore store;
    EXPECT_TRUE(store.Load(path));
    EXPECT_FALSE(store.IsFileKept());
    EXPECT_TRUE(store.WriteProfileInt("Preferences", "AlphaSize", 6));
    EXPECT_NE(ReadFile(path).find("EmailHost=mail.example.org"), std::string::npos);
}

TEST_F(ProfileStoreTest, AFailedSaveIsReported) {
    const std::string blocked = dir / "file";
    WriteFile(blocked, "");
    CProfileStore store;
    store.Load(blocked + "/sub/vorlin.ini");  // a file stands where a folder must be
    EXPECT_FALSE(store.WriteProfileInt("A", "B", 1));
    EXPECT_FALSE(store.TakeProblems().empty());
}

TEST_F(ProfileStoreTest, ManyThreadsWriteOneStore) {
    CProfileStore store;
    store.Load(path);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&store, t] {
            for (int i = 0; i < 25; ++i) {
                store.WriteProfileInt("T" + std::to_string(t), "K" + std::to_string(i), i);
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    CProfileStore again;
    again.Load(path);
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(again.GetProfileInt("T" + std::to_string(t), "K24", -1), 24);
    }
}

// Sets an environment variable for the scope and puts the old value back.
class ScopedEnv {
public:
    explicit ScopedEnv(const char* name) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = had_ ? old : "";
    }
    ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }
    void Set(const char* value) { setenv(name_, value, 1); }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

TEST(DefaultProfilePathTest, FollowsXdgConfigHome) {
    ScopedEnv xdg("XDG_CONFIG_HOME");
    ScopedEnv home("HOME");
    xdg.Set("/tmp/cfg");
    EXPECT_EQ(DefaultProfilePath(), "/tmp/cfg/Qelvo/vorlin.ini");
    xdg.Set("relative");  // not absolute: ignored, as the XDG rules say
    home.Set("/home/op");
    EXPECT_EQ(DefaultProfilePath(), "/home/op/.config/Qelvo/vorlin.ini");
}

}  // namespace
}  // namespace corvane
