#pragma once

#include <cstdint>
#include <string>

namespace corvane {

bool FileExists(const std::string& path);
// -1 when the file cannot be read.
int64_t FileSize(const std::string& path);
// Removes a database file with its journal, WAL and shared-memory files, so that no stale
// journal can ever be applied to another file of the same name. Returns errno of the main
// file's removal, 0 when it is gone (or was never there).
int RemoveDatabaseFiles(const std::string& path);
// fsync of a file; errno on failure, else 0.
int SyncFile(const std::string& path);

}  // namespace corvane
