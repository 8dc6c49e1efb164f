#pragma once

#include <QDialog>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "presentation/XMessageBoxModel.h"

class QCheckBox;
class QPushButton;

namespace corvane {

// Shows the extended message box and returns its result: the pressed button's id, with the
// check-box bit when ticked and 0x80000000 when the time-out pressed the default button.
// owner none: the active window. params may be null. Answers are remembered in Profile().
int XMessageBox(QWidget* owner, const std::string& text, const std::string& caption, unsigned style,
                const XMessageBoxParams* params = nullptr);

// The same box, shown window-modal over owner without an event loop of its own: the caller goes
// on at once, and onResult gets the result when the box ends (at once when a remembered answer
// stands in for it). The box deletes itself once it has ended. Returns it, or null when none
// was shown.
QDialog* OpenXMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                         unsigned style, const XMessageBoxParams* params,
                         std::function<void(int)> onResult);

// The window of one extended message box over its model.
class CXMessageBoxDialog : public QDialog {
    Q_OBJECT

public:
    // second: the countdown step, one second but for tests.
    CXMessageBoxDialog(XMessageBoxModel& model, QWidget* owner,
                       std::chrono::milliseconds second = std::chrono::seconds(1));
    // A box that holds its model, for one that outlives its caller.
    CXMessageBoxDialog(std::unique_ptr<XMessageBoxModel> model, QWidget* owner);

    QPushButton* Button(int id) const;
    QCheckBox* CheckBox() const { return checkBox_; }

    // Where the Help button sends its request (help id, command); none: nothing happens.
    static void SetHelpHandler(std::function<void(uint32_t, unsigned)> handler);

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    CXMessageBoxDialog(XMessageBoxModel& model, std::unique_ptr<XMessageBoxModel>&& owned,
                       QWidget* owner, std::chrono::milliseconds second);
    void OnButton(int id);
    void OnTimeoutTick();
    void OnDisabledTick();
    void StopTimeout();
    void Refresh();
    bool Checked() const;

    std::unique_ptr<XMessageBoxModel> ownedModel_;
    XMessageBoxModel& model_;
    std::map<int, QPushButton*> buttons_;
    QCheckBox* checkBox_ = nullptr;
    QTimer timeoutTimer_;
    QTimer disabledTimer_;
};

}  // namespace corvane
