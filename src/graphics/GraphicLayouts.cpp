#include "graphics/GraphicLayouts.h"

#include <algorithm>

#include "graphics/LayoutFile.h"
#include "platform/Format.h"

namespace corvane {

CGraphicLayouts::CGraphicLayouts(std::string directory) : directory_(std::move(directory)) {
    Clear();
}

void CGraphicLayouts::Clear() {
    layouts_.clear();
    names_.assign(1, "default");
    layouts_.resize(1);
}

CGraphicLayouts::~CGraphicLayouts() = default;

size_t CGraphicLayouts::EnumerateLayoutFiles() {
    names_ = corvane::EnumerateLayoutFiles(directory_);
    const size_t leftOut = names_.size() - std::min(names_.size(), size_t{kMaxLayoutIndex} + 1);
    names_.resize(names_.size() - leftOut);
    layouts_.clear();
    layouts_.resize(names_.size());
    return leftOut;
}

const std::string& CGraphicLayouts::Name(int index) const {
    static const std::string none;
    return index >= 0 && index < NameCount() ? names_[static_cast<size_t>(index)] : none;
}

void CGraphicLayouts::SetName(int index, std::string name) {
    if (index >= 0 && index < NameCount()) {
        names_[static_cast<size_t>(index)] = std::move(name);
    }
}

int CGraphicLayouts::FindFreeLayoutName() const {
    return static_cast<int>(corvane::FindFreeLayoutName(names_));
}

bool CGraphicLayouts::HasRoomForLayout() const {
    return FindFreeLayoutName() != 0 || NameCount() <= kMaxLayoutIndex;
}

int CGraphicLayouts::AddName(std::string name) {
    if (NameCount() > kMaxLayoutIndex) {
        return -1;
    }
    names_.push_back(std::move(name));
    layouts_.resize(names_.size());
    return NameCount() - 1;
}

CGraphicLayout* CGraphicLayouts::GetGraphicLayout(int index) {
    if (index < 0 || index >= NameCount() || Name(index).empty()) {
        return nullptr;
    }
    auto& layout = layouts_[static_cast<size_t>(index)];
    if (layout == nullptr) {
        layout = std::make_unique<CGraphicLayout>();
    }
    return layout.get();
}

CGraphicLayout* CGraphicLayouts::FindGraphicLayout(int index) const {
    return index >= 0 && index < NameCount() ? layouts_[static_cast<size_t>(index)].get() : nullptr;
}

void CGraphicLayouts::DeleteGraphicLayout(int index) {
    if (index >= 0 && index < NameCount()) {
        layouts_[static_cast<size_t>(index)].reset();
    }
}

CGraphicLayouts::Opened CGraphicLayouts::LoadGraphicalLayout(int index, std::string& error) {
    CGraphicLayout* layout = GetGraphicLayout(index);
    if (layout == nullptr) {
        error = "no such layout";
        return Opened::Failed;
    }
    if (!layout->NeedsLoading()) {
        return Opened::Ready;
    }
    LayoutLoadResult loaded = LoadLayoutFile(*layout, directory_, Name(index));
    switch (loaded.status) {
        case LayoutLoadStatus::Loaded:
            return Opened::Ready;
        case LayoutLoadStatus::Missing:
            return SaveGraphicalLayout(index, index, error) ? Opened::Created : Opened::Failed;
        default:
            error = std::move(loaded.error);
            return Opened::Failed;
    }
}

bool CGraphicLayouts::SaveGraphicalLayout(int layoutIndex, int nameIndex, std::string& error) {
    CGraphicLayout* layout = FindGraphicLayout(layoutIndex);
    const std::string& name = Name(nameIndex);
    if (layout == nullptr || name.empty()) {
        error = layout == nullptr ? "no such layout" : "no name";
        return false;
    }
    if (!SaveLayoutFile(*layout, directory_, name, error)) {
        return false;
    }
    layout->SetNeedsLoading(nameIndex != layoutIndex);
    return true;
}

bool CGraphicLayouts::AutoSaveLayout(int layoutIndex, int nameIndex, std::string& error) {
    const CGraphicLayout* layout = FindGraphicLayout(layoutIndex);
    if (layout != nullptr && layout->NeedsLoading() && nameIndex == layoutIndex) {
        error = StrFormat("layout \"%s\" is not what its file holds and is not saved by itself",
                          Name(layoutIndex).c_str());
        return false;
    }
    return SaveGraphicalLayout(layoutIndex, nameIndex, error);
}

std::vector<std::string> CGraphicLayouts::ChangedLayouts() const {
    std::vector<std::string> changed;
    for (size_t i = 0; i < layouts_.size(); ++i) {
        const CGraphicLayout* layout = layouts_[i].get();
        if (layout != nullptr && layout->IsModified() && !layout->NeedsLoading() &&
            !names_[i].empty()) {
            changed.push_back(names_[i]);
        }
    }
    return changed;
}

bool CGraphicLayouts::SaveLayout(const std::string& name) {
    for (int i = 0; i < NameCount(); ++i) {
        if (names_[static_cast<size_t>(i)] == name) {
            std::string error;
            if (!AutoSaveLayout(i, i, error)) {
                return false;
            }
            layouts_[static_cast<size_t>(i)]->SetModified(false);
            return true;
        }
    }
    return false;
}

}  // namespace corvane
