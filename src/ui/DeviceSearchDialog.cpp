#include "ui/DeviceSearchDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "presentation/DeviceSearchTexts.h"

namespace corvane {
namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kItemHeight = 20;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

const char* const kFieldLabels[CDlgSearchForIcom::kFieldCount] = {
    "Name:", "Type:", "Status:", "IP Address:", "IP Partner:", "Connections:", "Description:"};

}  // namespace

CDlgSearchForIcom::CDlgSearchForIcom(const std::string& currentName, bool intercoms,
                                     QWidget* parent, DeviceFinderOptions options)
    : CVorlinDialog(kTemplateId, parent),
      list_(intercoms, currentName),
      socket_(std::move(options)) {
    const DeviceSearchTitles titles = list_.Titles();
    helpId_ = titles.helpId;
    setWindowTitle(Q(titles.window));

    auto* layout = new QHBoxLayout(this);
    group_ = new QGroupBox(Q(titles.group), this);
    auto* groupLayout = new QVBoxLayout(group_);
    tree_ = new QTreeWidget(group_);
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setIconSize(QSize(16, 16));
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    groupLayout->addWidget(tree_);
    layout->addWidget(group_, 1);

    auto* right = new QVBoxLayout;
    selectedGroup_ = new QGroupBox(Q(titles.selectedGroup), this);
    auto* form = new QFormLayout(selectedGroup_);
    for (int i = 0; i < kFieldCount; ++i) {
        fields_[i] = new QLineEdit(selectedGroup_);
        fields_[i]->setReadOnly(true);
        form->addRow(kFieldLabels[i], fields_[i]);
    }
    right->addWidget(selectedGroup_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons_->button(QDialogButtonBox::Ok);
    SetControlId(ok_, 1);
    SetControlId(buttons_->button(QDialogButtonBox::Cancel), 2);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CDlgSearchForIcom::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    right->addStretch(1);
    right->addWidget(buttons_);
    layout->addLayout(right);

    connect(tree_, &QTreeWidget::itemSelectionChanged, this,
            &CDlgSearchForIcom::OnSelectionChanged);

    // Nothing is chosen until the operator selects a device.
    ShowDetails(nullptr);
    resize(560, 320);
}

CDlgSearchForIcom::~CDlgSearchForIcom() {
    // The notifier watches the socket's descriptor: it goes before the socket closes.
    notifier_.reset();
    socket_.Close();
}

bool CDlgSearchForIcom::StartSearch() {
    notifier_.reset();
    socket_.Close();
    list_.Clear();
    tree_->clear();
    ShowDetails(nullptr);
    if (!socket_.Open(true)) {
        return false;
    }
    notifier_ = std::make_unique<QSocketNotifier>(socket_.Handle(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this,
            &CDlgSearchForIcom::OnSocketReadable);
    socket_.SendQuery(list_.QueryCommand(), CDeviceFinderSocket::kBroadcast);
    return true;
}

int CDlgSearchForIcom::exec() {
    if (!StartSearch()) {
        QMessageBox::critical(this, windowTitle(),
                              Q(DeviceSearchString(devicesearchtext::kSocketFailed)));
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    return CVorlinDialog::exec();
}

void CDlgSearchForIcom::accept() {
    if (ok_->isEnabled()) {
        CVorlinDialog::accept();
    }
}

QTreeWidgetItem* CDlgSearchForIcom::ItemOf(uint32_t key) const {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree_->topLevelItem(i);
        if (item->data(0, kKeyRole).toUInt() == key) {
            return item;
        }
    }
    return nullptr;
}

void CDlgSearchForIcom::SetFrameChild(QTreeWidgetItem* item, const DeviceFinderReply& reply) {
    qDeleteAll(item->takeChildren());
    if (const auto frame = CDeviceSearchList::FrameText(reply)) {
        auto* child = new QTreeWidgetItem(item, QStringList{Q(*frame)});
        child->setData(0, kKeyRole, item->data(0, kKeyRole));
        child->setSizeHint(0, QSize(-1, kItemHeight));
    }
}

void CDlgSearchForIcom::OnSocketReadable() {
    DeviceFinderReply reply;
    if (!socket_.Receive(reply)) {
        return;
    }
    const bool anythingSelected = !tree_->selectedItems().isEmpty();
    const CDeviceSearchList::Outcome outcome = list_.Add(reply, anythingSelected);
    const DeviceFinderReply* stored = list_.Find(outcome.key);
    switch (outcome.change) {
        case CDeviceSearchList::Change::kDropped:
            return;
        case CDeviceSearchList::Change::kUpdated: {
            QTreeWidgetItem* item = ItemOf(outcome.key);
            if (item == nullptr || stored == nullptr) {
                return;
            }
            item->setText(0, Q(CDeviceSearchList::ItemText(*stored)));
            const bool selected = item->isSelected();
            SetFrameChild(item, *stored);
            if (selected) {
                ShowDetails(stored);
            }
            return;
        }
        case CDeviceSearchList::Change::kAdded: {
            if (stored == nullptr) {
                return;
            }
            auto* item = new QTreeWidgetItem(QStringList{Q(CDeviceSearchList::ItemText(*stored))});
            item->setData(0, kKeyRole, outcome.key);
            item->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
            item->setSizeHint(0, QSize(-1, kItemHeight));
            tree_->insertTopLevelItem(outcome.row, item);
            SetFrameChild(item, *stored);
            if (outcome.select) {
                tree_->setCurrentItem(item);
            }
            return;
        }
    }
}

void CDlgSearchForIcom::OnSelectionChanged() {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (selected.isEmpty()) {
        ShowDetails(nullptr);
        return;
    }
    ShowDetails(list_.Find(selected.front()->data(0, kKeyRole).toUInt()));
}

void CDlgSearchForIcom::ShowDetails(const DeviceFinderReply* reply) {
    if (reply == nullptr) {
        for (QLineEdit* field : fields_) {
            field->clear();
            field->setEnabled(false);
        }
        ok_->setEnabled(false);
        ok_->setDefault(false);
        ok_->setAutoDefault(false);
        return;
    }
    const DeviceDetails d = CDeviceSearchList::Details(*reply);
    const std::string* texts[kFieldCount] = {&d.name,       &d.type,           &d.status,
                                             &d.ipAddress,  &d.partnerAddress, &d.connections,
                                             &d.description};
    for (int i = 0; i < kFieldCount; ++i) {
        fields_[i]->setText(Q(*texts[i]));
        fields_[i]->setCursorPosition(0);
        fields_[i]->setEnabled(true);
    }
    chosen_ = CDeviceSearchList::Choice(*reply);
    ok_->setEnabled(true);
    ok_->setDefault(true);
}

QString CDlgSearchForIcom::FieldText(int field) const {
    return field >= 0 && field < kFieldCount ? fields_[field]->text() : QString();
}

bool CDlgSearchForIcom::FieldsEnabled() const {
    return fields_[0]->isEnabled();
}

QString CDlgSearchForIcom::GroupTitle() const {
    return group_->title();
}

QString CDlgSearchForIcom::SelectedGroupTitle() const {
    return selectedGroup_->title();
}

CDlgSearchForQX::CDlgSearchForQX(const std::string& currentName, QWidget* parent,
                                 DeviceFinderOptions options)
    : CDlgSearchForIcom(currentName, false, parent, std::move(options)) {}

bool RunDeviceSearchDialog(QWidget* parent, bool intercoms, const std::string& current,
                           DeviceFinderOptions options, std::string& name, std::string& main,
                           std::string& partner) {
    CDlgSearchForIcom dialog(current, intercoms, parent, std::move(options));
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    name = dialog.Chosen().name;
    main = dialog.Chosen().ipAddress;
    partner = dialog.Chosen().partnerAddress;
    return true;
}

}  // namespace corvane
