#include "ui/preferences/ConfigPage.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <climits>

#include "document/PreferenceTarget.h"
#include "preferences/PrefContext.h"
#include "preferences/PrefSheetLayout.h"
#include "preferences/SerialDeviceList.h"
#include "settings/AppSettings.h"
#include "ui/PrefSpinEdit.h"
#include "ui/preferences/PrefSheet.h"

namespace corvane {
namespace {

constexpr int kNone = INT_MAX;

CConfigPage::ControllerSearch& Search() {
    static CConfigPage::ControllerSearch search;
    return search;
}

// The number typed, or none when it does not parse.
int TypedNumber(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : kNone;
}

// The item with that data, else the first.
void SelectComboItemByData(QComboBox* combo, int data) {
    const int found = combo->findData(data);
    combo->setCurrentIndex(found >= 0 ? found : 0);
}

void Fill(QComboBox* combo, const std::vector<PrefListEntry>& entries) {
    combo->clear();
    for (const PrefListEntry& e : entries) {
        combo->addItem(QString::fromStdString(e.text), e.data);
    }
    if (combo->count() == 0) {
        combo->addItem("None", kNone);
    }
}

// The machine's serial devices; a path or "COMn" may still be typed.
QComboBox* NewPortCombo(const std::string& current, const std::string& deviceFolder,
                        QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& device : ListSerialDevices(deviceFolder)) {
        combo->addItem(QString::fromStdString(device));
    }
    combo->setCurrentText(QString::fromStdString(current));
    return combo;
}

// While the apply waits for the link and the instrument: the wait cursor, and from the first
// wait on a modal note that keeps the window painted between the polls.
class ApplyWait {
public:
    ApplyWait(QWidget* owner, PrefContext& context)
        : owner_(owner), context_(context), sleep_(context.sleep) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        context_.sleep = [this](std::chrono::milliseconds d) { Wait(d); };
    }
    ~ApplyWait() {
        context_.sleep = sleep_;
        delete note_;
        QApplication::restoreOverrideCursor();
    }
    ApplyWait(const ApplyWait&) = delete;
    ApplyWait& operator=(const ApplyWait&) = delete;

private:
    void Wait(std::chrono::milliseconds d) {
        if (note_ == nullptr) {
            note_ = new QProgressDialog("Applying the configuration, please wait...", QString(), 0,
                                        0, owner_->window());
            note_->setWindowTitle(owner_->window()->windowTitle());
            note_->setWindowModality(Qt::WindowModal);
            note_->setMinimumDuration(0);
            note_->show();
        }
        QCoreApplication::processEvents();
        sleep_(d);
        QCoreApplication::processEvents();
    }

    QWidget* owner_;
    PrefContext& context_;
    std::function<void(std::chrono::milliseconds)> sleep_;
    QProgressDialog* note_ = nullptr;
};

}  // namespace

void CConfigPage::SetControllerSearch(ControllerSearch search) {
    Search() = std::move(search);
}

CConfigPage::CConfigPage(PrefContext& context, QWidget* parent)
    : CVorlinPage(177, prefpage::kConfiguration, context, parent),
      values_(ConfigPageValues::FromSettings(context.settings.Snapshot())) {
    auto* layout = new QVBoxLayout(this);

    auto* comms = Control(new QGroupBox("Communications", this), 1143);
    auto* cgrid = new QGridLayout(comms);
    connection_ = Control(new QComboBox(comms), 1175);
    connection_->addItems({"Serial", "Network"});
    serialLabel_ = Control(new QLabel("COM Port:", comms), 1144);
    serialPort_ = Control(NewPortCombo(values_.serialPort, context.deviceFolder, comms), 1010);
    mainLabel_ = Control(new QLabel("Main:", comms), 1177);
    mainEdit_ = Control(new QLineEdit(QString::fromStdString(values_.mainAddress), comms), 1022);
    search_ = Control(new QPushButton("...", comms), 1176);
    partnerLabel_ = Control(new QLabel("Partner:", comms), 1178);
    partner_ = Control(new QLabel(comms), 1024);
    cgrid->addWidget(new QLabel("Connection:", comms), 0, 0);
    cgrid->addWidget(connection_, 0, 1, 1, 2);
    cgrid->addWidget(serialLabel_, 1, 0);
    cgrid->addWidget(serialPort_, 1, 1, 1, 2);
    cgrid->addWidget(mainLabel_, 2, 0);
    cgrid->addWidget(mainEdit_, 2, 1);
    cgrid->addWidget(search_, 2, 2);
    cgrid->addWidget(partnerLabel_, 3, 0);
    cgrid->addWidget(partner_, 3, 1, 1, 2);
    layout->addWidget(comms);

    auto* alpha = Control(new QGroupBox("Alpha Size", this), 1146);
    auto* arow = new QHBoxLayout(alpha);
    const char* alphaTexts[3] = {" &4 Characters", " &6 Characters", " &8 Characters"};
    for (int i = 0; i < 3; ++i) {
        alpha_[i] = Control(new QRadioButton(alphaTexts[i], alpha), 1040 + i);
        arow->addWidget(alpha_[i]);
        connect(alpha_[i], &QRadioButton::clicked, this, [this] { Modified(); });
    }
    alpha_[values_.alphaSelection]->setChecked(true);
    layout->addWidget(alpha);

    auto* tester = Control(new QGroupBox("Audio Analyzer", this), 1147);
    auto* tgrid = new QGridLayout(tester);
    analyzer_ = Control(new QComboBox(tester), 1014);
    auto* portLabel = Control(new QLabel("COM Port:", tester), 1145);
    testerSerialPort_ =
        Control(NewPortCombo(values_.testerSerialPort, context.deviceFolder, tester), 1011);
    auto* intercomLabel = Control(new QLabel("Intercom:", tester), 1165);
    intercomEdit_ = Control(new CPrefSpinEdit(1, 31, tester), 1020);
    intercomCombo_ = Control(new QComboBox(tester), 1012);
    auto* testerPortLabel = Control(new QLabel("Port:", tester), 1148);
    portEdit_ = Control(new CPrefSpinEdit(1, 999, tester), 1021);
    portCombo_ = Control(new QComboBox(tester), 1013);
    tgrid->addWidget(Control(new QLabel("Type:", tester), 1169), 0, 0);
    tgrid->addWidget(analyzer_, 0, 1, 1, 2);
    tgrid->addWidget(portLabel, 1, 0);
    tgrid->addWidget(testerSerialPort_, 1, 1, 1, 2);
    tgrid->addWidget(intercomLabel, 2, 0);
    tgrid->addWidget(intercomEdit_, 2, 1);
    tgrid->addWidget(intercomCombo_, 2, 2);
    tgrid->addWidget(testerPortLabel, 3, 0);
    tgrid->addWidget(portEdit_, 3, 1);
    tgrid->addWidget(portCombo_, 3, 2);
    tgrid->setColumnStretch(2, 1);
    testerControls_[0] = portLabel;
    testerControls_[1] = testerSerialPort_;
    testerControls_[2] = intercomLabel;
    testerControls_[3] = intercomEdit_;
    testerControls_[4] = intercomCombo_;
    testerControls_[5] = testerPortLabel;
    testerControls_[6] = portEdit_;
    testerControls_[7] = portCombo_;
    layout->addWidget(tester);

    auto* smtp = Control(new QGroupBox("SMTP Server", this), 1149);
    auto* srow = new QHBoxLayout(smtp);
    emailHost_ = Control(new QLineEdit(QString::fromStdString(values_.emailHost), smtp), 1023);
    srow->addWidget(Control(new QLabel("Host name or IP address:", smtp), 1150));
    srow->addWidget(emailHost_);
    layout->addWidget(smtp);
    layout->addStretch();

    connect(connection_, &QComboBox::currentIndexChanged, this, [this] { OnConnectionChanged(); });
    connect(serialPort_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        values_.serialPort = text.toStdString();
        Modified();
    });
    connect(testerSerialPort_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        values_.testerSerialPort = text.toStdString();
        Modified();
    });
    connect(mainEdit_, &QLineEdit::textEdited, this, [this] { OnMainEdited(); });
    connect(search_, &QPushButton::clicked, this, [this] { OnSearch(); });
    connect(analyzer_, &QComboBox::currentIndexChanged, this, [this] { OnAnalyzerChanged(); });
    connect(intercomEdit_, &QSpinBox::textChanged, this, [this] { OnIntercomEdit(); });
    connect(intercomCombo_, &QComboBox::currentIndexChanged, this,
            [this] { OnIntercomCombo(true); });
    connect(portEdit_, &QSpinBox::textChanged, this, [this] { OnPortEdit(); });
    connect(portCombo_, &QComboBox::currentIndexChanged, this, [this] { OnPortCombo(true); });
    connect(emailHost_, &QLineEdit::textEdited, this, [this](const QString& text) {
        values_.emailHost = text.toStdString();
        Modified();
    });
}

QLineEdit* CConfigPage::IntercomEdit() const {
    return intercomEdit_->findChild<QLineEdit*>();
}

QLineEdit* CConfigPage::PortEdit() const {
    return portEdit_->findChild<QLineEdit*>();
}

void CConfigPage::OnInitDialog() {
    connection_->setCurrentIndex(
        values_.connectionType >= 0 && values_.connectionType <= 1 ? values_.connectionType : 0);
    values_.connectionType = connection_->currentIndex();
    partner_->setText(QString::fromStdString(values_.partnerAddress));
    ShowConnectionControls();

    for (const std::string& name : AnalyzerNames()) {
        analyzer_->addItem(QString::fromStdString(name), analyzer_->count());
    }
    const int found = analyzer_->findText(QString::fromStdString(values_.analyzer));
    analyzer_->setCurrentIndex(found >= 0 ? found : 0);

    IPreferenceTarget* target = Context().target;
    const bool extended = target != nullptr && target->HasExtendedIntercomCapability();
    intercomEdit_->SetSpinRange(1, extended ? 255 : 31);
    portEdit_->SetSpinRange(1, 999);

    syncing_ = true;
    Fill(intercomCombo_,
         target != nullptr ? target->IntercomEntries() : std::vector<PrefListEntry>{});
    SelectComboItemByData(intercomCombo_, values_.testerIntercom);
    portCombo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FillPortCombo();
    intercomEdit_->setValue(values_.testerIntercom == kNone ? 0 : values_.testerIntercom);
    portEdit_->setValue(values_.testerPort == kNone ? 0 : values_.testerPort);
    syncing_ = false;

    EnableTesterControls();
    initialised_ = true;
    SetModified(false);
}

void CConfigPage::Modified() {
    if (initialised_ && !syncing_) {
        SetModified();
    }
}

void CConfigPage::ShowConnectionControls() {
    const bool serial = values_.connectionType == 0;
    for (QWidget* w : {serialLabel_, static_cast<QWidget*>(serialPort_)}) {
        w->setVisible(serial);
    }
    for (QWidget* w : {mainLabel_, static_cast<QWidget*>(mainEdit_), static_cast<QWidget*>(search_),
                       partnerLabel_, static_cast<QWidget*>(partner_)}) {
        w->setVisible(!serial);
    }
    search_->setEnabled(static_cast<bool>(Search()));
}

void CConfigPage::EnableTesterControls() {
    const bool on = AnalyzerTypeOf(values_.analyzer) != 0;
    for (QWidget* w : testerControls_) {
        w->setEnabled(on);
    }
}

void CConfigPage::OnConnectionChanged() {
    if (!initialised_) {
        return;
    }
    values_.connectionType = connection_->currentIndex() == 0 ? 0 : 1;
    ShowConnectionControls();
    Modified();
}

void CConfigPage::OnMainEdited() {
    if (!initialised_) {
        return;
    }
    // A typed address names no known partner.
    values_.mainAddress = mainEdit_->text().toStdString();
    values_.partnerAddress = "0.0.0.0";
    partner_->setText("N/A");
    Modified();
}

void CConfigPage::OnSearch() {
    if (!initialised_ || !Search()) {
        return;
    }
    std::string main, partner;
    if (!Search()(nullptr, main, partner)) {
        return;
    }
    values_.mainAddress = main;
    values_.partnerAddress = partner;
    mainEdit_->setText(QString::fromStdString(main));
    partner_->setText(QString::fromStdString(partner));
    Modified();
}

void CConfigPage::OnAnalyzerChanged() {
    if (!initialised_) {
        return;
    }
    values_.analyzer = analyzer_->currentText().toStdString();
    EnableTesterControls();
    Modified();
    if (Sheet() != nullptr) {
        Sheet()->UpdateTestPages();
    }
}

void CConfigPage::OnIntercomEdit() {
    if (!initialised_ || syncing_) {
        return;
    }
    const int typed = TypedNumber(IntercomEdit()->text());
    if (typed != values_.testerIntercom) {
        syncing_ = true;
        SelectComboItemByData(intercomCombo_, typed);
        syncing_ = false;
        OnIntercomCombo(false);
    }
    Modified();
}

void CConfigPage::OnIntercomCombo(bool rewriteEdit) {
    if (!initialised_ || (syncing_ && rewriteEdit)) {
        return;
    }
    const int data =
        intercomCombo_->currentData().isValid() ? intercomCombo_->currentData().toInt() : kNone;
    syncing_ = true;
    if (data != values_.testerIntercom) {
        values_.testerIntercom = data;
        FillPortCombo();
    }
    if (rewriteEdit) {
        intercomEdit_->setValue(data == kNone ? 0 : data);
    }
    syncing_ = false;
    OnPortCombo(true);
    Modified();
}

void CConfigPage::FillPortCombo() {
    IPreferenceTarget* target = Context().target;
    const bool wasSyncing = syncing_;
    syncing_ = true;
    Fill(portCombo_, target != nullptr && values_.testerIntercom != kNone
                         ? target->PortEntries(values_.testerIntercom)
                         : std::vector<PrefListEntry>{});
    SelectComboItemByData(portCombo_, values_.testerPort);
    syncing_ = wasSyncing;
}

void CConfigPage::OnPortEdit() {
    if (!initialised_ || syncing_) {
        return;
    }
    const int typed = TypedNumber(PortEdit()->text());
    if (typed != values_.testerPort) {
        syncing_ = true;
        SelectComboItemByData(portCombo_, typed);
        syncing_ = false;
        OnPortCombo(false);
    }
    Modified();
}

void CConfigPage::OnPortCombo(bool rewriteEdit) {
    if (!initialised_ || (syncing_ && rewriteEdit)) {
        return;
    }
    const int data =
        portCombo_->currentData().isValid() ? portCombo_->currentData().toInt() : kNone;
    values_.testerPort = data;
    if (rewriteEdit) {
        syncing_ = true;
        portEdit_->setValue(data == kNone ? 0 : data);
        syncing_ = false;
    }
    Modified();
}

bool CConfigPage::OnApply() {
    values_.alphaSelection = alpha_[1]->isChecked() ? 1 : alpha_[2]->isChecked() ? 2 : 0;
    values_.emailHost = emailHost_->text().toStdString();
    if (values_.connectionType == 1) {
        values_.mainAddress = mainEdit_->text().toStdString();
    }
    bool applied = false;
    {
        ApplyWait wait(this, Context());
        applied = ApplyConfigPage(values_, Context());
    }
    if (values_.connectionType == 1) {
        mainEdit_->setText(QString::fromStdString(values_.mainAddress));
    }
    return applied && CVorlinPage::OnApply();
}

}  // namespace corvane
