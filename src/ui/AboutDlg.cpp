#include "ui/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/FileVersionInfo.h"
#include "platform/StringTable.h"
#include "ui/AppResources.h"

namespace corvane {
namespace {

// The build date line as the program has always shown it.
constexpr const char* kBuildDateText = "Jun 12 2013";

}  // namespace

CAboutDlg::CAboutDlg(const CAppResources& resources, QWidget* parent)
    : CVorlinDialog(kTemplateId, parent) {
    const CFileVersionInfo version;
    const QString product = QString::fromStdString(version.GetProductName());
    setWindowTitle(QStringLiteral("About ") + product);

    auto* layout = new QHBoxLayout(this);
    auto* icon = new QLabel(this);
    SetControlId(icon, kProgramIcon);
    icon->setPixmap(resources.Icon(CAppResources::kProgramIcon).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    layout->addWidget(icon);

    auto* lines = new QVBoxLayout;
    layout->addLayout(lines, 1);
    lines->addWidget(
        AddLine(kProductLine, product + " " + QString::fromStdString(version.GetProductVersion())));
    lines->addWidget(AddLine(kLegalLine, QString::fromStdString(version.GetLegalCopyright() + " " +
                                                                version.GetCompanyName())));
    lines->addWidget(AddLine(kBuildDateLine,
                             QString::fromStdString(LoadString(ids::kBuildDate)) + kBuildDateText));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), 1);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 0, Qt::AlignTop);
}

QLabel* CAboutDlg::AddLine(int controlId, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::number(controlId));
    SetControlId(label, controlId);
    return label;
}

QString CAboutDlg::LineText(int controlId) const {
    const auto* label = findChild<QLabel*>(QString::number(controlId));
    return label != nullptr ? label->text() : QString();
}

}  // namespace corvane
