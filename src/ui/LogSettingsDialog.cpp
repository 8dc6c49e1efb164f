#include "ui/LogSettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "log/DiagLogFile.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "preferences/LogSettingsDialogModel.h"
#include "ui/PrefSpinEdit.h"

namespace corvane {

CDlgDiagLog::CDlgDiagLog(CDiagLogFile& file, QWidget* parent)
    : CVorlinDialog(160, parent), model_(std::make_unique<CLogSettingsModel>(file)) {
    using M = CLogSettingsModel;
    setWindowTitle("Diagnostic Logging");
    auto* layout = new QVBoxLayout(this);

    auto* folder = new QGroupBox("Log File Directory", this);
    auto* folderLayout = new QVBoxLayout(folder);
    auto* directory = new QLabel(folder);
    SetControlId(directory, 1120);
    const QString dir = QString::fromStdString(model_->Directory());
    directory->setText(directory->fontMetrics().elidedText(dir, Qt::ElideMiddle, 360));
    directory->setToolTip(dir);
    folderLayout->addWidget(directory);
    layout->addWidget(folder);

    auto* files = new QGridLayout;
    days_ = new CPrefSpinEdit(M::kDaysLow, M::kDaysHigh, this);
    SetControlId(days_, 1127);
    days_->setValue(model_->DaysToKeep());
    size_ = new CPrefSpinEdit(M::kSizeLow, M::kSizeHigh, this);
    SetControlId(size_, 1125);
    size_->setValue(model_->MaxSizeKb());
    enabled_ = new QCheckBox("Logging &Enabled", this);
    SetControlId(enabled_, 1119);
    enabled_->setChecked(model_->Enabled());
    // Each label's "&" is the mnemonic of its edit.
    auto* daysLabel = new QLabel("Number of Days to &Keep", this);
    daysLabel->setBuddy(days_);
    auto* sizeLabel = new QLabel("Max. File &Size (kB)", this);
    sizeLabel->setBuddy(size_);
    files->addWidget(daysLabel, 0, 0);
    files->addWidget(days_, 0, 1);
    files->addWidget(sizeLabel, 1, 0);
    files->addWidget(size_, 1, 1);
    files->addWidget(enabled_, 2, 0, 1, 2);
    layout->addLayout(files);

    auto* levels = new QGroupBox("Logging &Levels", this);
    auto* levelsLayout = new QGridLayout(levels);
    list_ = new QTreeWidget(levels);
    SetControlId(list_, 1122);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({"System", "Log Level", "Description"});
    list_->headerItem()->setTextAlignment(1, Qt::AlignCenter);
    const auto& rows = model_->Rows();
    for (const LogSettingsRow& row : rows) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(row.name));
        item->setText(1, QString::asprintf("%d", row.level));
        item->setTextAlignment(1, Qt::AlignCenter);
        item->setText(2, QString::fromStdString(row.description));
    }
    list_->resizeColumnToContents(0);
    list_->header()->resizeSection(1, list_->header()->sectionSizeHint(1));
    level_ = new QSpinBox(levels);
    SetControlId(level_, 1123);
    level_->setRange(M::kLevelLow, M::kLevelHigh);
    default_ = new QPushButton("&Default", levels);
    SetControlId(default_, 1124);
    allDefault_ = new QPushButton("&All to Default", levels);
    SetControlId(allDefault_, 1132);
    remember_ = new QCheckBox(
        "&Remember these logging levels the next time the application is started", levels);
    SetControlId(remember_, 1131);
    levelsLayout->addWidget(list_, 0, 0, 1, 4);
    levelsLayout->addWidget(new QLabel("Adjust Logging Level for Selected System", levels), 1, 0);
    levelsLayout->addWidget(level_, 1, 1);
    levelsLayout->addWidget(default_, 1, 2);
    levelsLayout->addWidget(allDefault_, 1, 3);
    levelsLayout->addWidget(remember_, 2, 0, 1, 4);
    layout->addWidget(levels);
    default_->setEnabled(false);
    level_->setEnabled(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgDiagLog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgDiagLog::reject);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
    // Arrow clicks and typed numbers both count as the spin being released.
    connect(level_, &QSpinBox::valueChanged, this, [this] { OnLevelSpinReleased(); });
    connect(default_, &QPushButton::clicked, this, [this] { OnDefault(); });
    connect(allDefault_, &QPushButton::clicked, this, [this] { OnAllToDefault(); });
}

CDlgDiagLog::~CDlgDiagLog() = default;

void CDlgDiagLog::OnSelectionChanged() {
    const QList<QTreeWidgetItem*> chosen = list_->selectedItems();
    const int row = chosen.isEmpty() ? -1 : list_->indexOfTopLevelItem(chosen.front());
    if (row == selected_) {
        return;
    }
    selected_ = row;
    default_->setEnabled(row >= 0);
    level_->setEnabled(row >= 0);
    if (row >= 0) {
        const QSignalBlocker block(level_);
        level_->setValue(list_->topLevelItem(row)->text(1).toInt());
    }
}

void CDlgDiagLog::ShowLevel(int row, int level) {
    model_->Rows()[static_cast<size_t>(row)].level = level;
    list_->topLevelItem(row)->setText(1, QString::asprintf("%d", level));
}

void CDlgDiagLog::OnLevelSpinReleased() {
    if (selected_ >= 0) {
        ShowLevel(selected_, level_->value());
    }
}

void CDlgDiagLog::OnDefault() {
    if (selected_ < 0) {
        QApplication::beep();
        return;
    }
    const int level = model_->DefaultLevelOf(model_->Rows()[static_cast<size_t>(selected_)]);
    ShowLevel(selected_, level);
    const QSignalBlocker block(level_);
    level_->setValue(level);
}

void CDlgDiagLog::OnAllToDefault() {
    model_->SetAllToDefault();
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        ShowLevel(row, model_->Rows()[static_cast<size_t>(row)].level);
    }
    if (selected_ >= 0) {
        const QSignalBlocker block(level_);
        level_->setValue(model_->Rows()[static_cast<size_t>(selected_)].level);
    }
}

void CDlgDiagLog::accept() {
    // Values outside the spin ranges are passed on; the log file ignores those below 1.
    const int days = days_->findChild<QLineEdit*>()->text().toInt();
    const int size = size_->findChild<QLineEdit*>()->text().toInt();
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        model_->Rows()[static_cast<size_t>(row)].level = list_->topLevelItem(row)->text(1).toInt();
    }
    model_->Apply(days, size, enabled_->isChecked(), remember_->isChecked());
    QDialog::accept();
}

void ShowDiagLogDialog(QWidget* parent, CDiagLogFile& file) {
    if (file.Directory().empty()) {
        Ui().MessageBox(
            "Diagnostic logging is disabled, as a directory to store the log files has not been "
            "specified.",
            LoadString(ids::kAppCaption), mb::kOk | mb::kIconExclamation);
        return;
    }
    CDlgDiagLog dialog(file, parent);
    dialog.exec();
}

}  // namespace corvane
