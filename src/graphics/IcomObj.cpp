#include "graphics/IcomObj.h"

#include <algorithm>

#include "graphics/CaptionObj.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {
namespace {

// A whole box, also at the edge of the coordinate bound.
GraphicRect BoxAt(int64_t left, int64_t top) {
    const auto edge = [](int64_t v) {
        return std::clamp<int64_t>(v, -kMaxGraphicCoordinate,
                                   kMaxGraphicCoordinate - CIcomObj::kBoxSize);
    };
    const auto l = static_cast<int32_t>(edge(left));
    const auto t = static_cast<int32_t>(edge(top));
    return {l, t, l + CIcomObj::kBoxSize, t + CIcomObj::kBoxSize};
}

}  // namespace

void CIcomObj::Draw(GraphicPainter& painter, const GraphicDrawContext& context) {
    if (!IsVisible(context.options)) {
        return;
    }
    const ColorSettings& colors = context.colors;
    const ColorRef outline =
        colors.Get(selected_ ? DisplayColor::SelectedIntercomBorder : DisplayColor::IntercomBorder);
    const ColorRef fill = colors.Get(selected_ ? DisplayColor::SelectedIntercomInterior
                                     : online_ ? DisplayColor::IntercomInterior
                                               : DisplayColor::DisconnectedIntercomInterior);
    painter.Ellipse(rect_, outline, fill);
    if (remoteMark_) {
        const int32_t dx = rect_.Width() / 3;
        const int32_t dy = rect_.Height() / 3;
        painter.Ellipse({rect_.left + dx, rect_.top + dy, rect_.right - dx, rect_.bottom - dy},
                        outline, colors.Get(DisplayColor::RemoteIntercomInterior));
    }
}

HitCode CIcomObj::HitTest(GraphicPoint point, const GraphicOptions& options) const {
    return IsVisible(options) && rect_.Contains(point) ? HitCode::Intercom : HitCode::Nothing;
}

void CIcomObj::MoveTo(int32_t x, int32_t y) {
    rect_ = BoxAt(x, y);
    for (CGraphicObj* obj : trunkSets_) {
        if (CTrunkSetObj* trunkSet = GraphicCast<CTrunkSetObj>(obj)) {
            trunkSet->UpdateLine(true);
        }
    }
}

void CIcomObj::Init(int32_t number, int32_t x, int32_t y, CIcomCaption* caption,
                    const std::string& text) {
    id_ = number;
    caption_ = caption;
    rect_ = BoxAt(int64_t{x} - kBoxSize / 2, int64_t{y} - kBoxSize / 2);
    if (caption_ != nullptr) {
        caption_->SetOwner(this, text);
    }
}

bool CIcomObj::SetBaud9600Mark(bool mark) {
    const bool changed = remoteMark_ != mark;
    remoteMark_ = mark;
    return changed;
}

bool CIcomObj::SetOnline(bool online) {
    const bool changed = online_ != online;
    online_ = online;
    return changed;
}

}  // namespace corvane
