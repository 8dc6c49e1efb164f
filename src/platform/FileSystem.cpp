#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corvane {

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool MakeDirectories(const std::string& path, unsigned mode, std::string& error) {
    if (path.empty()) {
        error = "empty path";
        return false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return true;
        }
        error = "exists and is not a folder";
        return false;
    }
    const std::string parent = DirectoryOf(path);
    if (!parent.empty() && parent != path && !MakeDirectories(parent, mode, error)) {
        return false;
    }
    if (::mkdir(path.c_str(), mode) != 0) {
        error = std::strerror(errno);
        // Another process may have made it meanwhile; anything else in its place is no folder.
        return errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    return true;
}

void SyncDirectory(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace corvane
