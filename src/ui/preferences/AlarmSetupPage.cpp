#include "ui/preferences/AlarmSetupPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/StringTable.h"
#include "preferences/PrefContext.h"
#include "preferences/PrefSheetLayout.h"
#include "ui/PrefSpinEdit.h"
#include "ui/preferences/ConfigPage.h"
#include "ui/preferences/PrefSheet.h"

namespace corvane {

int CAlarmSetupPage::s_nAlarmKind = 0;

CAlarmSetupPage::CAlarmSetupPage(PrefContext& context, QWidget* parent)
    : CVorlinPage(176, prefpage::kAlarmSetup, context, parent),
      values_(AlarmSetupPageValues::FromSettings(context.settings.Snapshot())) {
    auto* layout = new QVBoxLayout(this);
    auto check = [&](QWidget* owner, const char* text, int id) {
        auto* box = Control(new QCheckBox(text, owner), id);
        connect(box, &QCheckBox::clicked, this, [this] { SetModified(); });
        return box;
    };
    abortStale_ = check(this, " Abort notifications for stale alarms", 1056);
    ackCancels_ = check(this, " Cancel notifications when an alarm is acknowledged", 1057);
    autoAck_ = check(this, " Automatically acknowledge resolved alarms", 1058);
    abortStale_->setChecked(values_.abortNotificationForStaleAlarms);
    ackCancels_->setChecked(values_.acknowledgeCancelsNotification);
    autoAck_->setChecked(values_.autoAcknowledgeResolvedAlarms);
    layout->addWidget(abortStale_);
    layout->addWidget(ackCancels_);
    layout->addWidget(autoAck_);

    auto* kindBox = new QGroupBox(this);
    auto* grid = new QGridLayout(kindBox);
    generateAlarm_ = check(kindBox, " Generate alarms for :", 1052);
    kindList_ = Control(new QComboBox(kindBox), 1010);
    notifyActive_ =
        check(kindBox, " Generate notifications when this type of alarm becomes active", 1050);
    notifyResolved_ =
        check(kindBox, " Generate notifications when this type of alarm is resolved", 1055);
    suppress_ = check(kindBox, " Suppress notifications if resolved within", 1051);
    delay_ = Control(new CPrefSpinEdit(AlarmSetupPageValues::kDelayLow,
                                       AlarmSetupPageValues::kDelayHigh, kindBox),
                     1024);
    sendEmail_ = check(kindBox, " Send email TO:", 1053);
    emailTo_ = Control(new QLineEdit(kindBox), 1022);
    sendPage_ = check(kindBox, " Send page TO:", 1054);
    pagerTo_ = Control(new QLineEdit(kindBox), 1023);
    grid->addWidget(generateAlarm_, 0, 0);
    grid->addWidget(kindList_, 0, 1, 1, 2);
    grid->addWidget(notifyActive_, 1, 0, 1, 3);
    grid->addWidget(notifyResolved_, 2, 0, 1, 3);
    grid->addWidget(suppress_, 3, 0);
    grid->addWidget(delay_, 3, 1);
    grid->addWidget(new QLabel("seconds", kindBox), 3, 2);
    grid->addWidget(sendEmail_, 4, 0);
    grid->addWidget(emailTo_, 4, 1, 1, 2);
    grid->addWidget(sendPage_, 5, 0);
    grid->addWidget(pagerTo_, 5, 1, 1, 2);
    layout->addWidget(kindBox);
    layout->addStretch();

    connect(delay_, &QSpinBox::textChanged, this, [this] { SetModified(); });
    connect(emailTo_, &QLineEdit::textEdited, this, [this] { SetModified(); });
    connect(pagerTo_, &QLineEdit::textEdited, this, [this] { SetModified(); });
    connect(kindList_, &QComboBox::currentIndexChanged, this, [this] { OnKindChanged(); });
}

void CAlarmSetupPage::OnSetActive() {
    // The kinds follow the analyzer chosen on the configuration page, applied or not.
    const std::string analyzer = Sheet() != nullptr && Sheet()->ConfigPage() != nullptr
                                     ? Sheet()->ConfigPage()->Values().analyzer
                                     : Context().settings.Snapshot().AudioAnalyzer;
    filling_ = true;
    kindList_->clear();
    for (int kind : OfferedAlarmKinds(AnalyzerTypeOf(analyzer))) {
        kindList_->addItem(QString::fromStdString(LoadString(ids::kAlarmSetupKindFirst + kind)),
                           kind);
    }
    const int found = kindList_->findData(s_nAlarmKind);
    kindList_->setCurrentIndex(found >= 0 ? found : 0);
    filling_ = false;
    s_nAlarmKind = kindList_->currentData().toInt();
    ShowKind(s_nAlarmKind);
    CVorlinPage::OnSetActive();
}

bool CAlarmSetupPage::SaveKind(int kind) {
    if (kind < 0 || kind >= kAlarmSetupKinds) {
        return true;
    }
    const auto delay = delay_->Checked();
    if (!delay) {
        return false;
    }
    AlarmKindValues& k = values_.kinds[static_cast<size_t>(kind)];
    k.generateAlarm = generateAlarm_->isChecked();
    k.generateNotification = notifyActive_->isChecked();
    k.generateResolvedNotification = notifyResolved_->isChecked();
    k.suppressNotificationForResolvedAlarms = suppress_->isChecked();
    k.notificationDelayTime = *delay;
    k.sendEmail = sendEmail_->isChecked();
    k.sendPage = sendPage_->isChecked();
    k.emailTo = emailTo_->text().toStdString();
    k.pagerTo = pagerTo_->text().toStdString();
    return true;
}

void CAlarmSetupPage::ShowKind(int kind) {
    shownKind_ = kind;
    const AlarmKindValues& k = values_.kinds[static_cast<size_t>(kind)];
    const bool wasModified = IsModified();
    generateAlarm_->setChecked(k.generateAlarm);
    notifyActive_->setChecked(k.generateNotification);
    notifyResolved_->setChecked(k.generateResolvedNotification);
    suppress_->setChecked(k.suppressNotificationForResolvedAlarms);
    delay_->setValue(k.notificationDelayTime);
    sendEmail_->setChecked(k.sendEmail);
    sendPage_->setChecked(k.sendPage);
    emailTo_->setText(QString::fromStdString(k.emailTo));
    pagerTo_->setText(QString::fromStdString(k.pagerTo));
    // Showing another kind is no edit.
    SetModified(wasModified);
}

void CAlarmSetupPage::OnKindChanged() {
    if (filling_ || kindList_->currentIndex() < 0) {
        return;
    }
    const int kind = kindList_->currentData().toInt();
    if (kind == shownKind_) {
        return;
    }
    if (!SaveKind(shownKind_)) {
        filling_ = true;
        kindList_->setCurrentIndex(kindList_->findData(shownKind_));
        filling_ = false;
        return;
    }
    s_nAlarmKind = kind;
    ShowKind(kind);
}

bool CAlarmSetupPage::OnKillActive() {
    return SaveKind(shownKind_);
}

bool CAlarmSetupPage::OnApply() {
    if (!SaveKind(shownKind_)) {
        return false;
    }
    std::vector<int> offered;
    for (int i = 0; i < kindList_->count(); ++i) {
        offered.push_back(kindList_->itemData(i).toInt());
    }
    // A list mail cannot be sent to is refused now, not when an alarm is to be announced.
    if (const auto problem = CheckRecipientLists(values_, offered)) {
        ShowPrefStop(problem->message);
        kindList_->setCurrentIndex(kindList_->findData(problem->kind));
        QLineEdit* edit = problem->pager ? pagerTo_ : emailTo_;
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    values_.abortNotificationForStaleAlarms = abortStale_->isChecked();
    values_.acknowledgeCancelsNotification = ackCancels_->isChecked();
    values_.autoAcknowledgeResolvedAlarms = autoAck_->isChecked();
    Context().settings.Modify([this](AppSettings& s) { values_.ApplyTo(s); });
    Context().SaveAll();
    return CVorlinPage::OnApply();
}

}  // namespace corvane
