#pragma once

#include <string>

namespace corvane {

// The folder part of a path ("" for a bare name).
std::string DirectoryOf(const std::string& path);

// mkdir -p; true when the folder exists afterwards. error says why not.
bool MakeDirectories(const std::string& path, unsigned mode, std::string& error);

// fsync of a folder, so that a rename in it is durable. Failures are not fatal.
void SyncDirectory(const std::string& path);

}  // namespace corvane
