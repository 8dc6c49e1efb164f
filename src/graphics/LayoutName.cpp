#include "graphics/LayoutName.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "graphics/LayoutFile.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"

namespace corvane {
namespace {

constexpr const char* kBlanks = " \t\n\v\f\r";

bool IsControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

char Folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Folded(x) == Folded(y);
           });
}

}  // namespace

std::string TrimmedLayoutName(std::string_view typed) {
    const size_t first = typed.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = typed.find_last_not_of(kBlanks);
    return std::string(typed.substr(first, last - first + 1));
}

std::string CheckLayoutName(const std::string& name, const std::vector<std::string>& names,
                            int ownIndex) {
    if (name.empty()) {
        return "a layout needs a name";
    }
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return c == '/' || c == '\\' || IsControl(c); })) {
        return StrFormat("\"%s\" holds a character a layout name cannot hold", name.c_str());
    }
    if (name == "." || name == ".." || !IsValidLayoutName(name)) {
        return StrFormat("\"%s\" cannot name a layout file", name.c_str());
    }
    if (SameWithoutCase(name, "default")) {
        return "\"default\" is the name of the default layout";
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (static_cast<int>(i) != ownIndex && SameWithoutCase(name, names[i])) {
            return StrFormat("a layout named \"%s\" exists", names[i].c_str());
        }
    }
    return {};
}

bool RenameLayoutFile(const std::string& directory, const std::string& from, const std::string& to,
                      std::string& error) {
    const std::string oldPath = LayoutFilePath(directory, from);
    const std::string newPath = LayoutFilePath(directory, to);
    if (::renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) != 0) {
        // A file system without the no-replace rename: a link never replaces either.
        if (errno != EINVAL && errno != ENOSYS) {
            error = StrFormat("cannot rename %s to %s: %s", oldPath.c_str(), newPath.c_str(),
                              std::strerror(errno));
            return false;
        }
        if (::link(oldPath.c_str(), newPath.c_str()) != 0) {
            error = StrFormat("cannot rename %s to %s: %s", oldPath.c_str(), newPath.c_str(),
                              std::strerror(errno));
            return false;
        }
        if (::unlink(oldPath.c_str()) != 0) {
            error = StrFormat("%s renamed to %s, but the old name stays: %s", oldPath.c_str(),
                              newPath.c_str(), std::strerror(errno));
            ::unlink(newPath.c_str());
            return false;
        }
    }
    SyncDirectory(directory);
    return true;
}

}  // namespace corvane
