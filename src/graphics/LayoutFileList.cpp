#include "graphics/LayoutFileList.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string_view>

namespace corvane {
namespace {

constexpr const char* kDefault = "default";
constexpr std::string_view kExtension = ".vlv";

}  // namespace

std::vector<std::string> EnumerateLayoutFiles(const std::string& directory) {
    std::vector<std::string> titles;
    if (DIR* dir = ::opendir(directory.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.empty() || name[0] == '.' || name.size() <= kExtension.size() ||
                name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) != 0) {
                continue;
            }
            struct stat st {};
            if (::stat((directory + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
                (st.st_mode & S_IWUSR) == 0) {
                continue;
            }
            std::string title = name.substr(0, name.size() - kExtension.size());
            if (title != kDefault) {
                titles.push_back(std::move(title));
            }
        }
        ::closedir(dir);
    }
    std::sort(titles.begin(), titles.end());
    titles.insert(titles.begin(), kDefault);
    return titles;
}

size_t FindFreeLayoutName(const std::vector<std::string>& names) {
    const auto it = std::find(names.begin(), names.end(), std::string());
    return it == names.end() ? 0 : static_cast<size_t>(it - names.begin());
}

}  // namespace corvane
