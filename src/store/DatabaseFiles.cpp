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

int RemoveDatabaseFiles(const std::string& path) {
    int error = 0;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        error = errno;
    }
    if (error == 0) {
        for (const char* suffix : {"-journal", "-wal", "-shm"}) {
            ::unlink((path + suffix).c_str());
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
