#pragma once

#include "ui/VorlinDialog.h"

class QLabel;

namespace corvane {

class CAppResources;

// The about box: product name and version compiled in by the build.
class CAboutDlg : public CVorlinDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 150;
    static constexpr int kProductLine = 1134;
    static constexpr int kLegalLine = 1133;
    static constexpr int kBuildDateLine = 1064;
    static constexpr int kProgramIcon = 1136;

    CAboutDlg(const CAppResources& resources, QWidget* parent);

    // The text of one of the lines above.
    QString LineText(int controlId) const;

private:
    QLabel* AddLine(int controlId, const QString& text);
};

}  // namespace corvane
