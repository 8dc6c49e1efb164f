#include "store/DatabaseFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace corvane {

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

int64_t FileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

int RemoveDatabaseFiles(const std::string& path, std::string* failedPath) {
    int error = 0;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const std::string file = path + suffix;
        if (::unlink(file.c_str()) == 0 || errno == ENOENT || error != 0) {
            continue;
        }
        error = errno;
        if (failedPath != nullptr) {
            *failedPath = file;
        }
        if (*suffix == '\0') {
            break;  // a file that stays keeps its journals
        }
    }
    return error;
}

int SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int rc = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return rc;
}

}  // namespace corvane
