#pragma once

#include <vector>

#include "presentation/FilterData.h"
#include "ui/views/FilterControls.h"
#include "ui/views/VorlinFormView.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace corvane {

// The alarm kind's form: the intercom of the communication alarms and the trunk of the test
// failure alarms shown, the categories and the states. The test alarms' controls show only
// while an audio analyzer is configured.
class CAlarmFormView final : public CVorlinFormView {
    Q_OBJECT

public:
    static constexpr int kDialogId = 194;
    static constexpr int kIntercom = 1010, kTrunk = 1011, kTrunkLabel = 1195, kTrunkFailures = 1052,
                         kAnalyzerAlarms = 1058;

    CAlarmFormView(const ViewContext& context, QWidget* parent);

    CVorlinFilterData* GetFilterData() override { return &filter_; }
    void OnInitialUpdate() override;
    void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                  const HintPayload& payload) override;

private:
    void FillIntercomBox();
    void FillTrunkBox();
    // The analyzer's caption, and its controls with or without an analyzer.
    void EvaluateAnalyzer();
    void OnSelectionChanged(QComboBox* box, int selector);
    void OnCheckClicked();

    CAlarmFilterData filter_;
    QComboBox* intercom_;
    QComboBox* trunk_;
    QLabel* trunkLabel_;
    std::vector<MaskCheckBox> categories_;
    std::vector<MaskCheckBox> states_;
    // The analyzer condition as last seen.
    bool analyzerShown_ = true;
};

}  // namespace corvane
