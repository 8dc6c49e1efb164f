#pragma once

#include "presentation/FilterData.h"
#include "ui/views/VorlinFormView.h"

namespace corvane {

// The intercom kind's form: no controls, only its filter, which shows every intercom.
class CIcomFormView final : public CVorlinFormView {
    Q_OBJECT

public:
    static constexpr int kDialogId = 193;

    CIcomFormView(const ViewContext& context, QWidget* parent);

    CVorlinFilterData* GetFilterData() override { return &filter_; }
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;

private:
    CIcomFilterData filter_;
};

}  // namespace corvane
