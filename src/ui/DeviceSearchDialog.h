#pragma once

#include <QString>
#include <memory>
#include <string>

#include "link/DeviceFinderSocket.h"
#include "presentation/DeviceSearchList.h"
#include "ui/VorlinDialog.h"

class QDialogButtonBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSocketNotifier;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {

// Lists the intercoms or controllers that answer a broadcast query and lets the operator
// pick one of them.
class CDlgSearchForIcom : public CVorlinDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 300;
    // The detail fields, in the order they are shown.
    enum Field { kName, kType, kStatus, kIpAddress, kPartner, kConnections, kDescription };
    static constexpr int kFieldCount = 7;

    CDlgSearchForIcom(const std::string& currentName, bool intercoms, QWidget* parent,
                      DeviceFinderOptions options = {});
    ~CDlgSearchForIcom() override;

    // Opens the socket and sends the query; false when the socket cannot be opened, and the
    // dialog is then not to be run.
    bool StartSearch();
    // Runs modally: the search, then the operator's choice. When the socket cannot be opened
    // the failure is shown and the dialog ends as cancelled.
    int exec() override;

    // The device taken on OK.
    const ChosenDevice& Chosen() const { return chosen_; }

    // For the window and its tests.
    const CDeviceSearchList& Devices() const { return list_; }
    QTreeWidget* Tree() const { return tree_; }
    QPushButton* OkButton() const { return ok_; }
    QString FieldText(int field) const;
    bool FieldsEnabled() const;
    QString GroupTitle() const;
    QString SelectedGroupTitle() const;
    int HelpId() const { return helpId_; }
    // The port the replies come back to (0 before the search starts).
    uint16_t ReplyPort() const { return socket_.LocalPort(); }

public slots:
    void accept() override;

private:
    void OnSocketReadable();
    void OnSelectionChanged();
    void ShowDetails(const DeviceFinderReply* reply);
    void SetFrameChild(QTreeWidgetItem* item, const DeviceFinderReply& reply);
    QTreeWidgetItem* ItemOf(uint32_t key) const;

    CDeviceSearchList list_;
    CDeviceFinderSocket socket_;
    std::unique_ptr<QSocketNotifier> notifier_;
    ChosenDevice chosen_;
    int helpId_ = 0;
    QTreeWidget* tree_ = nullptr;
    QGroupBox* group_ = nullptr;
    QGroupBox* selectedGroup_ = nullptr;
    QLineEdit* fields_[kFieldCount] = {};
    QDialogButtonBox* buttons_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// The controller search: the same dialog, always looking for controllers.
class CDlgSearchForQX : public CDlgSearchForIcom {
    Q_OBJECT

public:
    CDlgSearchForQX(const std::string& currentName, QWidget* parent,
                    DeviceFinderOptions options = {});
};

// Runs the search modally; true after OK, with the chosen device's name and its main and
// partner addresses in dotted decimal.
bool RunDeviceSearchDialog(QWidget* parent, bool intercoms, const std::string& current,
                           DeviceFinderOptions options, std::string& name, std::string& main,
                           std::string& partner);

}  // namespace corvane
