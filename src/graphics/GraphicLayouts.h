#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/DocumentParts.h"
#include "graphics/GraphicLayout.h"
#include "graphics/LayoutFileList.h"
#include "presentation/ViewId.h"

namespace corvane {

// The graphical layouts of the program: the layout names ("default" first, then the saved
// layout files; a deleted layout leaves its slot empty for the next new one) and, at the same
// index, the layout objects made so far. The graphical views, the navigation tree and the
// may-close question share it. User-interface thread only.
class CGraphicLayouts final : public ILayoutOwner {
public:
    explicit CGraphicLayouts(std::string directory = kLayoutDirectory);
    ~CGraphicLayouts() override;
    CGraphicLayouts(const CGraphicLayouts&) = delete;
    CGraphicLayouts& operator=(const CGraphicLayouts&) = delete;

    // The largest layout index: a navigation item carries it in 14 bits, whose highest value
    // means "all" (presentation/ViewId.h).
    static constexpr int kMaxLayoutIndex = kViewIdAll - 1;

    const std::string& Directory() const { return directory_; }

    // The names anew from the folder, as many as there are indices for; every layout object
    // is dropped. The number of layout files left out, the last in byte order.
    size_t EnumerateLayoutFiles();
    // Every layout object is dropped and only "default" stays.
    void Clear();
    int NameCount() const { return static_cast<int>(names_.size()); }
    // Empty for an index outside the names.
    const std::string& Name(int index) const;
    void SetName(int index, std::string name);
    // The index of the first empty name; 0 when there is none.
    int FindFreeLayoutName() const;
    // Whether a new layout has an index: an empty name or one past the names.
    bool HasRoomForLayout() const;
    // A new name at the end; its index, or -1 when the indices are all taken.
    int AddName(std::string name);

    // The layout object of an index, made (still needing loading) on first use; none for an
    // index outside the names or an empty name.
    CGraphicLayout* GetGraphicLayout(int index);
    // The object only when it was made already.
    CGraphicLayout* FindGraphicLayout(int index) const;
    // Deletes the layout object of the index; its name stays.
    void DeleteGraphicLayout(int index);

    // Makes the layout object of the index hold its file: nothing when it holds it already;
    // else it is emptied and read, and a missing file is written empty (Created). Failed, with
    // the reason in error, leaves it empty and still needing loading.
    enum class Opened { Ready, Created, Failed };
    Opened LoadGraphicalLayout(int index, std::string& error);

    // Writes the layout of layoutIndex into the file of the name at nameIndex, leaving out its
    // hidden intercoms (which leave the layout too). Written into its own file, the layout is
    // what its file holds; written under another name (Save As), the edits went there and
    // the layout is to be read again from its own file. False, with the reason in error, when
    // there is no such layout, the name is empty or the file could not be written.
    bool SaveGraphicalLayout(int layoutIndex, int nameIndex, std::string& error);
    // The same when the program saves by itself (leaving a view, closing): never into the
    // layout's own file while the layout still needs loading, since what it holds then is not
    // that file's layout (the file could not be read, or a Save As took the edits elsewhere).
    bool AutoSaveLayout(int layoutIndex, int nameIndex, std::string& error);

    // ILayoutOwner: the names of loaded layouts with unsaved changes, and saving by name as
    // the program saves by itself.
    std::vector<std::string> ChangedLayouts() const override;
    bool SaveLayout(const std::string& name) override;

private:
    std::string directory_;
    std::vector<std::string> names_;
    std::vector<std::unique_ptr<CGraphicLayout>> layouts_;
};

}  // namespace corvane
