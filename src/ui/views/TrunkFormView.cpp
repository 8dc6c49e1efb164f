#include "ui/views/TrunkFormView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "document/VorlinDoc.h"
#include "link/Quillex.h"
#include "model/ChoiceLists.h"
#include "settings/AppSettings.h"
#include "store/ComboFillers.h"
#include "store/VorlinDatabase.h"
#include "ui/VorlinDialog.h"
#include "ui/views/ChildFrame.h"

namespace corvane {
namespace {

enum class Mask { Result, State, Service };

struct CheckBoxInfo {
    int id;
    Mask mask;
    int bit;
    const char* caption;
    const char* tip;
};

// Results first, then states, then service: the order of the shared check states.
constexpr size_t kFirstResult = 0, kResults = 5;
constexpr size_t kFirstState = 5, kStates = 4;
constexpr size_t kFirstService = 9, kServices = 2;

const CheckBoxInfo kBoxes[] = {
    {1050, Mask::Result, testresult::kPass, " Show passed trunks",
     "Trunks never tested show with the passed ones"},
    {1051, Mask::Result, testresult::kFailure, " Show failed trunks", nullptr},
    {1052, Mask::Result, testresult::kError, " Show trunks with test errors", nullptr},
    {1053, Mask::Result, testresult::kPending, " Show pending trunks",
     "Trunks under test show with the pending ones"},
    {1054, Mask::Result, testresult::kSkipped, " Show skipped trunks", nullptr},
    {1055, Mask::State, trunkstate::kIdle, " Show idle trunks", nullptr},
    {1056, Mask::State, trunkstate::kAllocated, " Show allocated trunks", nullptr},
    {1057, Mask::State, trunkstate::kInUse, " Show in-use trunks", nullptr},
    {1058, Mask::State, trunkstate::kMaintenance, " Show trunks in maintenance", nullptr},
    {1059, Mask::Service, service::kOutOfService, " Show out-of-service trunks", nullptr},
    {1196, Mask::Service, service::kInService, " Show in-service trunks", nullptr},
};

bool Shows(const CTrunkFilterData& filter, const CheckBoxInfo& box) {
    switch (box.mask) {
        case Mask::Result:
            return filter.ShowsResult(box.bit);
        case Mask::State:
            return filter.ShowsState(box.bit);
        case Mask::Service:
            return filter.ShowsService(box.bit);
    }
    return true;
}

void Show(CTrunkFilterData& filter, const CheckBoxInfo& box, bool show) {
    switch (box.mask) {
        case Mask::Result:
            filter.ShowResult(box.bit, show);
            break;
        case Mask::State:
            filter.ShowState(box.bit, show);
            break;
        case Mask::Service:
            filter.ShowService(box.bit, show);
            break;
    }
}

int ChosenValue(const QComboBox* box) {
    const int data = box->currentData().toInt();
    return data == 0 ? CVorlinFilterData::kAny : data;
}

}  // namespace

std::array<bool, CTrunkFormView::kCheckBoxes>& CTrunkFormView::SharedChecks() {
    static std::array<bool, kCheckBoxes> checks = [] {
        std::array<bool, kCheckBoxes> all{};
        all.fill(true);
        return all;
    }();
    return checks;
}

CTrunkFormView::CTrunkFormView(const ViewContext& context, QWidget* parent)
    : CVorlinFormView(context, ViewKind::Trunks, kDialogId, parent) {
    QWidget* page = Page();
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(8);

    intercom_ = new QComboBox(page);
    otherIntercom_ = new QComboBox(page);
    auto* intercoms = new QVBoxLayout;
    intercoms->setSpacing(2);
    const std::pair<QComboBox*, const char*> combos[] = {{intercom_, "&Intercom:"},
                                                         {otherIntercom_, "&Other intercom:"}};
    for (const auto& [box, text] : combos) {
        box->setMinimumContentsLength(15);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        auto* label = new QLabel(tr(text), page);
        label->setBuddy(box);
        intercoms->addWidget(label);
        intercoms->addWidget(box);
        intercoms->addSpacing(6);
    }
    CVorlinDialog::SetControlId(intercom_, kIntercomBox);
    CVorlinDialog::SetControlId(otherIntercom_, kOtherIntercomBox);
    intercoms->addStretch(1);
    layout->addLayout(intercoms);

    const auto group = [this, page, layout](const QString& title, size_t first, size_t count) {
        auto* box = new QGroupBox(title, page);
        auto* column = new QVBoxLayout(box);
        column->setSpacing(2);
        for (size_t i = first; i < first + count; ++i) {
            auto* check = new QCheckBox(QString::fromLatin1(kBoxes[i].caption), box);
            CVorlinDialog::SetControlId(check, kBoxes[i].id);
            if (kBoxes[i].tip != nullptr) {
                check->setToolTip(tr(kBoxes[i].tip));
            }
            check->setChecked(SharedChecks()[i]);
            connect(check, &QCheckBox::clicked, this, &CTrunkFormView::OnCheckBoxClicked);
            column->addWidget(check);
            boxes_[i] = check;
        }
        column->addStretch(1);
        layout->addWidget(box, 0, Qt::AlignTop);
        return box;
    };
    group(tr("Trunk states"), kFirstState, kStates);
    results_ = group(tr("Test results"), kFirstResult, kResults);
    service_ = group(tr("Service"), kFirstService, kServices);
    layout->addStretch(1);

    connect(intercom_, &QComboBox::currentIndexChanged, this,
            [this] { OnIntercomChosen(intercom_, 1); });
    connect(otherIntercom_, &QComboBox::currentIndexChanged, this,
            [this] { OnIntercomChosen(otherIntercom_, 2); });
}

bool CTrunkFormView::IsInfoBarEnabled(int barId) const {
    return barId == cmd::kInfoBar1 ||
           (barId == cmd::kInfoBar2 && context_.doc.IsAnalyzerConfigured());
}

QWidget* CTrunkFormView::Control(int id) const {
    for (QWidget* w : findChildren<QWidget*>()) {
        if (CVorlinDialog::ControlId(w) == id) {
            return w;
        }
    }
    return nullptr;
}

void CTrunkFormView::OnInitialUpdate() {
    if (initialised_) {
        return;
    }
    ReadCheckBoxes();
    FillIntercomBoxes();
    EvaluateAnalyzer();
    EvaluateService();
    CVorlinFormView::OnInitialUpdate();
}

void CTrunkFormView::OnUpdate(IViewHintReceiver*, ViewUpdateHint hint, const HintPayload& payload) {
    if (!initialised_) {
        return;
    }
    if ((hint & hint::kFilterChanged) && TakeOverFilter(payload)) {
        SelectIntercoms();
        TakeMasks();
    }
    if (hint & hint::kIntercomNames) {
        FillIntercomBoxes();
    }
    if (hint & hint::kConfigurationApplied) {
        EvaluateAnalyzer();
        SendFilterToList();
    }
    if (hint & hint::kControllerCapabilities) {
        EvaluateService();
        SendFilterToList();
    }
}

void CTrunkFormView::FillIntercomBoxes() {
    CVorlinDatabase* db = context_.doc.Database();
    const bool nameless = context_.settings.Snapshot().ShowNamelessIntercoms;
    const ChoiceList choices = db != nullptr && db->IsOpen()
                                   ? FillIntercomCombo(db->Database(), true, nameless)
                                   : ChoiceList{};
    for (QComboBox* box : {intercom_, otherIntercom_}) {
        const QSignalBlocker block(box);
        box->clear();
        for (const Choice& choice : choices) {
            box->addItem(QString::fromStdString(choice.text), choice.data);
        }
    }
    SelectIntercoms();
}

void CTrunkFormView::SelectIntercoms() {
    const std::pair<QComboBox*, int> boxes[] = {{intercom_, filter_.Intercom()},
                                                {otherIntercom_, filter_.OtherIntercom()}};
    for (const auto& [box, selector] : boxes) {
        const QSignalBlocker block(box);
        const int index = box->findData(selector);
        box->setCurrentIndex(index >= 0 ? index : 0);
    }
}

void CTrunkFormView::OnIntercomChosen(QComboBox* box, int selector) {
    const int value = ChosenValue(box);
    if (value == filter_.Selector(selector)) {
        return;
    }
    filter_.SetSelector(selector, value);
    SendFilterToList();
    SendFilterToTree();
}

void CTrunkFormView::OnCheckBoxClicked() {
    const int states = filter_.StateMask();
    const int results = filter_.ResultMask();
    const int service = filter_.ServiceMask();
    ReadCheckBoxes();
    if (states != filter_.StateMask() || results != filter_.ResultMask() ||
        service != filter_.ServiceMask()) {
        SendFilterToList();
    }
}

void CTrunkFormView::ReadCheckBoxes() {
    for (size_t i = 0; i < kCheckBoxes; ++i) {
        SharedChecks()[i] = boxes_[i]->isChecked();
        Show(filter_, kBoxes[i], SharedChecks()[i]);
    }
}

void CTrunkFormView::ShowCheckStates() {
    for (size_t i = 0; i < kCheckBoxes; ++i) {
        boxes_[i]->setChecked(SharedChecks()[i]);
    }
}

void CTrunkFormView::TakeMasks() {
    for (size_t i = 0; i < kCheckBoxes; ++i) {
        SharedChecks()[i] = Shows(filter_, kBoxes[i]);
    }
    ShowCheckStates();
}

void CTrunkFormView::ShowMaskBoxes(QGroupBox* group, size_t first, size_t count, bool shown) {
    if (CChildFrame* frame = CChildFrame::Of(this)) {
        frame->ReloadInfoBars();
    }
    // With the boxes gone the operator could not bring hidden trunks back: show them all.
    for (size_t i = first; i < first + count; ++i) {
        SharedChecks()[i] = true;
        Show(filter_, kBoxes[i], true);
        boxes_[i]->setChecked(true);
    }
    group->setVisible(shown);
}

void CTrunkFormView::EvaluateAnalyzer() {
    const bool analyzer = context_.doc.IsAnalyzerConfigured();
    if (analyzer != analyzer_) {
        analyzer_ = analyzer;
        ShowMaskBoxes(results_, kFirstResult, kResults, analyzer);
    }
}

void CTrunkFormView::EvaluateService() {
    const CQuillex* controller = context_.doc.Controller();
    const bool supported = controller != nullptr && controller->HasOutOfServiceCapability();
    if (supported != outOfServiceState_) {
        outOfServiceState_ = supported;
        ShowMaskBoxes(service_, kFirstService, kServices, supported);
    }
}

}  // namespace corvane
