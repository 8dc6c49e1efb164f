#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Sections and keys compare without regard to case, as registry names do.
struct CaseInsensitiveLess {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};

using ProfileSection = std::map<std::string, std::string, CaseInsensitiveLess>;
using ProfileData = std::map<std::string, ProfileSection, CaseInsensitiveLess>;

// The profile file: "[section]" lines (backslashes kept) and "key=value" lines; values
// escaped with \\ \n \r \t \xHH; lines starting with ';' or '#' are comments.
// Anything else is skipped and described in problems.
ProfileData ParseProfileText(std::string_view text, std::vector<std::string>& problems);
std::string SerializeProfile(const ProfileData& data);

std::string EscapeProfileValue(std::string_view raw);
// False when the text holds a bad escape; what decoded is still returned.
bool UnescapeProfileValue(std::string_view text, std::string& raw);

}  // namespace corvane
