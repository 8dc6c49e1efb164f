#include "platform/ProfileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/Format.h"

namespace corvane {
namespace {

bool ParseInt32(const std::string& text, int& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') {
        return false;
    }
    // Registry words are 32 bits: both signed values and unsigned ones up to 0xFFFFFFFF.
    if (v < INT32_MIN || v > static_cast<long long>(UINT32_MAX)) {
        return false;
    }
    value = static_cast<int>(static_cast<uint32_t>(v));
    return true;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool CProfileStore::Load(const std::string& path) {
    std::lock_guard lock(mutex_);
    path_ = path;
    data_.clear();
    dirty_ = false;
    fileKept_ = false;
    if (path.empty()) {
        return true;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            return true;
        }
        return KeepFile(
            StrFormat("cannot read the profile %s: %s", path.c_str(), std::strerror(errno)));
    }
    if (!S_ISREG(st.st_mode) || static_cast<size_t>(st.st_size) > kMaxFileBytes) {
        return KeepFile(StrFormat("the profile %s is not a regular file of at most %zu bytes",
                                  path.c_str(), kMaxFileBytes));
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return KeepFile(
            StrFormat("cannot open the profile %s: %s", path.c_str(), std::strerror(errno)));
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return KeepFile(StrFormat("cannot read the profile %s", path.c_str()));
    }
    std::vector<std::string> problems;
    data_ = ParseProfileText(text.str(), problems);
    for (auto& p : problems) {
        Problem(path + ": " + p);
    }
    return true;
}

bool CProfileStore::KeepFile(std::string problem) {
    fileKept_ = true;
    Problem(problem + "; defaults apply, the file is left as it is");
    return false;
}

bool CProfileStore::IsFileKept() const {
    std::lock_guard lock(mutex_);
    return fileKept_;
}

std::string CProfileStore::Path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

const std::string* CProfileStore::Find(const std::string& section, const std::string& entry) const {
    const auto s = data_.find(section);
    if (s == data_.end()) {
        return nullptr;
    }
    const auto e = s->second.find(entry);
    return e == s->second.end() ? nullptr : &e->second;
}

int CProfileStore::GetProfileInt(const std::string& section, const std::string& entry,
                                 int def) const {
    std::lock_guard lock(mutex_);
    const std::string* text = Find(section, entry);
    if (text == nullptr) {
        return def;
    }
    int value = def;
    if (!ParseInt32(*text, value)) {
        Problem(StrFormat("[%s] %s: \"%s\" is not a number; default %d applies", section.c_str(),
                          entry.c_str(), text->c_str(), def));
        return def;
    }
    return value;
}

std::string CProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                            const std::string& def) const {
    std::lock_guard lock(mutex_);
    const std::string* text = Find(section, entry);
    return text == nullptr ? def : *text;
}

bool CProfileStore::GetProfileBinary(const std::string& section, const std::string& entry,
                                     std::vector<uint8_t>& bytes) const {
    std::lock_guard lock(mutex_);
    bytes.clear();
    const std::string* text = Find(section, entry);
    if (text == nullptr) {
        return false;
    }
    if (text->size() % 2 != 0) {
        Problem(StrFormat("[%s] %s: odd number of hex digits", section.c_str(), entry.c_str()));
        return false;
    }
    bytes.reserve(text->size() / 2);
    for (size_t i = 0; i < text->size(); i += 2) {
        char pair[3] = {(*text)[i], (*text)[i + 1], '\0'};
        char* end = nullptr;
        const unsigned long v = std::strtoul(pair, &end, 16);
        if (end != pair + 2 || pair[0] == '-' || pair[0] == '+' || pair[0] == ' ') {
            Problem(StrFormat("[%s] %s: not hex", section.c_str(), entry.c_str()));
            bytes.clear();
            return false;
        }
        bytes.push_back(static_cast<uint8_t>(v));
    }
    return true;
}

bool CProfileStore::HasEntry(const std::string& section, const std::string& entry) const {
    std::lock_guard lock(mutex_);
    return Find(section, entry) != nullptr;
}

bool CProfileStore::WriteRaw(const std::string& section, const std::string& entry,
                             std::string value) {
    std::lock_guard lock(mutex_);
    data_[section][entry] = std::move(value);
    dirty_ = true;
    return batchDepth_ > 0 || SaveLocked();
}

bool CProfileStore::WriteProfileInt(const std::string& section, const std::string& entry,
                                    int value) {
    return WriteRaw(section, entry, std::to_string(value));
}

bool CProfileStore::WriteProfileString(const std::string& section, const std::string& entry,
                                       const std::string& value) {
    return WriteRaw(section, entry, value);
}

bool CProfileStore::WriteProfileBinary(const std::string& section, const std::string& entry,
                                       const std::vector<uint8_t>& bytes) {
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        hex += StrFormat("%02x", b);
    }
    return WriteRaw(section, entry, std::move(hex));
}

bool CProfileStore::Save() {
    std::lock_guard lock(mutex_);
    return SaveLocked();
}

bool CProfileStore::SaveLocked() {
    if (path_.empty()) {
        dirty_ = false;  // an unbound store lives in memory only
        return true;
    }
    if (fileKept_) {
        // The operator's values may still be in it: what this run changes stays in memory.
        const std::string kept = "the profile " + path_ + " could not be read and is not saved";
        if (problems_.empty() || problems_.back() != kept) {
            Problem(kept);
        }
        return false;
    }
    const std::string dir = DirectoryOf(path_);
    std::string error;
    if (!dir.empty() && !MakeDirectories(dir, 0700, error)) {
        Problem("cannot create " + dir + ": " + error);
        return false;
    }
    std::string temp = path_ + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        Problem(StrFormat("cannot save the profile %s: %s", path_.c_str(), std::strerror(errno)));
        return false;
    }
    const bool written =
        ::fchmod(fd, 0600) == 0 && WriteAll(fd, SerializeProfile(data_)) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), path_.c_str()) != 0) {
        Problem(StrFormat("cannot save the profile %s: %s", path_.c_str(),
                          std::strerror(written ? errno : savedErrno)));
        ::unlink(temp.c_str());
        return false;
    }
    SyncDirectory(dir.empty() ? "." : dir);
    dirty_ = false;
    return true;
}

void CProfileStore::Problem(std::string text) const {
    constexpr size_t kMaxProblems = 100;  // a garbage file must not grow this without end
    if (problems_.size() < kMaxProblems) {
        problems_.push_back(std::move(text));
    }
}

std::vector<std::string> CProfileStore::TakeProblems() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    out.swap(problems_);
    return out;
}

CProfileStore::Batch::Batch(CProfileStore& store) : store_(&store) {
    std::lock_guard lock(store.mutex_);
    ++store.batchDepth_;
}

CProfileStore::Batch::~Batch() {
    Close();
}

bool CProfileStore::Batch::Close() {
    if (store_ == nullptr) {
        return true;
    }
    CProfileStore& store = *store_;
    store_ = nullptr;
    std::lock_guard lock(store.mutex_);
    if (--store.batchDepth_ > 0 || !store.dirty_) {
        return true;
    }
    return store.SaveLocked();
}

CProfileStore& Profile() {
    static CProfileStore store;
    return store;
}

std::string DefaultProfilePath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : ".") + "/.config";
    }
    return base + "/Qelvo/vorlin.ini";
}

}  // namespace corvane
