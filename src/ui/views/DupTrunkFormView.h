#pragma once

#include "presentation/FilterData.h"
#include "ui/views/VorlinFormView.h"

namespace corvane {

// The trunk conflict kind's form: nothing to choose, only what the list shows.
class CDupTrunkFormView final : public CVorlinFormView {
    Q_OBJECT

public:
    static constexpr int kDialogId = 195;

    CDupTrunkFormView(const ViewContext& context, QWidget* parent);

    CVorlinFilterData* GetFilterData() override { return &filter_; }
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;

private:
    CDupTrunkFilterData filter_;
};

}  // namespace corvane
