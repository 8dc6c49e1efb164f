#include "settings/AnalyzerName.h"

#include "platform/StringTable.h"

namespace corvane {

std::string AnalyzerDisplayName(const std::string& setting) {
    for (int i = 1; i < 3; ++i) {
        if (setting == LoadString(ids::kAnalyzerNameFirst + i)) {
            return setting;
        }
    }
    return LoadString(ids::kNoAudioAnalyzer);
}

}  // namespace corvane
