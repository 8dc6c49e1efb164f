#include "graphics/LayoutNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "graphics/GraphicLayouts.h"
#include "graphics/LayoutFile.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"

namespace corvane {
namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr int kMaxNewLayoutNumber = 999;

bool HasControlCharacter(std::string_view name) {
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        // C0 and DEL, and C1 (U+0080-U+009F) as UTF-8 writes it.
        if (c < 0x20 || c == 0x7F ||
            (c == 0xC2 && i + 1 < name.size() && static_cast<unsigned char>(name[i + 1]) < 0xA0 &&
             static_cast<unsigned char>(name[i + 1]) >= 0x80)) {
            return true;
        }
    }
    return false;
}

char FoldedAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldedAscii(a[i]) != FoldedAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsSavedLayout(const CGraphicLayouts& layouts, int index) {
    return index >= 1 && index < layouts.NameCount() && !layouts.Name(index).empty();
}

// Anything there, even what cannot be looked at, takes the name.
bool PathTaken(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

}  // namespace

std::string TrimLayoutName(std::string_view typed) {
    const size_t first = typed.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = typed.find_last_not_of(kBlanks);
    return std::string(typed.substr(first, last - first + 1));
}

LayoutNameProblem CheckLayoutName(const CGraphicLayouts& layouts, std::string_view name,
                                  int ownIndex) {
    if (name.empty()) {
        return LayoutNameProblem::Empty;
    }
    if (!IsValidLayoutName(name) || HasControlCharacter(name)) {
        return LayoutNameProblem::BadName;
    }
    for (int i = 0; i < layouts.NameCount(); ++i) {
        if (i != ownIndex && EqualIgnoringAsciiCase(layouts.Name(i), name)) {
            return LayoutNameProblem::Clash;
        }
    }
    return LayoutNameProblem::None;
}

std::string NewLayoutName(const CGraphicLayouts& layouts) {
    for (int i = 1; i <= kMaxNewLayoutNumber; ++i) {
        const std::string name = StrFormat("view%d", i);
        if (CheckLayoutName(layouts, name, -1) == LayoutNameProblem::None &&
            !PathTaken(LayoutFilePath(layouts.Directory(), name))) {
            return name;
        }
    }
    return {};
}

std::optional<int> AddSavedLayout(CGraphicLayouts& layouts) {
    if (!layouts.HasRoomForLayout()) {
        return std::nullopt;
    }
    std::string name = NewLayoutName(layouts);
    if (name.empty()) {
        return std::nullopt;
    }
    const int free = layouts.FindFreeLayoutName();
    if (free == 0) {
        return layouts.AddName(std::move(name));
    }
    // Whatever a deleted layout left in its slot is not the new one's.
    layouts.DeleteGraphicLayout(free);
    layouts.SetName(free, std::move(name));
    return free;
}

bool RenameLayoutFile(const std::string& directory, const std::string& from, const std::string& to,
                      std::string& error) {
    const std::string source = LayoutFilePath(directory, from);
    const std::string target = LayoutFilePath(directory, to);
    bool moved =
        ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0;
    if (!moved && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without the no-replace rename: a link is refused when the target
        // exists just the same.
        moved = ::link(source.c_str(), target.c_str()) == 0;
        if (moved && ::unlink(source.c_str()) != 0) {
            const int unlinkErrno = errno;
            ::unlink(target.c_str());
            errno = unlinkErrno;
            moved = false;
        }
    }
    if (!moved) {
        error = StrFormat("cannot rename %s to %s: %s", source.c_str(), target.c_str(),
                          std::strerror(errno));
        return false;
    }
    SyncDirectory(directory);
    return true;
}

LayoutRenameResult RenameSavedLayout(CGraphicLayouts& layouts, int index, std::string_view typed) {
    if (!IsSavedLayout(layouts, index)) {
        return {LayoutRename::Refused, LayoutNameProblem::None, {}};
    }
    std::string name = TrimLayoutName(typed);
    if (name == layouts.Name(index)) {
        return {};
    }
    if (const LayoutNameProblem problem = CheckLayoutName(layouts, name, index);
        problem != LayoutNameProblem::None) {
        return {LayoutRename::Refused, problem, {}};
    }
    std::string error;
    if (!RenameLayoutFile(layouts.Directory(), layouts.Name(index), name, error)) {
        return {LayoutRename::Failed, LayoutNameProblem::None, std::move(error)};
    }
    layouts.SetName(index, std::move(name));
    return {LayoutRename::Renamed, LayoutNameProblem::None, {}};
}

bool DeleteSavedLayout(CGraphicLayouts& layouts, int index, std::string& error) {
    if (!IsSavedLayout(layouts, index)) {
        error = "no such saved layout";
        return false;
    }
    const std::string path = LayoutFilePath(layouts.Directory(), layouts.Name(index));
    if (::unlink(path.c_str()) != 0) {
        error = StrFormat("cannot delete %s: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    SyncDirectory(layouts.Directory());
    layouts.SetName(index, {});
    return true;
}

}  // namespace corvane
