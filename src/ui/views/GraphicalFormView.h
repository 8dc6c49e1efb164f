#pragma once

#include "ui/views/VorlinFormView.h"

namespace corvane {

// The form of the graphical kind: empty, shown 0 units high above the picture. It has no
// filter and no info bars and takes no hint.
class CGraphicalFormView final : public CVorlinFormView {
    Q_OBJECT

public:
    static constexpr int kDialogId = 197;

    CGraphicalFormView(const ViewContext& context, QWidget* parent);

    bool IsInfoBarEnabled(int barId) const override { return false; }
    void OnInitialUpdate() override;
    void OnUpdate(IViewHintReceiver*, ViewUpdateHint, const HintPayload&) override {}
};

}  // namespace corvane
