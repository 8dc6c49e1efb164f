#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The name typed for a layout, trimmed at both ends.
std::string TrimmedLayoutName(std::string_view typed);

// Why a trimmed name cannot name a layout, empty when it can: it is empty, holds '/', '\',
// NUL or a control character, is "." or "..", cannot name a file of the layout folder, is
// "default", or equals one of the names (letters compared without case) other than the one
// at ownIndex.
std::string CheckLayoutName(const std::string& name, const std::vector<std::string>& names,
                            int ownIndex);

// Renames the layout file of one name to another without ever replacing a file: a file of
// the new name, whoever made it, stays as it was and the rename fails.
bool RenameLayoutFile(const std::string& directory, const std::string& from, const std::string& to,
                      std::string& error);

}  // namespace corvane
