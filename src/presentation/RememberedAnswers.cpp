#include "presentation/RememberedAnswers.h"

#include <algorithm>

#include "platform/ProfileStore.h"
#include "presentation/XMessageBoxParams.h"

namespace corvane {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz98";
constexpr size_t kMaxIdentifyingBytes = 490;

}  // namespace

std::string RememberedAnswerSection(const std::string& companyKey, const std::string& programName) {
    std::string section = "Software\\";
    if (!companyKey.empty()) {
        section += companyKey + "\\";
    }
    return section + programName + "\\XMessageBox";
}

std::string RememberedAnswerName(const std::string& identifyingText, uint32_t number) {
    const size_t length = std::min(identifyingText.size(), kMaxIdentifyingBytes);
    std::string name;
    name.reserve(length + 10);
    for (size_t i = 0; i < length; ++i) {
        // Bytes of non-ASCII text are negative as signed chars; the index must not be.
        const int c = static_cast<signed char>(identifyingText[i]);
        const int index = ((c + 5 * static_cast<int>(i)) % 64 + 64) % 64;
        name += kAlphabet[index];
    }
    return name + std::to_string(number);
}

std::optional<int> ReadRememberedAnswer(const CProfileStore& profile, const std::string& section,
                                        const std::string& name) {
    const int answer = profile.GetProfileInt(section, name, 0);
    if ((static_cast<unsigned>(answer) & xmb::kCheckBoxMask) == 0) {
        return std::nullopt;
    }
    return answer;
}

bool WriteRememberedAnswer(CProfileStore& profile, const std::string& section,
                           const std::string& name, int answer) {
    return profile.WriteProfileInt(section, name, answer);
}

}  // namespace corvane
