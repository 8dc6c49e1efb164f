#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/CaptionObj.h"
#include "graphics/GraphicLayout.h"
#include "graphics/GraphicPainter.h"
#include "graphics/IcomObj.h"
#include "graphics/LayoutModelSource.h"
#include "graphics/TrunkSetObj.h"
#include "settings/ColorSettings.h"

namespace corvane::testing {

// Little-endian bytes of a layout file, built by hand.
class ArchiveBytes {
public:
    ArchiveBytes& Byte(uint8_t b) {
        bytes_.push_back(b);
        return *this;
    }
    ArchiveBytes& Word(uint16_t w) { return Byte(w & 0xFF).Byte(w >> 8); }
    ArchiveBytes& Dword(uint32_t d) { return Word(d & 0xFFFF).Word(d >> 16); }
    ArchiveBytes& Int(int32_t v) { return Dword(static_cast<uint32_t>(v)); }
    ArchiveBytes& Raw(std::string_view s) {
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    // A new class: WORD 0xFFFF, schema 0, name length, name.
    ArchiveBytes& NewClass(std::string_view name) {
        return Word(0xFFFF).Word(0).Word(static_cast<uint16_t>(name.size())).Raw(name);
    }
    // A text shorter than 255 bytes with its one-byte length.
    ArchiveBytes& ShortText(std::string_view s) {
        return Byte(static_cast<uint8_t>(s.size())).Raw(s);
    }
    ArchiveBytes& Rect(int32_t l, int32_t t, int32_t r, int32_t b) {
        return Int(l).Int(t).Int(r).Int(b);
    }
    // An empty list of the layout: count 0, owns 1.
    ArchiveBytes& EmptyLayoutList() { return Word(0).Int(1); }

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::span<const uint8_t> Span() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

inline std::vector<uint8_t> ToBytes(const std::string& s) {
    return {s.begin(), s.end()};
}

// Every object of a layout in list order, with its fields and the list positions of what it
// refers to, so that two layouts compare as text.
std::string DescribeLayout(const CGraphicLayout& layout);

// Records what the objects draw, one line per primitive.
class RecordingPainter final : public GraphicPainter {
public:
    void Ellipse(const GraphicRect& r, ColorRef outline, ColorRef fill) override;
    void Line(GraphicPoint from, GraphicPoint to, int width, ColorRef color,
              LineStyle style) override;
    GraphicSize TextExtent(const std::string& text) override;
    void Text(const GraphicRect& r, const std::string& text, ColorRef textColor,
              ColorRef background) override;
    void Frame(const GraphicRect& r, ColorRef color) override;

    // Each character measures 7 by 13.
    static constexpr int kCharWidth = 7;
    static constexpr int kCharHeight = 13;

    std::vector<std::string> calls;
};

std::string RectText(const GraphicRect& r);

// A model of a few intercoms and summary rows that records what it is asked; lookups of the
// failing intercom fail.
class FakeModel final : public LayoutModelSource {
public:
    Lookup FindIntercom(int number, IntercomRow& row, std::string& error) override;
    Lookup FindTrunkSummary(int from, int to, TrunkSetCounts& counts, std::string& error) override;
    // By name; the failing intercom's row fails the walk.
    Lookup ListIntercoms(std::vector<IntercomEntry>& list, std::string& error) override;

    std::map<int, IntercomRow> intercoms;
    std::map<std::pair<int, int>, TrunkSetCounts> summary;
    std::vector<std::pair<int, int>> asked;
    int failingIntercom = -1;
};

}  // namespace corvane::testing
