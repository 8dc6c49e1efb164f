#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

bool FileExists(const std::string& path);
// -1 when the file cannot be read.
int64_t FileSize(const std::string& path);

// Which file a path names: its device and inode.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
// None when nothing can be read at the path.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// Removes a database file with its journal, WAL and shared-memory files, so that no stale
// journal is ever read with another file made later under that name; the journal files of a
// file that stays are kept. Returns 0 when all are gone (or were never there), else the
// errno of the first that stays, with its name in failedPath when given.
int RemoveDatabaseFiles(const std::string& path, std::string* failedPath = nullptr);
// fsync of a file; errno on failure, else 0.
int SyncFile(const std::string& path);

}  // namespace corvane
