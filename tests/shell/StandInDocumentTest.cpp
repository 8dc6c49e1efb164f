#include "shell/StandInDocument.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/TempDir.h"
#include "platform/ProfileStore.h"
#include "shell/AppSettings.h"
#include "shell/ColorSettings.h"

namespace corvane {
namespace {

TEST(StandInDocument, NewDocumentSavesSettingsCreatesFoldersAndIsReady) {
    testing::ScopedWorkingTree tree;
    CProfileStore profile;
    profile.Load("");
    SharedSettings settings;
    ColorSettings colors;
    CStandInDocument document(settings, colors, profile);
    EXPECT_FALSE(document.IsReady());
    ASSERT_TRUE(document.OnNewDocument());
    EXPECT_TRUE(document.IsReady());
    EXPECT_TRUE(profile.HasEntry("Settings\\Configuration", "AudioAnalyzer"));
    for (const char* folder : CStandInDocument::kDataFolders) {
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    }
    EXPECT_TRUE(std::filesystem::is_directory(tree.Root() / "database/archives/requests"));
    document.OnSupervisionTick();
    document.OnSupervisionTick();
    EXPECT_EQ(document.TickCount(), 2u);
    document.OnCloseDocument();
    EXPECT_FALSE(document.IsReady());
}

TEST(StandInDocument, AnalyzerDisplayNames) {
    struct Case {
        const char* setting;
        const char* name;
    };
    const Case cases[] = {
        {"None", "Audio Analyzer"},  {"Tonexa", "Tonexa"},   {"RT-2M", "RT-2M"},
        {"rt-2m", "Audio Analyzer"}, {"", "Audio Analyzer"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnalyzerDisplayName(c.setting), c.name) << c.setting;
    }
}

}  // namespace
}  // namespace corvane
