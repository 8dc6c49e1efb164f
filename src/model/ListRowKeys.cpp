#include "model/ListRowKeys.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "model/ModelNumbers.h"

namespace corvane {
namespace {

template <size_t N>
int IndexOf(const std::array<std::string, N>& names, const std::string& text, size_t count,
            int otherwise) {
    for (size_t i = 0; i < count && i < N; ++i) {
        if (names[i] == text) {
            return static_cast<int>(i);
        }
    }
    return otherwise;
}

}  // namespace

int ParseListKey(const std::string& text) {
    if (text.empty()) {
        return kNone;
    }
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT_MIN || value > INT_MAX) {
        return kNone;
    }
    return static_cast<int>(value);
}

SelectedTrunkRow ParseSelectedTrunkRow(const CNameTables& names, const std::string& trunk,
                                       const std::string& state, const std::string& outOfService,
                                       const std::string& testResult) {
    SelectedTrunkRow row;
    row.trunk = ParseListKey(trunk);
    row.state = IndexOf(names.trunkStates, state, 4, 0);
    row.outOfService = outOfService == "Y" ? 1 : 0;
    // Result 6 is the blank "no result"; only 0-5 are matched by name.
    row.testResult = IndexOf(names.testResults, testResult, 6, 6);
    return row;
}

}  // namespace corvane
