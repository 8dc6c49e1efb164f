#include "graphics/TrunkSetObj.h"

#include <algorithm>
#include <cmath>

#include "graphics/CaptionObj.h"
#include "graphics/IcomObj.h"
#include "graphics/TrunkSetStrokes.h"

namespace corvane {
namespace {

// The count arithmetic of the caption wraps in 32 bits, as the counts are stored.
int32_t Wrap32(uint32_t value) {
    return static_cast<int32_t>(value);
}

}  // namespace

TrunkSetLine LineThrough(GraphicPoint a, GraphicPoint b) {
    const int64_t dx = int64_t{a.x} - b.x;
    const int64_t dy = int64_t{a.y} - b.y;
    TrunkSetLine line;
    line.a = dy;
    line.b = -dx;
    line.c = int64_t{a.x} * b.y - int64_t{b.x} * a.y;
    line.dy2 = dy * dy;
    line.dx2 = dx * dx;
    line.length2 = line.dx2 + line.dy2;
    return line;
}

bool CTrunkSetObj::IsVisible(const GraphicOptions& options) const {
    if (options.autoHideEmptyTrunkSets && counts_.total == 0) {
        return false;
    }
    return visible_ && first_ != nullptr && second_ != nullptr && first_->IsVisible(options) &&
           second_->IsVisible(options);
}

void CTrunkSetObj::Draw(GraphicPainter& painter, const GraphicDrawContext& context) {
    if (!IsVisible(context.options)) {
        return;
    }
    for (const TrunkSetStroke& s :
         TrunkSetStrokes({rect_.left, rect_.top}, {rect_.right, rect_.bottom}, counts_)) {
        painter.Line(
            s.from, s.to, s.width, context.colors.Get(s.color),
            s.dotted ? GraphicPainter::LineStyle::Dotted : GraphicPainter::LineStyle::Solid);
    }
}

HitCode CTrunkSetObj::HitTest(GraphicPoint point, const GraphicOptions& options) const {
    if (!IsVisible(options)) {
        return HitCode::Nothing;
    }
    const int64_t tolerance = std::max<int64_t>(counts_.total / 2 + 3, 6);
    int64_t distance = 0;
    if (DistanceTo(point, distance) && distance > tolerance) {
        return HitCode::Nothing;
    }
    return rect_.Normalized().Inflated(tolerance + 1).Contains(point) ? HitCode::TrunkSet
                                                                      : HitCode::Nothing;
}

void CTrunkSetObj::Attach(int32_t key, CIcomObj* first, CIcomObj* second,
                          CTrunkSetCaption* caption) {
    key_ = key;
    first_ = first;
    second_ = second;
    caption_ = caption;
    UpdateLine(false);
    if (caption_ != nullptr) {
        caption_->SetOwner(this, CTrunkSetCaption::kPlaceholder);
    }
    if (first_ != nullptr) {
        first_->TrunkSets().AddHead(this);
    }
    if (second_ != nullptr) {
        second_->TrunkSets().AddHead(this);
    }
}

bool CTrunkSetObj::SetTrunkCounts(const TrunkSetCounts& counts) {
    const bool changed = counts != counts_;
    counts_ = counts;
    if (caption_ != nullptr) {
        caption_->UpdateText();
    }
    return changed;
}

void CTrunkSetObj::UpdateLine(bool recentre) {
    if (first_ == nullptr || second_ == nullptr) {
        return;
    }
    const GraphicPoint a = first_->GetRect().Centre();
    const GraphicPoint b = second_->GetRect().Centre();
    rect_ = {a.x, a.y, b.x, b.y};
    line_ = LineThrough(a, b);
    storedLine_ = line_;
    if (recentre && caption_ != nullptr && !caption_->IsSelected()) {
        caption_->CentreOnOwner();
    }
}

bool CTrunkSetObj::DistanceTo(GraphicPoint point, int64_t& distance) const {
    if (line_.length2 <= 0) {
        return false;
    }
    const long double along = static_cast<long double>(line_.a) * point.x +
                              static_cast<long double>(line_.b) * point.y +
                              static_cast<long double>(line_.c);
    const long double exact = std::fabs(along) / std::sqrt(static_cast<long double>(line_.length2));
    constexpr long double kFar = 1e18L;  // beyond every tolerance, and within int64
    distance = static_cast<int64_t>(std::floor(std::min(exact, kFar) + 0.5L));
    return true;
}

int32_t CTrunkSetObj::Idle() const {
    return Wrap32(static_cast<uint32_t>(counts_.total) - static_cast<uint32_t>(counts_.allocated) -
                  static_cast<uint32_t>(counts_.inUse) - static_cast<uint32_t>(counts_.maint) -
                  static_cast<uint32_t>(counts_.oos));
}

int32_t CTrunkSetObj::Unavailable() const {
    return Wrap32(static_cast<uint32_t>(counts_.inUse) + static_cast<uint32_t>(counts_.maint) +
                  static_cast<uint32_t>(counts_.oos));
}

}  // namespace corvane
