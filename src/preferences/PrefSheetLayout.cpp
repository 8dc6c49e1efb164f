#include "preferences/PrefSheetLayout.h"

#include <algorithm>

#include "platform/StringTable.h"

namespace corvane {
namespace {

constexpr PrefPageInfo kPages[prefpage::kCount] = {
    {prefpage::kConfiguration, 177, "Configuration"},
    {prefpage::kRequestArchives, 174, "Request Archives"},
    {prefpage::kAlarmArchives, 175, "Alarm Archives"},
    {prefpage::kAlarmSetup, 176, "Alarm Setup"},
    {prefpage::kTestParameters, 171, "Test Parameters"},
    {prefpage::kTestSchedule, 173, "Test Schedule"},
    {prefpage::kTestOptions, 172, "Test Options"},
    {prefpage::kGraphicalLayouts, 178, "Graphical Layouts"},
};

}  // namespace

const PrefPageInfo& PrefPage(int index) {
    return kPages[std::clamp(index, 0, prefpage::kCount - 1)];
}

std::vector<int> VisiblePrefPages(bool testPagesShown) {
    std::vector<int> pages{prefpage::kConfiguration, prefpage::kRequestArchives,
                           prefpage::kAlarmArchives, prefpage::kAlarmSetup};
    if (testPagesShown) {
        pages.insert(pages.end(),
                     {prefpage::kTestParameters, prefpage::kTestSchedule, prefpage::kTestOptions});
    }
    pages.push_back(prefpage::kGraphicalLayouts);
    return pages;
}

int AnalyzerTypeOf(const std::string& name) {
    for (int type = 0; type < 3; ++type) {
        if (name == LoadString(ids::kAnalyzerNameFirst + type)) {
            return type;
        }
    }
    return 0;
}

std::vector<std::string> AnalyzerNames() {
    std::vector<std::string> names;
    for (int type = 0; type < 3; ++type) {
        names.push_back(LoadString(ids::kAnalyzerNameFirst + type));
    }
    return names;
}

int PrefStartPage(int lastPage, bool testPagesShown) {
    const std::vector<int> pages = VisiblePrefPages(testPagesShown);
    return std::find(pages.begin(), pages.end(), lastPage) != pages.end() ? lastPage
                                                                          : pages.front();
}

}  // namespace corvane
