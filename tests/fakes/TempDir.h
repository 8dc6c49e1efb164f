#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace corvane::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Runs the test with the working folder inside a temporary tree ("<tmp>/bin"), so that the
// program's relative folders ("../Logs", "../database") land in the tree.
class ScopedWorkingTree {
public:
    ScopedWorkingTree() : old_(std::filesystem::current_path()) {
        std::filesystem::create_directories(dir_.Path() / "bin");
        std::filesystem::current_path(dir_.Path() / "bin");
    }
    ~ScopedWorkingTree() { std::filesystem::current_path(old_); }
    const std::filesystem::path& Root() const { return dir_.Path(); }

private:
    TempDir dir_;
    std::filesystem::path old_;
};

}  // namespace corvane::testing
