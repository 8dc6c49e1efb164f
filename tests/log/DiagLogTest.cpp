#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <thread>

#include "fakes/ManualClock.h"
#include "fakes/RecordingUiBridge.h"
#include "fakes/TempDir.h"
#include "log/DiagLogFile.h"
#include "log/DiagLogSource.h"
#include "platform/BuildInfo.h"
#include "platform/ProfileStore.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::LocalWall;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The log writes into "../Logs" of a temporary working tree, on a clock the test moves.
class DiagLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Profile().Load("");
        DiagLogFile().SetClock(&clock);
        clock.SetWall(LocalWall(2026, 12, 10, 23, 59, 58));
    }
    void TearDown() override {
        StopDiagLog();
        DiagLogFile().SetClock(nullptr);
        Profile().Load("");
    }
    fs::path Logs() const { return tree.Root() / "Logs"; }
    fs::path DayFile(const char* date) const { return Logs() / (std::string(date) + ".log"); }

    testing::ScopedWorkingTree tree;
    testing::ManualClock clock;
    testing::RecordingUiBridge ui;
};

TEST_F(DiagLogTest, CreatesTheFolderAndStartsEachDayWithAHeadBlock) {
    CDiagLogSource source("Quillex", "Quillex log", 3);
    StartDiagLog();
    ASSERT_TRUE(DiagLogFile().HasOpenFile());
    source.Printf(1, "before midnight %d", 1);
    clock.Advance(std::chrono::seconds(3));
    source.Printf(1, "after midnight");

    const auto first = Lines(ReadFile(DayFile("2026-12-10")));
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0], "============ Diagnostic Log File - Date: 2026-12-10");
    EXPECT_EQ(first[1], "23:59:58.000 Start Application: Corvane version " CORVANE_PRODUCT_VERSION);
    EXPECT_EQ(first[2], "23:59:58.000 Quillex before midnight 1");
    const auto second = Lines(ReadFile(DayFile("2026-12-11")));
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[0], "============ Diagnostic Log File - Date: 2026-12-11");
    EXPECT_EQ(second[2], "00:00:01.000 Quillex after midnight");
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(DiagLogTest, LevelsDecideWhatIsWritten) {
    Profile().WriteProfileInt(CDiagLogSource::kLevelSection, "Dbase", 4);
    Profile().WriteProfileInt(CDiagLogSource::kLevelSection, "TrunkTest", -3);
    CDiagLogSource early("Dbase", "Database log", 1);
    CDiagLogSource negative("TrunkTest", "Trunk Test log", 1);
    CDiagLogSource nameless("", "never logs", 9);
    EXPECT_EQ(early.Level(), 1);  // the stored level applies once the log starts
    StartDiagLog();
    EXPECT_EQ(early.Level(), 4);
    EXPECT_EQ(negative.Level(), 1);  // a stored negative level keeps the default
    CDiagLogSource late("Dbase", "late", 0);
    EXPECT_EQ(late.Level(), 4);  // sources made after the start read theirs at once

    early.Printf(4, "shown");
    early.Printf(5, "hidden");
    nameless.Printf(0, "hidden");
    early.SetLevel(-1);
    EXPECT_EQ(early.Level(), 1);
    early.Printf(2, "hidden");
    const std::string text = ReadFile(DayFile("2026-12-10"));
    EXPECT_NE(text.find("Dbase shown\n"), std::string::npos);
    EXPECT_EQ(text.find("hidden"), std::string::npos);
}

TEST_F(DiagLogTest, LongLinesAreCutAndStillEndTheLine) {
    CDiagLogSource source("Application", "General Application Logging", 0);
    StartDiagLog();
    source.Printf(0, "%s", std::string(500, 'x').c_str());
    source.Printf(0, "next");
    const auto lines = Lines(ReadFile(DayFile("2026-12-10")));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2].size(), 199u);
    EXPECT_EQ(lines[2].substr(0, 25), "23:59:58.000 Application ");
    EXPECT_EQ(lines[3], "23:59:58.000 Application next");
}

TEST_F(DiagLogTest, DumpsRenderWithinTheLine) {
    CDiagLogSource hex("Quillex", "", 0);
    CDiagLogSource text("Tonexa", "", 0, true);
    StartDiagLog();
    const unsigned char bytes[] = {0x00, 'A', '"', '\\', '\t', '\n', '\r', '\f', 0xF2};
    hex.Dump(0, "tx", bytes, sizeof bytes);
    text.Dump(0, "rx", bytes, sizeof bytes);
    text.Dump(0, "empty", bytes, 0);
    text.DumpHex(0, "forced", bytes, 2);
    std::vector<unsigned char> many(300, 0x55);
    hex.Dump(0, "many", many.data(), many.size());
    text.Dump(0, "many", many.data(), many.size());
    // Labels that leave almost no room must never overrun the line.
    for (size_t label = 170; label < 200; ++label) {
        hex.Dump(0, std::string(label, 'L').c_str(), many.data(), many.size());
        text.Dump(0, std::string(label, 'L').c_str(), many.data(), many.size());
    }

    const auto lines = Lines(ReadFile(DayFile("2026-12-10")));
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[2], "23:59:58.000 Quillex tx  00 41 22 5c 09 0a 0d 0c f2");
    EXPECT_EQ(lines[3], R"(23:59:58.000 Tonexa rx "\x00A\"\\\t\n\r\f\xf2")");
    EXPECT_EQ(lines[4], R"(23:59:58.000 Tonexa empty "")");
    EXPECT_EQ(lines[5], "23:59:58.000 Tonexa forced  00 41");
    EXPECT_EQ(lines[6].substr(lines[6].size() - 6), " 55...");
    EXPECT_EQ(lines[7].substr(lines[7].size() - 5), "U\"...");
    for (const auto& line : lines) {
        EXPECT_LE(line.size(), 199u);
    }
}

TEST_F(DiagLogTest, TheSizeCapClosesTheDaysFile) {
    Profile().WriteProfileInt(CDiagLogFile::kFileSection, "Max File Size (kB)", 1);
    CDiagLogSource source("Application", "", 0);
    StartDiagLog();
    for (int i = 0; i < 40; ++i) {
        source.Printf(0, "line %02d %s", i, std::string(60, '-').c_str());
    }
    const auto size = fs::file_size(DayFile("2026-12-10"));
    EXPECT_GE(size, 1024u);
    EXPECT_LT(size, 1024u + 200u);  // the line that crossed the cap is the last
    EXPECT_FALSE(DiagLogFile().HasOpenFile());
    clock.Advance(std::chrono::seconds(5));
    source.Printf(0, "a new day");
    EXPECT_NE(ReadFile(DayFile("2026-12-11")).find("a new day"), std::string::npos);
}

TEST_F(DiagLogTest, TheCapInKilobytesDoesNotOverflow) {
    Profile().WriteProfileInt(CDiagLogFile::kFileSection, "Max File Size (kB)", 4194304);  // 4 GiB
    CDiagLogSource source("Application", "", 0);
    StartDiagLog();
    source.Printf(0, "one");
    source.Printf(0, "two");
    EXPECT_TRUE(DiagLogFile().HasOpenFile());
    EXPECT_EQ(DiagLogFile().MaxSizeKb(), 4194304);
}

TEST_F(DiagLogTest, ThePurgeDeletesOnlyOldLogFiles) {
    Profile().WriteProfileInt(CDiagLogFile::kFileSection, "Log File Enabled", 0);
    Profile().WriteProfileInt(CDiagLogFile::kFileSection, "Days to Keep Files", 7);
    StartDiagLog();
    EXPECT_FALSE(DiagLogFile().HasOpenFile());  // disabled: no file, yet the folder is checked
    const auto age = [&](const fs::path& p, int days) {
        std::ofstream(p) << "x";
        const auto t = std::chrono::system_clock::to_time_t(clock.Now()) - days * 86400 - 60;
        utimbuf times{t, t};
        ASSERT_EQ(::utime(p.c_str(), &times), 0);
    };
    age(Logs() / "old.log", 7);
    age(Logs() / "OLD2.LOG", 30);
    age(Logs() / "old.txt", 30);
    age(Logs() / "recent.log", 6);
    fs::create_directory(Logs() / "folder.log");
    DiagLogFile().PurgeOldFiles();
    EXPECT_FALSE(fs::exists(Logs() / "old.log"));
    EXPECT_FALSE(fs::exists(Logs() / "OLD2.LOG"));
    EXPECT_TRUE(fs::exists(Logs() / "old.txt"));
    EXPECT_TRUE(fs::exists(Logs() / "recent.log"));
    EXPECT_TRUE(fs::exists(Logs() / "folder.log"));
}

TEST_F(DiagLogTest, StopEndsThePurgeThreadAndStartRestartsIt) {
    CDiagLogSource source("Application", "", 0);
    StartDiagLog();
    for (int round = 0; round < 3; ++round) {
        DiagLogFile().Stop();
        EXPECT_FALSE(DiagLogFile().IsEnabled());
        source.Printf(0, "dropped");
        DiagLogFile().Start();
        EXPECT_TRUE(DiagLogFile().HasOpenFile());
    }
    source.Printf(0, "kept");
    const std::string text = ReadFile(DayFile("2026-12-10"));
    EXPECT_EQ(text.find("dropped"), std::string::npos);
    EXPECT_NE(text.find("kept"), std::string::npos);
}

TEST_F(DiagLogTest, LinesFromManyThreadsNeverMix) {
    CDiagLogSource source("Application", "", 0);
    StartDiagLog();
    constexpr int kThreads = 8;
    constexpr int kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&source, t] {
            for (int i = 0; i < kLines; ++i) {
                source.Printf(0, "thread %d line %03d %s", t, i, std::string(100, 'a' + t).c_str());
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    const auto lines = Lines(ReadFile(DayFile("2026-12-10")));
    ASSERT_EQ(lines.size(), 2u + kThreads * kLines);
    const std::regex shape(R"(23:59:58\.000 Application thread (\d) line \d{3} ([a-h])\2{99})");
    for (size_t i = 2; i < lines.size(); ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[i], m, shape)) << lines[i];
        EXPECT_EQ(m[2].str()[0], 'a' + std::stoi(m[1].str()));
    }
}

struct BadSetting {
    const char* name;
    std::function<void(const fs::path& root)> arrange;
    const char* message;
};

void PrintTo(const BadSetting& s, std::ostream* out) { *out << s.name; }

class DiagLogRefusalTest : public DiagLogTest, public ::testing::WithParamInterface<BadSetting> {};

TEST_P(DiagLogRefusalTest, DisablesLoggingWithItsMessage) {
    GetParam().arrange(tree.Root());
    CDiagLogSource source("Application", "", 0);
    StartDiagLog();
    EXPECT_FALSE(DiagLogFile().IsEnabled());
    EXPECT_EQ(DiagLogFile().Directory(), "");
    source.Printf(0, "nowhere");
    const auto boxes = ui.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(GetParam().message), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("Diagnostic Logging will be disabled."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiagLogRefusalTest,
    ::testing::Values(
        BadSetting{"NotAFolder",
                   [](const fs::path& root) { std::ofstream(root / "Logs") << "file"; },
                   "The path used for dianostic logging (\"../Logs\") exits, but is not a "
                   "directory."},
        BadSetting{"CannotCreate",
                   [](const fs::path& root) {
                       fs::create_symlink(root / "missing" / "deeper", root / "Logs");
                   },
                   "Unable to create the log file directory \"../Logs\"."},
        BadSetting{"ZeroSize",
                   [](const fs::path&) {
                       Profile().WriteProfileInt(CDiagLogFile::kFileSection, "Max File Size (kB)",
                                                 0);
                   },
                   "The maximum file size specified for diagnostic log files is negative or "
                   "zero."},
        BadSetting{"NoDays",
                   [](const fs::path&) {
                       Profile().WriteProfileInt(CDiagLogFile::kFileSection, "Days to Keep Files",
                                                 0);
                   },
                   "The number of days to keep diagnostic log files is less than one."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane
