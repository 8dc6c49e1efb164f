#pragma once

#include <cstdint>

#include "log/DiagLogSource.h"
#include "shell/FrameDocument.h"

namespace corvane {

class CProfileStore;
struct ColorSettings;
class SharedSettings;

// Takes the place of the live model until it exists: does the new-document steps that need
// no database, controller or instrument, and runs an empty tick.
class CStandInDocument final : public IFrameDocument {
public:
    CStandInDocument(SharedSettings& settings, ColorSettings& colors, CProfileStore& profile);

    bool OnNewDocument() override;
    bool IsReady() const override { return ready_; }
    void OnSupervisionTick() override;
    std::optional<bool> IsControllerCommunicating() const override { return std::nullopt; }
    std::string GetAnalyzerDisplayName() const override;
    std::optional<bool> IsTesterConnected() const override { return std::nullopt; }
    TestingState GetTestingState() const override { return TestingState::Idle; }
    void UpdateAllViews(uint32_t hint) override;
    bool HasCompatibilityState() const override { return false; }
    bool SaveModified() override { return true; }
    void OnCloseDocument() override;

    uint64_t TickCount() const { return ticks_; }

    // The data folders, relative to the working folder.
    static const char* const kDataFolders[6];

private:
    SharedSettings& settings_;
    ColorSettings& colors_;
    CProfileStore& profile_;
    CDiagLogSource log_{"Document", "Supervision Document", 0};
    bool ready_ = false;
    uint64_t ticks_ = 0;
};

// The display name of an analyzer setting: its name from the analyzer table, or
// "Audio Analyzer" for "None" and for names the table does not hold.
std::string AnalyzerDisplayName(const std::string& setting);

}  // namespace corvane
