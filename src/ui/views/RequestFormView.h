#pragma once

#include <vector>

#include "presentation/FilterData.h"
#include "ui/views/FilterControls.h"
#include "ui/views/VorlinFormView.h"

class QComboBox;

namespace corvane {

// The request kind's form: the ends a request involves (an intercom, its function type and
// assignment, a second intercom, a trunk) and the request states shown.
class CRequestFormView final : public CVorlinFormView {
    Q_OBJECT

public:
    static constexpr int kDialogId = 191;
    static constexpr int kIntercom1 = 1001, kIntercom2 = 1002, kFunctionType = 1004,
                         kAssignment = 1005, kTrunk = 1006;

    CRequestFormView(const ViewContext& context, QWidget* parent);

    CVorlinFilterData* GetFilterData() override { return &filter_; }
    void OnInitialUpdate() override;
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;

private:
    void FillIntercomBoxes();
    void FillAssignmentBox();
    void FillTrunkBox();
    void SelectFromFilter();
    void OnSelectionChanged(QComboBox* box, int selector);
    void OnStateClicked();

    CRequestFilterData filter_;
    QComboBox* intercom1_;
    QComboBox* functionType_;
    QComboBox* assignment_;
    QComboBox* intercom2_;
    QComboBox* trunk_;
    std::vector<MaskCheckBox> states_;
};

}  // namespace corvane
