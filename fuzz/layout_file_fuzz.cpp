// The layout file reader on arbitrary bytes: no crash, every refusal has a reason, and what it
// accepts is a sound layout: it can be hit, drawn, moved, thinned out and written, and what
// is written reads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "graphics/CaptionObj.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "graphics/LayoutArchive.h"
#include "settings/ColorSettings.h"

namespace {

using namespace corvane;

class NullPainter final : public GraphicPainter {
public:
    void Ellipse(const GraphicRect&, ColorRef, ColorRef) override {}
    void Line(GraphicPoint, GraphicPoint, int, ColorRef, LineStyle) override {}
    GraphicSize TextExtent(const std::string& text) override {
        return {static_cast<int32_t>(text.size() % 1000) * 7, 13};
    }
    void Text(const GraphicRect&, const std::string&, ColorRef, ColorRef) override {}
    void Frame(const GraphicRect&, ColorRef) override {}
};

std::span<const uint8_t> Span(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// Writes the layout and checks that the bytes read back and write again unchanged.
void ExpectStableWrite(const CGraphicLayout& layout) {
    std::string first;
    std::string error;
    if (!WriteLayoutArchive(layout, first, error)) {
        std::abort();
    }
    CGraphicLayout again;
    std::string second;
    if (!ReadLayoutArchive(Span(first), again, error) ||
        !WriteLayoutArchive(again, second, error) || second != first) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CGraphicLayout layout;
    std::string error;
    if (!ReadLayoutArchive({data, size}, layout, error)) {
        if (error.empty()) {
            std::abort();
        }
        return 0;
    }
    ExpectStableWrite(layout);

    const ColorSettings colors;
    NullPainter painter;
    for (const bool hideEmpty : {false, true}) {
        const GraphicOptions options{hideEmpty};
        for (const CGraphicObjList* list :
             {&layout.TrunkSets(), &layout.Intercoms(), &layout.IntercomCaptions(),
              &layout.TrunkSetCaptions()}) {
            list->DrawAll(painter, {colors, options});
        }
        const GraphicSize extent = layout.GetExtent();
        for (const GraphicPoint p : {GraphicPoint{0, 0}, GraphicPoint{extent.cx / 2, extent.cy / 2},
                                     GraphicPoint{INT32_MIN, INT32_MAX}}) {
            layout.HitTestAll(p, options);
        }
        layout.Intercoms().SelectInRect({0, 0, extent.cx, extent.cy}, options, layout.Selection());
    }
    if (!layout.Intercoms().IsEmpty()) {
        (*layout.Intercoms().begin())->MoveTo(INT32_MAX, INT32_MIN);
    }
    layout.RemoveHiddenIntercoms();
    ExpectStableWrite(layout);
    return 0;
}
