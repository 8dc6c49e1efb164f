#pragma once

#include <QString>
#include <string>

#include "ui/HelpDialog.h"

class QLabel;

namespace corvane {

class CQuillex;

// Shows the version text the controller reported.
class CDlgQXVersion : public CHelpDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 157;
    static constexpr int kVersionText = 1134;

    // The version text starts empty.
    CDlgQXVersion(int templateId, QWidget* parent);

    // The controller's text as it reported it (single-byte characters).
    void SetVersionString(const std::string& reported);
    QString VersionText() const;

private:
    QLabel* version_ = nullptr;
};

// Runs the version dialog modally for the controller; nothing happens without one.
void RunControllerVersionDialog(QWidget* parent, CQuillex* controller);

}  // namespace corvane
