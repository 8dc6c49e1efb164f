#pragma once

#include <cstdint>

#include "graphics/GraphicObj.h"

namespace corvane {

class CIcomObj;
class CTrunkSetCaption;

// The trunks between two intercoms by state, as the trunk summary counts them.
struct TrunkSetCounts {
    int32_t total = 0;
    int32_t allocated = 0;
    int32_t inUse = 0;
    int32_t maint = 0;
    int32_t oos = 0;
    friend bool operator==(const TrunkSetCounts&, const TrunkSetCounts&) = default;
};

// The terms of the line through the two end centres (xA, yA) and (xB, yB), kept for hit
// testing: a·x + b·y + c = 0 on the line.
struct TrunkSetLine {
    int64_t a = 0;        // yA - yB
    int64_t b = 0;        // xB - xA
    int64_t c = 0;        // xA·yB - xB·yA
    int64_t dy2 = 0;      // (yA - yB)²
    int64_t dx2 = 0;      // (xA - xB)²
    int64_t length2 = 0;  // squared length
    friend bool operator==(const TrunkSetLine&, const TrunkSetLine&) = default;
};

// The terms of the line from a to b.
TrunkSetLine LineThrough(GraphicPoint a, GraphicPoint b);

// The band between two intercom boxes. Its rectangle is not normalised: (left, top) is the
// centre of the first end and (right, bottom) that of the second.
class CTrunkSetObj final : public CGraphicObj {
public:
    static constexpr GraphicClass kClass = GraphicClass::TrunkSetObj;

    CTrunkSetObj() = default;

    GraphicClass Class() const override { return kClass; }
    // Hidden when empty and empty sets are to be hidden; else its flag and both ends.
    bool IsVisible(const GraphicOptions& options) const override;
    void Draw(GraphicPainter& painter, const GraphicDrawContext& context) override;
    int32_t GetId() const override { return key_; }
    HitCode HitTest(GraphicPoint point, const GraphicOptions& options) const override;
    // A trunk set follows its ends and is not moved itself.
    void MoveTo(int32_t x, int32_t y) override {}

    // Stores key, ends and caption, runs the line, gives the caption its placeholder text
    // and enters the set at the head of both ends' trunk-set lists.
    void Attach(int32_t key, CIcomObj* first, CIcomObj* second, CTrunkSetCaption* caption);
    // Stores the counts and refreshes the caption text; whether a count changed.
    bool SetTrunkCounts(const TrunkSetCounts& counts);
    // Rectangle and line from the end centres; with re-centring the caption follows unless it
    // is selected. Nothing without both ends.
    void UpdateLine(bool recentre);
    // The point's distance from the line, rounded; none when the ends share one centre.
    bool DistanceTo(GraphicPoint point, int64_t& distance) const;

    const TrunkSetCounts& Counts() const { return counts_; }
    int32_t Idle() const;
    int32_t Unavailable() const;
    // The terms hit testing uses, always those of the line as drawn.
    const TrunkSetLine& Line() const { return line_; }
    // The terms a layout file holds: as read from it until the line is next updated.
    const TrunkSetLine& StoredLine() const { return storedLine_; }
    CTrunkSetCaption* Caption() const { return caption_; }
    CIcomObj* FirstEnd() const { return first_; }
    CIcomObj* SecondEnd() const { return second_; }

private:
    friend class CLayoutArchiveReader;

    int32_t key_ = 0;
    TrunkSetCounts counts_;
    CTrunkSetCaption* caption_ = nullptr;
    CIcomObj* first_ = nullptr;
    CIcomObj* second_ = nullptr;
    TrunkSetLine line_;
    TrunkSetLine storedLine_;
};

}  // namespace corvane
