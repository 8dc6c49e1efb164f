#include <memory>
#include <unordered_set>
#include <vector>

#include "graphics/CaptionObj.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "graphics/LayoutArchive.h"
#include "graphics/LayoutArchiveBytes.h"
#include "graphics/LayoutArchiveTags.h"
#include "graphics/LayoutLinks.h"
#include "graphics/TrunkSetObj.h"
#include "platform/Format.h"

namespace corvane {

// Reads the objects of a layout archive into storage of its own, and hands them to the
// layout only when the whole file was read and its objects hang together.
class CLayoutArchiveReader {
public:
    explicit CLayoutArchiveReader(LayoutArchiveIn& in) : in_(in) {}

    void Read(CGraphicLayout& layout) {
        std::vector<CGraphicObj*> intercoms = LayoutList(GraphicClass::IcomObj);
        std::vector<CGraphicObj*> trunkSets = LayoutList(GraphicClass::TrunkSetObj);
        std::vector<CGraphicObj*> intercomCaptions = LayoutList(GraphicClass::IcomCaption);
        std::vector<CGraphicObj*> trunkSetCaptions = LayoutList(GraphicClass::TrunkSetCaption);
        if (!in_.AtEnd()) {
            in_.Fail(StrFormat("%zu bytes after the last list", in_.Remaining()));
        }
        if (placed_.size() != created_.size()) {
            in_.Fail("an object that is in none of the layout's lists");
        }
        const std::string broken =
            FindBrokenLinks(intercoms, trunkSets, intercomCaptions, trunkSetCaptions);
        if (!broken.empty()) {
            in_.Fail(broken);
        }

        for (std::unique_ptr<CGraphicObj>& obj : created_) {
            obj.release();  // each is in exactly one of the lists below, which own it
        }
        const auto fill = [](CGraphicObjList& list, const std::vector<CGraphicObj*>& objs) {
            for (CGraphicObj* obj : objs) {
                list.AddTail(obj);
            }
        };
        fill(layout.Intercoms(), intercoms);
        fill(layout.TrunkSets(), trunkSets);
        fill(layout.IntercomCaptions(), intercomCaptions);
        fill(layout.TrunkSetCaptions(), trunkSetCaptions);
    }

private:
    struct Entry {
        bool isClass;
        GraphicClass cls;
        CGraphicObj* obj;
    };

    uint32_t ListCount() {
        const uint32_t count = in_.Count();
        // Every entry takes at least one word, and no layout has more entries than this.
        listEntries_ += count;
        if (count > in_.Remaining() / 2 || listEntries_ > 4 * kMaxLayoutObjects) {
            in_.Fail(StrFormat("a list of %u entries", count));
        }
        return count;
    }

    std::vector<CGraphicObj*> LayoutList(GraphicClass cls) {
        const uint32_t count = ListCount();
        std::vector<CGraphicObj*> objs;
        objs.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            CGraphicObj* obj = Object(cls);
            if (obj == nullptr) {
                in_.Fail("an empty entry in a list of the layout");
            }
            if (!placed_.insert(obj).second) {
                in_.Fail("an object that stands twice in the layout's lists");
            }
            objs.push_back(obj);
        }
        if (in_.Int32() != 1) {
            in_.Fail("a list of the layout that does not own its objects");
        }
        return objs;
    }

    void TrunkSetList(CIcomObj& intercom) {
        const uint32_t count = ListCount();
        for (uint32_t i = 0; i < count; ++i) {
            CGraphicObj* obj = Object(GraphicClass::TrunkSetObj);
            if (obj == nullptr) {
                in_.Fail("an empty entry in an intercom's trunk sets");
            }
            intercom.trunkSets_.AddTail(obj);
        }
        if (in_.Int32() != 0) {
            in_.Fail("an intercom's trunk-set list that owns its trunk sets");
        }
    }

    template <typename T>
    T* Reference() {
        return static_cast<T*>(Object(T::kClass));
    }

    // A reference of the expected class: none, one read before, or a new object.
    CGraphicObj* Object(GraphicClass expected) {
        const uint16_t tag = in_.Word();
        if (tag == archivetag::kNull) {
            return nullptr;
        }
        GraphicClass cls{};
        if (tag == archivetag::kNewClass) {
            cls = NewClass();
        } else if (tag == archivetag::kBigIndex) {
            const uint32_t index = in_.Dword();
            if ((index & archivetag::kBigClassBit) == 0) {
                return Existing(index, expected);
            }
            cls = ClassAt(index & ~archivetag::kBigClassBit);
        } else if ((tag & archivetag::kClassBit) != 0) {
            cls = ClassAt(tag & ~archivetag::kClassBit);
        } else {
            return Existing(tag, expected);
        }
        if (cls != expected) {
            in_.Fail(StrFormat("a %s where a %s belongs", archivetag::ClassName(cls).data(),
                               archivetag::ClassName(expected).data()));
        }
        return New(cls);
    }

    GraphicClass NewClass() {
        if (in_.Word() != archivetag::kSchema) {
            in_.Fail("a class of an unknown schema");
        }
        const uint16_t length = in_.Word();
        if (length >= archivetag::kMaxClassName) {
            in_.Fail("a class name that is too long");
        }
        const std::optional<GraphicClass> cls = archivetag::ClassNamed(in_.Raw(length));
        if (!cls) {
            in_.Fail("an unknown class");
        }
        loaded_.push_back({true, *cls, nullptr});
        return *cls;
    }

    GraphicClass ClassAt(uint32_t index) {
        if (index == 0 || index >= loaded_.size() || !loaded_[index].isClass) {
            in_.Fail(StrFormat("class index %u, which was not read", index));
        }
        return loaded_[index].cls;
    }

    CGraphicObj* Existing(uint32_t index, GraphicClass expected) {
        if (index == 0 || index >= loaded_.size() || loaded_[index].isClass) {
            in_.Fail(StrFormat("object index %u, which was not read", index));
        }
        const Entry& entry = loaded_[index];
        if (entry.cls != expected) {
            in_.Fail(StrFormat("a reference to a %s where a %s belongs",
                               archivetag::ClassName(entry.cls).data(),
                               archivetag::ClassName(expected).data()));
        }
        return entry.obj;
    }

    CGraphicObj* New(GraphicClass cls) {
        if (created_.size() >= kMaxLayoutObjects) {
            in_.Fail("more objects than a layout holds");
        }
        if (depth_ >= kMaxLayoutNesting) {
            in_.Fail("objects nested too deeply");
        }
        std::unique_ptr<CGraphicObj> obj;
        switch (cls) {
            case GraphicClass::IcomObj:
                obj = std::make_unique<CIcomObj>();
                break;
            case GraphicClass::TrunkSetObj:
                obj = std::make_unique<CTrunkSetObj>();
                break;
            case GraphicClass::IcomCaption:
                obj = std::make_unique<CIcomCaption>();
                break;
            case GraphicClass::TrunkSetCaption:
                obj = std::make_unique<CTrunkSetCaption>();
                break;
        }
        CGraphicObj* raw = obj.get();
        created_.push_back(std::move(obj));
        // The object takes its index before its fields, which may refer back to it.
        loaded_.push_back({false, cls, raw});
        ++depth_;
        Fields(*raw);
        --depth_;
        return raw;
    }

    int32_t Coordinate() {
        const int32_t value = in_.Int32();
        if (!IsWithinCoordinateBound(value)) {
            in_.Fail(StrFormat("coordinate %d is out of range", value));
        }
        return value;
    }

    void Base(CGraphicObj& obj) {
        obj.visible_ = in_.Bool();
        obj.rect_.left = Coordinate();
        obj.rect_.top = Coordinate();
        obj.rect_.right = Coordinate();
        obj.rect_.bottom = Coordinate();
    }

    void Fields(CGraphicObj& obj) {
        Base(obj);
        switch (obj.Class()) {
            case GraphicClass::IcomObj: {
                auto& intercom = static_cast<CIcomObj&>(obj);
                intercom.id_ = in_.Int32();
                intercom.remoteMark_ = in_.Bool();
                intercom.online_ = in_.Bool();
                intercom.caption_ = Reference<CIcomCaption>();
                TrunkSetList(intercom);
                break;
            }
            case GraphicClass::TrunkSetObj: {
                auto& trunkSet = static_cast<CTrunkSetObj&>(obj);
                trunkSet.key_ = in_.Int32();
                trunkSet.counts_.total = in_.Int32();
                trunkSet.counts_.allocated = in_.Int32();
                trunkSet.counts_.inUse = in_.Int32();
                trunkSet.counts_.maint = in_.Word();
                trunkSet.counts_.oos = in_.Word();
                trunkSet.caption_ = Reference<CTrunkSetCaption>();
                trunkSet.first_ = Reference<CIcomObj>();
                trunkSet.second_ = Reference<CIcomObj>();
                TrunkSetLine& stored = trunkSet.storedLine_;
                for (int64_t* term :
                     {&stored.a, &stored.b, &stored.c, &stored.dy2, &stored.dx2, &stored.length2}) {
                    *term = in_.Int32();
                }
                // The stored terms may be stale or wrapped; hits follow the line as drawn.
                const GraphicRect& r = trunkSet.rect_;
                trunkSet.line_ = LineThrough({r.left, r.top}, {r.right, r.bottom});
                break;
            }
            case GraphicClass::IcomCaption: {
                auto& caption = static_cast<CIcomCaption&>(obj);
                caption.text_ = in_.String(kMaxCaptionTextLength);
                caption.owner_ = Reference<CIcomObj>();
                break;
            }
            case GraphicClass::TrunkSetCaption: {
                auto& caption = static_cast<CTrunkSetCaption&>(obj);
                caption.text_ = in_.String(kMaxCaptionTextLength);
                caption.owner_ = Reference<CTrunkSetObj>();
                break;
            }
        }
    }

    LayoutArchiveIn& in_;
    std::vector<Entry> loaded_{Entry{false, GraphicClass::IcomObj, nullptr}};
    std::vector<std::unique_ptr<CGraphicObj>> created_;
    std::unordered_set<const CGraphicObj*> placed_;
    size_t listEntries_ = 0;
    size_t depth_ = 0;
};

bool ReadLayoutArchive(std::span<const uint8_t> bytes, CGraphicLayout& layout, std::string& error) {
    layout.DeleteAllObjects();
    LayoutArchiveIn in(bytes);
    try {
        CLayoutArchiveReader(in).Read(layout);
    } catch (const LayoutFormatError& e) {
        error = e.what();
        return false;
    }
    return true;
}

}  // namespace corvane
