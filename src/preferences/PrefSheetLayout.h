#pragma once

#include <string>
#include <vector>

namespace corvane {

// The pages of the preference sheet, by the index each records as the last page.
namespace prefpage {
inline constexpr int kConfiguration = 0;
inline constexpr int kRequestArchives = 1;
inline constexpr int kAlarmArchives = 2;
inline constexpr int kAlarmSetup = 3;
inline constexpr int kTestParameters = 4;
inline constexpr int kTestSchedule = 5;
inline constexpr int kTestOptions = 6;
inline constexpr int kGraphicalLayouts = 7;
inline constexpr int kCount = 8;
}  // namespace prefpage

struct PrefPageInfo {
    int index;
    int dialogId;
    const char* caption;
};

// The eight pages in the sheet's order.
const PrefPageInfo& PrefPage(int index);

// The pages a sheet shows, in order: the test pages only while an instrument is configured.
std::vector<int> VisiblePrefPages(bool testPagesShown);

// Index 0-2 of an analyzer name ("None", "Tonexa", "RT-2M"); 0 for a name the table lacks.
int AnalyzerTypeOf(const std::string& name);
// The three analyzer names, by type.
std::vector<std::string> AnalyzerNames();

// The page a sheet opens on: the last page when the sheet shows it, else the first.
int PrefStartPage(int lastPage, bool testPagesShown);

}  // namespace corvane
