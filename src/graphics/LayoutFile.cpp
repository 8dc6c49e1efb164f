#include "graphics/LayoutFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "graphics/GraphicLayout.h"
#include "graphics/LayoutArchive.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"

namespace corvane {
namespace {

// A dot name, so that the listing of layout files never shows a half-written one.
constexpr const char* kTempPattern = "/.vlv-XXXXXX";

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Reads at most limit + 1 bytes, so that a longer file shows as too long.
bool ReadAtMost(int fd, size_t limit, std::vector<uint8_t>& bytes) {
    bytes.clear();
    std::vector<uint8_t> chunk(65536);
    for (;;) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
        if (bytes.size() > limit) {
            return true;
        }
    }
}

LayoutLoadResult Failed(CGraphicLayout& layout, LayoutLoadStatus status, std::string error) {
    layout.SetNeedsLoading(true);
    return {status, std::move(error)};
}

}  // namespace

bool IsValidLayoutName(std::string_view name) {
    const size_t fileNameLength = name.size() + std::strlen(kLayoutFileExtension);
    return !name.empty() && name.front() != '.' && fileNameLength <= NAME_MAX &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string LayoutFilePath(const std::string& directory, const std::string& name) {
    return directory + "/" + name + kLayoutFileExtension;
}

LayoutLoadResult LoadLayoutFile(CGraphicLayout& layout, const std::string& directory,
                                const std::string& name) {
    layout.DeleteAllObjects();
    if (!IsValidLayoutName(name)) {
        return Failed(layout, LayoutLoadStatus::BadName,
                      StrFormat("\"%s\" cannot name a layout file", name.c_str()));
    }
    const std::string path = LayoutFilePath(directory, name);
    // Without O_NONBLOCK a FIFO waits for a writer. A symbolic link is followed: the listing
    // of layout files takes one that leads to a file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return Failed(layout, LayoutLoadStatus::Missing, {});
        }
        return Failed(layout, LayoutLoadStatus::CannotOpen,
                      StrFormat("cannot open %s: %s", path.c_str(), std::strerror(errno)));
    }
    struct stat st {};
    std::vector<uint8_t> bytes;
    std::string problem;
    LayoutLoadStatus status = LayoutLoadStatus::CannotOpen;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        problem = StrFormat("%s is not a file", path.c_str());
    } else if (const int flags = ::fcntl(fd, F_GETFL);
               flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        problem = StrFormat("cannot read %s: %s", path.c_str(), std::strerror(errno));
    } else if (static_cast<uint64_t>(st.st_size) > kMaxLayoutFileSize) {
        status = LayoutLoadStatus::Damaged;
        problem = StrFormat("%s is larger than any layout", path.c_str());
    } else if (!ReadAtMost(fd, kMaxLayoutFileSize, bytes)) {
        problem = StrFormat("cannot read %s: %s", path.c_str(), std::strerror(errno));
    } else if (bytes.size() > kMaxLayoutFileSize) {
        status = LayoutLoadStatus::Damaged;
        problem = StrFormat("%s is larger than any layout", path.c_str());
    }
    ::close(fd);
    if (!problem.empty()) {
        return Failed(layout, status, problem);
    }
    std::string error;
    if (!ReadLayoutArchive(std::span<const uint8_t>(bytes), layout, error)) {
        return Failed(layout, LayoutLoadStatus::Damaged,
                      StrFormat("%s is damaged: %s", path.c_str(), error.c_str()));
    }
    layout.SetNeedsLoading(false);
    return {};
}

bool SaveLayoutFile(CGraphicLayout& layout, const std::string& directory, const std::string& name,
                    std::string& error) {
    if (!IsValidLayoutName(name)) {
        error = StrFormat("\"%s\" cannot name a layout file", name.c_str());
        return false;
    }
    layout.RemoveHiddenIntercoms();
    std::string bytes;
    if (!WriteLayoutArchive(layout, bytes, error)) {
        return false;
    }
    const std::string path = LayoutFilePath(directory, name);
    std::string temp = directory + kTempPattern;
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = StrFormat("cannot save %s: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    const bool written = ::fchmod(fd, 0644) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
        error = StrFormat("cannot save %s: %s", path.c_str(),
                          std::strerror(written ? errno : writeErrno));
        ::unlink(temp.c_str());
        return false;
    }
    SyncDirectory(directory);
    return true;
}

}  // namespace corvane
