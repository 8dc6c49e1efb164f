#pragma once

#include <array>

#include "presentation/FilterData.h"
#include "ui/views/VorlinFormView.h"

class QCheckBox;
class QComboBox;
class QGroupBox;

namespace corvane {

// The trunk kind's form: the two intercoms a trunk runs between, and check boxes that show or
// hide trunks by state, by test result and by service. The check states are shared by every
// trunk form, so a new trunk frame starts as the last one was set. The test-result boxes show
// only with an audio analyzer, the service boxes only when the controller reports the
// out-of-service state.
class CTrunkFormView final : public CVorlinFormView {
    Q_OBJECT

public:
    static constexpr int kDialogId = 192;
    static constexpr int kIntercomBox = 1010;
    static constexpr int kOtherIntercomBox = 1011;

    CTrunkFormView(const ViewContext& context, QWidget* parent);

    CVorlinFilterData* GetFilterData() override { return &filter_; }
    // The second bar shows the test-result counts: only with an audio analyzer.
    bool IsInfoBarEnabled(int barId) const override;
    void OnInitialUpdate() override;
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;

    // A control by its dialog id; none for another id.
    QWidget* Control(int id) const;

private:
    static constexpr size_t kCheckBoxes = 11;
    // The check states of every trunk form.
    static std::array<bool, kCheckBoxes>& SharedChecks();

    void FillIntercomBoxes();
    void SelectIntercoms();
    void OnIntercomChosen(QComboBox* box, int selector);
    void OnCheckBoxClicked();
    // The shared states from the boxes, then the filter's masks from them.
    void ReadCheckBoxes();
    // The boxes from the shared states.
    void ShowCheckStates();
    // The shared states and the boxes from the filter's masks.
    void TakeMasks();
    void EvaluateAnalyzer();
    void EvaluateService();
    // A condition changed: the frame's info bars follow, every bit of the mask is set (its
    // boxes checked) and its boxes are shown or hidden.
    void ShowMaskBoxes(QGroupBox* group, size_t first, size_t count, bool shown);

    CTrunkFilterData filter_;
    QComboBox* intercom_ = nullptr;
    QComboBox* otherIntercom_ = nullptr;
    QGroupBox* results_ = nullptr;
    QGroupBox* service_ = nullptr;
    std::array<QCheckBox*, kCheckBoxes> boxes_{};
    bool analyzer_ = true;  // the conditions as last evaluated
    bool outOfServiceState_ = true;
};

}  // namespace corvane
