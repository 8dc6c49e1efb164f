#pragma once

#include "presentation/FilterData.h"
#include "ui/views/VorlinFormView.h"

class QComboBox;

namespace corvane {

// The alpha kind's form: the intercom and the function type of the alphas shown.
class CAlphaFormView final : public CVorlinFormView {
    Q_OBJECT

public:
    static constexpr int kDialogId = 190;
    static constexpr int kIntercom = 1000, kFunctionType = 1003;

    CAlphaFormView(const ViewContext& context, QWidget* parent);

    CVorlinFilterData* GetFilterData() override { return &filter_; }
    void OnInitialUpdate() override;
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;

private:
    void FillIntercomBox();
    void OnSelectionChanged(QComboBox* box, int selector);

    CAlphaFilterData filter_;
    QComboBox* intercom_;
    QComboBox* functionType_;
};

}  // namespace corvane
