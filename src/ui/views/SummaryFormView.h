#pragma once

#include "presentation/FilterData.h"
#include "ui/views/VorlinFormView.h"

class QComboBox;

namespace corvane {

// The trunk summary kind's form: the intercom whose trunks to other intercoms are counted,
// or every intercom's totals.
class CSummaryFormView final : public CVorlinFormView {
    Q_OBJECT

public:
    static constexpr int kDialogId = 196;
    static constexpr int kIntercom = 1010;

    CSummaryFormView(const ViewContext& context, QWidget* parent);

    CVorlinFilterData* GetFilterData() override { return &filter_; }
    // Both info bars: the counts and the intercoms counted.
    bool IsInfoBarEnabled(int barId) const override;
    void OnInitialUpdate() override;
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;

private:
    void FillIntercomBox();
    void OnSelectionChanged();

    CSummaryFilterData filter_;
    QComboBox* intercom_;
};

}  // namespace corvane
