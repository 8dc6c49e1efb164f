#include "ui/ControllerVersionDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "link/Quillex.h"
#include "presentation/ControllerVersionText.h"

namespace corvane {

CDlgQXVersion::CDlgQXVersion(int templateId, QWidget* parent) : CHelpDialog(templateId, parent) {
    setWindowTitle(QStringLiteral("Quillex Version"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Version"), this), 0, 0, Qt::AlignTop);
    version_ = new QLabel(this);
    version_->setObjectName(QString::number(kVersionText));
    version_->setTextFormat(Qt::PlainText);
    version_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    version_->setMinimumWidth(240);
    SetControlId(version_, kVersionText);
    layout->addWidget(version_, 0, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), 1);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 1, 0, 1, 2);
}

void CDlgQXVersion::SetVersionString(const std::string& reported) {
    version_->setText(QString::fromStdString(ControllerVersionText(reported)));
}

QString CDlgQXVersion::VersionText() const {
    return version_->text();
}

void RunControllerVersionDialog(QWidget* parent, CQuillex* controller) {
    if (controller == nullptr) {
        return;
    }
    CDlgQXVersion dialog(CDlgQXVersion::kTemplateId, parent);
    dialog.SetVersionString(controller->GetVersionString());
    dialog.exec();
}

}  // namespace corvane
