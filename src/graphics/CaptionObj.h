#pragma once

#include <cstdint>
#include <string>

#include "graphics/GraphicObj.h"

namespace corvane {

class CIcomObj;
class CTrunkSetObj;

// A text caption. Its text carries one blank before and one after the trimmed text; after a
// change of text the next drawing fits the rectangle to the text.
class CCaptionObj : public CGraphicObj {
public:
    static constexpr int32_t kPlacementSize = 10;

    const std::string& GetText() const { return text_; }
    // Trims the text and puts one blank around it; false when that is the text already.
    bool SetText(const std::string& text);
    bool NeedsMeasuring() const { return remeasure_; }
    // Keeps the size; the centre becomes the centre of the owner's rectangle.
    void CentreOnOwner();

    virtual const CGraphicObj* Owner() const = 0;
    bool IsVisible(const GraphicOptions& options) const override;
    int32_t GetId() const override;

protected:
    CCaptionObj() = default;
    // The text with the blanks, and a rectangle to be fitted at the next drawing.
    void TakeText(const std::string& text);
    // Fits the rectangle to the text when asked to, then draws text and frame.
    void DrawBox(GraphicPainter& painter, ColorRef border, ColorRef text, ColorRef background);
    HitCode HitAs(HitCode code, GraphicPoint point, const GraphicOptions& options) const;

    std::string text_;
    bool remeasure_ = true;

private:
    friend class CLayoutArchiveReader;
};

// The caption below an intercom box.
class CIcomCaption final : public CCaptionObj {
public:
    static constexpr GraphicClass kClass = GraphicClass::IcomCaption;

    GraphicClass Class() const override { return kClass; }
    void Draw(GraphicPainter& painter, const GraphicDrawContext& context) override;
    HitCode HitTest(GraphicPoint point, const GraphicOptions& options) const override {
        return HitAs(HitCode::IntercomCaption, point, options);
    }
    const CGraphicObj* Owner() const override;

    CIcomObj* GetOwner() const { return owner_; }
    // Takes the text and a 10 by 10 rectangle centred half a box height below the box.
    void SetOwner(CIcomObj* owner, const std::string& text);

private:
    friend class CLayoutArchiveReader;
    CIcomObj* owner_ = nullptr;
};

// The caption in the middle of a trunk set: idle / allocated / unavailable.
class CTrunkSetCaption final : public CCaptionObj {
public:
    static constexpr GraphicClass kClass = GraphicClass::TrunkSetCaption;
    static constexpr const char* kPlaceholder = "WW/WW/WW";

    GraphicClass Class() const override { return kClass; }
    void Draw(GraphicPainter& painter, const GraphicDrawContext& context) override;
    HitCode HitTest(GraphicPoint point, const GraphicOptions& options) const override {
        return HitAs(HitCode::TrunkSetCaption, point, options);
    }
    const CGraphicObj* Owner() const override;

    CTrunkSetObj* GetOwner() const { return owner_; }
    // Takes the text and a 10 by 10 rectangle centred on the trunk set's midpoint.
    void SetOwner(CTrunkSetObj* owner, const std::string& text);
    // The owner's counts as "%d / %d / %d", or "<no trunks>" for a total of 0.
    bool UpdateText();

private:
    friend class CLayoutArchiveReader;
    CTrunkSetObj* owner_ = nullptr;
};

}  // namespace corvane
