#include <array>
#include <unordered_map>

#include "graphics/CaptionObj.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "graphics/LayoutArchive.h"
#include "graphics/LayoutArchiveBytes.h"
#include "graphics/LayoutArchiveTags.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {
namespace {

// Line terms are 32-bit in the file; far-apart ends wrap as they always did there.
int32_t Wrapped(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

class LayoutArchiveWriter {
public:
    explicit LayoutArchiveWriter(LayoutArchiveOut& out) : out_(out) {}

    void List(const CGraphicObjList& list) {
        out_.Count(static_cast<uint32_t>(list.GetCount()));
        for (const CGraphicObj* obj : list) {
            Object(obj);
        }
        out_.Int32(list.Owns() ? 1 : 0);
    }

private:
    void Object(const CGraphicObj* obj) {
        if (obj == nullptr) {
            out_.Word(archivetag::kNull);
            return;
        }
        if (const auto it = objects_.find(obj); it != objects_.end()) {
            Reference(it->second, 0);
            return;
        }
        if (depth_ >= kMaxLayoutNesting) {
            throw LayoutFormatError("the layout is linked too deeply to be stored",
                                    out_.Bytes().size());
        }
        uint32_t& classIndex = classes_[static_cast<size_t>(obj->Class())];
        if (classIndex == 0) {
            const std::string_view name = archivetag::ClassName(obj->Class());
            out_.Word(archivetag::kNewClass);
            out_.Word(archivetag::kSchema);
            out_.Word(static_cast<uint16_t>(name.size()));
            out_.Raw(name);
            classIndex = next_++;
        } else {
            Reference(classIndex, archivetag::kClassBit);
        }
        objects_.emplace(obj, next_++);
        ++depth_;
        Fields(*obj);
        --depth_;
    }

    // An index in the short form below 0x7FFF, else behind the escape word.
    void Reference(uint32_t index, uint16_t classBit) {
        if (index < archivetag::kBigIndex) {
            out_.Word(static_cast<uint16_t>(classBit | index));
        } else {
            out_.Word(archivetag::kBigIndex);
            out_.Dword((classBit != 0 ? archivetag::kBigClassBit : 0) | index);
        }
    }

    void Base(const CGraphicObj& obj) {
        out_.Bool(obj.VisibleFlag());
        const GraphicRect& r = obj.GetRect();
        out_.Int32(r.left);
        out_.Int32(r.top);
        out_.Int32(r.right);
        out_.Int32(r.bottom);
    }

    void Fields(const CGraphicObj& obj) {
        Base(obj);
        switch (obj.Class()) {
            case GraphicClass::IcomObj: {
                const auto& intercom = static_cast<const CIcomObj&>(obj);
                out_.Int32(intercom.GetId());
                out_.Bool(intercom.HasBaud9600Mark());
                out_.Bool(intercom.IsOnline());
                Object(intercom.Caption());
                List(intercom.TrunkSets());
                break;
            }
            case GraphicClass::TrunkSetObj: {
                const auto& trunkSet = static_cast<const CTrunkSetObj&>(obj);
                const TrunkSetCounts& counts = trunkSet.Counts();
                out_.Int32(trunkSet.GetId());
                out_.Int32(counts.total);
                out_.Int32(counts.allocated);
                out_.Int32(counts.inUse);
                out_.Word(static_cast<uint16_t>(counts.maint));
                out_.Word(static_cast<uint16_t>(counts.oos));
                Object(trunkSet.Caption());
                Object(trunkSet.FirstEnd());
                Object(trunkSet.SecondEnd());
                const TrunkSetLine& line = trunkSet.StoredLine();
                for (int64_t term : {line.a, line.b, line.c, line.dy2, line.dx2, line.length2}) {
                    out_.Int32(Wrapped(term));
                }
                break;
            }
            case GraphicClass::IcomCaption: {
                const auto& caption = static_cast<const CIcomCaption&>(obj);
                out_.String(caption.GetText());
                Object(caption.GetOwner());
                break;
            }
            case GraphicClass::TrunkSetCaption: {
                const auto& caption = static_cast<const CTrunkSetCaption&>(obj);
                out_.String(caption.GetText());
                Object(caption.GetOwner());
                break;
            }
        }
    }

    LayoutArchiveOut& out_;
    std::unordered_map<const CGraphicObj*, uint32_t> objects_;
    std::array<uint32_t, 4> classes_{};  // 0: not yet written
    uint32_t next_ = 1;
    size_t depth_ = 0;
};

}  // namespace

bool WriteLayoutArchive(const CGraphicLayout& layout, std::string& bytes, std::string& error) {
    LayoutArchiveOut out;
    LayoutArchiveWriter writer(out);
    try {
        writer.List(layout.Intercoms());
        writer.List(layout.TrunkSets());
        writer.List(layout.IntercomCaptions());
        writer.List(layout.TrunkSetCaptions());
    } catch (const LayoutFormatError& e) {
        error = e.what();
        return false;
    }
    bytes = out.Bytes();
    return true;
}

}  // namespace corvane
