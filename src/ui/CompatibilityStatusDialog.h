#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "presentation/CompatibilityStatusReport.h"
#include "ui/VorLinListCtrl.h"
#include "ui/VorlinDialog.h"

class QLabel;
class QTimer;

namespace corvane {

class CAuthStat;
class CQuillex;

// Warns the operator about the intercoms the controller reports as incompatible or isolated.
// Modeless; it refreshes itself every minute and closes once there is nothing to warn about.
class CDlgAuthStatus : public CVorlinDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 180;
    static constexpr int kList = 1063;
    static constexpr int kMessage = 1062;
    static constexpr int kRefreshMs = 60000;

    using AuthStatSource = std::function<CAuthStat*(int index)>;
    using NameSource = std::function<std::string(int index)>;

    // The status of intercom index 0-254 (null: none) and its name.
    CDlgAuthStatus(AuthStatSource authStat, NameSource name, QWidget* parent);

    // Sets up the list, refreshes and starts the refresh timer.
    void Open();
    // Reads the statuses again; posts a cancel when none is left to list.
    void Refresh();

    // For the window and its tests.
    CVorLinListCtrl* List() const { return list_; }
    std::vector<CompatibilityStatusRow> Rows() const;
    QString MessageText() const;
    const QTimer* RefreshTimer() const { return timer_; }
    // The intercom index of the selected row; -1 when none.
    int SelectedIntercom() const;
    bool SelectIntercom(int index);

    void done(int result) override;

private:
    AuthStatSource authStat_;
    NameSource name_;
    CVorLinListCtrl* list_ = nullptr;
    QLabel* message_ = nullptr;
    QTimer* timer_ = nullptr;
};

// Opens the compatibility dialog, or refreshes the one already open and brings it forward.
// The controller may be null (no statuses); the names come from the document.
void ShowCompatibilityStatus(QWidget* parent, CQuillex* controller,
                             CDlgAuthStatus::NameSource intercomName = {});
// The controller's news of a change: the open dialog is refreshed at once (and so closes once
// every intercom is compatible again); none open, it opens when anyState says that some
// intercom has a compatibility state.
void OnCompatibilityStatusChanged(QWidget* parent, CQuillex* controller,
                                  CDlgAuthStatus::NameSource intercomName, bool anyState);
// The open compatibility dialog; null when none is open.
CDlgAuthStatus* OpenCompatibilityStatus();

}  // namespace corvane
