#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

class CGraphicLayout;

// A layout named "name" lives in "<folder>/name.vlv"; the program's folder is
// kLayoutDirectory (graphics/LayoutFileList.h).
inline constexpr const char* kLayoutFileExtension = ".vlv";
// Far above the largest layout (256 intercoms with a trunk set per pair is about 4 MB).
inline constexpr size_t kMaxLayoutFileSize = size_t{16} << 20;

// Whether the name can only name a file of the layout folder: not empty, without '/', '\'
// or NUL, not beginning with '.' (so also not "." or ".."), and short enough for a file name.
bool IsValidLayoutName(std::string_view name);
std::string LayoutFilePath(const std::string& directory, const std::string& name);

enum class LayoutLoadStatus {
    Loaded,
    Missing,     // no file of that name
    CannotOpen,  // there is one, but it cannot be read
    Damaged,     // it is no layout file
    BadName,     // the name is not one a layout file can have
};

struct LayoutLoadResult {
    LayoutLoadStatus status = LayoutLoadStatus::Loaded;
    std::string error;  // empty when loaded or missing
};

// Empties the layout and reads its file. Loaded clears the layout's needs-loading flag; any
// other result leaves the layout empty and still needing loading.
LayoutLoadResult LoadLayoutFile(CGraphicLayout& layout, const std::string& directory,
                                const std::string& name);

// Drops the hidden intercoms from the layout (with their captions and trunk sets) and writes
// it to its file: into a temporary file of the folder, synced, then renamed over the old
// file, so that a failed save leaves the old file as it was. The layout's flags are left to
// the caller. False with the reason in error when nothing was written.
bool SaveLayoutFile(CGraphicLayout& layout, const std::string& directory, const std::string& name,
                    std::string& error);

}  // namespace corvane
