#pragma once

#include <string>
#include <vector>

namespace corvane {

// Where the graphical layouts are saved, relative to the working folder.
inline constexpr const char* kLayoutDirectory = "../views";

// The layout names: "default" first, then the titles of the "*.vlv" files of the folder in
// byte order. Folders, hidden (dot) files, read-only files and anything that is not a
// regular file are left out, and so is a file titled "default".
std::vector<std::string> EnumerateLayoutFiles(const std::string& directory);

// The index of the first empty layout name; 0 when there is none.
size_t FindFreeLayoutName(const std::vector<std::string>& names);

}  // namespace corvane
