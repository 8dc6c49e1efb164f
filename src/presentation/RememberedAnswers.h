#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

class CProfileStore;

// Where the extended message box keeps answers given with "Don't ask me again" ticked.
std::string RememberedAnswerSection(const std::string& companyKey, const std::string& programName);

// The value name of an identifying text (its first 490 bytes) and number.
std::string RememberedAnswerName(const std::string& identifyingText, uint32_t number);

// The stored answer, only when it carries a check-box bit.
std::optional<int> ReadRememberedAnswer(const CProfileStore& profile, const std::string& section,
                                        const std::string& name);

// False when the profile could not be saved; the box goes on without remembering.
bool WriteRememberedAnswer(CProfileStore& profile, const std::string& section,
                           const std::string& name, int answer);

}  // namespace corvane
