#include "graphics/CaptionObj.h"

#include "graphics/IcomObj.h"
#include "graphics/TrunkSetObj.h"
#include "platform/Format.h"

namespace corvane {
namespace {

constexpr const char* kBlanks = " \t\n\v\f\r";

// The trimmed text with one blank before and one after.
std::string Framed(const std::string& text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return "  ";
    }
    const size_t last = text.find_last_not_of(kBlanks);
    return " " + text.substr(first, last - first + 1) + " ";
}

constexpr GraphicSize kPlacement{CCaptionObj::kPlacementSize, CCaptionObj::kPlacementSize};

}  // namespace

bool CCaptionObj::SetText(const std::string& text) {
    std::string framed = Framed(text);
    if (framed == text_) {
        return false;
    }
    text_ = std::move(framed);
    remeasure_ = true;
    return true;
}

void CCaptionObj::TakeText(const std::string& text) {
    text_ = Framed(text);
    remeasure_ = true;
}

void CCaptionObj::CentreOnOwner() {
    if (const CGraphicObj* owner = Owner()) {
        rect_ = CentredRect(owner->GetRect().Centre(), {rect_.Width(), rect_.Height()});
    }
}

bool CCaptionObj::IsVisible(const GraphicOptions& options) const {
    const CGraphicObj* owner = Owner();
    return visible_ && (owner == nullptr || owner->IsVisible(options));
}

int32_t CCaptionObj::GetId() const {
    const CGraphicObj* owner = Owner();
    return owner == nullptr ? 0 : owner->GetId();
}

void CCaptionObj::DrawBox(GraphicPainter& painter, ColorRef border, ColorRef text,
                          ColorRef background) {
    if (remeasure_) {
        remeasure_ = false;
        rect_ = CentredRect(rect_.Centre(), painter.TextExtent(text_));
    }
    painter.Text(rect_, text_, text, background);
    painter.Frame(rect_, border);
}

HitCode CCaptionObj::HitAs(HitCode code, GraphicPoint point, const GraphicOptions& options) const {
    return IsVisible(options) && rect_.Contains(point) ? code : HitCode::Nothing;
}

void CIcomCaption::Draw(GraphicPainter& painter, const GraphicDrawContext& context) {
    if (!IsVisible(context.options)) {
        return;
    }
    const ColorSettings& c = context.colors;
    if (selected_) {
        DrawBox(painter, c.Get(DisplayColor::SelectedIntercomCaptionBorder),
                c.Get(DisplayColor::SelectedIntercomCaptionText),
                c.Get(DisplayColor::SelectedIntercomCaptionBackground));
        return;
    }
    const bool online = owner_ != nullptr && owner_->IsOnline();
    DrawBox(painter, c.Get(DisplayColor::IntercomCaptionBorder),
            c.Get(DisplayColor::IntercomCaptionText),
            c.Get(online ? DisplayColor::IntercomCaptionBackground
                         : DisplayColor::DisconnectedIntercomCaptionBackground));
}

const CGraphicObj* CIcomCaption::Owner() const {
    return owner_;
}

void CIcomCaption::SetOwner(CIcomObj* owner, const std::string& text) {
    owner_ = owner;
    TakeText(text);
    if (owner_ != nullptr) {
        const GraphicRect& box = owner_->GetRect();
        // The centre lies half a box height below the box's bottom edge.
        const int64_t centreY = int64_t{box.bottom} + box.Height() / 2;
        rect_ = CentredRect({box.Centre().x, ClampCoordinate(centreY)}, kPlacement);
    }
}

void CTrunkSetCaption::Draw(GraphicPainter& painter, const GraphicDrawContext& context) {
    if (!IsVisible(context.options)) {
        return;
    }
    const ColorSettings& c = context.colors;
    if (selected_) {
        DrawBox(painter, c.Get(DisplayColor::SelectedTrunkCaptionBorder),
                c.Get(DisplayColor::SelectedTrunkCaptionText),
                c.Get(DisplayColor::SelectedTrunkCaptionBackground));
    } else {
        DrawBox(painter, c.Get(DisplayColor::TrunkCaptionBorder),
                c.Get(DisplayColor::TrunkCaptionText), c.Get(DisplayColor::TrunkCaptionBackground));
    }
}

const CGraphicObj* CTrunkSetCaption::Owner() const {
    return owner_;
}

void CTrunkSetCaption::SetOwner(CTrunkSetObj* owner, const std::string& text) {
    owner_ = owner;
    TakeText(text);
    if (owner_ != nullptr) {
        rect_ = CentredRect(owner_->GetRect().Centre(), kPlacement);
    }
}

bool CTrunkSetCaption::UpdateText() {
    if (owner_ == nullptr) {
        return false;
    }
    if (owner_->Counts().total == 0) {
        return SetText("<no trunks>");
    }
    return SetText(StrFormat("%d / %d / %d", owner_->Idle(), owner_->Counts().allocated,
                             owner_->Unavailable()));
}

}  // namespace corvane
