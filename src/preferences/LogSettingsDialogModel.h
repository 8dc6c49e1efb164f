#pragma once

#include <string>
#include <vector>

namespace corvane {

class CDiagLogFile;
class CDiagLogSource;

// One row of the log settings dialog: a source and the level the row shows.
struct LogSettingsRow {
    CDiagLogSource* source = nullptr;
    std::string name;
    std::string description;
    int level = 0;
};

// What the log settings dialog reads and writes, without the window: the file settings, the
// enabled switch and a row per source. Sources destroyed while the dialog is open are skipped.
class CLogSettingsModel {
public:
    explicit CLogSettingsModel(CDiagLogFile& file);

    static constexpr int kDaysLow = 1, kDaysHigh = 60;
    static constexpr int kSizeLow = 1, kSizeHigh = 51200;
    static constexpr int kLevelLow = 0, kLevelHigh = 10;

    std::string Directory() const;
    int DaysToKeep() const;
    int MaxSizeKb() const;
    bool Enabled() const;

    // The registered sources, newest first, as they are now.
    std::vector<LogSettingsRow>& Rows() { return rows_; }
    // A row's source's default level; 0 when the source is no longer registered.
    int DefaultLevelOf(const LogSettingsRow& row) const;
    void SetAllToDefault();

    // The OK step: file settings written to the profile, logging started (and purged at
    // once) or stopped, each registered source given its row's level, saved when remember.
    void Apply(int days, int sizeKb, bool enabled, bool remember);

private:
    CDiagLogFile& file_;
    std::vector<LogSettingsRow> rows_;
};

}  // namespace corvane
