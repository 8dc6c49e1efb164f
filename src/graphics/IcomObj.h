#pragma once

#include <cstdint>
#include <string>

#include "graphics/GraphicObj.h"
#include "graphics/GraphicObjList.h"

namespace corvane {

class CIcomCaption;

// The box of one intercom matrix: an ellipse of 32 by 32 units.
class CIcomObj final : public CGraphicObj {
public:
    static constexpr GraphicClass kClass = GraphicClass::IcomObj;
    static constexpr int32_t kBoxSize = 32;

    CIcomObj() = default;

    GraphicClass Class() const override { return kClass; }
    void Draw(GraphicPainter& painter, const GraphicDrawContext& context) override;
    int32_t GetId() const override { return id_; }
    GraphicSize GetSize() const override { return {kBoxSize, kBoxSize}; }
    HitCode HitTest(GraphicPoint point, const GraphicOptions& options) const override;
    // The box becomes (x, y, x + 32, y + 32); the trunk sets that end here follow.
    void MoveTo(int32_t x, int32_t y) override;

    // Sets the number and the caption, centres the box on (x, y) and gives the caption its
    // owner and text.
    void Init(int32_t number, int32_t x, int32_t y, CIcomCaption* caption, const std::string& text);

    // Each stores the flag and says whether it changed.
    bool SetBaud9600Mark(bool mark);
    bool SetOnline(bool online);
    bool HasBaud9600Mark() const { return remoteMark_; }
    bool IsOnline() const { return online_; }

    CIcomCaption* Caption() const { return caption_; }
    // Every trunk set that ends at this box; not owned.
    CGraphicObjList& TrunkSets() { return trunkSets_; }
    const CGraphicObjList& TrunkSets() const { return trunkSets_; }

private:
    friend class CLayoutArchiveReader;

    int32_t id_ = 0;
    bool remoteMark_ = false;
    bool online_ = false;
    CIcomCaption* caption_ = nullptr;
    CGraphicObjList trunkSets_{false};
};

}  // namespace corvane
