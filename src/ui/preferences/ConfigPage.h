#pragma once

#include <functional>
#include <string>

#include "preferences/ConfigPageValues.h"
#include "ui/preferences/VorlinPage.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

class CPrefSpinEdit;

// "Configuration": how the controller is reached, the alpha size, the test instrument and
// the mail server. Applying restarts whatever the change touches.
class CConfigPage : public CVorlinPage {
    Q_OBJECT

public:
    CConfigPage(PrefContext& context, QWidget* parent = nullptr);

    // The controller search behind "...": fills the chosen controller's main and partner
    // addresses and returns true on OK. Set by the application; none disables the button.
    using ControllerSearch =
        std::function<bool(QWidget* parent, std::string& main, std::string& partner)>;
    static void SetControllerSearch(ControllerSearch search);

    bool OnApply() override;
    // The page's values as edited so far.
    const ConfigPageValues& Values() const { return values_; }

    QComboBox* ConnectionList() const { return connection_; }
    QComboBox* AnalyzerList() const { return analyzer_; }
    QComboBox* SerialPortCombo() const { return serialPort_; }
    QComboBox* TesterPortCombo() const { return testerSerialPort_; }
    QLineEdit* MainEdit() const { return mainEdit_; }
    QLabel* PartnerStatic() const { return partner_; }
    QLineEdit* IntercomEdit() const;
    QLineEdit* PortEdit() const;
    QComboBox* IntercomCombo() const { return intercomCombo_; }
    QComboBox* PortCombo() const { return portCombo_; }
    QPushButton* SearchButton() const { return search_; }

protected:
    void OnInitDialog() override;

private:
    void ShowConnectionControls();
    void EnableTesterControls();
    void OnConnectionChanged();
    void OnMainEdited();
    void OnSearch();
    void OnAnalyzerChanged();
    void OnIntercomEdit();
    void OnIntercomCombo(bool rewriteEdit);
    void OnPortEdit();
    void OnPortCombo(bool rewriteEdit);
    void FillPortCombo();
    void Modified();

    ConfigPageValues values_;
    bool initialised_ = false;
    bool syncing_ = false;
    QComboBox* connection_;
    QWidget* serialLabel_;
    QComboBox* serialPort_;
    QWidget* mainLabel_;
    QLineEdit* mainEdit_;
    QPushButton* search_;
    QWidget* partnerLabel_;
    QLabel* partner_;
    QRadioButton* alpha_[3];
    QComboBox* analyzer_;
    QWidget* testerControls_[8];
    QComboBox* testerSerialPort_;
    CPrefSpinEdit* intercomEdit_;
    QComboBox* intercomCombo_;
    CPrefSpinEdit* portEdit_;
    QComboBox* portCombo_;
    QLineEdit* emailHost_;
};

}  // namespace corvane
