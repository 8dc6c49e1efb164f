#include "ui/CompatibilityStatusDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "link/Quillex.h"

namespace corvane {
namespace {

constexpr int kIndexRole = Qt::UserRole;

// A row with the report's row it shows.
class StatusItem : public QTreeWidgetItem {
public:
    explicit StatusItem(CompatibilityStatusRow row)
        : QTreeWidgetItem(QStringList{QString::fromStdString(row.number),
                                      QString::fromStdString(row.name),
                                      QString::fromStdString(row.status)}),
          row_(std::move(row)) {
        setData(0, kIndexRole, row_.index);
    }
    const CompatibilityStatusRow& Row() const { return row_; }

private:
    CompatibilityStatusRow row_;
};

QPointer<CDlgAuthStatus>& Instance() {
    static QPointer<CDlgAuthStatus> instance;
    return instance;
}

}  // namespace

CDlgAuthStatus::CDlgAuthStatus(AuthStatSource authStat, NameSource name, QWidget* parent)
    : CVorlinDialog(kTemplateId, parent), authStat_(std::move(authStat)), name_(std::move(name)) {
    setWindowTitle(QStringLiteral("Compatibility Notification"));
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    message_ = new QLabel(this);
    message_->setObjectName(QString::number(kMessage));
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetControlId(message_, kMessage);
    layout->addWidget(message_);

    list_ = new CVorLinListCtrl(this);
    list_->SetSortKindSource([](int column, bool) { return CompatibilitySortKind(column); });
    list_->setObjectName(QString::number(kList));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    SetControlId(list_, kList);
    layout->addWidget(list_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), 1);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);

    timer_ = new QTimer(this);
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &CDlgAuthStatus::Refresh);
    resize(640, 360);
}

void CDlgAuthStatus::Open() {
    list_->setColumnCount(3);
    list_->setHeaderLabels(
        {QStringLiteral("Intercom"), QStringLiteral("Alpha"), QStringLiteral("Status")});
    list_->SetSortColumn(0);
    Refresh();
    timer_->start();
}

void CDlgAuthStatus::Refresh() {
    const int selected = SelectedIntercom();
    const int scroll = list_->verticalScrollBar()->value();
    list_->clear();

    const auto entries = CollectCompatibilityStatusEntries(
        authStat_ ? authStat_ : AuthStatSource([](int) -> CAuthStat* { return nullptr; }),
        name_ ? name_ : NameSource([](int) { return std::string(); }));
    const CompatibilityStatusReport report = BuildCompatibilityStatusReport(entries);
    for (const CompatibilityStatusRow& row : report.rows) {
        list_->addTopLevelItem(new StatusItem(row));
    }
    list_->SortItems();
    list_->resizeColumnToContents(0);
    list_->resizeColumnToContents(1);
    if (selected >= 0) {
        SelectIntercom(selected);
    }
    list_->verticalScrollBar()->setValue(scroll);

    if (report.close) {
        // Closed from the event loop, as a cancel, so that a refresh never deletes the dialog
        // under its own caller.
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    message_->setText(QString::fromStdString(report.message).replace("\r\n", "\n"));
    show();
}

std::vector<CompatibilityStatusRow> CDlgAuthStatus::Rows() const {
    std::vector<CompatibilityStatusRow> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        rows.push_back(static_cast<const StatusItem*>(list_->topLevelItem(i))->Row());
    }
    return rows;
}

QString CDlgAuthStatus::MessageText() const {
    return message_->text();
}

int CDlgAuthStatus::SelectedIntercom() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->data(0, kIndexRole).toInt();
}

bool CDlgAuthStatus::SelectIntercom(int index) {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (item->data(0, kIndexRole).toInt() == index) {
            list_->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

void CDlgAuthStatus::done(int result) {
    timer_->stop();
    CVorlinDialog::done(result);
}

void ShowCompatibilityStatus(QWidget* parent, CQuillex* controller,
                             CDlgAuthStatus::NameSource intercomName) {
    QPointer<CDlgAuthStatus>& instance = Instance();
    if (instance != nullptr) {
        instance->Refresh();
        instance->showNormal();
        instance->raise();
        instance->activateWindow();
        return;
    }
    CDlgAuthStatus::AuthStatSource authStat;
    if (controller != nullptr) {
        authStat = [controller](int index) { return controller->GetAuthStat(index); };
    }
    auto* dialog = new CDlgAuthStatus(std::move(authStat), std::move(intercomName), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    instance = dialog;
    dialog->Open();
}

void OnCompatibilityStatusChanged(QWidget* parent, CQuillex* controller,
                                  CDlgAuthStatus::NameSource intercomName, bool anyState) {
    if (Instance() != nullptr) {
        Instance()->Refresh();
    } else if (anyState) {
        ShowCompatibilityStatus(parent, controller, std::move(intercomName));
    }
}

CDlgAuthStatus* OpenCompatibilityStatus() {
    return Instance().data();
}

}  // namespace corvane
